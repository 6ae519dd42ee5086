// CContainerUI: the child list and its ownership, stacking children in the
// scrolled client area, the scroll steps, the wheel through real
// WM_MOUSEWHEEL messages, hit tests that respect the child area, and
// children removed while the manager still points at them.
#include "ui/control/ContainerUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "tests/control/ControlTestSupport.h"
#include "ui/control/ScrollBarUI.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

TEST(ContainerChildren, IndexQueriesOutsideTheListGiveNothing)
{
    CContainerUI container;
    CControlUI* a = new CControlUI();
    CControlUI b;
    ASSERT_TRUE(container.Add(a));
    EXPECT_FALSE(container.Add(nullptr));
    EXPECT_EQ(nullptr, container.ChildAt(-1));
    EXPECT_EQ(nullptr, container.ChildAt(1));
    EXPECT_EQ(a, container.ChildAt(0));
    EXPECT_EQ(-1, container.IndexOfChild(&b));
    EXPECT_EQ(0, container.IndexOfChild(a));
    EXPECT_EQ(&container, a->GetParent());
    EXPECT_EQ(static_cast<IContainerUI*>(&container), container.CastTo(L"IContainer"));
    EXPECT_EQ(&container, container.CastTo(L"Container"));
    EXPECT_EQ(nullptr, container.CastTo(L"container"));
}

TEST(ContainerChildren, MovesKeepOrderRules)
{
    CContainerUI container;
    IControlUI* c[4];
    for (IControlUI*& child : c)
    {
        child = new CControlUI();
        container.Add(child);
    }
    EXPECT_TRUE(container.MoveChildTo(c[0], 3));
    EXPECT_EQ(c[0], container.ChildAt(3));
    EXPECT_EQ(c[1], container.ChildAt(0));
    // Order now 1 2 3 0; the block 2 3 moves to start at 0.
    EXPECT_TRUE(container.MoveChildrenTo(c[2], 2, 0));
    EXPECT_EQ(c[2], container.ChildAt(0));
    EXPECT_EQ(c[3], container.ChildAt(1));
    EXPECT_EQ(c[1], container.ChildAt(2));
    EXPECT_FALSE(container.MoveChildrenTo(c[2], 3, 2));
    EXPECT_FALSE(container.MoveChildrenTo(c[2], -1, 0));
    EXPECT_TRUE(container.MoveChildrenTo(c[2], 2, 0));
}

TEST(ContainerChildren, RemoveWithoutOwnershipOnlyUnlinks)
{
    CTombstoneControl::ReleaseTombstones();
    CContainerUI container;
    container.SetOwnsChildren(false);
    CTombstoneControl* child = new CTombstoneControl();
    container.Add(child);
    EXPECT_TRUE(container.Remove(child, ChildDisposal::Destroy));
    EXPECT_EQ(0, container.GetCount());
    EXPECT_EQ(0, CTombstoneControl::Deletions());
    EXPECT_FALSE(container.Remove(child, ChildDisposal::Destroy));
    child->Delete();
    EXPECT_EQ(1, CTombstoneControl::Deletions());
    CTombstoneControl::ReleaseTombstones();
}

TEST(ContainerChildren, ZeroSizeAndHugeMinimumsStayInIntRange)
{
    CContainerUI container;
    CControlUI* child = new CControlUI();
    CControlUI* huge = new CControlUI();
    container.Add(child);
    container.Add(huge);
    container.SetInset(RECT{10, 10, 10, 10});
    huge->SetMinWidth(INT_MAX);
    huge->SetMinHeight(INT_MAX);
    container.PlaceAt(RECT{0, 0, 0, 0}, false);
    // The area is -20 wide: held up to the minimum 0.
    ExpectRect(RECT{10, 10, 10, 10}, child->GetPos(), "child of an empty container");
    ExpectRect(RECT{10, 10, INT_MAX, INT_MAX}, huge->GetPos(), "huge minimum");
}

// A container that is a real window's root, 400 x 300, inset 10, 20, 30, 40.
class ContainerWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CTombstoneControl::ReleaseTombstones();
        host = MakeHost(400, 300);
        ASSERT_NE(nullptr, host);
        container = new CContainerUI();
        container->SetInset(RECT{10, 20, 30, 40});
        ASSERT_TRUE(host->manager.AttachRootControl(container));
        child = new CTombstoneControl();
        container->Add(child);
        PaintNow();
    }
    void TearDown() override
    {
        host.reset();
        PumpMessages();
        EXPECT_EQ(0, CTombstoneControl::EventsAfterDeletion()) << "an event reached a deleted control";
        CTombstoneControl::ReleaseTombstones();
    }

    void PaintNow()
    {
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    }
    HWND Window() const { return host->GetHWND(); }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    // A wheel notch at client (x, y); down turns toward the user.
    void Wheel(int x, int y, bool down) { SendWheel(Window(), x, y, down); }

    std::unique_ptr<CHostWindow> host;
    CContainerUI* container = nullptr;
    CTombstoneControl* child = nullptr;
};

TEST_F(ContainerWindowTest, ChildFillsInsetArea)
{
    ExpectRect(RECT{0, 0, 400, 300}, container->GetPos(), "container");
    ExpectRect(RECT{10, 20, 370, 260}, child->GetPos(), "child");
    ExpectRect(RECT{10, 20, 370, 260}, container->ClientRect(), "client");
}

TEST_F(ContainerWindowTest, MinAndMaxSizesHoldTheChild)
{
    child->SetMaxWidth(100);
    child->SetMinHeight(500);
    container->PlaceAt(container->GetPos(), false);
    ExpectRect(RECT{10, 20, 110, 520}, child->GetPos(), "held child");
}

TEST_F(ContainerWindowTest, ScrolledChildStartsAboveInsetAndIsTaller)
{
    container->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
    container->VerticalBar()->SetScrollRange(200);
    container->SetScrollOffset(SIZE{0, 50}, false);
    container->PlaceAt(container->GetPos(), false);
    // top 20 - 50, bottom 260 + 200 - 50, right 370 - 16.
    ExpectRect(RECT{10, -30, 354, 410}, child->GetPos(), "scrolled child");
    EXPECT_EQ(50, container->ScrollOffset().cy);
    EXPECT_EQ(200, container->ScrollExtent().cy);
    EXPECT_EQ(0, container->ScrollExtent().cx);
}

TEST_F(ContainerWindowTest, WheelScrollsByLineStep)
{
    container->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
    PaintNow();
    container->VerticalBar()->SetScrollRange(100);
    const RECT before = child->GetPos();
    Wheel(100, 100, true);
    // The bar's line size 8 replaces the font step.
    EXPECT_EQ(8, container->ScrollOffset().cy);
    EXPECT_EQ(before.top - 8, child->GetPos().top);
    Wheel(100, 100, false);
    EXPECT_EQ(0, container->ScrollOffset().cy);
    Wheel(100, 100, false);
    EXPECT_EQ(0, container->ScrollOffset().cy);
}

TEST_F(ContainerWindowTest, WheelOverHorizontalBarScrollsSideways)
{
    container->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Shown);
    PaintNow();
    CScrollBarUI* horizontal = container->HorizontalBar();
    horizontal->SetScrollRange(100);
    container->VerticalBar()->SetScrollRange(100);
    horizontal->PlaceAt(RECT{10, 244, 354, 260}, false);
    Wheel(100, 250, true);
    EXPECT_EQ(8, container->ScrollOffset().cx);
    EXPECT_EQ(0, container->ScrollOffset().cy);
    Wheel(100, 100, true);
    EXPECT_EQ(8, container->ScrollOffset().cy);
}

TEST_F(ContainerWindowTest, PageAndEndSteps)
{
    container->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
    container->VerticalBar()->SetScrollRange(1000);
    container->ScrollPageDown();
    // Page = 300 - 20 - 40.
    EXPECT_EQ(240, container->ScrollOffset().cy);
    container->ScrollToTop();
    EXPECT_EQ(0, container->ScrollOffset().cy);
    container->ScrollToBottom();
    EXPECT_EQ(0, container->ScrollOffset().cy) << "scrolls only after the next paint";
    PaintNow();
    EXPECT_EQ(1000, container->ScrollOffset().cy);
}

TEST_F(ContainerWindowTest, HitTestSkipsChildScrolledUnderInset)
{
    container->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
    container->VerticalBar()->SetScrollRange(200);
    container->SetScrollOffset(SIZE{0, 50}, false);
    container->PlaceAt(container->GetPos(), false);
    container->VerticalBar()->PlaceAt(RECT{354, 20, 370, 260}, false);
    EXPECT_EQ(container, host->manager.LocateControl(POINT{100, 10}));
    EXPECT_EQ(child, host->manager.LocateControl(POINT{100, 100}));
    EXPECT_EQ(container->VerticalBar(), host->manager.LocateControl(POINT{360, 100}));
}

TEST_F(ContainerWindowTest, StyleBeforeBarAndUnknownAlignChangeNothing)
{
    container->ApplyAttribute(L"vscrollbarstyle", L"linesize=\"3\"");
    container->ApplyAttribute(L"vscrollbar", L"true");
    ASSERT_NE(nullptr, container->VerticalBar());
    EXPECT_EQ(8, container->VerticalBar()->GetLineSize());
    container->ApplyAttribute(L"vscrollbarstyle", L"linesize=\"3\"");
    EXPECT_EQ(3, container->VerticalBar()->GetLineSize());
    container->ApplyAttribute(L"childalign", L"right");
    container->ApplyAttribute(L"childalign", L"middle");
    EXPECT_EQ(2, container->GetChildAlign());
    container->ApplyAttribute(L"childvalign", L"vcenter");
    EXPECT_EQ(4, container->GetChildVAlign());
    container->ApplyAttribute(L"childpadding", L"-5");
    EXPECT_EQ(0, container->GetChildPadding());
    container->ApplyAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(nullptr, container->VerticalBar());
}

TEST_F(ContainerWindowTest, RemovingHoveredFocusedChildLeavesNoDanglingPointer)
{
    child->SetKeyboardEnabled(true);
    SendMessageW(Window(), WM_MOUSEMOVE, 0, At(100, 100));
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 100));
    host->manager.SetFocus(child, false);
    EXPECT_TRUE(container->Remove(child, ChildDisposal::Destroy));
    EXPECT_EQ(1, CTombstoneControl::Deletions());
    SendMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, At(120, 110));
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(120, 110));
    SendMessageW(Window(), WM_KEYDOWN, 'A', 0);
    SendMessageW(Window(), WM_MOUSEMOVE, 0, At(5, 5));
    EXPECT_EQ(nullptr, host->manager.GetFocus());
}

TEST_F(ContainerWindowTest, DeferredRemovalDeletesOnLaterTurn)
{
    container->SetDeferredDelete(true);
    SendMessageW(Window(), WM_MOUSEMOVE, 0, At(100, 100));
    EXPECT_TRUE(container->Remove(child, ChildDisposal::Destroy));
    EXPECT_EQ(0, CTombstoneControl::Deletions()) << "survives until the cleanup pass";
    EXPECT_EQ(nullptr, child->GetParent());
    PumpMessages();
    EXPECT_EQ(1, CTombstoneControl::Deletions());
    SendMessageW(Window(), WM_MOUSEMOVE, 0, At(110, 110));
}

TEST_F(ContainerWindowTest, RemoveAllWithManyChildrenDeletesEach)
{
    for (int i = 0; i < 2000; ++i)
        container->Add(new CTombstoneControl());
    PaintNow();
    container->RemoveAll();
    EXPECT_EQ(2001, CTombstoneControl::Deletions());
    EXPECT_EQ(0, container->GetCount());
}

}  // namespace
