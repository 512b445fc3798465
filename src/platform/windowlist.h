#pragma once

#include "platform/exception.h"
#include "platform/windowsystem.h"

#include <QList>
#include <QStringList>

// An index outside the window list; carries "Listenindex überschreitet das
// Maximum (<index>)".
PHRASORA_DECLARE_EXCEPTION(EListIndexError);

// The windows a send can go to: pairs of display text and handle in the
// window system's order (front to back), shaped by three switches.
class TWindowList {
public:
    explicit TWindowList(IWindowSystem& system);

    // Display text is the title; otherwise the handle as six or more
    // lower-case hexadecimal digits.
    bool ShowTitles = true;
    // Also list windows that are not visible.
    bool IncludeInvisible = false;
    // Append ":" and the class name to the display text.
    bool AppendClassNames = false;

    // Fills the list anew from the window system; on failure the list is
    // left empty and the window system's exception passes on.
    void Refresh();

    int Count() const { return int(m_windows.size()); }
    QStringList Texts() const;
    // Throw EListIndexError for an index outside the list.
    WindowHandle Handle(int index) const;
    QString ClassName(int index) const;

private:
    const TWindowInfo& At(int index) const;

    IWindowSystem& m_system;
    QList<TWindowInfo> m_windows;
};

// The handle as text the way the list shows it ("%6.6x").
QString WindowHandleText(WindowHandle handle);
