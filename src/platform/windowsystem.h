#pragma once

#include <QList>
#include <QString>
#include <chrono>

// A top-level window as the desktop reports it. The handle is the window
// system's own id (an X window id on X11).
using WindowHandle = quint64;

struct TWindowInfo {
    WindowHandle handle = 0;
    QString title;
    QString className;
    bool visible = true;
};

// Top-level windows, their activation and the keyboard focus.
class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    // Every top-level window, front to back. Throws Exception when the
    // window system cannot be asked.
    virtual QList<TWindowInfo> TopLevelWindows() = 0;
    // The window that is active now (0 when none).
    virtual WindowHandle ActiveWindow() = 0;
    // Restores a minimised window; otherwise brings it to the top.
    virtual void MakeWindowActive(WindowHandle window) = 0;
    // Asks for the window to become the foreground window (the one with the
    // keyboard focus). Does not wait.
    virtual void SetForegroundWindow(WindowHandle window) = 0;
    // True while the window (or one of its children) holds the keyboard focus.
    virtual bool HasFocus(WindowHandle window) = 0;
};

// Puts a window in front of the user for typing into it: restore or raise,
// foreground, a 50 ms pause, then a bounded wait until it really holds the
// focus. False when it never gets the focus within focusTimeout; nothing
// may be typed then, since keys sent to another window are lost text.
bool ActivateTarget(IWindowSystem& system, WindowHandle window,
                    std::chrono::milliseconds focusTimeout = std::chrono::milliseconds(1000));

// The space that panels take on the desktop.
class IPanelArea {
public:
    virtual ~IPanelArea() = default;
    // Height in pixels of the strip that panels reserve at the bottom of the
    // primary screen; 0 when there is none or nothing says so.
    virtual int BottomPanelHeight() = 0;
};
