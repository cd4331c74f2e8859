#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace slidesmith::ui {

// Answers of a message box, with the classic numeric codes the rest of the program compares.
enum MessageAnswer : int {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

enum class MessageIcon { Information, Question, Exclamation, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// One box as it would be shown; tests inspect these.
struct MessageRequest {
    QString Caption;
    QString Text;
    MessageIcon Icon = MessageIcon::Information;
    MessageButtons Buttons = MessageButtons::Ok;
    // The answer of the button Enter presses (kAnswerNo for a question whose safe answer is No);
    // 0 leaves the style's choice, the first button.
    int DefaultButton = 0;
};

// The one way the desktop program shows message boxes. Every box is captioned with the
// application title unless a caption is given. A test installs a responder (see
// ScopedMessageResponder) and then no modal box is ever opened: the responder's answer is
// returned instead, so a test can say Yes, No or Cancel to a save prompt.
class MessageService {
public:
    using Responder = std::function<int(const MessageRequest&)>;

    // Shows the box (or asks the responder) and returns one of the MessageAnswer codes.
    static int Show(QWidget* parent, const MessageRequest& request);

    // Information icon, OK button.
    static void Information(QWidget* parent, const QString& text);
    // Question icon with Yes and No, or Yes, No and Cancel; returns 6, 7 or 2.
    static int Question(QWidget* parent, const QString& text, bool withCancel = false);
    // Exclamation icon, OK button, the text as given.
    static void Warning(QWidget* parent, const QString& text);

    // Replaces the real boxes by a function; an empty function restores them.
    static void SetResponder(Responder responder);

private:
    static Responder& CurrentResponder();
};

// The common error box: "Error!", a line break, "Error Info: " and the text, with the
// exclamation icon and the application title as caption.
void ShowErrorBox(QWidget* parent, const QString& text);

// The text ShowErrorBox shows, for callers and tests that compare it.
QString ErrorBoxText(const QString& text);

// For tests: while alive, every box is recorded and answered with the next queued answer
// (OK, or Yes for questions, when the queue is empty). Restores the real boxes when destroyed.
class ScopedMessageResponder {
public:
    explicit ScopedMessageResponder(std::vector<int> answers = {});
    ~ScopedMessageResponder();
    ScopedMessageResponder(const ScopedMessageResponder&) = delete;
    ScopedMessageResponder& operator=(const ScopedMessageResponder&) = delete;

    // Queues the answer for the next box.
    void Answer(int code);
    const std::vector<MessageRequest>& Shown() const { return m_shown; }
    // The text of the last box, or an empty text when none was shown.
    QString LastText() const;
    void Clear() { m_shown.clear(); }

private:
    std::vector<int> m_answers;
    std::vector<MessageRequest> m_shown;
};

} // namespace slidesmith::ui
