#pragma once

#include "platform/keysender.h"
#include "platform/x11/x11connection.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QSet>
#include <QVarLengthArray>
#include <chrono>
#include <memory>
#include <utility>

struct xkb_context;
struct xkb_keymap;
class QTimer;

// The key sender's device on X11: XTest key events, with every character
// looked up in the current XKB keymap at every level of the active group
// (plain, Shift, AltGr, Shift+AltGr) and typed with exactly the modifier
// keys that level needs. Dead keys are never pressed for a character: a
// character is only found where the keymap yields exactly it.
//
// A character the layout cannot produce is bound for a while to a spare
// keycode (one that carries no symbols) and typed from there. Clients look
// key events up in the keymap as it is when they read them, which on a busy
// machine can be long after the event was sent; so before a binding
// changes again (given back, or moved on to other characters mid-text) the
// target must have read everything sent so far. A target that speaks
// _NET_WM_PING says so by answering a ping (clients handle events in
// order); for one that does not, no key may have gone out for a settle
// time. The keymap is as it was once RestoreKeymap() has run (shortly after
// a send when an event loop runs, at the latest when the object goes).
class TX11Keyboard : public IKeyboard {
public:
    explicit TX11Keyboard(const QByteArray& displayName = {});
    ~TX11Keyboard() override;
    TX11Keyboard(const TX11Keyboard&) = delete;
    TX11Keyboard& operator=(const TX11Keyboard&) = delete;

    bool IsOpen() const;

    bool BeginTyping(const QList<char32_t>& characters) override;
    void TapKey(int virtualKey) override;
    void SetModifier(int virtualKey, bool down) override;
    bool TypeCharacter(char32_t character, bool modifiersHeld) override;
    void EndTyping() override;

    // Gives every spare keycode back its empty binding, after the settle
    // time has passed since the last key.
    void RestoreKeymap();
    // Keycodes bound to characters right now.
    int BoundKeycodes() const { return int(m_bound.size()); }

    // How long to wait for the user to let go of modifier keys.
    std::chrono::milliseconds modifierWait{2000};
    // How long a binding stays after its last use before it may change,
    // for a target that does not answer pings.
    std::chrono::milliseconds settleTime{1000};
    // How long to wait for a target's answer to a ping.
    std::chrono::milliseconds pingTimeout{5000};

private:
    struct Chord {
        xcb_keycode_t key = 0;
        QVarLengthArray<xcb_keycode_t, 2> modifiers;
    };

    bool LoadKeymap();
    void WaitForModifierRelease();
    void WaitSettled();
    // Waits until the target has read every key sent so far (see above).
    void SyncWithTarget();
    xcb_window_t PingableFocusWindow();
    // Binds spare keycodes to the characters of `wanted` (foreign ones, in
    // the order they are needed next), as many as there are spares; keys
    // that hold one of those keep it.
    void Bind(const QList<char32_t>& wanted);
    // The foreign characters still to come from `from` on, each once, in the
    // order of their next use.
    QList<char32_t> Upcoming(qsizetype from) const;
    void Fake(uint8_t type, xcb_keycode_t key);
    void Press(const Chord& chord, bool withModifiers);
    xcb_keycode_t KeycodeFor(quint32 keysym) const;

    TX11Connection m_x;
    int32_t m_device = -1;
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> m_context;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> m_keymap;

    QHash<char32_t, Chord> m_characters; // reachable characters
    QHash<quint32, Chord> m_keysyms;     // reachable keysyms (for named keys)
    QList<xcb_keycode_t> m_spares;       // keycodes without symbols, ours included
    QHash<xcb_keycode_t, std::pair<char32_t, char32_t>> m_bound; // one character or a case pair
    QList<char32_t> m_sequence; // the characters of this send, in order
    qsizetype m_position = 0;   // how many of them have been typed
    QSet<char32_t> m_foreign;   // those the layout cannot produce
    QSet<xcb_keycode_t> m_held;
    QElapsedTimer m_lastKey;
    xcb_window_t m_target = XCB_NONE; // the focused client while typing
    bool m_synced = true;             // the target has read all keys sent
    quint32 m_pingSerial = 0;
    std::unique_ptr<QTimer> m_restoreTimer;
};
