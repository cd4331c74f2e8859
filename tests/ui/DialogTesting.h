#pragma once

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace slidesmith::ui::testing {

// A modal dialog blocks the test in exec(); this acts on it from inside its event loop, as a
// user would, once it is the active modal window; with a name, once the window of that name is
// (a run window stays modal underneath the prompts it opens).
inline void OnModal(const char* name, std::function<void(QDialog&)> action, int triesLeft = 200) {
    QTimer::singleShot(10, [name, action = std::move(action), triesLeft]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        const bool wanted =
            dialog != nullptr && (name == nullptr || dialog->objectName() == QLatin1String(name));
        if (!wanted && triesLeft > 0) {
            OnModal(name, std::move(action), triesLeft - 1);
            return;
        }
        ASSERT_TRUE(wanted) << (name != nullptr ? name : "no modal dialog") << " was not shown";
        action(*dialog);
    });
}

inline void OnNextModal(std::function<void(QDialog&)> action) {
    OnModal(nullptr, std::move(action));
}

// The child of the given class and object name; fails the test when it is missing.
template <class Widget>
Widget& Child(const QObject& root, const char* name) {
    auto* widget = root.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr)
        throw std::runtime_error(std::string("no control named ") + name);
    return *widget;
}

// A window's own menu item (a direct child, so the editor's items are not the frame's).
inline QAction* MenuItem(const QObject& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

// The visible top-level window with this object name, or nullptr.
inline QWidget* VisibleWindow(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace slidesmith::ui::testing
