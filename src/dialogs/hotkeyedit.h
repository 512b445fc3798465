#pragma once

#include <QLineEdit>

// A hot-key editor: shows a shortcut and takes the next key combination
// typed into it as the new one. The value is the stored 16-bit code (low
// byte a Windows virtual-key code, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt).
//
// As the system control it stands in for: a key typed without Ctrl or Alt
// gets Alt added, so a global hot key can never be a plain letter; Backspace
// or Delete alone clears it (0, no hot key); Tab, Escape and Enter keep
// their dialog meaning.
class THotKeyEdit : public QLineEdit {
public:
    explicit THotKeyEdit(QWidget* parent = nullptr);

    quint16 HotKey() const { return m_code; }
    void SetHotKey(quint16 code);

    // The text shown for a code, e.g. "Ctrl+Q"; "" for a key with no name.
    static QString ShortcutText(quint16 code);
    // The virtual-key code of a Qt key (0 when it has none); keypad keys
    // are told apart by `keypad`.
    static int VirtualKeyFromQtKey(int qtKey, bool keypad);
    // The Qt key of a virtual-key code (0 when it has none); keypad keys set
    // `keypad`.
    static int QtKeyFromVirtualKey(int virtualKey, bool* keypad = nullptr);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    quint16 m_code = 0;
};
