#pragma once

#include "platform/windowsystem.h"

#include <QStringList>

// A scripted desktop: a fixed window list, a focus that follows activation
// (unless told to stay away) and a record of every call.
class TFakeWindowSystem : public IWindowSystem, public IPanelArea {
public:
    QList<TWindowInfo> windows;
    WindowHandle focus = 0;
    bool failEnumeration = false;
    // The window gets the focus after this many HasFocus questions; -1 never.
    int focusAfterPolls = 0;
    int panelHeight = 0;
    QStringList calls;

    QList<TWindowInfo> TopLevelWindows() override;
    WindowHandle ActiveWindow() override { return focus; }
    void MakeWindowActive(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    bool HasFocus(WindowHandle window) override;
    int BottomPanelHeight() override { return panelHeight; }

private:
    WindowHandle m_requested = 0;
    int m_polls = 0;
};
