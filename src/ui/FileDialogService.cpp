#include "ui/FileDialogService.h"

#include <QFileDialog>
#include <QStringList>
#include <utility>

namespace slidesmith::ui {

FileDialogService::Responder& FileDialogService::CurrentResponder() {
    static Responder responder;
    return responder;
}

void FileDialogService::SetResponder(Responder responder) {
    CurrentResponder() = std::move(responder);
}

QString FileDialogService::ToQtFilter(const QString& classicFilter) {
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    // The classic form pairs a description with its patterns; the description already names
    // the patterns, so Qt can take it alone.
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        filters << parts[i];
    }
    return filters.join(QStringLiteral(";;"));
}

QString FileDialogService::Ask(QWidget* parent, const FileDialogRequest& request) {
    if (const auto& responder = CurrentResponder()) {
        return responder(request);
    }
    const QString filter = ToQtFilter(request.Filter);
    if (request.DialogKind == FileDialogRequest::Kind::Open) {
        return QFileDialog::getOpenFileName(parent, request.Title, request.Folder, filter);
    }
    // Qt's save dialog asks before overwriting by default and only offers existing folders.
    return QFileDialog::getSaveFileName(parent, request.Title, request.Folder, filter);
}

} // namespace slidesmith::ui
