// CScrollBarUI: the geometry rule, position clamping and rounding, and a bar
// in a real window driven by mouse messages and repeat-timer ticks.
#include "ui/control/ScrollBarUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

TEST(ScrollBarGeometry, ThumbLengthIsVisibleShareAndEndsAtRangeEnd)
{
    // available = 200 - 2 x 16 = 168; thumb = 200 x 168 / 500 = 67.
    const ScrollBarGeometry atStart = ComputeScrollBarGeometry(200, 16, 300, 0, true, true);
    EXPECT_EQ(16, atStart.button1End);
    EXPECT_EQ(184, atStart.button2Start);
    EXPECT_EQ(16, atStart.thumbStart);
    EXPECT_EQ(83, atStart.thumbEnd);
    // At position 300: (168 - 67) x 300 / 300 + 16 = 117.
    const ScrollBarGeometry atEnd = ComputeScrollBarGeometry(200, 16, 300, 300, true, true);
    EXPECT_EQ(117, atEnd.thumbStart);
    EXPECT_EQ(184, atEnd.thumbEnd);
}

TEST(ScrollBarGeometry, RangeZeroThumbFillsTrack)
{
    const ScrollBarGeometry g = ComputeScrollBarGeometry(200, 16, 0, 0, true, true);
    EXPECT_EQ(16, g.thumbStart);
    EXPECT_EQ(184, g.thumbEnd);
}

TEST(ScrollBarGeometry, ShortBarShowsOnlyTwoHalfLengthButtons)
{
    // 48 = 3 x 16: no room; s = min(24, 16) = 16.
    const ScrollBarGeometry exact = ComputeScrollBarGeometry(48, 16, 100, 0, true, true);
    EXPECT_EQ(16, exact.button1End);
    EXPECT_EQ(32, exact.button2Start);
    EXPECT_EQ(exact.thumbStart, exact.thumbEnd);
    // 20: s = min(10, 16) = 10.
    const ScrollBarGeometry tiny = ComputeScrollBarGeometry(20, 16, 100, 0, true, true);
    EXPECT_EQ(10, tiny.button1End);
    EXPECT_EQ(10, tiny.button2Start);
    EXPECT_EQ(tiny.thumbStart, tiny.thumbEnd);
}

TEST(ScrollBarGeometry, HiddenButtonsGiveTheTrackTheirRoom)
{
    // available 200; thumb = 200 x 200 / 300 = 133 at 0.
    const ScrollBarGeometry g = ComputeScrollBarGeometry(200, 16, 100, 0, false, false);
    EXPECT_EQ(0, g.button1End);
    EXPECT_EQ(200, g.button2Start);
    EXPECT_EQ(0, g.thumbStart);
    EXPECT_EQ(133, g.thumbEnd);
}

TEST(ScrollBarGeometry, ZeroLengthAndHugeValuesStayInRange)
{
    const ScrollBarGeometry zero = ComputeScrollBarGeometry(0, 16, 100, 50, true, true);
    EXPECT_EQ(0, zero.button1End);
    EXPECT_EQ(zero.thumbStart, zero.thumbEnd);
    const ScrollBarGeometry huge = ComputeScrollBarGeometry(INT_MAX, 16, INT_MAX, INT_MAX, true, true);
    EXPECT_LE(huge.thumbStart, huge.thumbEnd);
    EXPECT_EQ(huge.button2Start, huge.thumbEnd);
    EXPECT_EQ(INT_MAX - 16, huge.button2Start);
}

TEST(ScrollBarValues, ScrollUnitRoundsUpThenRangeLowers)
{
    CScrollBarUI bar;
    bar.SetScrollUnit(10);
    bar.SetScrollOffset(13, false);
    EXPECT_EQ(20, bar.GetScrollOffset());
    bar.SetScrollRange(15);
    EXPECT_EQ(15, bar.GetScrollOffset());
    bar.SetScrollOffset(-5, false);
    EXPECT_EQ(0, bar.GetScrollOffset());
    EXPECT_EQ(10, bar.GetLineSize());
}

TEST(ScrollBarValues, NegativeRangeBecomesZeroAndNegativeSizesAreIgnored)
{
    CScrollBarUI bar;
    bar.SetScrollRange(-4);
    EXPECT_EQ(0, bar.GetScrollRange());
    bar.SetLineSize(-3);
    bar.SetScrollUnit(-2);
    EXPECT_EQ(8, bar.GetLineSize());
}

TEST(ScrollBarValues, HorizontalSwapsThickness)
{
    CScrollBarUI bar;
    EXPECT_EQ(16, bar.GetFixedWidth());
    bar.ApplyAttribute(L"hor", L"true");
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_EQ(0, bar.GetFixedWidth());
    EXPECT_EQ(16, bar.GetFixedHeight());
    bar.SetHorizontal(false);
    EXPECT_EQ(16, bar.GetFixedWidth());
    EXPECT_EQ(0, bar.GetFixedHeight());
    EXPECT_EQ(L"ScrollBar", std::wstring(bar.GetClass()));
    EXPECT_EQ(&bar, bar.CastTo(L"ScrollBar"));
    EXPECT_EQ(&bar, bar.CastTo(L"Control"));
}

TEST(ScrollBarValues, AttributesReachTheSetters)
{
    CScrollBarUI bar;
    bar.ApplyAttribute(L"range", L"40");
    bar.ApplyAttribute(L"value", L"30");
    bar.ApplyAttribute(L"linesize", L"5");
    bar.ApplyAttribute(L"showbutton1", L"false");
    bar.ApplyAttribute(L"thumbnormalimage", L"thumb.png");
    EXPECT_EQ(40, bar.GetScrollRange());
    EXPECT_EQ(30, bar.GetScrollOffset());
    EXPECT_EQ(5, bar.GetLineSize());
    EXPECT_FALSE(bar.IsButton1Shown());
    EXPECT_EQ(L"thumb.png", std::wstring(bar.GetPartImage(CScrollBarUI::PART_THUMB, CScrollBarUI::IMAGE_NORMAL)));
}

// A horizontal bar of 200 x 16, range 300, that is a real window's root.
class ScrollBarWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = MakeHost(200, 16);
        ASSERT_NE(nullptr, host);
        bar = new CScrollBarUI();
        bar->SetHorizontal(true);
        bar->SetScrollRange(300);
        ASSERT_TRUE(host->manager.AttachRootControl(bar));
        ASSERT_TRUE(host->manager.AddListener(&recorder));
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    }
    void TearDown() override
    {
        if (host != nullptr)
            host->manager.RemoveListener(&recorder);
    }

    HWND Window() const { return host->GetHWND(); }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    void Tick()
    {
        UIEvent tick = {};
        tick.type = UIEVENT_TIMER;
        tick.sender = bar;
        tick.wParam = 10;
        bar->Event(tick);
    }

    std::unique_ptr<CHostWindow> host;
    CScrollBarUI* bar = nullptr;
    CNotifyRecorder recorder;
};

TEST_F(ScrollBarWindowTest, LayoutPlacesButtonsAndThumb)
{
    ExpectRect(RECT{0, 0, 16, 16}, bar->Button1Rect(), "button 1");
    ExpectRect(RECT{184, 0, 200, 16}, bar->Button2Rect(), "button 2");
    ExpectRect(RECT{16, 0, 83, 16}, bar->ThumbRect(), "thumb");
    bar->SetScrollOffset(300, false);
    ExpectRect(RECT{117, 0, 184, 16}, bar->ThumbRect(), "thumb at the end");
}

TEST_F(ScrollBarWindowTest, HoldingButtonStepsAtOnceThenFromSixthTick)
{
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(190, 8));
    EXPECT_EQ(8, bar->GetScrollOffset());
    EXPECT_NE(0u, bar->Button2State() & SCROLLPART_PUSHED);
    for (int i = 0; i < 5; ++i)
        Tick();
    EXPECT_EQ(8, bar->GetScrollOffset());
    Tick();
    EXPECT_EQ(16, bar->GetScrollOffset());
    Tick();
    EXPECT_EQ(24, bar->GetScrollOffset());
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(190, 8));
    EXPECT_EQ(0u, bar->Button2State() & SCROLLPART_PUSHED);
    PumpMessages();
    // The three steps came before the loop turned: one "scroll" with the
    // last step's new and old positions.
    const std::vector<RecordedNotify> scrolls = recorder.OfType(L"scroll");
    ASSERT_EQ(1u, scrolls.size());
    EXPECT_EQ(24u, scrolls[0].wParam);
    EXPECT_EQ(16, scrolls[0].lParam);
}

TEST_F(ScrollBarWindowTest, TrackClickPagesByBarLength)
{
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(150, 8));
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(150, 8));
    EXPECT_EQ(200, bar->GetScrollOffset());
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 8));
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(20, 8));
    EXPECT_EQ(0, bar->GetScrollOffset());
}

TEST_F(ScrollBarWindowTest, ThumbDragMovesOnlyOnTimerTicks)
{
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(50, 8));
    EXPECT_NE(0u, bar->ThumbState() & SCROLLPART_DRAGGED);
    SendMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, At(60, 8));
    EXPECT_EQ(0, bar->GetScrollOffset());
    // track = 200 - 67 - 2 x 16 = 101; offset = 10 x 300 / 101 = 29.
    Tick();
    EXPECT_EQ(29, bar->GetScrollOffset());
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(60, 8));
    EXPECT_EQ(0u, bar->ThumbState() & (SCROLLPART_DRAGGED | SCROLLPART_PUSHED));
}

TEST_F(ScrollBarWindowTest, RangeZeroDragComputesNoOffset)
{
    bar->SetScrollRange(0);
    ExpectRect(RECT{16, 0, 184, 16}, bar->ThumbRect(), "thumb fills the track");
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 8));
    SendMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, At(150, 8));
    Tick();
    EXPECT_EQ(0, bar->GetScrollOffset());
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(150, 8));
}

TEST_F(ScrollBarWindowTest, DisablingClearsHotAndPushed)
{
    SendMessageW(Window(), WM_MOUSEMOVE, 0, At(50, 8));
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    EXPECT_NE(0u, bar->Button1State());
    EXPECT_NE(0u, bar->ThumbState() & SCROLLPART_HOT);
    bar->SetEnabled(false);
    EXPECT_EQ(0u, bar->Button1State());
    EXPECT_EQ(0u, bar->Button2State());
    EXPECT_EQ(0u, bar->ThumbState());
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(5, 8));
}

}  // namespace
