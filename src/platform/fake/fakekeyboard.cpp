#include "platform/fake/fakekeyboard.h"

bool TFakeKeyboard::BeginTyping(const QList<char32_t>& characters) {
    prepared = characters;
    if (unusable)
        return false;
    log << QStringLiteral("begin");
    return true;
}

void TFakeKeyboard::TapKey(int virtualKey) {
    log << QStringLiteral("tap %1").arg(virtualKey);
}

void TFakeKeyboard::SetModifier(int virtualKey, bool down) {
    log << QStringLiteral("%1 %2")
               .arg(down ? QStringLiteral("down") : QStringLiteral("up"))
               .arg(virtualKey);
}

bool TFakeKeyboard::TypeCharacter(char32_t character, bool modifiersHeld) {
    const QString text = QString::fromUcs4(&character, 1);
    log << (modifiersHeld ? QStringLiteral("char+ ") : QStringLiteral("char ")) + text;
    return !unreachable.contains(character);
}

void TFakeKeyboard::EndTyping() {
    log << QStringLiteral("end");
}
