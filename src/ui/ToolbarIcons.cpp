#include "ui/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <functional>

namespace slidesmith::ui {

namespace {

constexpr int kIconSize = 32;
const QColor kInk(0x33, 0x3b, 0x48);
const QColor kPaper(0xfb, 0xfb, 0xf8);
const QColor kAccent(0x2f, 0x6f, 0xb3);
const QColor kWarm(0xd9, 0x6c, 0x1e);

QPixmap Paint(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    return pixmap;
}

void Sheet(QPainter& p, const QRectF& r) {
    p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 6, r.top());
    path.lineTo(r.right(), r.top() + 6);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.drawPath(path);
}

// A slide with a small table: the report template.
void Template(QPainter& p) {
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 6, 26, 20));
    p.setBrush(kAccent);
    p.drawRect(QRectF(7, 10, 18, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(7, 15, 18, 7));
    p.drawLine(QPointF(13, 15), QPointF(13, 22));
    p.drawLine(QPointF(19, 15), QPointF(19, 22));
}

// A slide with bars: the finished report.
void Report(QPainter& p) {
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 6, 26, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRect(QRectF(8, 16, 4, 7));
    p.setBrush(kWarm);
    p.drawRect(QRectF(14, 11, 4, 12));
    p.setBrush(kAccent);
    p.drawRect(QRectF(20, 14, 4, 9));
}

void Cut(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(11, 4), QPointF(20, 21));
    p.drawLine(QPointF(21, 4), QPointF(12, 21));
    p.setPen(QPen(kAccent, 2.2));
    p.drawEllipse(QPointF(10, 25), 4, 4);
    p.drawEllipse(QPointF(22, 25), 4, 4);
}

void Copy(QPainter& p) {
    Sheet(p, QRectF(4, 3, 15, 19));
    Sheet(p, QRectF(13, 10, 15, 19));
    p.setPen(QPen(kAccent, 1.4));
    for (int y = 17; y <= 25; y += 4) {
        p.drawLine(QPointF(16, y), QPointF(25, y));
    }
}

void Paste(QPainter& p) {
    p.setBrush(QColor(0xc8, 0x9b, 0x5c));
    p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(10, 3, 8, 5), 1.5, 1.5);
    Sheet(p, QRectF(13, 12, 15, 17));
}

void Undo(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath arc;
    arc.moveTo(9, 13);
    arc.cubicTo(16, 6, 28, 9, 26, 20);
    arc.cubicTo(25, 25, 20, 27, 16, 27);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(13, 6), QPointF(11, 17)}));
}

void Find(QPainter& p) {
    p.setBrush(QColor(0xdd, 0xea, 0xf7));
    p.setPen(QPen(kInk, 2.4));
    p.drawEllipse(QPointF(13, 13), 8, 8);
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(27, 27));
}

// An arrow onto a marked line: jump to a statement.
void Goto(QPainter& p) {
    p.setPen(QPen(kInk, 1.6));
    for (int y = 7; y <= 25; y += 6) {
        p.drawLine(QPointF(16, y), QPointF(28, y));
    }
    p.setPen(QPen(kWarm, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 19), QPointF(11, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(kWarm);
    p.drawPolygon(QPolygonF({QPointF(10, 13), QPointF(16, 19), QPointF(10, 25)}));
}

void Start(QPainter& p) {
    p.setPen(QPen(QColor(0x1e, 0x7a, 0x3c), 1.6));
    p.setBrush(QColor(0x3c, 0xb3, 0x5f));
    p.drawPolygon(QPolygonF({QPointF(9, 5), QPointF(27, 16), QPointF(9, 27)}));
}

} // namespace

QIcon ToolbarIcon(const QString& key, const QStyle* style) {
    if (key == QLatin1String("New")) {
        return style->standardIcon(QStyle::SP_FileIcon);
    }
    if (key == QLatin1String("Open")) {
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    }
    if (key == QLatin1String("Save")) {
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    }
    if (key == QLatin1String("Help")) {
        return style->standardIcon(QStyle::SP_DialogHelpButton);
    }
    const struct {
        const char* key;
        void (*draw)(QPainter&);
    } drawn[] = {{"Template", Template}, {"Report", Report}, {"Cut", Cut},
                 {"Copy", Copy},         {"Paste", Paste},   {"Undo", Undo},
                 {"Find", Find},         {"Goto", Goto},     {"Start", Start}};
    for (const auto& entry : drawn) {
        if (key == QLatin1String(entry.key)) {
            return QIcon(Paint(entry.draw));
        }
    }
    return style->standardIcon(QStyle::SP_FileIcon);
}

QPixmap ApplicationLogo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(1, 3, 30, 24), 3, 3);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 6, 24, 18));
    Report(p);
    return pixmap;
}

} // namespace slidesmith::ui
