#include "ui/MessageService.h"

#include "UiTestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace slidesmith::ui {
namespace {

// Presses the given button of the real modal box as soon as it is shown, and remembers it.
struct RealBoxAnswer {
    QMessageBox::StandardButton press;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
};

int ShowRealBox(RealBoxAnswer& answer, const MessageRequest& request) {
    QTimer::singleShot(0, [&answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        answer.caption = box->windowTitle();
        answer.text = box->text();
        answer.icon = box->icon();
        answer.buttonCount = static_cast<int>(box->buttons().size());
        box->button(answer.press)->click();
    });
    return MessageService::Show(nullptr, request);
}

TEST(MessageService, RealBoxesReturnTheClassicAnswerCodes) {
    const struct {
        MessageButtons buttons;
        QMessageBox::StandardButton press;
        int expected;
        int buttonCount;
    } cases[] = {
        {MessageButtons::YesNo, QMessageBox::Yes, kAnswerYes, 2},
        {MessageButtons::YesNo, QMessageBox::No, kAnswerNo, 2},
        {MessageButtons::YesNoCancel, QMessageBox::Cancel, kAnswerCancel, 3},
        {MessageButtons::Ok, QMessageBox::Ok, kAnswerOk, 1},
    };
    for (const auto& c : cases) {
        RealBoxAnswer answer{c.press, {}, {}, QMessageBox::NoIcon, 0};
        const int code = ShowRealBox(
            answer, {QString(), QStringLiteral("Go on?"), MessageIcon::Question, c.buttons});
        EXPECT_EQ(code, c.expected);
        EXPECT_EQ(answer.buttonCount, c.buttonCount);
        EXPECT_EQ(answer.caption, QStringLiteral("Slidesmith"));
        EXPECT_EQ(answer.icon, QMessageBox::Question);
    }
}

TEST(MessageService, EnterPressesTheRequestedDefaultButton) {
    for (int defaultButton : {0, int{kAnswerNo}}) {
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, Qt::Key_Return);
        });
        const int code = MessageService::Show(nullptr, {QString(), QStringLiteral("Stop?"),
                                                        MessageIcon::Question,
                                                        MessageButtons::YesNo, defaultButton});
        EXPECT_EQ(code, defaultButton == 0 ? kAnswerYes : kAnswerNo);
    }
}

TEST(MessageService, ErrorBoxHasTheExclamationIconAndTheErrorInfoLine) {
    RealBoxAnswer answer{QMessageBox::Ok, {}, {}, QMessageBox::NoIcon, 0};
    QTimer::singleShot(0, [&answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        answer.caption = box->windowTitle();
        answer.text = box->text();
        answer.icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    ShowErrorBox(nullptr, QStringLiteral("The file \"x.slm\" does not exist."));
    EXPECT_EQ(answer.caption, QStringLiteral("Slidesmith"));
    EXPECT_EQ(answer.text,
              QStringLiteral("Error!\nError Info: The file \"x.slm\" does not exist."));
    EXPECT_EQ(answer.icon, QMessageBox::Warning);
}

TEST(MessageService, ScopedResponderAnswersInOrderThenDefaultsAndRestoresRealBoxes) {
    {
        ScopedMessageResponder responder({kAnswerNo});
        EXPECT_EQ(MessageService::Question(nullptr, QStringLiteral("first"), true), kAnswerNo);
        EXPECT_EQ(MessageService::Question(nullptr, QStringLiteral("second")), kAnswerYes);
        MessageService::Information(nullptr, QStringLiteral("third"));
        ASSERT_EQ(responder.Shown().size(), 3U);
        EXPECT_EQ(responder.Shown()[0].Buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(responder.Shown()[1].Buttons, MessageButtons::YesNo);
        EXPECT_EQ(responder.LastText(), QStringLiteral("third"));
    }
    RealBoxAnswer answer{QMessageBox::No, {}, {}, QMessageBox::NoIcon, 0};
    EXPECT_EQ(ShowRealBox(answer, {QString(), QStringLiteral("real"), MessageIcon::Question,
                                   MessageButtons::YesNo}),
              kAnswerNo);
    EXPECT_EQ(answer.text, QStringLiteral("real"));
}

} // namespace
} // namespace slidesmith::ui
