#pragma once

#include <QtGlobal>
#include <functional>

// The stored form of a hot key: low byte a Windows virtual-key code,
// 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt (16465 = 0x4051 is Ctrl+Q).
struct TShortcut {
    int virtualKey = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    friend bool operator==(const TShortcut&, const TShortcut&) = default;
};

namespace ShortcutFlag {
constexpr quint16 Shift = 0x2000, Ctrl = 0x4000, Alt = 0x8000;
}

TShortcut DecodeShortcut(quint16 code);
quint16 EncodeShortcut(const TShortcut& shortcut);

// System-wide hot keys, claimed from the desktop and reported on the GUI
// thread.
class IHotKeys {
public:
    using Handler = std::function<void(int id)>;

    virtual ~IHotKeys() = default;

    // Claims the combination for `id` (replacing what `id` held). False when
    // the key has no equivalent here or another program holds it; the hot
    // key is then off.
    virtual bool Register(int id, quint16 shortcutCode) = 0;
    virtual void Unregister(int id) = 0;
    // Called with the id of every press of a claimed combination.
    virtual void SetHandler(Handler handler) = 0;
};

// One hot key of the main window: a shortcut code and an enabled flag. A new
// code releases the old combination and claims the new one while enabled;
// the same code again changes nothing; a refused claim leaves it off,
// silently.
class THotKey {
public:
    THotKey(IHotKeys& hotKeys, int id);
    ~THotKey();
    THotKey(const THotKey&) = delete;
    THotKey& operator=(const THotKey&) = delete;

    void SetHotKey(quint16 code);
    quint16 HotKey() const { return m_code; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return m_enabled; }
    // True while the combination is claimed.
    bool Active() const { return m_active; }

private:
    void Claim();
    void Release();

    IHotKeys& m_hotKeys;
    int m_id;
    quint16 m_code = 0;
    bool m_enabled = false;
    bool m_active = false;
};
