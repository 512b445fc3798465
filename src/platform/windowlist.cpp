#include "platform/windowlist.h"

namespace {

// The class name is read into a buffer of this many characters, the
// terminating zero included.
constexpr int ClassNameBuffer = 1024;

} // namespace

QString WindowHandleText(WindowHandle handle) {
    return QStringLiteral("%1").arg(handle, 6, 16, QLatin1Char('0'));
}

TWindowList::TWindowList(IWindowSystem& system) : m_system(system) {}

void TWindowList::Refresh() {
    m_windows.clear();
    const QList<TWindowInfo> all = m_system.TopLevelWindows();
    for (const TWindowInfo& w : all) {
        if (w.visible || IncludeInvisible)
            m_windows.append(w);
    }
}

QStringList TWindowList::Texts() const {
    QStringList texts;
    texts.reserve(m_windows.size());
    for (const TWindowInfo& w : m_windows) {
        QString text = ShowTitles ? w.title : WindowHandleText(w.handle);
        if (AppendClassNames)
            text += QLatin1Char(':') + w.className.left(ClassNameBuffer - 1);
        texts.append(text);
    }
    return texts;
}

const TWindowInfo& TWindowList::At(int index) const {
    if (index < 0 || index >= Count())
        throw EListIndexError(
            QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(index));
    return m_windows.at(index);
}

WindowHandle TWindowList::Handle(int index) const {
    return At(index).handle;
}

QString TWindowList::ClassName(int index) const {
    return At(index).className.left(ClassNameBuffer - 1);
}
