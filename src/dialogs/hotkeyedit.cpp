#include "dialogs/hotkeyedit.h"

#include "platform/hotkeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>

namespace {

struct KeyPair {
    int vk;
    int qt;
};

// Keys other than digits, letters and function keys; the punctuation keys
// as a US keyboard labels them.
constexpr KeyPair Named[] = {
    {0x08, Qt::Key_Backspace},   {0x09, Qt::Key_Tab},        {0x0D, Qt::Key_Return},
    {0x13, Qt::Key_Pause},       {0x1B, Qt::Key_Escape},     {0x20, Qt::Key_Space},
    {0x21, Qt::Key_PageUp},      {0x22, Qt::Key_PageDown},   {0x23, Qt::Key_End},
    {0x24, Qt::Key_Home},        {0x25, Qt::Key_Left},       {0x26, Qt::Key_Up},
    {0x27, Qt::Key_Right},       {0x28, Qt::Key_Down},       {0x2C, Qt::Key_Print},
    {0x2D, Qt::Key_Insert},      {0x2E, Qt::Key_Delete},     {0x2F, Qt::Key_Help},
    {0x5D, Qt::Key_Menu},        {0x91, Qt::Key_ScrollLock}, {0xBA, Qt::Key_Semicolon},
    {0xBB, Qt::Key_Equal},       {0xBC, Qt::Key_Comma},      {0xBD, Qt::Key_Minus},
    {0xBE, Qt::Key_Period},      {0xBF, Qt::Key_Slash},      {0xC0, Qt::Key_QuoteLeft},
    {0xDB, Qt::Key_BracketLeft}, {0xDC, Qt::Key_Backslash},  {0xDD, Qt::Key_BracketRight},
    {0xDE, Qt::Key_Apostrophe},
};

// What Shift makes of the punctuation and digit keys on a US keyboard; the
// key event names the shifted character, the code the key.
constexpr KeyPair Shifted[] = {
    {0xBA, Qt::Key_Colon},      {0xBB, Qt::Key_Plus},       {0xBC, Qt::Key_Less},
    {0xBD, Qt::Key_Underscore}, {0xBE, Qt::Key_Greater},    {0xBF, Qt::Key_Question},
    {0xC0, Qt::Key_AsciiTilde}, {0xDB, Qt::Key_BraceLeft},  {0xDC, Qt::Key_Bar},
    {0xDD, Qt::Key_BraceRight}, {0xDE, Qt::Key_QuoteDbl},   {'1', Qt::Key_Exclam},
    {'2', Qt::Key_At},          {'3', Qt::Key_NumberSign},  {'4', Qt::Key_Dollar},
    {'5', Qt::Key_Percent},     {'6', Qt::Key_AsciiCircum}, {'7', Qt::Key_Ampersand},
    {'8', Qt::Key_Asterisk},    {'9', Qt::Key_ParenLeft},   {'0', Qt::Key_ParenRight},
};

constexpr KeyPair Keypad[] = {
    {0x6A, Qt::Key_Asterisk}, {0x6B, Qt::Key_Plus},  {0x6D, Qt::Key_Minus},
    {0x6E, Qt::Key_Period},   {0x6F, Qt::Key_Slash}, {0x0D, Qt::Key_Enter},
};

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_Super_L ||
           key == Qt::Key_Super_R || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

} // namespace

THotKeyEdit::THotKeyEdit(QWidget* parent) : QLineEdit(parent) {
    // The text is the shortcut's name, never typed: no cursor games, no
    // input method, no context menu offering Paste.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SetHotKey(0);
}

void THotKeyEdit::SetHotKey(quint16 code) {
    m_code = code;
    QString text = ShortcutText(code);
    if (code == 0)
        text = QLocale::system().language() == QLocale::German ? QStringLiteral("Keine")
                                                               : QStringLiteral("None");
    setText(text);
}

int THotKeyEdit::VirtualKeyFromQtKey(int qtKey, bool keypad) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 0x60 + (qtKey - Qt::Key_0);
        for (const KeyPair& k : Keypad)
            if (k.qt == qtKey)
                return k.vk;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Enter)
        return 0x0D;
    for (const KeyPair& k : Named)
        if (k.qt == qtKey)
            return k.vk;
    for (const KeyPair& k : Shifted)
        if (k.qt == qtKey)
            return k.vk;
    return 0;
}

int THotKeyEdit::QtKeyFromVirtualKey(int vk, bool* keypad) {
    if (keypad)
        *keypad = false;
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + (vk - 'A');
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + (vk - 0x70);
    auto onKeypad = [keypad](int key) {
        if (keypad)
            *keypad = true;
        return key;
    };
    if (vk >= 0x60 && vk <= 0x69)
        return onKeypad(Qt::Key_0 + (vk - 0x60));
    for (const KeyPair& k : Keypad)
        if (k.vk == vk && vk != 0x0D)
            return onKeypad(k.qt);
    for (const KeyPair& k : Named)
        if (k.vk == vk)
            return k.qt;
    return 0;
}

QString THotKeyEdit::ShortcutText(quint16 code) {
    const TShortcut s = DecodeShortcut(code);
    bool keypad = false;
    const int key = QtKeyFromVirtualKey(s.virtualKey, &keypad);
    if (key == 0)
        return {};
    int combination = key;
    if (s.shift)
        combination |= Qt::ShiftModifier;
    if (s.ctrl)
        combination |= Qt::ControlModifier;
    if (s.alt)
        combination |= Qt::AltModifier;
    if (keypad)
        combination |= Qt::KeypadModifier;
    return QKeySequence(combination).toString(QKeySequence::NativeText);
}

bool THotKeyEdit::event(QEvent* event) {
    // Every combination typed here is meant for the editor, not for a
    // shortcut of some window; only the dialog's own keys go on.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool dialogKey = key->modifiers() == Qt::NoModifier &&
                               (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return ||
                                key->key() == Qt::Key_Enter || key->key() == Qt::Key_F1);
        if (!dialogKey) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain = (mods & ~Qt::ShiftModifier) == Qt::NoModifier;

    // Keys that belong to the dialog.
    if (mods == Qt::NoModifier && (key == Qt::Key_Escape || key == Qt::Key_Return ||
                                   key == Qt::Key_Enter || key == Qt::Key_F1)) {
        event->ignore();
        return;
    }
    event->accept();
    if (mods == Qt::NoModifier && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        SetHotKey(0);
        return;
    }
    if (isModifierKey(key))
        return;
    const int vk = VirtualKeyFromQtKey(key, event->modifiers() & Qt::KeypadModifier);
    if (vk == 0)
        return;
    TShortcut s;
    s.virtualKey = vk;
    s.shift = mods & Qt::ShiftModifier;
    s.ctrl = mods & Qt::ControlModifier;
    s.alt = (mods & Qt::AltModifier) || plain;
    SetHotKey(EncodeShortcut(s));
}

void THotKeyEdit::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
}
