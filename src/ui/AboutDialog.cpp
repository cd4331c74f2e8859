#include "ui/AboutDialog.h"

#include "engine/ApplicationInfo.h"
#include "ui/ToolbarIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace slidesmith::ui {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const QString title = FromView(engine::kApplicationTitle);
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + title);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setPixmap(ApplicationLogo(64));
    logo->setAlignment(Qt::AlignTop);
    auto* name = new QLabel(title, this);
    name->setObjectName(QStringLiteral("lblSysName"));
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    name->setFont(nameFont);
    auto* version =
        new QLabel(QStringLiteral("Version ") + FromView(engine::ApplicationVersion()), this);
    version->setObjectName(QStringLiteral("lblSysVer"));
    auto* blurb = new QLabel(
        QStringLiteral("Fills PowerPoint templates with the results of SQL queries."), this);
    blurb->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(blurb);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(logo);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

} // namespace slidesmith::ui
