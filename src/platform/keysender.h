#pragma once

#include <QList>
#include <QString>
#include <functional>

// Windows virtual-key numbers: key strings and shortcut codes are stored in
// them, whatever the platform.
namespace VirtualKey {
constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Capital = 20,
              Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37,
              Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46, F1 = 112;
} // namespace VirtualKey

// One step of what the key sender types.
struct TKeyStroke {
    enum class Kind {
        Key,          // press and release the virtual key `value`
        Character,    // type the Unicode character `value` with the modifiers it needs
        ModifierDown, // hold the modifier with virtual key `value`
        ModifierUp,   // let it go
    };
    Kind kind = Kind::Key;
    char32_t value = 0;

    friend bool operator==(const TKeyStroke&, const TKeyStroke&) = default;
};

// Key strings: every code 0..255 of the string is one stroke (0–31 virtual
// keys, 32–227 characters, 228–249 function, cursor and editing keys,
// 250–255 Shift, Ctrl, Alt down and up). Codes above 255 are ignored.
QList<TKeyStroke> DecodeKeyString(const QString& codes);
// Texts: every character is typed as itself; a line break (CR LF, a lone LF
// or a lone CR) gives one Enter, other characters below 32 their virtual
// key, except CapsLock (20), which would change how the rest is typed.
QList<TKeyStroke> DecodeText(const QString& text);

// The device side of the key sender.
class IKeyboard {
public:
    virtual ~IKeyboard() = default;

    // Gets ready to type the given characters (every one that TypeCharacter
    // will get, in that order, repeats included): waits until the user has
    // let go of modifier keys and makes the characters reachable. False when
    // the keyboard cannot be used at all.
    virtual bool BeginTyping(const QList<char32_t>& characters) = 0;
    // Presses and releases a virtual key.
    virtual void TapKey(int virtualKey) = 0;
    // Holds or lets go of Shift (16), Ctrl (17) or Alt (18).
    virtual void SetModifier(int virtualKey, bool down) = 0;
    // Types one character. With modifiersHeld the character's own modifiers
    // are not pressed (a key string holds its own). False when it cannot be
    // typed.
    virtual bool TypeCharacter(char32_t character, bool modifiersHeld) = 0;
    // Lets go of everything still held and sends what is queued.
    virtual void EndTyping() = 0;
};

// Turns key strings and texts into keystrokes for whatever window has the
// keyboard focus.
class TKeySender {
public:
    enum class Mode { KeyString, Text };

    // `pump` runs after every code so the program's own windows stay alive
    // while a long text is typed; by default it processes pending events.
    explicit TKeySender(IKeyboard& keyboard, std::function<void()> pump = {});

    // Sends a key string or a text. Returns the number of characters that
    // could not be typed (0 when everything went out); -1 when the keyboard
    // could not be used and nothing was sent.
    int SendKeys(const QString& keys, Mode mode);

    // The two fixed key strings the program uses.
    static QString PasteKeys();       // Ctrl+V: 252, 118, 253
    static QString CtrlReleaseKeys(); // 253

private:
    IKeyboard& m_keyboard;
    std::function<void()> m_pump;
};
