#pragma once

#include "definition/ReportDefinition.h"
#include "ui/EditMode.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace slidesmith::ui {

// frmParameter: edits one row of the configuration dialog's parameter list. Accepted means the
// caller stores Entry() (the title and default may be empty; the name never is).
class ParameterDialog : public QDialog {
    Q_OBJECT
public:
    ParameterDialog(EditMode mode, const definition::ParameterEntry& row, QWidget* parent);

    definition::ParameterEntry Entry() const;

private:
    void UpdateButtons();

    QLineEdit* m_name;
    QLineEdit* m_title;
    QLineEdit* m_default;
    QPushButton* m_ok;
};

} // namespace slidesmith::ui
