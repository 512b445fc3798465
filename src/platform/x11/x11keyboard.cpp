#include "platform/x11/x11keyboard.h"

#include "platform/x11/keysyms.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <array>
#include <xcb/xtest.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace {

bool isKeypad(xkb_keysym_t sym) {
    return sym >= XKB_KEY_KP_Space && sym <= XKB_KEY_KP_9;
}

void freeState(xkb_state* s) {
    xkb_state_unref(s);
}
using StatePtr = std::unique_ptr<xkb_state, void (*)(xkb_state*)>;

} // namespace

TX11Keyboard::TX11Keyboard(const QByteArray& displayName)
    : m_x(displayName), m_context(nullptr, xkb_context_unref), m_keymap(nullptr, xkb_keymap_unref) {
    if (!m_x.IsOpen())
        return;
    uint16_t major = 0, minor = 0;
    uint8_t event = 0, error = 0;
    if (!xkb_x11_setup_xkb_extension(
            m_x.Get(), XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, &major, &minor, &event, &error))
        return;
    m_device = xkb_x11_get_core_keyboard_device_id(m_x.Get());
    m_context.reset(xkb_context_new(
        xkb_context_flags(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES)));
    m_lastKey.start();
}

TX11Keyboard::~TX11Keyboard() {
    m_restoreTimer.reset();
    for (xcb_keycode_t key : std::as_const(m_held))
        Fake(XCB_KEY_RELEASE, key);
    RestoreKeymap();
}

bool TX11Keyboard::IsOpen() const {
    return m_x.IsOpen() && m_device >= 0 && m_context;
}

bool TX11Keyboard::LoadKeymap() {
    m_keymap.reset(xkb_x11_keymap_new_from_device(m_context.get(), m_x.Get(), m_device,
                                                  XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!m_keymap)
        return false;
    StatePtr live(xkb_x11_state_new_from_device(m_keymap.get(), m_x.Get(), m_device), freeState);
    if (!live)
        return false;
    const xkb_layout_index_t group =
        xkb_state_serialize_layout(live.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    const xkb_mod_mask_t locked = xkb_state_serialize_mods(live.get(), XKB_STATE_MODS_LOCKED);

    m_characters.clear();
    m_keysyms.clear();
    const xkb_keycode_t minKey = std::max<xkb_keycode_t>(xkb_keymap_min_keycode(m_keymap.get()), 8);
    const xkb_keycode_t maxKey =
        std::min<xkb_keycode_t>(xkb_keymap_max_keycode(m_keymap.get()), 255);

    QList<xcb_keycode_t> spares;
    for (xkb_keycode_t k = minKey; k <= maxKey; ++k) {
        if (xkb_keymap_num_layouts_for_key(m_keymap.get(), k) == 0)
            spares.append(xcb_keycode_t(k));
    }
    // Our own bindings count as spare too; unbound ones are used first.
    for (auto it = m_bound.cbegin(); it != m_bound.cend(); ++it)
        if (!spares.contains(it.key()))
            spares.append(it.key());
    m_spares = spares;

    // What a key yields as the state is now (group, Caps and Num Lock) with
    // a given set of modifier keys held, asked of a scratch state exactly as
    // the server will see it.
    auto scan = [&](const QVarLengthArray<xcb_keycode_t, 2>& modifiers, bool keypad) {
        StatePtr s(xkb_state_new(m_keymap.get()), freeState);
        xkb_state_update_mask(s.get(), 0, 0, locked, 0, 0, group);
        for (xcb_keycode_t m : modifiers)
            xkb_state_update_key(s.get(), m, XKB_KEY_DOWN);
        for (xkb_keycode_t k = minKey; k <= maxKey; ++k) {
            const xkb_keysym_t sym = xkb_state_key_get_one_sym(s.get(), k);
            if (sym == XKB_KEY_NoSymbol || isKeypad(sym) != keypad)
                continue;
            Chord chord{xcb_keycode_t(k), modifiers};
            if (!m_keysyms.contains(sym))
                m_keysyms.insert(sym, chord);
            const char32_t ch = xkb_keysym_to_utf32(sym);
            if (ch >= 32 && ch != 127 && !m_characters.contains(ch))
                m_characters.insert(ch, chord);
        }
    };

    // A modifier key that really sets a modifier in this keymap: several
    // keys may carry the symbol while only one holds the action.
    auto modifierKey = [&](std::initializer_list<xkb_keysym_t> symbols) -> xcb_keycode_t {
        StatePtr s(xkb_state_new(m_keymap.get()), freeState);
        xkb_state_update_mask(s.get(), 0, 0, locked, 0, 0, group);
        for (xkb_keycode_t k = minKey; k <= maxKey; ++k) {
            const xkb_keysym_t sym = xkb_state_key_get_one_sym(s.get(), k);
            if (std::find(symbols.begin(), symbols.end(), sym) == symbols.end())
                continue;
            StatePtr probe(xkb_state_new(m_keymap.get()), freeState);
            xkb_state_update_mask(probe.get(), 0, 0, locked, 0, 0, group);
            if (xkb_state_update_key(probe.get(), k, XKB_KEY_DOWN) & XKB_STATE_MODS_DEPRESSED)
                return xcb_keycode_t(k);
        }
        return 0;
    };

    QVarLengthArray<xcb_keycode_t, 2> none;
    scan(none, false);
    const xcb_keycode_t shift = modifierKey({XKB_KEY_Shift_L, XKB_KEY_Shift_R});
    const xcb_keycode_t level3 = modifierKey({XKB_KEY_ISO_Level3_Shift});
    std::array<QVarLengthArray<xcb_keycode_t, 2>, 3> chords;
    if (shift)
        chords[0].append(shift);
    if (level3)
        chords[1].append(level3);
    if (shift && level3)
        chords[2] = {shift, level3};
    for (const auto& chord : chords)
        if (!chord.isEmpty())
            scan(chord, false);
    // The keypad only for what nothing else gives.
    scan(none, true);
    return true;
}

xcb_keycode_t TX11Keyboard::KeycodeFor(quint32 keysym) const {
    const auto it = m_keysyms.constFind(keysym);
    return it == m_keysyms.constEnd() ? 0 : it->key;
}

void TX11Keyboard::WaitForModifierRelease() {
    XcbReply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(m_x.Get(), xcb_get_modifier_mapping(m_x.Get()), nullptr));
    if (!map)
        return;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
    const int count = xcb_get_modifier_mapping_keycodes_length(map.get());
    const int perModifier = map->keycodes_per_modifier;

    QDeadlineTimer deadline(modifierWait);
    for (;;) {
        XcbReply<xcb_query_keymap_reply_t> keys(
            xcb_query_keymap_reply(m_x.Get(), xcb_query_keymap(m_x.Get()), nullptr));
        if (!keys)
            return;
        bool down = false;
        for (int i = 0; i < count && !down; ++i) {
            // Caps Lock (the second modifier row) only locks; holding it is harmless.
            if (codes[i] == 0 || i / perModifier == 1)
                continue;
            down = keys->keys[codes[i] / 8] & (1 << (codes[i] % 8));
        }
        if (!down || deadline.hasExpired())
            return;
        QThread::msleep(10);
    }
}

void TX11Keyboard::WaitSettled() {
    const qint64 settle = settleTime.count();
    while (m_lastKey.elapsed() < settle)
        QThread::msleep(quint32(std::max<qint64>(1, settle - m_lastKey.elapsed())));
}

xcb_window_t TX11Keyboard::PingableFocusWindow() {
    XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(m_x.Get(), xcb_get_input_focus(m_x.Get()), nullptr));
    if (!focus)
        return XCB_NONE;
    const xcb_atom_t ping = m_x.Atom("_NET_WM_PING");
    xcb_window_t w = focus->focus;
    for (int depth = 0;
         depth < 64 && w != XCB_NONE && w != XCB_INPUT_FOCUS_POINTER_ROOT && w != m_x.Root();
         ++depth) {
        if (m_x.GetCardinals(w, "WM_PROTOCOLS", XCB_ATOM_ATOM).contains(ping))
            return w;
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_x.Get(), xcb_query_tree(m_x.Get(), w), nullptr));
        if (!tree)
            break;
        w = tree->parent;
    }
    return XCB_NONE;
}

void TX11Keyboard::SyncWithTarget() {
    if (m_synced)
        return;
    m_synced = true;
    if (m_target != XCB_NONE) {
        // The answer goes to the root window, sent for structure or
        // substructure listeners depending on the toolkit; listen there
        // only meanwhile.
        const quint32 mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_x.Get(), m_x.Root(), XCB_CW_EVENT_MASK, &mask);
        m_x.Sync(); // the keys are with the server before the ping
        const quint32 serial = ++m_pingSerial;
        xcb_client_message_event_t ev = {};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = m_target;
        ev.type = m_x.Atom("WM_PROTOCOLS");
        ev.data.data32[0] = m_x.Atom("_NET_WM_PING");
        ev.data.data32[1] = serial;
        ev.data.data32[2] = m_target;
        xcb_send_event(m_x.Get(), 0, m_target, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&ev));
        xcb_flush(m_x.Get());

        bool answered = false;
        QDeadlineTimer deadline(pingTimeout);
        while (!answered && !deadline.hasExpired() && m_x.IsOpen()) {
            XcbReply<xcb_generic_event_t> e(xcb_poll_for_event(m_x.Get()));
            if (!e) {
                QThread::msleep(2);
                continue;
            }
            if ((e->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
                continue;
            const auto* cm = reinterpret_cast<const xcb_client_message_event_t*>(e.get());
            answered = cm->data.data32[0] == m_x.Atom("_NET_WM_PING") &&
                       cm->data.data32[1] == serial && cm->data.data32[2] == m_target;
        }
        const quint32 none = 0;
        xcb_change_window_attributes(m_x.Get(), m_x.Root(), XCB_CW_EVENT_MASK, &none);
        m_x.Sync();
        while (xcb_generic_event_t* rest = xcb_poll_for_event(m_x.Get()))
            free(rest);
        if (answered)
            return;
    }
    WaitSettled();
}

QList<char32_t> TX11Keyboard::Upcoming(qsizetype from) const {
    QList<char32_t> upcoming;
    QSet<char32_t> seen;
    for (qsizetype i = std::max<qsizetype>(from, 0); i < m_sequence.size(); ++i) {
        const char32_t ch = m_sequence.at(i);
        if (m_foreign.contains(ch) && !seen.contains(ch)) {
            seen.insert(ch);
            upcoming.append(ch);
        }
    }
    return upcoming;
}

void TX11Keyboard::Bind(const QList<char32_t>& wanted) {
    // What goes on a key, soonest needed first, as many as there are keys. A
    // letter shares its key with its other case when that is wanted too
    // (Shift gives the capital), which halves the keys an alphabet needs.
    struct Binding {
        char32_t first = 0, second = 0;
        xcb_keysym_t syms[2] = {0, 0};
        uint8_t count = 1;
    };
    QList<Binding> plan;
    QSet<char32_t> planned;
    for (const char32_t ch : wanted) {
        if (plan.size() >= m_spares.size())
            break;
        if (planned.contains(ch))
            continue;
        const xkb_keysym_t sym = xkb_utf32_to_keysym(ch);
        if (sym == XKB_KEY_NoSymbol)
            continue;
        Binding b;
        b.first = ch;
        b.syms[0] = sym;
        const xkb_keysym_t lower = xkb_keysym_to_lower(sym);
        const xkb_keysym_t upper = xkb_keysym_to_upper(sym);
        const char32_t other = xkb_keysym_to_utf32(sym == lower ? upper : lower);
        if (lower != upper && other && wanted.contains(other)) {
            b = {xkb_keysym_to_utf32(lower), xkb_keysym_to_utf32(upper), {lower, upper}, 2};
            planned.insert(other);
        }
        planned.insert(ch);
        plan.append(b);
    }

    // Keys that already carry a planned character keep their binding.
    QSet<xcb_keycode_t> kept;
    for (auto it = m_bound.cbegin(); it != m_bound.cend(); ++it)
        if (planned.contains(it->first) || (it->second && planned.contains(it->second)))
            kept.insert(it.key());
    auto isKept = [&](char32_t ch) {
        for (xcb_keycode_t k : std::as_const(kept))
            if (m_bound.value(k).first == ch || m_bound.value(k).second == ch)
                return true;
        return false;
    };
    // Unused spares first, then ours that hold characters not needed now.
    QList<xcb_keycode_t> free;
    for (xcb_keycode_t k : std::as_const(m_spares))
        if (!m_bound.contains(k))
            free.append(k);
    for (xcb_keycode_t k : std::as_const(m_spares))
        if (m_bound.contains(k) && !kept.contains(k))
            free.append(k);

    bool changed = false;
    bool waited = false;
    for (const Binding& b : std::as_const(plan)) {
        if (free.isEmpty())
            break;
        if (isKept(b.first) && (!b.second || isKept(b.second)))
            continue;
        const xcb_keycode_t key = free.takeFirst();
        if (m_bound.contains(key) && !waited) {
            // A key sent from that keycode may not have been read yet.
            SyncWithTarget();
            waited = true;
        }
        xcb_change_keyboard_mapping(m_x.Get(), 1, key, b.count, b.syms);
        m_bound.insert(key, {b.first, b.second});
        changed = true;
    }
    if (changed) {
        m_x.Sync();
        LoadKeymap();
    }
}

bool TX11Keyboard::BeginTyping(const QList<char32_t>& characters) {
    if (!IsOpen())
        return false;
    if (m_restoreTimer)
        m_restoreTimer->stop();
    WaitForModifierRelease();
    if (!LoadKeymap())
        return false;
    m_target = PingableFocusWindow();
    m_sequence = characters;
    m_position = 0;
    m_foreign.clear();
    for (const char32_t ch : characters)
        if (ch >= 32 && !m_characters.contains(ch))
            m_foreign.insert(ch);
    if (!m_foreign.isEmpty())
        Bind(Upcoming(0));
    return true;
}

void TX11Keyboard::Fake(uint8_t type, xcb_keycode_t key) {
    xcb_test_fake_input(m_x.Get(), type, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

void TX11Keyboard::Press(const Chord& chord, bool withModifiers) {
    if (withModifiers)
        for (xcb_keycode_t m : chord.modifiers)
            Fake(XCB_KEY_PRESS, m);
    Fake(XCB_KEY_PRESS, chord.key);
    Fake(XCB_KEY_RELEASE, chord.key);
    if (withModifiers)
        for (auto it = chord.modifiers.crbegin(); it != chord.modifiers.crend(); ++it)
            Fake(XCB_KEY_RELEASE, *it);
    xcb_flush(m_x.Get());
    m_lastKey.restart();
    m_synced = false;
}

void TX11Keyboard::TapKey(int virtualKey) {
    const quint32 sym = VirtualKeyToKeysym(virtualKey);
    const xcb_keycode_t key = sym ? KeycodeFor(sym) : 0;
    if (key)
        Press(Chord{key, {}}, false);
}

void TX11Keyboard::SetModifier(int virtualKey, bool down) {
    xcb_keycode_t key = 0;
    if (virtualKey == VirtualKey::Shift)
        key =
            KeycodeFor(XKB_KEY_Shift_L) ? KeycodeFor(XKB_KEY_Shift_L) : KeycodeFor(XKB_KEY_Shift_R);
    else if (virtualKey == VirtualKey::Control)
        key = KeycodeFor(XKB_KEY_Control_L) ? KeycodeFor(XKB_KEY_Control_L)
                                            : KeycodeFor(XKB_KEY_Control_R);
    else if (virtualKey == VirtualKey::Menu)
        key = KeycodeFor(XKB_KEY_Alt_L) ? KeycodeFor(XKB_KEY_Alt_L) : KeycodeFor(XKB_KEY_Meta_L);
    if (!key)
        return;
    Fake(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key);
    if (down)
        m_held.insert(key);
    else
        m_held.remove(key);
    xcb_flush(m_x.Get());
    m_lastKey.restart();
    m_synced = false;
}

bool TX11Keyboard::TypeCharacter(char32_t character, bool modifiersHeld) {
    // Keep track of where in the announced characters we are.
    if (m_position >= m_sequence.size() || m_sequence.at(m_position) != character) {
        const qsizetype found = m_sequence.indexOf(character, m_position);
        m_position = found >= 0 ? found : m_sequence.size();
    }
    const qsizetype here = m_position++;

    auto it = m_characters.constFind(character);
    if (it == m_characters.constEnd()) {
        if (!m_foreign.contains(character))
            return false;
        // More foreign characters than spare keycodes: the spares move on to
        // the ones needed next, from this one on.
        Bind(Upcoming(here));
        it = m_characters.constFind(character);
        if (it == m_characters.constEnd())
            return false;
    }
    Press(*it, !modifiersHeld);
    return true;
}

void TX11Keyboard::EndTyping() {
    for (xcb_keycode_t key : std::as_const(m_held))
        Fake(XCB_KEY_RELEASE, key);
    m_held.clear();
    m_x.Sync();
    if (m_bound.isEmpty())
        return;
    // Give the spares back once the target has had time to read its keys;
    // without an event loop that happens in RestoreKeymap or at the end.
    if (QCoreApplication::instance() &&
        QThread::currentThread() == QCoreApplication::instance()->thread()) {
        if (!m_restoreTimer) {
            m_restoreTimer = std::make_unique<QTimer>();
            m_restoreTimer->setSingleShot(true);
            QObject::connect(m_restoreTimer.get(), &QTimer::timeout, [this] {
                // A target that cannot be pinged gets its settle time without
                // the program's windows freezing meanwhile.
                const qint64 left = settleTime.count() - m_lastKey.elapsed();
                if (m_target == XCB_NONE && !m_synced && left > 0)
                    m_restoreTimer->start(int(left));
                else
                    RestoreKeymap();
            });
        }
        m_restoreTimer->start(100);
    }
}

void TX11Keyboard::RestoreKeymap() {
    if (m_bound.isEmpty() || !m_x.IsOpen())
        return;
    SyncWithTarget();
    const xcb_keysym_t none[2] = {XKB_KEY_NoSymbol, XKB_KEY_NoSymbol};
    for (auto it = m_bound.cbegin(); it != m_bound.cend(); ++it)
        xcb_change_keyboard_mapping(m_x.Get(), 1, it.key(), 2, none);
    m_bound.clear();
    m_x.Sync();
}
