#include "platform/fake/fakekeyboard.h"
#include "platform/keysender.h"

#include <gtest/gtest.h>

namespace {

using K = TKeyStroke::Kind;

TKeyStroke key(int vk) {
    return {K::Key, char32_t(vk)};
}
TKeyStroke ch(char32_t c) {
    return {K::Character, c};
}

QString codes(std::initializer_list<int> list) {
    QString s;
    for (int c : list)
        s += QChar(c);
    return s;
}

struct KeyStringCase {
    int code;
    TKeyStroke expected;
};

TEST(DecodeKeyString, EveryCodeRange) {
    const KeyStringCase cases[] = {
        {0, key(0)},
        {8, key(8)},
        {9, key(9)},
        {10, key(10)},
        {13, key(13)},
        {27, key(27)},
        {31, key(31)},
        {32, ch(U' ')},
        {118, ch(U'v')},
        {227, ch(U'\u00e3')},
        {228, key(112)},
        {239, key(123)},
        {240, key(36)},
        {241, key(35)},
        {242, key(38)},
        {243, key(40)},
        {244, key(37)},
        {245, key(39)},
        {246, key(33)},
        {247, key(34)},
        {248, key(45)},
        {249, key(46)},
        {250, {K::ModifierDown, 16}},
        {251, {K::ModifierUp, 16}},
        {252, {K::ModifierDown, 17}},
        {253, {K::ModifierUp, 17}},
        {254, {K::ModifierDown, 18}},
        {255, {K::ModifierUp, 18}},
    };
    for (const KeyStringCase& c : cases) {
        const QList<TKeyStroke> strokes = DecodeKeyString(codes({c.code}));
        ASSERT_EQ(strokes.size(), 1) << c.code;
        EXPECT_EQ(strokes.first(), c.expected) << "code " << c.code;
    }
    EXPECT_TRUE(DecodeKeyString(QString(QChar(0x263A))).isEmpty()) << "not an 8-bit code";
}

TEST(DecodeText, LineBreaksTabsAndControlCharacters) {
    struct Case {
        QString text;
        QList<TKeyStroke> expected;
    };
    const Case cases[] = {
        {QStringLiteral("a\r\nb"), {ch(U'a'), key(13), ch(U'b')}},
        {QStringLiteral("a\nb"), {ch(U'a'), key(13), ch(U'b')}},
        {QStringLiteral("a\rb"), {ch(U'a'), key(13), ch(U'b')}},
        {QStringLiteral("\n\n"), {key(13), key(13)}},
        {QStringLiteral("\r\r\n"), {key(13), key(13)}},
        {QStringLiteral("\n\r"), {key(13), key(13)}},
        {QStringLiteral("x\ty"), {ch(U'x'), key(9), ch(U'y')}},
        {codes({20, 'a', 27}), {ch(U'a'), key(27)}}, // Caps Lock is not toggled by a text
        // Codes a key string reads as keys are characters in a text.
        {codes({228, 252, 255}), {ch(U'\u00e4'), ch(U'\u00fc'), ch(U'\u00ff')}},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), {ch(U'\U0001F600')}},
        {QString(), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeText(c.text), c.expected) << c.text.toStdString();
}

TEST(TKeySender, PasteHoldsCtrlAroundThePlainV) {
    TFakeKeyboard keyboard;
    int pumps = 0;
    TKeySender sender(keyboard, [&] { ++pumps; });
    EXPECT_EQ(sender.SendKeys(TKeySender::PasteKeys(), TKeySender::Mode::KeyString), 0);
    EXPECT_EQ(keyboard.log, (QStringList{QStringLiteral("begin"), QStringLiteral("down 17"),
                                         QStringLiteral("char+ v"), QStringLiteral("up 17"),
                                         QStringLiteral("end")}));
    EXPECT_EQ(pumps, 3) << "events are processed after every code";

    keyboard.log.clear();
    sender.SendKeys(TKeySender::CtrlReleaseKeys(), TKeySender::Mode::KeyString);
    EXPECT_EQ(keyboard.log, (QStringList{QStringLiteral("begin"), QStringLiteral("up 17"),
                                         QStringLiteral("end")}));
}

TEST(TKeySender, TextTypesEveryCharacterWithItsOwnModifiers) {
    TFakeKeyboard keyboard;
    TKeySender sender(keyboard, [] {});
    // In a text, 252 is "ü", not Ctrl down.
    EXPECT_EQ(sender.SendKeys(QStringLiteral("Aü\r\nA"), TKeySender::Mode::Text), 0);
    EXPECT_EQ(keyboard.log, (QStringList{QStringLiteral("begin"), QStringLiteral("char A"),
                                         QStringLiteral("char ü"), QStringLiteral("tap 13"),
                                         QStringLiteral("char A"), QStringLiteral("end")}));
    EXPECT_EQ(keyboard.prepared, (QList<char32_t>{U'A', U'ü', U'A'})) << "what comes, in order";
}

TEST(TKeySender, CountsWhatCannotBeTypedAndSendsNothingWithoutAKeyboard) {
    TFakeKeyboard keyboard;
    keyboard.unreachable = {U'\u4e2d'};
    TKeySender sender(keyboard, [] {});
    EXPECT_EQ(sender.SendKeys(QStringLiteral("a中b中"), TKeySender::Mode::Text), 2);
    EXPECT_EQ(keyboard.log.last(), QStringLiteral("end"));

    TFakeKeyboard broken;
    broken.unusable = true;
    TKeySender none(broken, [] {});
    EXPECT_EQ(none.SendKeys(QStringLiteral("abc"), TKeySender::Mode::Text), -1);
    EXPECT_TRUE(broken.log.isEmpty());
}

} // namespace
