#include "platform/x11/x11connection.h"

#include <cstring>

TX11Connection::TX11Connection(const QByteArray& displayName) {
    int screenNumber = 0;
    m_conn = xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screenNumber);
    if (xcb_connection_has_error(m_conn))
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn));
    for (int i = 0; it.rem && i < screenNumber; ++i)
        xcb_screen_next(&it);
    m_screen = it.rem ? it.data : nullptr;
}

TX11Connection::~TX11Connection() {
    if (m_conn)
        xcb_disconnect(m_conn);
}

xcb_atom_t TX11Connection::Atom(const char* name) {
    const QByteArray key(name);
    auto found = m_atoms.constFind(key);
    if (found != m_atoms.constEnd())
        return found.value();
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_conn, xcb_intern_atom(m_conn, 0, uint16_t(key.size()), key.constData()), nullptr));
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    m_atoms.insert(key, atom);
    return atom;
}

TX11Connection::Property TX11Connection::GetProperty(xcb_window_t window, xcb_atom_t property,
                                                     xcb_atom_t type) {
    Property result;
    if (!IsOpen() || window == XCB_NONE || property == XCB_NONE)
        return result;
    // Titles and lists are small; 1 MiB (in 32-bit units) is plenty.
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_conn, xcb_get_property(m_conn, 0, window, property, type, 0, 256 * 1024), nullptr));
    if (!reply || reply->type == XCB_NONE)
        return result;
    result.exists = true;
    result.type = reply->type;
    result.format = reply->format;
    result.data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
    return result;
}

QList<quint32> TX11Connection::GetCardinals(xcb_window_t window, const char* property,
                                            xcb_atom_t type) {
    const Property p = GetProperty(window, Atom(property), type);
    QList<quint32> values;
    if (p.format != 32)
        return values;
    values.resize(p.data.size() / 4);
    if (!values.isEmpty())
        std::memcpy(values.data(), p.data.constData(), size_t(values.size()) * 4);
    return values;
}

void TX11Connection::Sync() {
    if (!IsOpen())
        return;
    free(xcb_get_input_focus_reply(m_conn, xcb_get_input_focus(m_conn), nullptr));
}
