#include "platform/x11/x11connection.h"
#include "platform/x11/x11hotkeys.h"
#include "xsession.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr quint16 CtrlQ = 16465, CtrlA = 0x4041, CtrlAltA = 0xC041;

struct Presses {
    QList<int> ids;
    bool waitFor(int count, int timeoutMs = 15000) {
        return WaitUntil([&] { return ids.size() >= count; }, timeoutMs);
    }
};

void press(TXSession& session, const QString& keys) {
    session.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

TEST(X11HotKeys, PressesArriveAlsoWithTheLocksOn) {
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    TX11HotKeys hotKeys;
    Presses presses;
    hotKeys.SetHandler([&](int id) { presses.ids << id; });
    ASSERT_TRUE(hotKeys.Register(7, CtrlQ));

    press(session, QStringLiteral("ctrl+q"));
    ASSERT_TRUE(presses.waitFor(1));
    press(session, QStringLiteral("Num_Lock"));
    press(session, QStringLiteral("ctrl+q"));
    ASSERT_TRUE(presses.waitFor(2)) << "with Num Lock on";
    press(session, QStringLiteral("Caps_Lock"));
    press(session, QStringLiteral("ctrl+q"));
    ASSERT_TRUE(presses.waitFor(3)) << "with Num Lock and Caps Lock on";
    EXPECT_EQ(presses.ids, (QList<int>{7, 7, 7}));

    press(session, QStringLiteral("q"));
    press(session, QStringLiteral("ctrl+shift+q"));
    hotKeys.Unregister(7);
    press(session, QStringLiteral("ctrl+q"));
    WaitUntil([] { return false; }, 500);
    EXPECT_EQ(presses.ids.size(), 3) << "other combinations and a released hot key stay silent";
}

TEST(X11HotKeys, ACombinationAnotherClientHoldsIsRefused) {
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();

    // Another program holds Ctrl+Alt+A (only without locks, as many do).
    TX11Connection other;
    ASSERT_TRUE(other.IsOpen());
    TX11HotKeys probe; // to learn the keycode the same way
    const xcb_setup_t* setup = xcb_get_setup(other.Get());
    XcbReply<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(
        other.Get(),
        xcb_get_keyboard_mapping(other.Get(), setup->min_keycode,
                                 uint8_t(setup->max_keycode - setup->min_keycode + 1)),
        nullptr));
    ASSERT_TRUE(map);
    xcb_keycode_t keyA = 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    for (int k = 0; k <= setup->max_keycode - setup->min_keycode && !keyA; ++k)
        if (syms[k * map->keysyms_per_keycode] == 'a')
            keyA = xcb_keycode_t(setup->min_keycode + k);
    ASSERT_NE(keyA, 0);
    XcbReply<xcb_generic_error_t> error(xcb_request_check(
        other.Get(),
        xcb_grab_key_checked(other.Get(), 1, other.Root(), XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1,
                             keyA, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
    ASSERT_FALSE(error);

    TX11HotKeys hotKeys;
    Presses presses;
    hotKeys.SetHandler([&](int id) { presses.ids << id; });
    testing::internal::CaptureStderr();
    EXPECT_FALSE(hotKeys.Register(1, CtrlAltA));
    EXPECT_TRUE(testing::internal::GetCapturedStderr().empty()) << "refused without a message";
    EXPECT_TRUE(hotKeys.Register(2, CtrlA)) << "other combinations are still free";
    press(session, QStringLiteral("ctrl+alt+a"));
    press(session, QStringLiteral("ctrl+a"));
    ASSERT_TRUE(presses.waitFor(1));
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(presses.ids, QList<int>{2});

    EXPECT_FALSE(hotKeys.Register(3, 0x4000 | 0x07)) << "a key with no equivalent";
    EXPECT_FALSE(hotKeys.Register(4, 0));
}

TEST(X11HotKeys, GrabsFollowAKeyboardMappingChange) {
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    TX11HotKeys hotKeys;
    Presses presses;
    hotKeys.SetHandler([&](int id) { presses.ids << id; });
    ASSERT_TRUE(hotKeys.Register(5, CtrlQ));

    // Under the French layout q sits where a was.
    session.Run(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), QStringLiteral("fr")});
    bool arrived = false;
    for (int attempt = 0; attempt < 5 && !arrived; ++attempt) {
        WaitUntil([] { return false; }, 300); // lets the mapping change come in
        press(session, QStringLiteral("ctrl+q"));
        arrived = presses.waitFor(1, 3000);
    }
    EXPECT_TRUE(arrived);
}

} // namespace
