#pragma once

#include <QApplication>

namespace slidesmith::ui {

// Shows the busy pointer for its lifetime, so that every way out of a slow step restores the
// normal one.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace slidesmith::ui
