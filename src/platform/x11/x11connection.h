#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <xcb/xcb.h>

// An XCB connection of our own to the display named by $DISPLAY. Each
// service keeps its own, so it works the same under a QGuiApplication, a
// QCoreApplication or none, and its requests and errors never mix with
// Qt's. Errors come back per request: a window that vanished between two
// requests is an empty answer, never an abort.
class TX11Connection {
public:
    explicit TX11Connection(const QByteArray& displayName = {});
    ~TX11Connection();
    TX11Connection(const TX11Connection&) = delete;
    TX11Connection& operator=(const TX11Connection&) = delete;

    bool IsOpen() const { return m_conn && !xcb_connection_has_error(m_conn); }
    xcb_connection_t* Get() const { return m_conn; }
    xcb_screen_t* Screen() const { return m_screen; }
    xcb_window_t Root() const { return m_screen ? m_screen->root : XCB_NONE; }

    xcb_atom_t Atom(const char* name);

    // A property's raw bytes, its type and element format; empty when absent.
    struct Property {
        QByteArray data;
        xcb_atom_t type = XCB_NONE;
        int format = 0;
        bool exists = false;
    };
    Property GetProperty(xcb_window_t window, xcb_atom_t property,
                         xcb_atom_t type = XCB_GET_PROPERTY_TYPE_ANY);
    // A property of 32-bit elements (CARDINAL, WINDOW, ATOM).
    QList<quint32> GetCardinals(xcb_window_t window, const char* property,
                                xcb_atom_t type = XCB_GET_PROPERTY_TYPE_ANY);

    // Waits until the server has handled every request sent so far.
    void Sync();

private:
    xcb_connection_t* m_conn = nullptr;
    xcb_screen_t* m_screen = nullptr;
    QHash<QByteArray, xcb_atom_t> m_atoms;
};

// Frees what XCB hands out with malloc.
struct TFreeDeleter {
    void operator()(void* p) const { free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, TFreeDeleter>;
