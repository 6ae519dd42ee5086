// CControlUI placement: PlaceAt with float anchors, the cover's place, Move,
// and what invalidation and layout requests hand to a real window's manager.
#include "ui/control/ControlUI.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

bool NothingPending(HWND window)
{
    const RECT update = PendingUpdate(window);
    return IsRectEmpty(&update) != FALSE;
}

// A parent at (parentRect) and a float child bound to it, no manager.
struct FloatPair
{
    explicit FloatPair(const RECT& parentRect)
    {
        parent.PlaceAt(parentRect, false);
        child = new CControlUI();
        child->BindManager(nullptr, &parent, false);
        child->SetFloat(true);
    }
    ~FloatPair() { child->Delete(); }

    CControlUI parent;
    CControlUI* child;
};

// A host window with a root control placed over the whole client area and
// its update region emptied.
class PlacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = MakeHost(400, 300);
        ASSERT_NE(nullptr, host);
        root = new CControlUI();
        ASSERT_TRUE(host->manager.AttachRootControl(root));
        root->PlaceAt(RECT{0, 0, 400, 300}, false);
        PaintNow();
    }

    // Has the window painted (and so the manager's layout pass run) now,
    // and leaves nothing pending.
    void PaintNow()
    {
        RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
        ValidateRect(Window(), nullptr);
    }

    HWND Window() const { return host->GetHWND(); }

    // A child of root: a cover is the one child a base control can hold.
    CControlUI* AddChild(const RECT& place)
    {
        CControlUI* child = new CControlUI();
        root->SetOverlayControl(child);
        child->PlaceAt(place, false);
        ValidateRect(Window(), nullptr);
        return child;
    }

    std::unique_ptr<CHostWindow> host;
    CControlUI* root = nullptr;
};

}  // namespace

// ---- PlaceAt ---------------------------------------------------------------------------

TEST(ControlPlaceAt, InvertedRectanglesBecomeEmpty)
{
    CControlUI control;
    control.PlaceAt(RECT{50, 40, 10, 20}, false);
    ExpectRect(RECT{50, 40, 50, 40}, control.GetPos(), "inverted");
    EXPECT_EQ(0, control.GetWidth());
    EXPECT_EQ(0, control.GetHeight());
    EXPECT_EQ(50, control.GetX());
    EXPECT_EQ(40, control.GetY());
}

TEST(ControlPlaceAt, WithoutAManagerTheUpdateFlagStays)
{
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 10, 10}, true);
    EXPECT_TRUE(control.IsLayoutPending());
    ExpectRect(RECT{0, 0, 10, 10}, control.ClientRect(), "client");
}

TEST(ControlPlaceAt, RelativeRectIsMeasuredFromTheParent)
{
    CControlUI parent;
    parent.PlaceAt(RECT{100, 50, 300, 250}, false);
    CControlUI* child = new CControlUI();
    child->PlaceAt(RECT{110, 70, 130, 90}, false);
    ExpectRect(RECT{0, 0, 0, 0}, child->RelativeRect(), "no parent");
    child->BindManager(nullptr, &parent, false);
    ExpectRect(RECT{10, 20, 30, 40}, child->RelativeRect(), "relative");
    child->Delete();
}

TEST(ControlPlaceAt, FloatRectangleIsRelativeToTheParent)
{
    FloatPair pair(RECT{100, 50, 300, 250});
    pair.child->PlaceAt(RECT{10, 20, 60, 50}, false);
    ExpectRect(RECT{110, 70, 160, 100}, pair.child->GetPos(), "item");
    // Anchors 0: the fixed place is the given one.
    EXPECT_EQ(10, pair.child->GetFixedXY().cx);
    EXPECT_EQ(20, pair.child->GetFixedXY().cy);
    EXPECT_EQ(50, pair.child->GetFixedWidth());
    EXPECT_EQ(30, pair.child->GetFixedHeight());
}

TEST(ControlPlaceAt, FloatAnchorsDeriveTheFixedPlaceFromTheParentSize)
{
    // Parent 200 x 100; anchors 0.5, 0.25, 0.5, 1.
    FloatPair pair(RECT{0, 0, 200, 100});
    pair.child->SetFloatPercent(0.5, 0.25, 0.5, 1.0);
    pair.child->PlaceAt(RECT{90, 30, 130, 95}, false);
    // fixed X = 90 - trunc(200 x 0.5) = -10; fixed Y = 30 - trunc(100 x 0.25) = 5
    EXPECT_EQ(-10, pair.child->GetFixedXY().cx);
    EXPECT_EQ(5, pair.child->GetFixedXY().cy);
    // width = 130 - trunc(200 x 0.5) - (-10) = 40; height = 95 - 100 - 5 = -10
    EXPECT_EQ(40, pair.child->GetFixedWidth());
    EXPECT_EQ(-10, pair.child->GetFixedHeight());
}

TEST(ControlPlaceAt, FloatAnchorsAreCutTowardZero)
{
    // Parent 33 x 33: 33 x 0.5 = 16.5 cuts to 16, 33 x -0.5 = -16.5 to -16.
    FloatPair pair(RECT{0, 0, 33, 33});
    pair.child->SetFloatPercent(0.5, -0.5, 0.0, 0.0);
    pair.child->PlaceAt(RECT{20, 20, 30, 30}, false);
    EXPECT_EQ(4, pair.child->GetFixedXY().cx);
    EXPECT_EQ(36, pair.child->GetFixedXY().cy);
}

TEST(ControlPlaceAt, FloatWithoutAParentKeepsItsRectangle)
{
    CControlUI control;
    control.PlaceAt(RECT{1, 2, 3, 4}, false);
    control.SetFloat(true);
    control.PlaceAt(RECT{10, 10, 50, 50}, false);
    ExpectRect(RECT{1, 2, 3, 4}, control.GetPos(), "unchanged");
}

TEST(ControlPlaceAt, HugeAnchorsAndRectanglesDoNotOverflow)
{
    FloatPair pair(RECT{INT_MIN, 0, INT_MAX, INT_MAX});
    // The parent's width INT_MAX - INT_MIN is held at INT_MAX.
    EXPECT_EQ(INT_MAX, pair.parent.GetWidth());
    pair.child->SetFloatPercent(1e300, -1e300, 1e300, -1e300);
    pair.child->PlaceAt(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false);
    // Moved by the parent's (INT_MIN, 0): INT_MIN + INT_MIN is held at INT_MIN,
    // INT_MAX + INT_MIN is -1.
    ExpectRect(RECT{INT_MIN, INT_MIN, -1, INT_MAX}, pair.child->GetPos(), "held");
    // x: INT_MIN - (INT_MAX x 1e300, held at INT_MAX) is held at INT_MIN;
    // y: INT_MIN - (INT_MAX x -1e300, held at INT_MIN) is 0.
    EXPECT_EQ(INT_MIN, pair.child->GetFixedXY().cx);
    EXPECT_EQ(0, pair.child->GetFixedXY().cy);
    // A cover over the huge child is placed with held sums as well.
    CControlUI* cover = new CControlUI();
    pair.child->SetOverlayControl(cover);
    cover->SetFloat(true);
    cover->SetFloatPercent(1e300, 1e300, 1e300, 1e300);
    CUIManager manager;
    pair.child->BindManager(&manager, &pair.parent, false);
    pair.child->PlaceAt(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, false);
    // Anchors give INT_MAX (held) on every edge, relative to the child's
    // corner (INT_MIN, INT_MIN): INT_MAX + INT_MIN = -1.
    ExpectRect(RECT{-1, -1, -1, -1}, cover->GetPos(), "cover");
    pair.child->BindManager(nullptr, &pair.parent, false);
}

// ---- The cover -----------------------------------------------------------------------------

TEST(ControlCover, AFloatCoverIsPlacedByItsAnchorsOverTheControl)
{
    CControlUI control;
    CControlUI* cover = new CControlUI();
    control.SetOverlayControl(cover);
    cover->SetFloat(true);
    cover->SetFixedXY(SIZE{5, 6});
    cover->SetFixedWidth(20);
    cover->SetFixedHeight(10);
    cover->SetFloatPercent(0.5, 0.5, 0.5, 0.5);
    std::unique_ptr<CHostWindow> host = MakeHost(400, 300);
    ASSERT_NE(nullptr, host);
    control.BindManager(&host->manager, nullptr, false);
    // Control 100 x 60 at (100, 100): anchors give (50, 30) from its corner,
    // plus the fixed place (5, 6) and size 20 x 10.
    control.PlaceAt(RECT{100, 100, 200, 160}, false);
    ExpectRect(RECT{155, 136, 175, 146}, cover->GetPos(), "cover");
    EXPECT_EQ(5, cover->GetFixedXY().cx);
    EXPECT_EQ(6, cover->GetFixedXY().cy);
    EXPECT_EQ(20, cover->GetFixedWidth());
    control.BindManager(nullptr, nullptr, false);
}

TEST(ControlCover, ANonFloatCoverTakesTheRectangleWithinItsLimits)
{
    std::unique_ptr<CHostWindow> host = MakeHost(400, 300);
    ASSERT_NE(nullptr, host);
    CControlUI control;
    CControlUI* cover = new CControlUI();
    control.SetOverlayControl(cover);
    control.BindManager(&host->manager, nullptr, false);
    cover->SetMaxWidth(50);
    cover->SetMinHeight(80);
    control.PlaceAt(RECT{10, 20, 110, 60}, false);
    // Width 100 held at 50, height 40 raised to 80, left and top kept.
    ExpectRect(RECT{10, 20, 60, 100}, cover->GetPos(), "cover");
    control.BindManager(nullptr, nullptr, false);
}

TEST(ControlCover, AHiddenCoverIsNotPlaced)
{
    std::unique_ptr<CHostWindow> host = MakeHost(400, 300);
    ASSERT_NE(nullptr, host);
    CControlUI control;
    CControlUI* cover = new CControlUI();
    control.SetOverlayControl(cover);
    control.BindManager(&host->manager, nullptr, false);
    cover->SetVisible(false);
    control.PlaceAt(RECT{10, 20, 110, 60}, false);
    ExpectRect(RECT{0, 0, 0, 0}, cover->GetPos(), "cover");
    control.BindManager(nullptr, nullptr, false);
}

TEST(ControlCover, MoveTakesTheCoverAlong)
{
    CControlUI control;
    CControlUI* cover = new CControlUI();
    control.SetOverlayControl(cover);
    control.PlaceAt(RECT{10, 10, 20, 20}, false);
    cover->PlaceAt(RECT{12, 12, 18, 18}, false);
    control.Move(5, -3, false);
    ExpectRect(RECT{15, 7, 25, 17}, control.GetPos(), "control");
    ExpectRect(RECT{17, 9, 23, 15}, cover->GetPos(), "cover");
    cover->SetVisible(false);
    control.Move(1, 1, false);
    ExpectRect(RECT{17, 9, 23, 15}, cover->GetPos(), "hidden cover stays");
}

TEST(ControlCover, ReplacingTheCoverDeletesTheOldOne)
{
    CTombstoneControl::ReleaseTombstones();
    {
        CControlUI control;
        control.SetOverlayControl(new CTombstoneControl());
        EXPECT_EQ(0, CTombstoneControl::Deletions());
        control.SetOverlayControl(new CTombstoneControl());
        EXPECT_EQ(1, CTombstoneControl::Deletions());
        control.SetOverlayControl(nullptr);
        EXPECT_EQ(2, CTombstoneControl::Deletions());
        EXPECT_EQ(nullptr, control.OverlayControl());
        control.SetOverlayControl(new CTombstoneControl());
    }
    // The control's destruction deletes its cover too.
    EXPECT_EQ(3, CTombstoneControl::Deletions());
    CTombstoneControl::ReleaseTombstones();
}

// ---- Invalidation through a real window ----------------------------------------------------

TEST_F(PlacementTest, InvalidateHandsTheItemRectangleToTheWindow)
{
    CControlUI* child = AddChild(RECT{10, 20, 60, 50});
    child->Invalidate();
    ExpectRect(RECT{10, 20, 60, 50}, PendingUpdate(Window()), "update");
}

TEST_F(PlacementTest, InvalidateIsCutByTheAncestors)
{
    root->PlaceAt(RECT{0, 0, 100, 100}, false);
    CControlUI* child = AddChild(RECT{80, 90, 150, 150});
    child->Invalidate();
    ExpectRect(RECT{80, 90, 100, 100}, PendingUpdate(Window()), "cut");
}

TEST_F(PlacementTest, InvalidateOutsideTheAncestorsDoesNothing)
{
    root->PlaceAt(RECT{0, 0, 100, 100}, false);
    CControlUI* child = AddChild(RECT{150, 150, 200, 200});
    child->Invalidate();
    EXPECT_TRUE(NothingPending(Window()));
}

TEST_F(PlacementTest, HiddenControlsInvalidateNothing)
{
    CControlUI* child = AddChild(RECT{10, 20, 60, 50});
    child->SetVisible(false);
    ValidateRect(Window(), nullptr);
    child->Invalidate();
    child->SetText(L"changed");
    EXPECT_TRUE(NothingPending(Window()));
}

TEST_F(PlacementTest, SettersRepaintOnlyOnChange)
{
    CControlUI* child = AddChild(RECT{10, 20, 60, 50});
    child->SetBkColor(0);
    child->SetBorderColor(0);
    child->SetEnabled(true);
    child->SetText(L"");
    EXPECT_TRUE(NothingPending(Window()));
    child->SetBkColor(kRed);
    ExpectRect(RECT{10, 20, 60, 50}, PendingUpdate(Window()), "colour");
    ValidateRect(Window(), nullptr);
    child->SetEnabled(false);
    ExpectRect(RECT{10, 20, 60, 50}, PendingUpdate(Window()), "enabled");
}

TEST_F(PlacementTest, PlaceAtRepaintsTheOldAndTheNewArea)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    child->PlaceAt(RECT{50, 40, 70, 60}, true);
    ExpectRect(RECT{10, 10, 70, 60}, PendingUpdate(Window()), "union");
}

TEST_F(PlacementTest, PlaceAtFromNothingRepaintsOnlyTheNewArea)
{
    CControlUI* child = new CControlUI();
    root->SetOverlayControl(child);
    ValidateRect(Window(), nullptr);
    ASSERT_EQ(0, child->GetWidth());
    child->PlaceAt(RECT{50, 40, 70, 60}, true);
    ExpectRect(RECT{50, 40, 70, 60}, PendingUpdate(Window()), "new only");
}

TEST_F(PlacementTest, PlaceAtUnderAHiddenAncestorRepaintsNothing)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    // Hiding the root hides the child too; the child is shown again on its
    // own flag but stays under a hidden ancestor for the walk.
    root->SetVisible(false);
    child->SetInheritedVisible(true);
    ValidateRect(Window(), nullptr);
    child->PlaceAt(RECT{50, 40, 70, 60}, true);
    EXPECT_TRUE(NothingPending(Window()));
    ExpectRect(RECT{50, 40, 70, 60}, child->GetPos(), "placed anyway");
}

TEST_F(PlacementTest, MoveRepaintsTheOldAndTheNewArea)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    child->Move(20, 5, true);
    ExpectRect(RECT{10, 10, 50, 35}, PendingUpdate(Window()), "moved");
    ValidateRect(Window(), nullptr);
    child->Move(1, 1, false);
    EXPECT_TRUE(NothingPending(Window()));
}

TEST_F(PlacementTest, InvalidationLeftOfTheWindowIsClampedToTheClientArea)
{
    CControlUI* child = AddChild(RECT{-20, -10, 30, 40});
    child->Invalidate();
    // Cut by the root (0, 0, 400, 300) first.
    ExpectRect(RECT{0, 0, 30, 40}, PendingUpdate(Window()), "clamped");
}

// ---- Layout requests -----------------------------------------------------------------------

TEST_F(PlacementTest, RequestLayoutMarksControlAndManager)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    PaintNow();
    ASSERT_FALSE(host->manager.IsLayoutRequested());
    child->PlaceAt(RECT{10, 10, 30, 30}, false);
    EXPECT_FALSE(child->IsLayoutPending());
    child->RequestLayout();
    EXPECT_TRUE(child->IsLayoutPending());
    EXPECT_TRUE(host->manager.IsLayoutRequested());
    ExpectRect(RECT{10, 10, 30, 30}, PendingUpdate(Window()), "repaint");
}

TEST_F(PlacementTest, HiddenControlsRequestNoLayout)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    child->SetVisible(false);
    child->PlaceAt(RECT{10, 10, 30, 30}, false);
    child->RequestLayout();
    EXPECT_FALSE(child->IsLayoutPending());
}

TEST_F(PlacementTest, LayoutPropertiesAskTheParentForLayout)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    root->PlaceAt(RECT{0, 0, 400, 300}, false);
    ASSERT_FALSE(root->IsLayoutPending());
    child->SetFixedWidth(40);
    EXPECT_TRUE(root->IsLayoutPending());
    EXPECT_TRUE(host->manager.IsLayoutRequested());

    const struct
    {
        const char* what;
        void (*change)(CControlUI&);
    } changes[] = {
        {"padding", [](CControlUI& c) { c.SetPadding(RECT{1, 1, 1, 1}); }},
        {"fixed xy", [](CControlUI& c) { c.SetFixedXY(SIZE{3, 3}); }},
        {"float percent", [](CControlUI& c) { c.SetFloatPercent(0.1, 0, 0, 0); }},
        {"fixed height", [](CControlUI& c) { c.SetFixedHeight(9); }},
        {"min width", [](CControlUI& c) { c.SetMinWidth(4); }},
        {"max width", [](CControlUI& c) { c.SetMaxWidth(400); }},
        {"min height", [](CControlUI& c) { c.SetMinHeight(4); }},
        {"max height", [](CControlUI& c) { c.SetMaxHeight(400); }},
        {"float", [](CControlUI& c) { c.SetFloat(true); }},
        {"visible", [](CControlUI& c) { c.SetVisible(false); }},
    };
    for (const auto& change : changes)
    {
        root->PlaceAt(RECT{0, 0, 400, 300}, false);
        ASSERT_FALSE(root->IsLayoutPending());
        change.change(*child);
        EXPECT_TRUE(root->IsLayoutPending()) << change.what;
    }
}

TEST_F(PlacementTest, UnchangedLimitsAskForNothing)
{
    CControlUI* child = AddChild(RECT{10, 10, 30, 30});
    child->SetMinWidth(5);
    root->PlaceAt(RECT{0, 0, 400, 300}, false);
    child->SetMinWidth(5);
    child->SetMaxWidth(9999);
    child->SetFloat(false);
    EXPECT_FALSE(root->IsLayoutPending());
}

TEST_F(PlacementTest, ARootWithoutParentAsksForItsOwnLayout)
{
    root->PlaceAt(RECT{0, 0, 400, 300}, false);
    root->SetPadding(RECT{2, 2, 2, 2});
    EXPECT_TRUE(root->IsLayoutPending());
}

TEST_F(PlacementTest, WindowPaintLaysOutAndPaintsTheRoot)
{
    root->SetBkColor(kGreen);
    root->RequestLayout();
    RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_FALSE(root->IsLayoutPending());
    ExpectRect(RECT{0, 0, 400, 300}, root->GetPos(), "root");
    CSurface surface(400, 300, 0);
    SendMessageW(Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.Dc()), PRF_CLIENT);
    EXPECT_EQ(RgbOf(kGreen), surface.Rgb(5, 5));
    EXPECT_EQ(RgbOf(kGreen), surface.Rgb(399, 299));
}
