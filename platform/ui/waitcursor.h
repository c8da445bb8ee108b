#pragma once

#include <QApplication>

// The hourglass for as long as a piece of blocking work lasts, however it ends. It is drawn
// before the work starts; input is held back meanwhile, so no click starts anything inside it.
class TWaitCursor
{
public:
    TWaitCursor()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor &) = delete;
    TWaitCursor &operator=(const TWaitCursor &) = delete;
};
