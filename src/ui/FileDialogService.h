#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace slidesmith::ui {

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind DialogKind = Kind::Open;
    QString Title;
    QString Folder;
    // The classic "Description (*.ext)|*.ext|..." filter text.
    QString Filter;
};

// The common file dialogs, behind one door so that tests can answer them without a modal
// dialog (an empty answer is a cancel). The save dialog asks before overwriting and accepts
// only paths in folders that exist.
class FileDialogService {
public:
    using Responder = std::function<QString(const FileDialogRequest&)>;

    // The chosen path, or an empty text when the user cancelled.
    static QString Ask(QWidget* parent, const FileDialogRequest& request);
    static void SetResponder(Responder responder);

    // "A (*.a)|*.a|B (*.*)|*.*" in the form Qt's dialogs take: "A (*.a);;B (*.*)".
    static QString ToQtFilter(const QString& classicFilter);

private:
    static Responder& CurrentResponder();
};

} // namespace slidesmith::ui
