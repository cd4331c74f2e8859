#pragma once

#include <QDialog>

namespace slidesmith::ui {

// "About Slidesmith" (frmAbout): the application title and "Version major.minor.revision".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace slidesmith::ui
