// CDateTimeUI with the platform date picker in a real window: today's date
// as text, the picker opened by a click over the control, the picked date
// written back when the focus leaves, a day picked in its drop-down
// calendar, Delete clearing and Escape keeping the text, the picker following
// the control, and a picker that never outlives its control.
#include "ui/controls/DateTimeUI.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "tests/controls/ControlsTestSupport.h"

namespace DuiLib {
namespace test {
namespace {

std::wstring DateText(const SYSTEMTIME& date)
{
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%4d-%02d-%02d", date.wYear, date.wMonth, date.wDay);
    return text;
}

SYSTEMTIME Date(WORD year, WORD month, WORD day)
{
    SYSTEMTIME date = {};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    return date;
}

class DateTimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, w.host);
        date = AddFloating(*w.root, new CDateTimeUI(), L"10,10,160,40", L"name=\"date\"");
        AddFloating(*w.root, new CControlUI(), L"200,10,300,40", L"");
        w.Show();
    }
    // Clicks the control and answers its picker window, which must be open.
    HWND OpenPicker()
    {
        w.Mouse(WM_MOUSEMOVE, 50, 25);
        w.Mouse(WM_LBUTTONDOWN, 50, 25, MK_LBUTTON);
        w.Mouse(WM_LBUTTONUP, 50, 25);
        HWND picker = date->HostedWindowHandle();
        EXPECT_TRUE(picker != nullptr && IsWindowVisible(picker));
        return picker;
    }
    SYSTEMTIME PickerDate(HWND picker)
    {
        SYSTEMTIME shown = {};
        SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        return shown;
    }
    // Presses the picker's drop-down button and answers its calendar, which
    // must be shown.
    HWND DropDown(HWND picker)
    {
        RECT client = {};
        GetClientRect(picker, &client);
        const LPARAM button = MAKELPARAM(client.right - 4, client.bottom / 2);
        PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, button);
        PostMessageW(picker, WM_LBUTTONUP, 0, button);
        HWND calendar = nullptr;
        EXPECT_TRUE(PumpUntil(
            [&] {
                calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
                return calendar != nullptr && IsWindowVisible(calendar);
            },
            2000))
            << "the calendar drops down";
        EXPECT_TRUE(IsWindow(picker)) << "the focus moving to the calendar keeps the picker";
        return calendar;
    }
    void Key(HWND picker, WPARAM key)
    {
        PostMessageW(picker, WM_KEYDOWN, key, 0);
        PostMessageW(picker, WM_KEYUP, key, 0xC0000001);
        EXPECT_TRUE(PumpUntil([picker] { return !IsWindow(picker); }, 2000)) << "the key closes the picker";
    }

    CFloatingHost w{320, 120};
    CDateTimeUI* date = nullptr;
};

TEST_F(DateTimeTest, PickedDateIsWrittenBackWhenTheFocusLeaves)
{
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    EXPECT_EQ(DateText(today), date->GetText().GetData());

    const HWND picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    wchar_t className[64] = {};
    GetClassNameW(picker, className, 64);
    EXPECT_STREQ(L"DateTimeWnd", className);
    RECT place = {};
    GetWindowRect(picker, &place);
    MapWindowPoints(nullptr, w.Window(), reinterpret_cast<POINT*>(&place), 2);
    ExpectRect(RECT{10, 10, 160, 40}, place, "over the control");
    EXPECT_EQ(DateText(today), DateText(PickerDate(picker)));

    SYSTEMTIME picked = Date(2024, 3, 5);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&picked));
    w.Mouse(WM_LBUTTONDOWN, 250, 25, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, 250, 25);
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_EQ(nullptr, date->HostedWindowHandle());
    EXPECT_STREQ(L"2024-03-05", date->GetText().GetData());

    // Placed outside the root's client area, the picker is hidden (and,
    // losing the focus with it, ends).
    const HWND again = OpenPicker();
    date->ApplyAttribute(L"pos", L"400,10,550,40");
    w.Show();
    EXPECT_FALSE(IsWindowVisible(again));
}

TEST_F(DateTimeTest, DeleteClearsTheTextAndEscapeKeepsIt)
{
    Key(OpenPicker(), VK_DELETE);
    EXPECT_STREQ(L"", date->GetText().GetData());
    w.Mouse(WM_LBUTTONDOWN, 250, 25, MK_LBUTTON);

    // With a date shown, the picker starts at that date; Escape keeps the
    // text whatever the picker shows.
    date->SetTime(Date(2021, 11, 30));
    const HWND picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    EXPECT_EQ(L"2021-11-30", DateText(PickerDate(picker)));
    SYSTEMTIME other = Date(2020, 1, 2);
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&other));
    Key(picker, VK_ESCAPE);
    w.Mouse(WM_LBUTTONDOWN, 250, 25, MK_LBUTTON);
    EXPECT_STREQ(L"2021-11-30", date->GetText().GetData());
}

TEST_F(DateTimeTest, ADayPickedInTheDropDownCalendarIsWrittenBack)
{
    date->SetTime(Date(2024, 3, 5));
    const HWND picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    const HWND calendar = DropDown(picker);
    ASSERT_NE(nullptr, calendar);

    // The calendar shows March 2024; find the cell of the 20th and click it.
    RECT area = {};
    GetClientRect(calendar, &area);
    MCHITTESTINFO hit = {};
    hit.cbSize = sizeof(hit);
    for (hit.pt.y = 0; hit.pt.y < area.bottom; hit.pt.y += 2)
    {
        for (hit.pt.x = 0; hit.pt.x < area.right; hit.pt.x += 2)
        {
            if (SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == MCHT_CALENDARDATE &&
                DateText(hit.st) == L"2024-03-20")
                break;
        }
        if (hit.pt.x < area.right)
            break;
    }
    ASSERT_LT(hit.pt.y, area.bottom) << "no cell of 2024-03-20";
    PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
    PostMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
    // Wine may wait up to 2 s for a hidden pop-up to be withdrawn.
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(calendar); }, 5000)) << "the pick closes the calendar";

    // The picker ends with the focus leaving it, now or after the pick.
    w.Mouse(WM_LBUTTONDOWN, 250, 25, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, 250, 25);
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_STREQ(L"2024-03-20", date->GetText().GetData());
}

TEST_F(DateTimeTest, ACalendarClosedByTheFocusLeavingClosesThePicker)
{
    date->SetTime(Date(2024, 3, 5));
    const HWND picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    ASSERT_NE(nullptr, DropDown(picker));
    // The user activates the window itself, as a click beside the calendar
    // does: the calendar closes and the picker ends with its date.
    SetActiveWindow(w.Window());
    EXPECT_TRUE(PumpUntil([picker] { return !IsWindow(picker); }, 5000)) << "the picker is left open";
    EXPECT_STREQ(L"2024-03-05", date->GetText().GetData());
}

TEST_F(DateTimeTest, DestroyingTheControlDestroysItsOpenPicker)
{
    const HWND picker = OpenPicker();
    ASSERT_NE(nullptr, picker);
    ASSERT_TRUE(w.root->Remove(date, ChildDisposal::Destroy));
    EXPECT_FALSE(IsWindow(picker)) << "no later message may reach the freed control";
    // The focus moves on and the tree is painted without the control.
    w.Mouse(WM_LBUTTONDOWN, 250, 25, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, 250, 25);
    w.Show();

    // A picker open while the whole window goes away.
    CDateTimeUI* second = AddFloating(*w.root, new CDateTimeUI(), L"10,10,160,40", L"");
    w.Show();
    second->SetFocus();
    const HWND open = second->HostedWindowHandle();
    ASSERT_NE(nullptr, open);
    w.host.reset();
    EXPECT_FALSE(IsWindow(open));
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
