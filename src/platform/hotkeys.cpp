#include "platform/hotkeys.h"

TShortcut DecodeShortcut(quint16 code) {
    return {code & 0xFF, (code & ShortcutFlag::Shift) != 0, (code & ShortcutFlag::Ctrl) != 0,
            (code & ShortcutFlag::Alt) != 0};
}

quint16 EncodeShortcut(const TShortcut& s) {
    return quint16((s.virtualKey & 0xFF) | (s.shift ? ShortcutFlag::Shift : 0) |
                   (s.ctrl ? ShortcutFlag::Ctrl : 0) | (s.alt ? ShortcutFlag::Alt : 0));
}

THotKey::THotKey(IHotKeys& hotKeys, int id) : m_hotKeys(hotKeys), m_id(id) {}

THotKey::~THotKey() {
    Release();
}

void THotKey::SetHotKey(quint16 code) {
    if (code == m_code)
        return;
    Release();
    m_code = code;
    if (m_enabled)
        Claim();
}

void THotKey::SetEnabled(bool enabled) {
    m_enabled = enabled;
    if (enabled && !m_active)
        Claim();
    else if (!enabled)
        Release();
}

void THotKey::Claim() {
    if (m_code != 0)
        m_active = m_hotKeys.Register(m_id, m_code);
}

void THotKey::Release() {
    if (m_active)
        m_hotKeys.Unregister(m_id);
    m_active = false;
}
