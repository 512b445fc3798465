#include "platform/x11/x11windowsystem.h"

#include "platform/exception.h"

#include <algorithm>

namespace {

constexpr long IconicState = 3;
constexpr long NormalState = 1;
constexpr quint32 SourcePager = 2; // a request on the user's behalf

} // namespace

TX11WindowSystem::TX11WindowSystem(const QByteArray& displayName) : m_x(displayName) {}

xcb_window_t TX11WindowSystem::WindowManager() {
    const QList<quint32> check =
        m_x.GetCardinals(m_x.Root(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    if (check.isEmpty() || check.first() == 0)
        return 0;
    // A check window left behind by a manager that has gone does not point
    // at itself any more (or no longer exists).
    const QList<quint32> self =
        m_x.GetCardinals(check.first(), "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW);
    return !self.isEmpty() && self.first() == check.first() ? check.first() : 0;
}

QString TX11WindowSystem::Title(xcb_window_t window) {
    const TX11Connection::Property net =
        m_x.GetProperty(window, m_x.Atom("_NET_WM_NAME"), m_x.Atom("UTF8_STRING"));
    if (net.exists)
        return QString::fromUtf8(net.data);
    const TX11Connection::Property name = m_x.GetProperty(window, XCB_ATOM_WM_NAME);
    if (name.type == m_x.Atom("UTF8_STRING"))
        return QString::fromUtf8(name.data);
    // STRING is Latin-1; COMPOUND_TEXT is Latin-1 outside its escapes.
    return QString::fromLatin1(name.data);
}

QString TX11WindowSystem::ClassName(xcb_window_t window) {
    // WM_CLASS holds two zero-terminated strings: instance, then class.
    const QByteArray data = m_x.GetProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).data;
    const QList<QByteArray> parts = data.split('\0');
    return parts.size() >= 2 ? QString::fromLatin1(parts.at(1)) : QString();
}

long TX11WindowSystem::WmState(xcb_window_t window) {
    const QList<quint32> state = m_x.GetCardinals(window, "WM_STATE", m_x.Atom("WM_STATE"));
    return state.isEmpty() ? -1 : long(state.first());
}

bool TX11WindowSystem::IsViewable(xcb_window_t window) {
    XcbReply<xcb_get_window_attributes_reply_t> attrs(xcb_get_window_attributes_reply(
        m_x.Get(), xcb_get_window_attributes(m_x.Get(), window), nullptr));
    return attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool TX11WindowSystem::IsMinimised(xcb_window_t window) {
    if (WmState(window) == IconicState)
        return true;
    const QList<quint32> states = m_x.GetCardinals(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
    return states.contains(m_x.Atom("_NET_WM_STATE_HIDDEN"));
}

QList<TWindowInfo> TX11WindowSystem::TopLevelWindows() {
    if (!m_x.IsOpen())
        throw Exception(QStringLiteral("Cannot connect to the X display."));

    QList<quint32> ids;
    const bool managed = WindowManager() != 0;
    if (managed) {
        ids = m_x.GetCardinals(m_x.Root(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        if (ids.isEmpty())
            ids = m_x.GetCardinals(m_x.Root(), "_NET_CLIENT_LIST", XCB_ATOM_WINDOW);
    }
    if (ids.isEmpty()) {
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_x.Get(), xcb_query_tree(m_x.Get(), m_x.Root()), nullptr));
        if (!tree)
            throw Exception(QStringLiteral("Cannot read the window tree of the X display."));
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            ids.append(children[i]);
    }
    // Both lists run bottom to top.
    std::reverse(ids.begin(), ids.end());

    QList<TWindowInfo> windows;
    windows.reserve(ids.size());
    for (const quint32 id : std::as_const(ids)) {
        TWindowInfo info;
        info.handle = id;
        info.title = Title(id);
        info.className = ClassName(id);
        // A minimised window still counts as visible: it is offered and is
        // restored before anything is typed into it.
        const long state = WmState(id);
        info.visible = state == NormalState || state == IconicState || IsViewable(id);
        if (!managed)
            info.visible = IsViewable(id);
        windows.append(info);
    }
    return windows;
}

WindowHandle TX11WindowSystem::ActiveWindow() {
    if (WindowManager()) {
        const QList<quint32> active =
            m_x.GetCardinals(m_x.Root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
        if (!active.isEmpty() && active.first() != 0)
            return active.first();
    }
    // The focus window's ancestor just below the root.
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(m_x.Get(), xcb_get_input_focus(m_x.Get()), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return 0;
    xcb_window_t w = focus->focus;
    for (int depth = 0; depth < 64; ++depth) {
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_x.Get(), xcb_query_tree(m_x.Get(), w), nullptr));
        if (!tree)
            return 0;
        if (tree->parent == m_x.Root() || tree->parent == XCB_NONE)
            return w;
        w = tree->parent;
    }
    return 0;
}

void TX11WindowSystem::SendRootMessage(xcb_window_t window, const char* type,
                                       const quint32 (&data)[5]) {
    xcb_client_message_event_t ev = {};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = m_x.Atom(type);
    std::copy(std::begin(data), std::end(data), ev.data.data32);
    xcb_send_event(m_x.Get(), 0, m_x.Root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
}

void TX11WindowSystem::MakeWindowActive(WindowHandle window) {
    if (!m_x.IsOpen() || window == 0)
        return;
    const auto w = xcb_window_t(window);
    if (IsMinimised(w)) {
        // Mapping an iconic window asks for its normal state (ICCCM); an
        // EWMH manager also restores a window it is asked to activate.
        xcb_map_window(m_x.Get(), w);
        if (WindowManager())
            SendRootMessage(w, "_NET_ACTIVE_WINDOW", {SourcePager, XCB_CURRENT_TIME, 0, 0, 0});
    } else if (WindowManager()) {
        SendRootMessage(w, "_NET_RESTACK_WINDOW", {SourcePager, 0, XCB_STACK_MODE_ABOVE, 0, 0});
    } else {
        const quint32 above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(m_x.Get(), w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    }
    xcb_flush(m_x.Get());
}

void TX11WindowSystem::SetForegroundWindow(WindowHandle window) {
    if (!m_x.IsOpen() || window == 0)
        return;
    const auto w = xcb_window_t(window);
    if (WindowManager()) {
        SendRootMessage(w, "_NET_ACTIVE_WINDOW", {SourcePager, XCB_CURRENT_TIME, 0, 0, 0});
    } else {
        const quint32 above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(m_x.Get(), w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        if (IsViewable(w))
            xcb_set_input_focus(m_x.Get(), XCB_INPUT_FOCUS_PARENT, w, XCB_CURRENT_TIME);
    }
    xcb_flush(m_x.Get());
}

bool TX11WindowSystem::HasFocus(WindowHandle window) {
    if (!m_x.IsOpen() || window == 0)
        return false;
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(m_x.Get(), xcb_get_input_focus(m_x.Get()), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT)
        return false;
    // The focus may sit on a child of the client window.
    xcb_window_t w = focus->focus;
    for (int depth = 0; depth < 64 && w != XCB_NONE; ++depth) {
        if (w == window)
            return true;
        if (w == m_x.Root())
            return false;
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_x.Get(), xcb_query_tree(m_x.Get(), w), nullptr));
        if (!tree)
            return false;
        w = tree->parent;
    }
    return false;
}

int TX11WindowSystem::BottomPanelHeight() {
    if (!m_x.IsOpen() || !m_x.Screen())
        return 0;
    const QList<quint32> area = m_x.GetCardinals(m_x.Root(), "_NET_WORKAREA", XCB_ATOM_CARDINAL);
    if (area.size() < 4)
        return 0;
    const QList<quint32> current =
        m_x.GetCardinals(m_x.Root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL);
    qsizetype desktop = current.isEmpty() ? 0 : qsizetype(current.first());
    if ((desktop + 1) * 4 > area.size())
        desktop = 0;
    const qint64 bottom = qint64(area.at(desktop * 4 + 1)) + qint64(area.at(desktop * 4 + 3));
    const qint64 height = qint64(m_x.Screen()->height_in_pixels) - bottom;
    return height > 0 ? int(height) : 0;
}
