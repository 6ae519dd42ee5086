// CSliderUI driven by real mouse messages: the thumb's place, the value
// under the pointer, "valuechanged" on release (and on every move with
// "imm"), the wheel, the thumb image by state, and sliders without a range
// or without a track.
#include "ui/controls/SliderUI.h"

#include <gtest/gtest.h>

#include "tests/controls/ControlsTestSupport.h"
#include "ui/controls/ButtonUI.h"

namespace DuiLib {
namespace test {
namespace {

class SliderTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, w.host); }
    CSliderUI* Add(const wchar_t* pos, const wchar_t* attributes)
    {
        return AddFloating(*w.root, new CSliderUI(), pos, attributes);
    }
    size_t ValueChanges() const { return w.recorder.OfType(L"valuechanged").size(); }

    CFloatingHost w{300, 260};
};

TEST_F(SliderTest, PressSetsTheValueAndReleaseReportsIt)
{
    CSliderUI* slider = Add(L"0,0,210,20", L"value=\"50\"");
    w.Show();
    ExpectRect(RECT{100, 5, 110, 15}, slider->GetThumbRect(), "thumb at 50");

    w.Mouse(WM_MOUSEMOVE, 4, 10);
    w.Mouse(WM_LBUTTONDOWN, 4, 10, MK_LBUTTON);
    EXPECT_EQ(0, slider->GetValue()) << "left of half a thumb: the minimum";
    EXPECT_NE(0u, slider->GetButtonState() & UISTATE_CAPTURED);
    w.Mouse(WM_MOUSEMOVE, 205, 10, MK_LBUTTON);
    EXPECT_EQ(100, slider->GetValue());
    EXPECT_EQ(0u, ValueChanges()) << "nothing reported before the release";
    w.Mouse(WM_LBUTTONUP, 105, 10);
    // 100 x (105 - 5) / 200 = 50.
    EXPECT_EQ(50, slider->GetValue());
    EXPECT_EQ(1u, ValueChanges());
    EXPECT_EQ(0u, slider->GetButtonState() & UISTATE_CAPTURED);

    slider->SetSendWhileDragging(true);
    w.Mouse(WM_LBUTTONDOWN, 55, 10, MK_LBUTTON);
    EXPECT_EQ(25, slider->GetValue());
    w.Mouse(WM_MOUSEMOVE, 80, 10, MK_LBUTTON);
    w.Mouse(WM_MOUSEMOVE, 105, 10, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, 105, 10);
    EXPECT_EQ(4u, ValueChanges()) << "two moves and the release";
}

TEST_F(SliderTest, WheelStepsAndClampsAndVerticalRunsBottomUp)
{
    CSliderUI* slider = Add(L"0,0,210,20", L"value=\"100\" step=\"7\"");
    CSliderUI* vertical = Add(L"250,0,270,210", L"hor=\"false\" value=\"50\"");
    w.Show();
    SendWheel(w.Window(), 100, 10, false);
    EXPECT_EQ(100, slider->GetValue()) << "held at the maximum";
    EXPECT_EQ(1u, ValueChanges()) << "and still reported";
    SendWheel(w.Window(), 100, 10, true);
    EXPECT_EQ(93, slider->GetValue());

    // x = (270 + 250 - 10) / 2, y = 210 - 10 - 200 x 50 / 100.
    ExpectRect(RECT{255, 100, 265, 110}, vertical->GetThumbRect(), "vertical thumb");
    w.Mouse(WM_LBUTTONDOWN, 260, 4, MK_LBUTTON);
    EXPECT_EQ(100, vertical->GetValue()) << "the top is the maximum";
    w.Mouse(WM_MOUSEMOVE, 260, 206, MK_LBUTTON);
    EXPECT_EQ(0, vertical->GetValue()) << "the bottom the minimum";
    w.Mouse(WM_LBUTTONUP, 260, 206);
}

TEST_F(SliderTest, ThumbImageFollowsHotAndCapturedStates)
{
    const std::wstring normal = SolidImage(L"kalvex_thumb_normal.bmp", 0x0000FF);
    const std::wstring hot = SolidImage(L"kalvex_thumb_hot.bmp", 0x00FF00);
    CSliderUI* slider = Add(L"0,0,210,20", (L"value=\"50\" thumbimage=\"" + normal + L"\" thumbhotimage=\"" + hot +
                                             L"\"").c_str());
    w.Show();
    EXPECT_EQ(0x0000FFu, CaptureWindow(w.Window()).Rgb(105, 10));
    w.Mouse(WM_MOUSEMOVE, 105, 10);
    ASSERT_NE(0u, slider->GetButtonState() & UISTATE_HOT);
    EXPECT_EQ(0x00FF00u, CaptureWindow(w.Window()).Rgb(105, 10));

    UIEvent cursor = {};
    cursor.type = UIEVENT_SETCURSOR;
    cursor.mousePoint = POINT{105, 10};
    slider->Event(cursor);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
    cursor.mousePoint = POINT{30, 10};
    slider->Event(cursor);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());

    // Captured without a pushed image: the normal thumb, not the hot one.
    w.Mouse(WM_LBUTTONDOWN, 105, 10, MK_LBUTTON);
    ASSERT_NE(0u, slider->GetButtonState() & UISTATE_CAPTURED);
    EXPECT_EQ(0x0000FFu, CaptureWindow(w.Window()).Rgb(105, 10));
    slider->SetEnabled(false);
    EXPECT_EQ(0u, slider->GetButtonState());
    EXPECT_EQ(0u, slider->ControlFlagBits());
    w.Mouse(WM_LBUTTONUP, 105, 10);
}

TEST_F(SliderTest, NoRangeOrNoTrackKeepsTheThumbAtTheStart)
{
    CSliderUI* empty = Add(L"0,0,210,20", L"value=\"50\"");
    CSliderUI* narrow = Add(L"0,40,10,60", L"value=\"50\"");
    w.Show();
    // Events may come before the next paint repairs the range.
    empty->SetMinValue(5);
    empty->SetMaxValue(5);
    ExpectRect(RECT{0, 5, 10, 15}, empty->GetThumbRect(), "no range");
    w.Mouse(WM_LBUTTONDOWN, 150, 10, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, 150, 10);
    EXPECT_EQ(5, empty->GetValue());

    ExpectRect(RECT{0, 45, 10, 55}, narrow->GetThumbRect(), "no track");
    narrow->SetThumbSize(SIZE{20, 10});
    ExpectRect(RECT{0, 45, 20, 55}, narrow->GetThumbRect(), "thumb wider than the control");
    w.Mouse(WM_LBUTTONDOWN, 8, 50, MK_LBUTTON);
    w.Mouse(WM_LBUTTONUP, 8, 50);
    EXPECT_EQ(0, narrow->GetValue());
    w.Show();
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
