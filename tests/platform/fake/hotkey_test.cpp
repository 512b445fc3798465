#include "platform/fake/fakehotkeys.h"
#include "platform/hotkeys.h"

#include <gtest/gtest.h>

namespace {

TEST(Shortcut, DecodesTheStoredCode) {
    struct Case {
        quint16 code;
        TShortcut shortcut;
    };
    const Case cases[] = {
        {16465, {'Q', false, true, false}},   // Ctrl+Q
        {16462, {'N', false, true, false}},   // Ctrl+N
        {32833, {'A', false, false, true}},   // Alt+A
        {0x2070, {0x70, true, false, false}}, // Shift+F1
        {0xE000 | 0x2E, {0x2E, true, true, true}}, {0, {0, false, false, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeShortcut(c.code), c.shortcut) << c.code;
        EXPECT_EQ(EncodeShortcut(c.shortcut), c.code) << c.code;
    }
}

TEST(THotKey, ClaimsReleasesAndStaysOffWhenRefused) {
    TFakeHotKeys keys;
    int pressed = -1;
    keys.SetHandler([&](int id) { pressed = id; });
    {
        THotKey view(keys, 1);
        view.SetHotKey(16462);
        EXPECT_FALSE(view.Active()) << "not claimed before it is enabled";
        view.SetEnabled(true);
        EXPECT_TRUE(view.Active());
        EXPECT_TRUE(keys.Press(16462));
        EXPECT_EQ(pressed, 1);

        keys.log.clear();
        view.SetHotKey(16462);
        view.SetEnabled(true);
        EXPECT_TRUE(keys.log.isEmpty()) << "the same code again changes nothing";

        view.SetHotKey(16465);
        EXPECT_EQ(keys.log, (QStringList{QStringLiteral("unregister 1"),
                                         QStringLiteral("register 1 16465")}));
        EXPECT_FALSE(keys.Press(16462)) << "the old combination is released";

        keys.taken = {32833};
        view.SetHotKey(32833);
        EXPECT_FALSE(view.Active());
        EXPECT_FALSE(keys.Press(16465));

        view.SetHotKey(16465);
        EXPECT_TRUE(view.Active());
        view.SetEnabled(false);
        EXPECT_FALSE(view.Active());
        view.SetEnabled(true);
    }
    EXPECT_TRUE(keys.claimed.isEmpty()) << "released when the hot key goes";
}

} // namespace
