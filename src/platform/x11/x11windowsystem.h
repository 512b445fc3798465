#pragma once

#include "platform/windowsystem.h"
#include "platform/x11/x11connection.h"

// Top-level windows of an X display. With an EWMH window manager the list
// is the manager's stacking list (front to back) and activation goes
// through _NET_ACTIVE_WINDOW; without one, the root's children and the
// input focus stand in.
class TX11WindowSystem : public IWindowSystem, public IPanelArea {
public:
    explicit TX11WindowSystem(const QByteArray& displayName = {});

    bool IsOpen() const { return m_x.IsOpen(); }

    QList<TWindowInfo> TopLevelWindows() override;
    WindowHandle ActiveWindow() override;
    void MakeWindowActive(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    bool HasFocus(WindowHandle window) override;
    int BottomPanelHeight() override;

    // Pieces the list is made of, also used by the tests.
    QString Title(xcb_window_t window);
    QString ClassName(xcb_window_t window);
    bool IsMinimised(xcb_window_t window);
    // The window manager's check window when an EWMH manager runs, else 0.
    xcb_window_t WindowManager();

private:
    bool IsViewable(xcb_window_t window);
    long WmState(xcb_window_t window); // -1 when absent
    void SendRootMessage(xcb_window_t window, const char* type, const quint32 (&data)[5]);

    TX11Connection m_x;
};
