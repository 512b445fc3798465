#include "platform/x11/x11hotkeys.h"

#include "platform/x11/keysyms.h"

#include <QSocketNotifier>

#define XK_MISCELLANY
#include <X11/keysymdef.h>

TX11HotKeys::TX11HotKeys(const QByteArray& displayName) : m_x(displayName) {
    if (!m_x.IsOpen())
        return;
    ReadModifierMasks();
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_x.Get()),
                                                   QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ProcessEvents(); });
}

TX11HotKeys::~TX11HotKeys() {
    m_notifier.reset();
    for (const Grab& g : std::as_const(m_grabs))
        UngrabAll(g);
    if (m_x.IsOpen())
        m_x.Sync();
}

void TX11HotKeys::ReadModifierMasks() {
    // Which of Mod1..Mod5 carry Alt and Num Lock depends on the keymap.
    XcbReply<xcb_get_keyboard_mapping_reply_t> kmap;
    const xcb_setup_t* setup = xcb_get_setup(m_x.Get());
    kmap.reset(xcb_get_keyboard_mapping_reply(
        m_x.Get(),
        xcb_get_keyboard_mapping(m_x.Get(), setup->min_keycode,
                                 uint8_t(setup->max_keycode - setup->min_keycode + 1)),
        nullptr));
    XcbReply<xcb_get_modifier_mapping_reply_t> mmap(
        xcb_get_modifier_mapping_reply(m_x.Get(), xcb_get_modifier_mapping(m_x.Get()), nullptr));
    if (!kmap || !mmap)
        return;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(kmap.get());
    const int per = kmap->keysyms_per_keycode;
    auto keyHas = [&](xcb_keycode_t key, xcb_keysym_t sym) {
        if (key < setup->min_keycode || key > setup->max_keycode)
            return false;
        for (int i = 0; i < per; ++i)
            if (syms[(key - setup->min_keycode) * per + i] == sym)
                return true;
        return false;
    };
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mmap.get());
    const int perMod = mmap->keycodes_per_modifier;
    uint16_t alt = 0, num = 0;
    for (int mod = 3; mod < 8; ++mod) {
        for (int i = 0; i < perMod; ++i) {
            const xcb_keycode_t key = codes[mod * perMod + i];
            if (keyHas(key, XK_Alt_L) || keyHas(key, XK_Alt_R))
                alt |= uint16_t(1 << mod);
            if (keyHas(key, XK_Num_Lock))
                num |= uint16_t(1 << mod);
        }
    }
    m_altMask = alt ? alt : uint16_t(XCB_MOD_MASK_1);
    m_numLockMask = num ? num : uint16_t(XCB_MOD_MASK_2);
}

xcb_keycode_t TX11HotKeys::KeycodeFor(quint32 keysym) {
    const xcb_setup_t* setup = xcb_get_setup(m_x.Get());
    XcbReply<xcb_get_keyboard_mapping_reply_t> kmap(xcb_get_keyboard_mapping_reply(
        m_x.Get(),
        xcb_get_keyboard_mapping(m_x.Get(), setup->min_keycode,
                                 uint8_t(setup->max_keycode - setup->min_keycode + 1)),
        nullptr));
    if (!kmap)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(kmap.get());
    const int per = kmap->keysyms_per_keycode;
    const int keys = setup->max_keycode - setup->min_keycode + 1;
    // The plain level first: Ctrl+Q is the key whose first symbol is q.
    for (int column = 0; column < per; ++column)
        for (int k = 0; k < keys; ++k)
            if (syms[k * per + column] == keysym)
                return xcb_keycode_t(setup->min_keycode + k);
    return 0;
}

QList<uint16_t> TX11HotKeys::LockCombinations() const {
    return {0, XCB_MOD_MASK_LOCK, m_numLockMask, uint16_t(XCB_MOD_MASK_LOCK | m_numLockMask)};
}

bool TX11HotKeys::GrabAll(Grab& grab) {
    const TShortcut s = DecodeShortcut(grab.code);
    const quint32 sym = VirtualKeyToKeysym(s.virtualKey);
    grab.key = sym ? KeycodeFor(sym) : 0;
    if (!grab.key)
        return false;
    grab.modifiers = uint16_t((s.shift ? XCB_MOD_MASK_SHIFT : 0) |
                              (s.ctrl ? XCB_MOD_MASK_CONTROL : 0) | (s.alt ? m_altMask : 0));
    QList<xcb_void_cookie_t> cookies;
    for (uint16_t locks : LockCombinations())
        cookies << xcb_grab_key_checked(m_x.Get(), 1, m_x.Root(), grab.modifiers | locks, grab.key,
                                        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    bool ok = true;
    for (const xcb_void_cookie_t& c : std::as_const(cookies)) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(m_x.Get(), c));
        if (error)
            ok = false;
    }
    if (!ok)
        UngrabAll(grab); // only our own grabs go; the other client keeps its
    return ok;
}

void TX11HotKeys::UngrabAll(const Grab& grab) {
    if (!grab.key || !m_x.IsOpen())
        return;
    for (uint16_t locks : LockCombinations())
        xcb_ungrab_key(m_x.Get(), grab.key, m_x.Root(), grab.modifiers | locks);
    xcb_flush(m_x.Get());
}

bool TX11HotKeys::Register(int id, quint16 shortcutCode) {
    Unregister(id);
    if (!m_x.IsOpen() || shortcutCode == 0)
        return false;
    Grab grab;
    grab.code = shortcutCode;
    if (!GrabAll(grab))
        return false;
    m_grabs.insert(id, grab);
    // Replies read on the way may have brought events along.
    ProcessEvents();
    return true;
}

void TX11HotKeys::Unregister(int id) {
    const auto it = m_grabs.find(id);
    if (it == m_grabs.end())
        return;
    UngrabAll(*it);
    m_grabs.erase(it);
}

void TX11HotKeys::ProcessEvents() {
    if (!m_x.IsOpen())
        return;
    QList<int> pressed;
    bool remap = false;
    while (xcb_generic_event_t* raw = xcb_poll_for_event(m_x.Get())) {
        XcbReply<xcb_generic_event_t> ev(raw);
        const uint8_t type = ev->response_type & 0x7F;
        if (type == XCB_KEY_PRESS) {
            const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(ev.get());
            const uint16_t relevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | m_altMask;
            for (auto it = m_grabs.cbegin(); it != m_grabs.cend(); ++it)
                if (it->key == key->detail && (key->state & relevant) == it->modifiers)
                    pressed << it.key();
        } else if (type == XCB_MAPPING_NOTIFY) {
            const auto* m = reinterpret_cast<const xcb_mapping_notify_event_t*>(ev.get());
            if (m->request != XCB_MAPPING_POINTER)
                remap = true;
        }
    }
    if (remap) {
        // The key for a hot key's symbol, or the modifier bits, may have moved.
        for (auto it = m_grabs.begin(); it != m_grabs.end(); ++it)
            UngrabAll(*it);
        ReadModifierMasks();
        for (auto it = m_grabs.begin(); it != m_grabs.end();) {
            if (GrabAll(*it))
                ++it;
            else
                it = m_grabs.erase(it);
        }
    }
    for (int id : std::as_const(pressed))
        if (m_handler)
            m_handler(id);
    // Regrabbing reads replies, which can queue further events.
    if (remap)
        ProcessEvents();
}
