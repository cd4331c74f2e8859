#pragma once

#include <QString>
#include <string>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Small builders for the controls every dialog uses, so that each control gets its object name
// (tests and the screenshot tool find controls by it) and each label its shortcut partner.
namespace slidesmith::ui {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& caption,
                  QWidget* buddy = nullptr);
QLineEdit* MakeLineEdit(QWidget* parent, const char* objectName);
QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& caption);

// The name of element index of a control array: "txtPVaule" and 3 give "txtPVaule3".
QString ArrayName(const char* objectName, int index);

// Text of a line edit as UTF-8, and back.
std::string ToUtf8(const QString& text);
QString FromUtf8(const std::string& text);

} // namespace slidesmith::ui
