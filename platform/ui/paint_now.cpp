#include "paint_now.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ui {

void PaintNow(QWidget& window) {
    QWindow* handle = window.windowHandle();
    if (!handle || !window.isVisible())
        return;
    // Wakes the wait below when the window system has not exposed the window in time.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(100);
    while (!handle->isExposed() && deadline.isActive())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

} // namespace ui
