#include "ui/MessageService.h"

#include "engine/ApplicationInfo.h"

#include <QMessageBox>

namespace slidesmith::ui {

namespace {

QString ApplicationTitle() {
    const auto title = engine::kApplicationTitle;
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

int FromQtAnswer(int button) {
    switch (button) {
    case QMessageBox::Yes:
        return kAnswerYes;
    case QMessageBox::No:
        return kAnswerNo;
    case QMessageBox::Cancel:
        return kAnswerCancel;
    default:
        return kAnswerOk;
    }
}

QMessageBox::StandardButton ToQtButton(int answer) {
    switch (answer) {
    case kAnswerYes:
        return QMessageBox::Yes;
    case kAnswerNo:
        return QMessageBox::No;
    case kAnswerCancel:
        return QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

int DefaultAnswer(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? kAnswerYes
                                                                                      : kAnswerOk;
}

} // namespace

MessageService::Responder& MessageService::CurrentResponder() {
    static Responder responder;
    return responder;
}

void MessageService::SetResponder(Responder responder) {
    CurrentResponder() = std::move(responder);
}

int MessageService::Show(QWidget* parent, const MessageRequest& request) {
    MessageRequest shown = request;
    if (shown.Caption.isEmpty()) {
        shown.Caption = ApplicationTitle();
    }
    if (const auto& responder = CurrentResponder()) {
        return responder(shown);
    }
    QMessageBox box(ToQtIcon(shown.Icon), shown.Caption, shown.Text, ToQtButtons(shown.Buttons),
                    parent);
    if (shown.Buttons == MessageButtons::YesNoCancel || shown.Buttons == MessageButtons::OkCancel) {
        box.setEscapeButton(QMessageBox::Cancel);
    }
    if (shown.DefaultButton != 0)
        box.setDefaultButton(ToQtButton(shown.DefaultButton));
    return FromQtAnswer(box.exec());
}

void MessageService::Information(QWidget* parent, const QString& text) {
    Show(parent, {QString(), text, MessageIcon::Information, MessageButtons::Ok});
}

int MessageService::Question(QWidget* parent, const QString& text, bool withCancel) {
    return Show(parent, {QString(), text, MessageIcon::Question,
                         withCancel ? MessageButtons::YesNoCancel : MessageButtons::YesNo});
}

void MessageService::Warning(QWidget* parent, const QString& text) {
    Show(parent, {QString(), text, MessageIcon::Exclamation, MessageButtons::Ok});
}

QString ErrorBoxText(const QString& text) {
    return QStringLiteral("Error!\nError Info: ") + text;
}

void ShowErrorBox(QWidget* parent, const QString& text) {
    MessageService::Warning(parent, ErrorBoxText(text));
}

ScopedMessageResponder::ScopedMessageResponder(std::vector<int> answers)
    : m_answers(std::move(answers)) {
    MessageService::SetResponder([this](const MessageRequest& request) {
        m_shown.push_back(request);
        if (m_answers.empty()) {
            return DefaultAnswer(request.Buttons);
        }
        const int answer = m_answers.front();
        m_answers.erase(m_answers.begin());
        return answer;
    });
}

ScopedMessageResponder::~ScopedMessageResponder() {
    MessageService::SetResponder({});
}

void ScopedMessageResponder::Answer(int code) {
    m_answers.push_back(code);
}

QString ScopedMessageResponder::LastText() const {
    return m_shown.empty() ? QString() : m_shown.back().Text;
}

} // namespace slidesmith::ui
