#include "ui/control/UIEvent.h"

#include <cstddef>
#include <gtest/gtest.h>

using namespace DuiLib;

TEST(UIEventTypes, NumbersFollowTheEventTable)
{
    const struct
    {
        UIEventType type;
        int number;
    } table[] = {
        {UIEVENT_FIRST, 1},       {UIEVENT_KEY_BEGIN, 2},    {UIEVENT_KEYDOWN, 3},      {UIEVENT_KEYUP, 4},
        {UIEVENT_CHAR, 5},        {UIEVENT_SYSKEY, 6},       {UIEVENT_KEY_END, 7},      {UIEVENT_MOUSE_BEGIN, 8},
        {UIEVENT_MOUSEMOVE, 9},   {UIEVENT_MOUSELEAVE, 10},  {UIEVENT_MOUSEENTER, 11},  {UIEVENT_MOUSEHOVER, 12},
        {UIEVENT_BUTTONDOWN, 13}, {UIEVENT_BUTTONUP, 14},    {UIEVENT_RBUTTONDOWN, 15}, {UIEVENT_DBLCLICK, 16},
        {UIEVENT_CONTEXTMENU, 17}, {UIEVENT_SCROLLWHEEL, 18}, {UIEVENT_MOUSE_END, 19},  {UIEVENT_KILLFOCUS, 20},
        {UIEVENT_SETFOCUS, 21},   {UIEVENT_WINDOWSIZE, 22},  {UIEVENT_SETCURSOR, 23},   {UIEVENT_TIMER, 24},
    };
    for (const auto& entry : table)
        EXPECT_EQ(entry.number, static_cast<int>(entry.type));
}

TEST(UIEventTypes, KeyboardEventsLieStrictlyBetweenTheMarkers2And7)
{
    for (int type = 0; type <= 25; ++type)
        EXPECT_EQ(type >= 3 && type <= 6, IsKeyboardEvent(type)) << "type " << type;
    EXPECT_TRUE(IsKeyboardEvent(UIEVENT_KEYDOWN));
    EXPECT_TRUE(IsKeyboardEvent(UIEVENT_SYSKEY));
    EXPECT_FALSE(IsKeyboardEvent(UIEVENT_KEY_BEGIN));
    EXPECT_FALSE(IsKeyboardEvent(UIEVENT_KEY_END));
}

TEST(UIEventTypes, MouseEventsLieStrictlyBetweenTheMarkers8And19)
{
    for (int type = 0; type <= 25; ++type)
        EXPECT_EQ(type >= 9 && type <= 18, IsMouseEvent(type)) << "type " << type;
    EXPECT_TRUE(IsMouseEvent(UIEVENT_MOUSEMOVE));
    EXPECT_TRUE(IsMouseEvent(UIEVENT_SCROLLWHEEL));
    EXPECT_FALSE(IsMouseEvent(UIEVENT_MOUSE_BEGIN));
    EXPECT_FALSE(IsMouseEvent(UIEVENT_MOUSE_END));
    EXPECT_FALSE(IsMouseEvent(UIEVENT_KILLFOCUS));
}

TEST(UIEventKeyState, BitsMatchTheTableAndTheMouseMessageFlags)
{
    EXPECT_EQ(0x01, UIKEY_LBUTTON);
    EXPECT_EQ(0x02, UIKEY_RBUTTON);
    EXPECT_EQ(0x04, UIKEY_SHIFT);
    EXPECT_EQ(0x08, UIKEY_CONTROL);
    EXPECT_EQ(0x20, UIKEY_ALT);
    EXPECT_EQ(MK_LBUTTON, UIKEY_LBUTTON);
    EXPECT_EQ(MK_RBUTTON, UIKEY_RBUTTON);
    EXPECT_EQ(MK_SHIFT, UIKEY_SHIFT);
    EXPECT_EQ(MK_CONTROL, UIKEY_CONTROL);
}

// 32-bit build: every field is 4 bytes except the 8-byte point and the two
// 16-bit key fields, which share one word.
TEST(UIEventRecord, FieldsComeInTheDocumentedOrderAndWidths)
{
    EXPECT_EQ(4u, sizeof(UIEvent::type));
    EXPECT_EQ(2u, sizeof(UIEvent::key));
    EXPECT_EQ(2u, sizeof(UIEvent::keyState));
    EXPECT_EQ(0u, offsetof(UIEvent, type));
    EXPECT_EQ(4u, offsetof(UIEvent, sender));
    EXPECT_EQ(8u, offsetof(UIEvent, timestamp));
    EXPECT_EQ(12u, offsetof(UIEvent, mousePoint));
    EXPECT_EQ(20u, offsetof(UIEvent, key));
    EXPECT_EQ(22u, offsetof(UIEvent, keyState));
    EXPECT_EQ(24u, offsetof(UIEvent, wParam));
    EXPECT_EQ(28u, offsetof(UIEvent, lParam));
    EXPECT_EQ(32u, sizeof(UIEvent));
}
