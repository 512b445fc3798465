#include "platform/fake/fakewindowsystem.h"

#include "platform/exception.h"

QList<TWindowInfo> TFakeWindowSystem::TopLevelWindows() {
    calls << QStringLiteral("list");
    if (failEnumeration)
        throw Exception(QStringLiteral("enumeration failed"));
    return windows;
}

void TFakeWindowSystem::MakeWindowActive(WindowHandle window) {
    calls << QStringLiteral("activate %1").arg(window);
}

void TFakeWindowSystem::SetForegroundWindow(WindowHandle window) {
    calls << QStringLiteral("foreground %1").arg(window);
    m_requested = window;
}

bool TFakeWindowSystem::HasFocus(WindowHandle window) {
    if (focus != window && m_requested == window && focusAfterPolls >= 0 &&
        m_polls++ >= focusAfterPolls)
        focus = window;
    return focus == window;
}
