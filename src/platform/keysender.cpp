#include "platform/keysender.h"

#include <QCoreApplication>

namespace {

TKeyStroke key(int vk) {
    return {TKeyStroke::Kind::Key, char32_t(vk)};
}

int modifierOf(int code) {
    if (code <= 251)
        return VirtualKey::Shift;
    if (code <= 253)
        return VirtualKey::Control;
    return VirtualKey::Menu;
}

} // namespace

QList<TKeyStroke> DecodeKeyString(const QString& codes) {
    static constexpr int navigation[] = {VirtualKey::Home,  VirtualKey::End,  VirtualKey::Up,
                                         VirtualKey::Down,  VirtualKey::Left, VirtualKey::Right,
                                         VirtualKey::Prior, VirtualKey::Next, VirtualKey::Insert,
                                         VirtualKey::Delete};
    QList<TKeyStroke> strokes;
    for (const QChar c : codes) {
        const int code = c.unicode();
        if (code < 32)
            strokes.append(key(code));
        else if (code <= 227)
            strokes.append({TKeyStroke::Kind::Character, char32_t(code)});
        else if (code <= 239)
            strokes.append(key(code - 116)); // F1..F12
        else if (code <= 249)
            strokes.append(key(navigation[code - 240]));
        else if (code <= 255)
            strokes.append(
                {code % 2 == 0 ? TKeyStroke::Kind::ModifierDown : TKeyStroke::Kind::ModifierUp,
                 char32_t(modifierOf(code))});
    }
    return strokes;
}

QList<TKeyStroke> DecodeText(const QString& text) {
    QList<TKeyStroke> strokes;
    const QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const uint ch = chars.at(i);
        if (ch == '\r' || ch == '\n') {
            strokes.append(key(VirtualKey::Return));
            if (ch == '\r' && i + 1 < chars.size() && chars.at(i + 1) == '\n')
                ++i;
        } else if (ch < 32) {
            if (ch != VirtualKey::Capital)
                strokes.append(key(int(ch)));
        } else {
            strokes.append({TKeyStroke::Kind::Character, char32_t(ch)});
        }
    }
    return strokes;
}

TKeySender::TKeySender(IKeyboard& keyboard, std::function<void()> pump)
    : m_keyboard(keyboard), m_pump(std::move(pump)) {
    if (!m_pump)
        m_pump = [] { QCoreApplication::processEvents(); };
}

QString TKeySender::PasteKeys() {
    const QChar codes[] = {QChar(252), QChar(118), QChar(253)};
    return QString(codes, 3);
}

QString TKeySender::CtrlReleaseKeys() {
    return QString(QChar(253));
}

int TKeySender::SendKeys(const QString& keys, Mode mode) {
    const QList<TKeyStroke> strokes =
        mode == Mode::KeyString ? DecodeKeyString(keys) : DecodeText(keys);

    QList<char32_t> characters;
    for (const TKeyStroke& s : strokes)
        if (s.kind == TKeyStroke::Kind::Character)
            characters.append(s.value);
    if (!m_keyboard.BeginTyping(characters))
        return -1;

    int missing = 0;
    bool held = false;
    for (const TKeyStroke& s : strokes) {
        switch (s.kind) {
        case TKeyStroke::Kind::Key:
            m_keyboard.TapKey(int(s.value));
            break;
        case TKeyStroke::Kind::ModifierDown:
            m_keyboard.SetModifier(int(s.value), true);
            held = true;
            break;
        case TKeyStroke::Kind::ModifierUp:
            m_keyboard.SetModifier(int(s.value), false);
            held = false;
            break;
        case TKeyStroke::Kind::Character:
            if (!m_keyboard.TypeCharacter(s.value, held))
                ++missing;
            break;
        }
        m_pump();
    }
    m_keyboard.EndTyping();
    return missing;
}
