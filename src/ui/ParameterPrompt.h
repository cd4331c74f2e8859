#pragma once

#include "definition/ReportDefinition.h"
#include "ui/MessageService.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace slidesmith::ui {

// frmInputPara: asks for the values of the definition's parameters before a run. OK stores every
// box's text as its parameter's default (so a later save keeps it and the next prompt offers it)
// and marks the definition modified when a box was edited; Cancel and Escape change nothing.
class ParameterPrompt : public QDialog {
    Q_OBJECT
public:
    ParameterPrompt(definition::ReportDefinition& definition, QWidget* parent);

    // 6 after OK, 7 after Cancel or Escape (the message-box Yes and No codes the run window
    // compares).
    int DialogResult() const { return m_result; }

    void reject() override;

private:
    void Confirm();

    definition::ReportDefinition& m_definition;
    std::array<QLabel*, definition::kMaxListEntries> m_labels{};
    std::array<QLineEdit*, definition::kMaxListEntries> m_boxes{};
    std::array<bool, definition::kMaxListEntries> m_edited{};
    int m_result = kAnswerNo;
};

// Shows the prompt modally; returns its dialog result (6 OK, 7 Cancel).
int ShowParameterPrompt(QWidget* parent, definition::ReportDefinition& definition);

} // namespace slidesmith::ui
