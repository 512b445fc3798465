#include "platform/x11/keysyms.h"

#include <gtest/gtest.h>

#define XK_MISCELLANY
#define XK_LATIN1
#include <X11/keysymdef.h>

namespace {

TEST(VirtualKeyToKeysym, CoversTheKeysAShortcutCanName) {
    struct Case {
        int vk;
        quint32 keysym;
    };
    const Case cases[] = {
        {'A', XK_a},
        {'Q', XK_q},
        {'Z', XK_z},
        {'0', XK_0},
        {'9', XK_9},
        {0x70, XK_F1},
        {0x7B, XK_F12},
        {0x87, XK_F24},
        {0x08, XK_BackSpace},
        {0x09, XK_Tab},
        {0x0D, XK_Return},
        {0x1B, XK_Escape},
        {0x20, XK_space},
        {0x21, XK_Prior},
        {0x22, XK_Next},
        {0x23, XK_End},
        {0x24, XK_Home},
        {0x25, XK_Left},
        {0x26, XK_Up},
        {0x27, XK_Right},
        {0x28, XK_Down},
        {0x2D, XK_Insert},
        {0x2E, XK_Delete},
        {0x60, XK_KP_0},
        {0x69, XK_KP_9},
        {0x6A, XK_KP_Multiply},
        {0x6B, XK_KP_Add},
        {0x6D, XK_KP_Subtract},
        {0x6E, XK_KP_Decimal},
        {0x6F, XK_KP_Divide},
        {0xBA, XK_semicolon},
        {0xBB, XK_equal},
        {0xBC, XK_comma},
        {0xBD, XK_minus},
        {0xBE, XK_period},
        {0xBF, XK_slash},
        {0xC0, XK_grave},
        {0xDB, XK_bracketleft},
        {0xDC, XK_backslash},
        {0xDD, XK_bracketright},
        {0xDE, XK_apostrophe},
        {0x10, XK_Shift_L},
        {0x11, XK_Control_L},
        {0x12, XK_Alt_L},
        // No key: the mouse buttons, line feed, unassigned codes.
        {0x01, 0},
        {0x0A, 0},
        {0x07, 0},
        {0x88, 0},
        {0xFF, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyToKeysym(c.vk), c.keysym) << "vk 0x" << std::hex << c.vk;
}

} // namespace
