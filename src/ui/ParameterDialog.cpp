#include "ui/ParameterDialog.h"

#include "ui/DialogParts.h"
#include "ui/ReportFileNames.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace slidesmith::ui {

ParameterDialog::ParameterDialog(EditMode mode, const definition::ParameterEntry& row,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmParameter"));
    setWindowTitle(mode == EditMode::New ? QStringLiteral("New Parameter")
                                         : QStringLiteral("Edit Parameter"));
    m_name = MakeLineEdit(this, "txtParaName");
    m_title = MakeLineEdit(this, "txtParaTitle");
    m_default = MakeLineEdit(this, "txtParaDefault");
    m_ok = MakeButton(this, "cmdOK", QStringLiteral("OK"));
    QPushButton* cancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    m_ok->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(MakeLabel(this, "lblParaName", QStringLiteral("&Name:"), m_name), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(MakeLabel(this, "lblParaTitle", QStringLiteral("&Title:"), m_title), 1, 0);
    grid->addWidget(m_title, 1, 1);
    grid->addWidget(MakeLabel(this, "lblParaDefault", QStringLiteral("&Default:"), m_default), 2,
                    0);
    grid->addWidget(m_default, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setColumnMinimumWidth(1, 280);

    if (mode == EditMode::Edit) {
        m_name->setText(FromUtf8(row.Name));
        m_title->setText(FromUtf8(row.Title));
        m_default->setText(FromUtf8(row.Default));
    }
    connect(m_name, &QLineEdit::textChanged, this, &ParameterDialog::UpdateButtons);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
}

definition::ParameterEntry ParameterDialog::Entry() const {
    return {ToUtf8(m_name->text()), ToUtf8(m_title->text()), ToUtf8(m_default->text())};
}

void ParameterDialog::UpdateButtons() {
    m_ok->setEnabled(!TrimBlanks(ToUtf8(m_name->text())).empty());
}

} // namespace slidesmith::ui
