#include "ui/DialogParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace slidesmith::ui {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    if (buddy != nullptr)
        label->setBuddy(buddy);
    return label;
}

QLineEdit* MakeLineEdit(QWidget* parent, const char* objectName) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    // Only the dialog's own default button may react to Enter.
    button->setAutoDefault(false);
    return button;
}

QString ArrayName(const char* objectName, int index) {
    return QString::fromLatin1(objectName) + QString::number(index);
}

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace slidesmith::ui
