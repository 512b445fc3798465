#pragma once

#include "platform/keysender.h"

#include <QSet>
#include <QStringList>

// Records what the key sender asks of the keyboard as readable lines:
// "tap 13", "down 17", "up 17", "char v", "char+ v" (modifiers held).
class TFakeKeyboard : public IKeyboard {
public:
    QStringList log;
    QList<char32_t> prepared;
    QSet<char32_t> unreachable; // characters TypeCharacter refuses
    bool unusable = false;

    bool BeginTyping(const QList<char32_t>& characters) override;
    void TapKey(int virtualKey) override;
    void SetModifier(int virtualKey, bool down) override;
    bool TypeCharacter(char32_t character, bool modifiersHeld) override;
    void EndTyping() override;
};
