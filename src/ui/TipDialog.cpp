#include "ui/TipDialog.h"

#include "platform/settings/SettingNames.h"
#include "platform/settings/SettingsStore.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStyle>
#include <QVBoxLayout>

namespace slidesmith::ui {

namespace {

constexpr const char* kTipsFileName = "stips.txt";

QString DecodeTips(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    // Tips written on the old desktop are 8-bit text; Latin-1 keeps every byte readable.
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

QStringList LoadTips(const std::filesystem::path& file) {
    QFile input(QString::fromStdString(file.string()));
    if (!input.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList tips;
    const QStringList lines = DecodeTips(input.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        QString tip = line.trimmed();
        if (!tip.isEmpty()) {
            tips << tip.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        }
    }
    return tips;
}

QString MissingTipsText() {
    const QString name = QString::fromLatin1(kTipsFileName);
    return QStringLiteral("That the ") + name + QStringLiteral(" file was not found? ") +
           QStringLiteral("\n\n") + QStringLiteral("Create a text file named ") + name +
           QStringLiteral(" using NotePad with 1 tip per line. ") +
           QStringLiteral("Then place it in the same directory as the application. ");
}

TipDialog::TipDialog(const std::filesystem::path& tipsFile, settings::SettingsStore& settings,
                     QWidget* parent)
    : QDialog(parent), m_settings(settings), m_tips(LoadTips(tipsFile)) {
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setBackgroundRole(QPalette::Base);
    panel->setAutoFillBackground(true);
    auto* icon = new QLabel(panel);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* heading = new QLabel(QStringLiteral("Did you know..."), panel);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);
    m_tipText = new QLabel(panel);
    m_tipText->setObjectName(QStringLiteral("lblTipText"));
    m_tipText->setWordWrap(true);
    m_tipText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_tipText->setMinimumSize(360, 120);
    auto* textColumn = new QVBoxLayout;
    textColumn->addWidget(heading);
    textColumn->addWidget(m_tipText, 1);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(icon);
    panelLayout->addLayout(textColumn, 1);

    m_showAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    m_showAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    m_showAtStartup->setChecked(m_settings.GetSettingNumber(settings::kOptionsKey,
                                                            settings::kShowTips,
                                                            settings::kDefaultShowTips) != 0);
    auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
    next->setObjectName(QStringLiteral("cmdNextTip"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TipDialog::ShowNextTip);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showAtStartup);
    buttons->addStretch(1);
    buttons->addWidget(next);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);

    if (!m_tips.isEmpty()) {
        m_current = QRandomGenerator::global()->bounded(static_cast<int>(m_tips.size())) + 1;
    }
    ShowCurrentTip();
}

void TipDialog::ShowNextTip() {
    if (m_tips.isEmpty()) {
        return;
    }
    m_current = m_current >= m_tips.size() ? 1 : m_current + 1;
    ShowCurrentTip();
}

void TipDialog::ShowCurrentTip() {
    m_tipText->setText(m_tips.isEmpty() ? MissingTipsText() : m_tips[m_current - 1]);
}

void TipDialog::done(int result) {
    m_settings.SaveSettingNumber(settings::kOptionsKey, settings::kShowTips,
                                 m_showAtStartup->isChecked() ? 1 : 0);
    QDialog::done(result);
}

} // namespace slidesmith::ui
