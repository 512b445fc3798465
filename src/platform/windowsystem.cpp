#include "platform/windowsystem.h"

#include <QDeadlineTimer>
#include <QThread>

bool ActivateTarget(IWindowSystem& system, WindowHandle window,
                    std::chrono::milliseconds focusTimeout) {
    system.MakeWindowActive(window);
    system.SetForegroundWindow(window);
    // The target needs a moment to come up; no events of our own are
    // handled meanwhile, so nothing of this program can take the focus back.
    QThread::msleep(50);

    QDeadlineTimer deadline(focusTimeout);
    int asked = 1;
    while (!system.HasFocus(window)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
        // A window manager can drop a request that came while the window was
        // still being mapped; ask again now and then.
        if (++asked % 20 == 0)
            system.SetForegroundWindow(window);
    }
    return true;
}
