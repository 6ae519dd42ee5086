// A control tree built in code and laid out in a real window: nested linear
// layouts with fixed, stretched, held, padded and float children at several
// window sizes (a zero-sized one and huge minimum sizes included), scroll
// bars that the layouts show for what they need, wheel scrolling with its
// coalesced "scroll" notification, and a separator dragged at the top edge.
// Every expected rectangle is worked out by hand from the placement rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "tests/control/ControlTestSupport.h"
#include "ui/control/HorizontalLayoutUI.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/control/VerticalLayoutUI.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

// root (inset 4, child padding 2):
//   header, height 30: logo (width 40), title (stretches), close (width 30,
//     padding 0,5,5,5)
//   body (stretches), child padding 10: list (width 120, vertical bar, five
//     rows of height 50), detail (stretches, width held to 100..300)
//   badge: float, anchored at the middle, 20 x 20 at (-10, -10)
// In a W x H window: header (4, 4, W-4, 34); body (4, 36, W-4, H-4); the
// title takes W-8 - 40 - 35 = W-83; detail min(max(W-138, 100), 300).
class NestedTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, w.host);
        CVerticalLayoutUI* root = w.layout;
        root->SetInset(RECT{4, 4, 4, 4});
        root->SetChildPadding(2);
        CHorizontalLayoutUI* header = new CHorizontalLayoutUI();
        header->SetFixedHeight(30);
        logo = Fixed(40, 0);
        title = new CControlUI();
        close = Fixed(30, 0);
        close->SetPadding(RECT{0, 5, 5, 5});
        header->Add(logo);
        header->Add(title);
        header->Add(close);
        root->Add(header);

        CHorizontalLayoutUI* body = new CHorizontalLayoutUI();
        body->SetChildPadding(10);
        list = new CVerticalLayoutUI();
        list->SetFixedWidth(120);
        list->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
        // Hidden until the layout finds it needs the bar.
        list->VerticalBar()->SetVisible(false);
        for (CControlUI*& row : rows)
        {
            row = Fixed(0, 50);
            list->Add(row);
        }
        detail = new CControlUI();
        detail->SetMinWidth(100);
        detail->SetMaxWidth(300);
        body->Add(list);
        body->Add(detail);
        root->Add(body);

        badge = Fixed(20, 20);
        badge->SetFixedXY(SIZE{-10, -10});
        badge->SetFloatPercent(0.5, 0.5, 0.5, 0.5);
        badge->SetFloat(true);
        root->Add(badge);
        w.PaintNow();
    }

    CRootWindow<CVerticalLayoutUI> w{400, 300};
    CControlUI* logo = nullptr;
    CControlUI* title = nullptr;
    CControlUI* close = nullptr;
    CVerticalLayoutUI* list = nullptr;
    CControlUI* rows[5] = {};
    CControlUI* detail = nullptr;
    CControlUI* badge = nullptr;
};

TEST_F(NestedTree, ChildrenFollowTheRulesAtEveryWindowSize)
{
    // 400 x 300: the list's 250 fit in its 260, so no bar.
    ExpectRect(RECT{4, 4, 44, 34}, logo->GetPos(), "logo at 400");
    ExpectRect(RECT{44, 4, 361, 34}, title->GetPos(), "title at 400");
    ExpectRect(RECT{361, 9, 391, 29}, close->GetPos(), "close at 400");
    ExpectRect(RECT{4, 36, 124, 296}, list->GetPos(), "list at 400");
    ExpectRect(RECT{4, 236, 124, 286}, rows[4]->GetPos(), "last row at 400");
    EXPECT_FALSE(list->VerticalBar()->IsVisible());
    ExpectRect(RECT{134, 36, 396, 296}, detail->GetPos(), "detail at 400");
    ExpectRect(RECT{190, 140, 210, 160}, badge->GetPos(), "badge at 400");

    // 251 x 151: the list is 111 high, so its bar shows with range 250 - 111
    // and the rows lose the bar's 16; the float anchors cut 125.5 and 75.5.
    w.Resize(251, 151);
    ExpectRect(RECT{44, 4, 212, 34}, title->GetPos(), "title at 251");
    ExpectRect(RECT{212, 9, 242, 29}, close->GetPos(), "close at 251");
    ExpectRect(RECT{4, 36, 124, 147}, list->GetPos(), "list at 251");
    ASSERT_TRUE(list->VerticalBar()->IsVisible());
    EXPECT_EQ(139, list->VerticalBar()->GetScrollRange());
    ExpectRect(RECT{108, 36, 124, 147}, list->VerticalBar()->GetPos(), "bar at 251");
    ExpectRect(RECT{4, 86, 108, 136}, rows[1]->GetPos(), "second row at 251");
    ExpectRect(RECT{134, 36, 247, 147}, detail->GetPos(), "detail at 251");
    ExpectRect(RECT{115, 65, 135, 85}, badge->GetPos(), "badge at 251");

    // A window without a client area lays nothing out; its paint only
    // validates the window.
    w.Resize(0, 0);
    const RECT pending = PendingUpdate(w.Window());
    EXPECT_TRUE(IsRectEmpty(&pending));
    ExpectRect(RECT{134, 36, 247, 147}, detail->GetPos(), "detail kept at 0 x 0");

    // 1000 x 50: the body gets 50 - 8 - 32 = 10; the detail stops at 300.
    w.Resize(1000, 50);
    ExpectRect(RECT{44, 4, 961, 34}, title->GetPos(), "title at 1000");
    ExpectRect(RECT{961, 9, 991, 29}, close->GetPos(), "close at 1000");
    ExpectRect(RECT{4, 36, 124, 46}, list->GetPos(), "list at 1000");
    EXPECT_EQ(240, list->VerticalBar()->GetScrollRange());
    ExpectRect(RECT{4, 236, 108, 286}, rows[4]->GetPos(), "last row at 1000");
    ExpectRect(RECT{134, 36, 434, 46}, detail->GetPos(), "detail at 1000");
    ExpectRect(RECT{490, 15, 510, 35}, badge->GetPos(), "badge at 1000");
}

TEST_F(NestedTree, HugeMinimumSizesOverflowWithoutWrappingOrStoppingThePaint)
{
    detail->SetMinWidth(INT_MAX / 2);
    detail->SetMinHeight(INT_MAX / 2);
    w.PaintNow();
    // Held up to its minimum in both directions, from its usual place.
    ExpectRect(RECT{134, 36, 134 + INT_MAX / 2, 36 + INT_MAX / 2}, detail->GetPos(), "huge detail");
    ExpectRect(RECT{44, 4, 361, 34}, title->GetPos(), "title keeps its place");
    EXPECT_NE(nullptr, w.host->manager.GetOffscreenBitmap()) << "the window still paints";
    const RECT pending = PendingUpdate(w.Window());
    EXPECT_TRUE(IsRectEmpty(&pending)) << "the paint ended";
}

TEST(LayoutScrollBars, HorizontalOverflowShowsTheBottomBarAndTheWheelOverItScrollsSideways)
{
    CRootWindow<CHorizontalLayoutUI> w(300, 100);
    ASSERT_NE(nullptr, w.host);
    w.layout->ShowScrollBars(ScrollBarChoice::Hidden, ScrollBarChoice::Shown);
    CScrollBarUI* bar = w.layout->HorizontalBar();
    bar->SetVisible(false);
    CControlUI* c[3];
    for (CControlUI*& child : c)
    {
        child = Fixed(150, 0);
        w.layout->Add(child);
    }
    CNotifyRecorder recorder;
    w.host->manager.AddListener(&recorder);
    w.PaintNow();
    // Needed 450 in 300: range 150; the bar takes the bottom 16 pixels.
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(150, bar->GetScrollRange());
    ExpectRect(RECT{0, 84, 300, 100}, bar->GetPos(), "bar");
    ExpectRect(RECT{0, 0, 150, 84}, c[0]->GetPos(), "first");
    ExpectRect(RECT{300, 0, 450, 84}, c[2]->GetPos(), "third, out of sight");

    // Three notches over the bar before the message loop turns: 8 pixels
    // each, and one "scroll" notification carrying the last step.
    recorder.received.clear();
    for (int notch = 0; notch < 3; ++notch)
        SendWheel(w.Window(), 100, 92, true);
    EXPECT_EQ(24, w.layout->ScrollOffset().cx);
    ExpectRect(RECT{-24, 0, 126, 84}, c[0]->GetPos(), "first after three notches");
    PumpMessages();
    const std::vector<RecordedNotify> scrolls = recorder.OfType(L"scroll");
    ASSERT_EQ(1u, scrolls.size());
    EXPECT_EQ(bar, scrolls[0].sender);
    EXPECT_EQ(24u, scrolls[0].wParam);
    EXPECT_EQ(16, scrolls[0].lParam);

    w.layout->ScrollToRight();
    ExpectRect(RECT{150, 0, 300, 84}, c[2]->GetPos(), "third ends at the right edge");

    // Wide enough again: the bar goes and the children get their height back.
    w.Resize(500, 100);
    EXPECT_FALSE(bar->IsVisible());
    ExpectRect(RECT{0, 0, 150, 100}, c[0]->GetPos(), "first at 500");
    ExpectRect(RECT{300, 0, 450, 100}, c[2]->GetPos(), "third at 500");
}

namespace {

// A 300 x 200 window whose root makes both bars and hides them, so that each
// shows only when the content needs it.
class ScrollBarsOnDemand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, w.host);
        w.layout->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Shown);
        vertical = w.layout->VerticalBar();
        horizontal = w.layout->HorizontalBar();
        ASSERT_NE(nullptr, vertical);
        ASSERT_NE(nullptr, horizontal);
        vertical->SetVisible(false);
        horizontal->SetVisible(false);
    }

    // Both bars shown, 16 pixels wide, leaving the corner empty.
    void ExpectBothBars() const
    {
        ASSERT_TRUE(vertical->IsVisible());
        ASSERT_TRUE(horizontal->IsVisible());
        ExpectRect(RECT{284, 0, 300, 184}, vertical->GetPos(), "vertical bar");
        ExpectRect(RECT{0, 184, 284, 200}, horizontal->GetPos(), "horizontal bar");
    }

    CRootWindow<CVerticalLayoutUI> w{300, 200};
    CScrollBarUI* vertical = nullptr;
    CScrollBarUI* horizontal = nullptr;
};

}  // namespace

// Regression: with both bars shown, a relayout took the bottom bar's height
// off a rectangle that was already without it: the bar covered the last
// 16 pixels of the children and the content scrolled 16 pixels too far.
TEST_F(ScrollBarsOnDemand, BothBarsLeaveTheCornerAndEndTheContentAtTheirEdges)
{
    CControlUI* wide = Fixed(500, 100);
    CControlUI* second = Fixed(0, 100);
    CControlUI* last = Fixed(0, 100);
    w.layout->Add(wide);
    w.layout->Add(second);
    w.layout->Add(last);
    w.PaintNow();
    // Needed 500 x 300 in 300 x 200: both bars; the children keep 284 x 184.
    ASSERT_NO_FATAL_FAILURE(ExpectBothBars());
    EXPECT_EQ(300 - 184, vertical->GetScrollRange());
    EXPECT_EQ(500 - 284, horizontal->GetScrollRange());
    ExpectRect(RECT{0, 0, 500, 100}, wide->GetPos(), "wide");
    ExpectRect(RECT{0, 200, 500, 300}, last->GetPos(), "last");

    w.layout->ScrollToBottom();
    w.PaintNow();
    w.layout->ScrollToRight();
    ExpectRect(RECT{-216, 84, 284, 184}, last->GetPos(), "last ends at both bars");
    // Relaying out at the end keeps everything where it is.
    w.layout->RequestLayout();
    w.PaintNow();
    ExpectRect(RECT{0, 184, 284, 200}, horizontal->GetPos(), "horizontal bar after a relayout");
    ExpectRect(RECT{-216, 84, 284, 184}, last->GetPos(), "last after a relayout");
}

// Content 290 wide fits 300 but not the 284 left beside the vertical bar
// that its height of 300 in 200 brings: the bottom bar follows, and both go
// together once the window has room for everything.
TEST_F(ScrollBarsOnDemand, VerticalBarBringsTheBottomBarAndBothGoWhenRoomReturns)
{
    w.layout->Add(Fixed(290, 100));
    CControlUI* second = Fixed(0, 100);
    w.layout->Add(second);
    w.layout->Add(Fixed(0, 100));
    w.PaintNow();
    ASSERT_NO_FATAL_FAILURE(ExpectBothBars());
    EXPECT_EQ(300 - 184, vertical->GetScrollRange());
    EXPECT_EQ(290 - 284, horizontal->GetScrollRange());
    // A stretched child spans the room beside the bar plus the range: 284 + 6.
    ExpectRect(RECT{0, 100, 290, 200}, second->GetPos(), "second, laid out beside both bars");

    w.Resize(400, 400);
    EXPECT_FALSE(vertical->IsVisible());
    EXPECT_FALSE(horizontal->IsVisible());
    ExpectRect(RECT{0, 100, 400, 200}, second->GetPos(), "second with the whole width");
}

// Content 500 x 190 in 300 x 200: the bottom bar leaves 184 of height, so
// the vertical bar comes too and narrows the bottom bar's room to 284.
// Emptied, the container has nothing to scroll: both bars go.
TEST_F(ScrollBarsOnDemand, BarsGoWhenTheLastChildDoes)
{
    w.layout->Add(Fixed(500, 300));
    w.PaintNow();
    ASSERT_NO_FATAL_FAILURE(ExpectBothBars());
    w.layout->RemoveAll();
    w.PaintNow();
    EXPECT_FALSE(vertical->IsVisible());
    EXPECT_FALSE(horizontal->IsVisible());
}

TEST_F(ScrollBarsOnDemand, BottomBarBringsTheVerticalBar)
{
    w.layout->Add(Fixed(500, 90));
    CControlUI* second = Fixed(0, 100);
    w.layout->Add(second);
    w.PaintNow();
    ASSERT_NO_FATAL_FAILURE(ExpectBothBars());
    EXPECT_EQ(190 - 184, vertical->GetScrollRange());
    EXPECT_EQ(500 - 284, horizontal->GetScrollRange());
    // 284 beside the bar plus the range of 216.
    ExpectRect(RECT{0, 90, 500, 190}, second->GetPos(), "second, laid out beside both bars");
}

// root: top (height 100), pane (height 150, limits 50..200, a 4-pixel
// separator at its top edge, preview mode), rest.
TEST(LayoutSeparator, TopEdgeSeparatorPreviewsThenAppliesWithinTheLimits)
{
    CRootWindow<CVerticalLayoutUI> w(200, 400);
    ASSERT_NE(nullptr, w.host);
    CControlUI* top = Fixed(0, 100);
    top->SetBkColor(kWhite);
    CVerticalLayoutUI* pane = new CVerticalLayoutUI();
    pane->SetFixedHeight(150);
    pane->SetMinHeight(50);
    pane->SetMaxHeight(200);
    pane->ApplyAttribute(L"sepheight", L"-4");
    CControlUI* rest = new CControlUI();
    w.layout->Add(top);
    w.layout->Add(pane);
    w.layout->Add(rest);
    w.PaintNow();
    ASSERT_EQ(UIFLAG_SETCURSOR, pane->ControlFlagBits());
    ExpectRect(RECT{0, 100, 200, 104}, pane->GetThumbRect(false), "strip");

    const HWND window = w.Window();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 102));
    // Up by 82 would make it 232 high: it stops at 200, top 250 - 200.
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 20));
    EXPECT_EQ(200, pane->GetFixedHeight());
    ExpectRect(RECT{0, 50, 200, 54}, pane->GetThumbRect(true), "preview strip at the maximum");
    // Already at the maximum: a further move up is ignored.
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 10));
    EXPECT_EQ(200, pane->GetFixedHeight());
    w.PaintNow();
    ExpectRect(RECT{0, 100, 200, 250}, pane->GetPos(), "keeps its place while previewing");
    // The preview bar, black at alpha 0xAA, darkens the white top control.
    CSurface picture(200, 400, 0);
    CaptureClient(window, picture, 200, 400);
    ExpectPixels(picture, {{100, 52, 0xFF555555}, {100, 60, kWhite}}, 3);

    // Down by 140 to 60 high, then by 90 more: it stops at the minimum 50.
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 150));
    EXPECT_EQ(60, pane->GetFixedHeight());
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 240));
    EXPECT_EQ(50, pane->GetFixedHeight());
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(50, 240));
    w.PaintNow();
    ExpectRect(RECT{0, 100, 200, 150}, pane->GetPos(), "pane after the drag");
    ExpectRect(RECT{0, 150, 200, 400}, rest->GetPos(), "rest after the drag");
    CaptureClient(window, picture, 200, 400);
    // The preview is gone.
    ExpectPixels(picture, {{100, 52, kWhite}});
}

}  // namespace
