// CHorizontalLayoutUI and CVerticalLayoutUI: the share arithmetic, children's
// rectangles in real windows of several sizes (checked against values worked
// out by hand from the placement rules), alignment, float children, scroll
// ranges from the needed size, separator drags, and degenerate sizes.
#include "ui/control/HorizontalLayoutUI.h"
#include "ui/control/VerticalLayoutUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "tests/control/ControlTestSupport.h"
#include "ui/control/LinearLayoutMath.h"
#include "ui/control/ScrollBarUI.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

TEST(LinearLayoutMath, ShareIsTruncatedAndNeverNegative)
{
    EXPECT_EQ(90, StretchShare(300, 120, 2));
    EXPECT_EQ(150, StretchShare(301, 0, 2));
    EXPECT_EQ(0, StretchShare(100, 200, 2));
    EXPECT_EQ(0, StretchShare(100, 0, 0));
    EXPECT_EQ(INT_MAX, StretchShare(static_cast<long long>(INT_MAX) * 4, 0, 2));
    EXPECT_EQ(3, HoldBetween(5, 10, 3)) << "the maximum wins";
    EXPECT_EQ(10, HoldBetween(-4, 10, 30));
    EXPECT_EQ(0, GapsBetween(0, 10));
    EXPECT_EQ(20, GapsBetween(3, 10));
}

TEST(HorizontalLayout, FixedAndStretchingChildrenForSeveralWidths)
{
    CRootWindow<CHorizontalLayoutUI> w(300, 100);
    ASSERT_NE(nullptr, w.host);
    CControlUI* fixed = Fixed(100, 0);
    CControlUI* a = new CControlUI();
    CControlUI* b = new CControlUI();
    w.layout->Add(fixed);
    w.layout->Add(a);
    w.layout->Add(b);
    w.layout->SetChildPadding(10);
    w.PaintNow();
    // share (300 - 100 - 20) / 2 = 90; the last takes what remains, 90.
    ExpectRect(RECT{0, 0, 100, 100}, fixed->GetPos(), "fixed at 300");
    ExpectRect(RECT{110, 0, 200, 100}, a->GetPos(), "first stretch at 300");
    ExpectRect(RECT{210, 0, 300, 100}, b->GetPos(), "last stretch at 300");

    // 301: share 90 (truncated), the last takes 301 - 210 = 91.
    w.Resize(301, 100);
    ExpectRect(RECT{110, 0, 200, 100}, a->GetPos(), "first stretch at 301");
    ExpectRect(RECT{210, 0, 301, 100}, b->GetPos(), "last stretch at 301");

    // 120: the fixed part takes everything; both stretching children get 0.
    w.Resize(120, 60);
    ExpectRect(RECT{0, 0, 100, 60}, fixed->GetPos(), "fixed at 120");
    ExpectRect(RECT{110, 0, 110, 60}, a->GetPos(), "first stretch at 120");
    ExpectRect(RECT{120, 0, 120, 60}, b->GetPos(), "last stretch at 120");
}

TEST(HorizontalLayout, OddWidthLastStretchTakesRemainder)
{
    CRootWindow<CHorizontalLayoutUI> w(301, 40);
    ASSERT_NE(nullptr, w.host);
    CControlUI* a = new CControlUI();
    CControlUI* b = new CControlUI();
    w.layout->Add(a);
    w.layout->Add(b);
    w.PaintNow();
    ExpectRect(RECT{0, 0, 150, 40}, a->GetPos(), "first");
    ExpectRect(RECT{150, 0, 301, 40}, b->GetPos(), "second takes 151");
}

TEST(HorizontalLayout, MinWidthOverflowsToTheRight)
{
    CRootWindow<CHorizontalLayoutUI> w(300, 50);
    ASSERT_NE(nullptr, w.host);
    CControlUI* fixed = Fixed(100, 0);
    CControlUI* wide = new CControlUI();
    wide->SetMinWidth(200);
    CControlUI* last = new CControlUI();
    w.layout->Add(fixed);
    w.layout->Add(wide);
    w.layout->Add(last);
    w.layout->SetChildPadding(10);
    w.PaintNow();
    // share 90 held up to 200; the last has 190 - 210 < 0 left: 0.
    ExpectRect(RECT{110, 0, 310, 50}, wide->GetPos(), "min width");
    ExpectRect(RECT{320, 0, 320, 50}, last->GetPos(), "nothing left");
}

TEST(HorizontalLayout, VCenterPaddingAndFloatChild)
{
    CRootWindow<CHorizontalLayoutUI> w(300, 51);
    ASSERT_NE(nullptr, w.host);
    w.layout->ApplyAttribute(L"childvalign", L"vcenter");
    CControlUI* small = Fixed(0, 20);
    CControlUI* padded = new CControlUI();
    padded->SetPadding(RECT{5, 0, 7, 0});
    CControlUI* floating = Fixed(20, 20);
    floating->SetFloat(true);
    floating->SetFixedXY(SIZE{10, 10});
    w.layout->Add(small);
    w.layout->Add(floating);
    w.layout->Add(padded);
    w.PaintNow();
    // share (300 - 12) / 2 = 144; centre 25: 15 .. 35.
    ExpectRect(RECT{0, 15, 144, 35}, small->GetPos(), "vcentred");
    // x = 144; left 149; the last takes 300 - 144 - 5 - 7 = 144.
    ExpectRect(RECT{149, 0, 293, 51}, padded->GetPos(), "padded");
    ExpectRect(RECT{10, 10, 30, 30}, floating->GetPos(), "float");
}

TEST(VerticalLayout, FixedWithPaddingThenStretchEndsAtBottom)
{
    CRootWindow<CVerticalLayoutUI> w(200, 200);
    ASSERT_NE(nullptr, w.host);
    CControlUI* top = Fixed(0, 50);
    top->SetPadding(RECT{0, 5, 0, 0});
    CControlUI* rest = new CControlUI();
    w.layout->Add(top);
    w.layout->Add(rest);
    w.PaintNow();
    ExpectRect(RECT{0, 5, 200, 55}, top->GetPos(), "fixed");
    ExpectRect(RECT{0, 55, 200, 200}, rest->GetPos(), "stretch at 200");
    w.Resize(150, 333);
    ExpectRect(RECT{0, 55, 150, 333}, rest->GetPos(), "stretch at 333");
}

TEST(VerticalLayout, ChildAlignRightAndCenter)
{
    CRootWindow<CVerticalLayoutUI> w(201, 100);
    ASSERT_NE(nullptr, w.host);
    CControlUI* child = new CControlUI();
    child->SetMaxWidth(50);
    child->SetPadding(RECT{0, 0, 4, 0});
    w.layout->Add(child);
    w.layout->ApplyAttribute(L"childalign", L"right");
    w.layout->SetChildAlign(2);
    w.PaintNow();
    ExpectRect(RECT{147, 0, 197, 100}, child->GetPos(), "right");
    w.layout->SetChildAlign(1);
    w.PaintNow();
    // centre (0 + 201) / 2 = 100; 100 - 25 .. 100 + 25.
    ExpectRect(RECT{75, 0, 125, 100}, child->GetPos(), "centre");
}

// A child that always asks for 40 x 30, whatever its fixed size, like a
// control that sizes itself to its text.
class CSelfSizing : public CControlUI
{
public:
    CUISize MeasureDesired(const SIZE&) override { return CUISize(40, 30); }
};

TEST(LinearLayouts, FixedExtentDecidesOnlyInTheHorizontalLayout)
{
    // Horizontal: without a fixed width the child stretches, its measure
    // unasked; with any fixed width the measured 40 is taken.
    CRootWindow<CHorizontalLayoutUI> row(300, 100);
    ASSERT_NE(nullptr, row.host);
    CControlUI* inRow = new CSelfSizing();
    row.layout->Add(inRow);
    row.PaintNow();
    ExpectRect(RECT{0, 0, 300, 100}, inRow->GetPos(), "no fixed width");
    inRow->SetFixedWidth(10);
    row.PaintNow();
    ExpectRect(RECT{0, 0, 40, 100}, inRow->GetPos(), "fixed width 10");

    // Vertical: the measured height 30 alone makes the child fixed.
    CRootWindow<CVerticalLayoutUI> column(300, 100);
    ASSERT_NE(nullptr, column.host);
    CControlUI* inColumn = new CSelfSizing();
    column.layout->Add(inColumn);
    column.PaintNow();
    ExpectRect(RECT{0, 0, 300, 30}, inColumn->GetPos(), "no fixed height");
}

TEST(VerticalLayout, NeededHeightSetsScrollRangeAndWheelScrolls)
{
    CRootWindow<CVerticalLayoutUI> w(200, 200);
    ASSERT_NE(nullptr, w.host);
    w.layout->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
    w.layout->VerticalBar()->SetVisible(false);
    CControlUI* c[3];
    for (CControlUI*& child : c)
    {
        child = Fixed(0, 100);
        w.layout->Add(child);
    }
    w.PaintNow();
    EXPECT_EQ(100, w.layout->ScrollExtent().cy);
    ExpectRect(RECT{0, 200, 184, 300}, c[2]->GetPos(), "third child");
    ExpectRect(RECT{184, 0, 200, 200}, w.layout->VerticalBar()->GetPos(), "bar");

    SendWheel(w.Window(), 50, 50, true);
    EXPECT_EQ(8, w.layout->ScrollOffset().cy);
    ExpectRect(RECT{0, -8, 184, 92}, c[0]->GetPos(), "scrolled first child");
}

TEST(VerticalLayout, BarHidesWhenContentFitsAgain)
{
    CRootWindow<CVerticalLayoutUI> w(200, 200);
    ASSERT_NE(nullptr, w.host);
    w.layout->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
    w.layout->VerticalBar()->SetVisible(false);
    CControlUI* first = Fixed(0, 150);
    CControlUI* second = Fixed(0, 150);
    w.layout->Add(first);
    w.layout->Add(second);
    w.PaintNow();
    // Needed 300 in 200: range 100.
    EXPECT_EQ(100, w.layout->ScrollExtent().cy);
    EXPECT_TRUE(w.layout->Remove(second, ChildDisposal::Destroy));
    w.PaintNow();
    EXPECT_FALSE(w.layout->VerticalBar()->IsVisible());
    EXPECT_EQ(0, w.layout->VerticalBar()->GetScrollRange());
    ExpectRect(RECT{0, 0, 200, 150}, first->GetPos(), "full width again");
}

TEST(HorizontalLayout, SeparatorDragImmediateStopsAtMinWidth)
{
    CRootWindow<CHorizontalLayoutUI> w(400, 100);
    ASSERT_NE(nullptr, w.host);
    CHorizontalLayoutUI* pane = new CHorizontalLayoutUI();
    pane->SetFixedWidth(100);
    pane->SetMinWidth(50);
    pane->ApplyAttribute(L"sepwidth", L"4");
    pane->ApplyAttribute(L"sepimm", L"true");
    w.layout->Add(pane);
    w.PaintNow();
    EXPECT_EQ(UIFLAG_SETCURSOR, pane->ControlFlagBits());
    const HWND window = w.host->GetHWND();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(98, 50));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 50));
    EXPECT_EQ(122, pane->GetFixedWidth());
    EXPECT_EQ(122, pane->GetPos().right);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 50));
    EXPECT_EQ(50, pane->GetFixedWidth());
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 50));
    w.PaintNow();
    ExpectRect(RECT{0, 0, 50, 100}, pane->GetPos(), "after the drag");
}

TEST(HorizontalLayout, SeparatorPreviewAppliesOnButtonUp)
{
    CRootWindow<CHorizontalLayoutUI> w(400, 100);
    ASSERT_NE(nullptr, w.host);
    CHorizontalLayoutUI* pane = new CHorizontalLayoutUI();
    pane->SetFixedWidth(100);
    pane->SetSepWidth(4);
    w.layout->Add(pane);
    w.PaintNow();
    const HWND window = w.host->GetHWND();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(98, 50));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 50));
    w.PaintNow();
    EXPECT_EQ(100, pane->GetPos().right) << "keeps its size during the drag";
    ExpectRect(RECT{148, 0, 152, 100}, pane->GetThumbRect(true), "preview strip");
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(150, 50));
    w.PaintNow();
    EXPECT_EQ(152, pane->GetPos().right);
}

TEST(LinearLayouts, DegenerateSizesAndThousandsOfChildrenStayInRange)
{
    CHorizontalLayoutUI row;
    CVerticalLayoutUI column;
    row.SetInset(RECT{5, 5, 5, 5});
    column.SetInset(RECT{5, 5, 5, 5});
    for (int i = 0; i < 3000; ++i)
    {
        CControlUI* wide = new CControlUI();
        wide->SetMinWidth(INT_MAX / 2);
        wide->SetMinHeight(INT_MAX / 2);
        row.Add(wide);
        CControlUI* tall = new CControlUI();
        tall->SetMinHeight(INT_MAX / 2);
        column.Add(tall);
    }
    row.PlaceAt(RECT{0, 0, 0, 0}, false);
    column.PlaceAt(RECT{0, 0, 0, 0}, false);
    ExpectRect(RECT{5, 5, 5 + INT_MAX / 2, 5 + INT_MAX / 2}, row.ChildAt(0)->GetPos(), "first wide child");
    EXPECT_EQ(INT_MAX, row.ChildAt(2999)->GetPos().left);
    EXPECT_LE(column.ChildAt(2999)->GetPos().top, column.ChildAt(2999)->GetPos().bottom);
    EXPECT_EQ(INT_MAX, column.ChildAt(2999)->GetPos().bottom);

    CHorizontalLayoutUI empty;
    CControlUI* child = new CControlUI();
    empty.Add(child);
    empty.Add(new CControlUI());
    empty.SetInset(RECT{5, 5, 5, 5});
    empty.PlaceAt(RECT{0, 0, 0, 0}, false);
    ExpectRect(RECT{5, 5, 5, 5}, child->GetPos(), "child of a zero-sized layout");
}

}  // namespace
