// A control deleted while its manager still refers to it: as the focus,
// hover, click, key-press or tool-tip control, a timer owner, a queued
// notification's sender, a named or grouped control or a leave watcher. The
// control's destruction goes through ForgetControl, so the manager never
// reaches it again; a tombstone counts every event that still would.
#include "ui/control/ControlUI.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

class ControlLifetimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CTombstoneControl::ReleaseTombstones();
        host = MakeHost(400, 300);
        ASSERT_NE(nullptr, host);
        ASSERT_TRUE(Manager().AddListener(&recorder));
        root = new CTombstoneControl();
        ASSERT_TRUE(Manager().AttachRootControl(root));
        root->PlaceAt(RECT{0, 0, 400, 300}, false);
        child = new CTombstoneControl();
        root->SetOverlayControl(child);
        child->PlaceAt(RECT{50, 50, 150, 100}, false);
        ParkCursor();
    }

    void TearDown() override
    {
        host.reset();
        PumpMessages();
        EXPECT_EQ(0, CTombstoneControl::EventsAfterDeletion()) << "an event reached a deleted control";
        CTombstoneControl::ReleaseTombstones();
    }

    CUIManager& Manager() { return host->manager; }
    HWND Window() const { return host->GetHWND(); }

    static void ParkCursor()
    {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    }

    LPARAM At(int x, int y) const
    {
        POINT point = {x, y};
        ClientToScreen(Window(), &point);
        SetCursorPos(point.x, point.y);
        return MAKELPARAM(x, y);
    }

    void MouseMove(int x, int y) { SendMessageW(Window(), WM_MOUSEMOVE, 0, At(x, y)); }

    // The child goes away as a replaced cover does: through Delete.
    void DeleteChild()
    {
        const int before = CTombstoneControl::Deletions();
        root->SetOverlayControl(nullptr);
        ASSERT_EQ(before + 1, CTombstoneControl::Deletions());
        child = nullptr;
    }

    CNotifyRecorder recorder;
    std::unique_ptr<CHostWindow> host;
    CTombstoneControl* root = nullptr;
    CTombstoneControl* child = nullptr;
};

}  // namespace

TEST_F(ControlLifetimeTest, DeletingTheFocusedControlClearsTheFocus)
{
    child->SetFocus();
    ASSERT_EQ(child, Manager().GetFocus());
    EXPECT_TRUE(child->IsFocused());
    DeleteChild();
    EXPECT_EQ(nullptr, Manager().GetFocus());
    SendMessageW(Window(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(Window(), WM_CHAR, L' ', 0);
    SendMessageW(Window(), WM_KEYUP, VK_SPACE, 0);
}

TEST_F(ControlLifetimeTest, DeletingTheHoverControlLeavesNoLeaveForIt)
{
    MouseMove(100, 75);
    ASSERT_FALSE(child->events.empty());
    EXPECT_EQ(UIEVENT_MOUSEENTER, child->events.front());
    DeleteChild();
    MouseMove(10, 10);
    MouseMove(300, 200);
    SendMessageW(Window(), WM_MOUSELEAVE, 0, 0);
}

TEST_F(ControlLifetimeTest, DeletingThePressedControlEndsTheClickQuietly)
{
    SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, At(100, 75));
    ASSERT_FALSE(child->events.empty());
    DeleteChild();
    MouseMove(120, 80);
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(120, 80));
    SendMessageW(Window(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(120, 80));
    SendMessageW(Window(), WM_LBUTTONUP, 0, At(120, 80));
}

TEST_F(ControlLifetimeTest, DeletingTheKeyPressControlEndsTheKeyQuietly)
{
    child->SetFocus();
    SendMessageW(Window(), WM_KEYDOWN, 'A', 0);
    ASSERT_FALSE(child->events.empty());
    EXPECT_EQ(UIEVENT_KEYDOWN, child->events.back());
    DeleteChild();
    SendMessageW(Window(), WM_KEYUP, 'A', 0);
}

TEST_F(ControlLifetimeTest, DeletingTheToolTipControlForgetsIt)
{
    child->SetToolTip(L"first<n>second");
    root->SetToolTip(L"root tip");
    MouseMove(100, 75);
    SendMessageW(Window(), WM_MOUSEHOVER, 0, At(100, 75));
    ASSERT_FALSE(child->events.empty());
    EXPECT_EQ(UIEVENT_MOUSEHOVER, child->events.back());
    DeleteChild();
    SendMessageW(Window(), WM_MOUSEHOVER, 0, At(100, 75));
    MouseMove(10, 10);
    SendMessageW(Window(), WM_MOUSEHOVER, 0, At(10, 10));
    EXPECT_EQ(0, CTombstoneControl::EventsAfterDeletion());
    EXPECT_FALSE(root->events.empty());
}

TEST_F(ControlLifetimeTest, DeletingATimerOwnerStopsItsTimers)
{
    ASSERT_TRUE(Manager().SetTimer(child, 7, 10));
    ASSERT_TRUE(PumpUntil([this] { return !recorder.OfType(L"timer").empty(); }, 2000)) << "the timer never ticked";
    const std::vector<RecordedNotify> ticks = recorder.OfType(L"timer");
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(static_cast<IControlUI*>(child), ticks[0].sender);
    EXPECT_EQ(7u, ticks[0].wParam);
    DeleteChild();
    recorder.received.clear();
    const DWORD start = GetTickCount();
    PumpUntil([start] { return GetTickCount() - start > 100; }, 1000);
    EXPECT_TRUE(recorder.OfType(L"timer").empty());
    // The key is free for a new control.
    CControlUI* next = new CControlUI();
    root->SetOverlayControl(next);
    EXPECT_TRUE(Manager().SetTimer(next, 7, 10));
    EXPECT_TRUE(Manager().KillTimer(next, 7));
}

TEST_F(ControlLifetimeTest, DeletingTheSenderOfAQueuedNotificationLeavesItWithoutSender)
{
    Manager().RaiseNotify(child, L"scroll", 3, 4, true, false);
    DeleteChild();
    ASSERT_TRUE(PumpUntil([this] { return !recorder.OfType(L"scroll").empty(); }, 2000));
    const std::vector<RecordedNotify> scrolls = recorder.OfType(L"scroll");
    ASSERT_EQ(1u, scrolls.size());
    EXPECT_EQ(nullptr, scrolls[0].sender);
    EXPECT_EQ(3u, scrolls[0].wParam);
}

TEST_F(ControlLifetimeTest, DeletingANamedControlRemovesItsName)
{
    child->SetName(L"pane");
    ASSERT_EQ(child, Manager().LocateControl(L"pane"));
    DeleteChild();
    EXPECT_EQ(nullptr, Manager().LocateControl(L"pane"));
}

TEST_F(ControlLifetimeTest, DeletingAGroupedControlLeavesItsGroup)
{
    ASSERT_TRUE(Manager().JoinOptionGroup(L"choices", child));
    DeleteChild();
    EXPECT_EQ(nullptr, Manager().OptionGroupMembers(L"choices"));
}

TEST_F(ControlLifetimeTest, DeletingALeaveWatcherUnregistersIt)
{
    ASSERT_TRUE(Manager().AddLeaveWatcher(child));
    DeleteChild();
    // Watchers hear every leave of the hover control.
    MouseMove(300, 200);
    MouseMove(10, 10);
    SendMessageW(Window(), WM_MOUSELEAVE, 0, 0);
    CControlUI* next = new CControlUI();
    root->SetOverlayControl(next);
    EXPECT_TRUE(Manager().AddLeaveWatcher(next));
}

TEST_F(ControlLifetimeTest, DeletingTheCoverOwnerDeletesTheCoverThroughTheManager)
{
    CTombstoneControl* grandchild = new CTombstoneControl();
    child->SetOverlayControl(grandchild);
    grandchild->SetName(L"inner");
    grandchild->SetFocus();
    ASSERT_EQ(grandchild, Manager().GetFocus());
    const int before = CTombstoneControl::Deletions();
    root->SetOverlayControl(nullptr);
    child = nullptr;
    EXPECT_EQ(before + 2, CTombstoneControl::Deletions());
    EXPECT_EQ(nullptr, Manager().GetFocus());
    EXPECT_EQ(nullptr, Manager().LocateControl(L"inner"));
}

TEST_F(ControlLifetimeTest, HidingTheFocusedControlClearsTheFocus)
{
    child->SetFocus();
    ASSERT_EQ(child, Manager().GetFocus());
    child->SetVisible(false);
    EXPECT_EQ(nullptr, Manager().GetFocus());
    EXPECT_FALSE(child->IsFocused());

    child->SetVisible(true);
    child->SetFocus();
    ASSERT_EQ(child, Manager().GetFocus());
    // The parent hides: the cover loses visibility from above.
    root->SetVisible(false);
    EXPECT_EQ(nullptr, Manager().GetFocus());
}

TEST_F(ControlLifetimeTest, HidingAnotherControlKeepsTheFocus)
{
    child->SetFocus();
    CControlUI* other = new CControlUI();
    child->SetOverlayControl(other);
    other->SetVisible(false);
    EXPECT_EQ(child, Manager().GetFocus());
}

TEST_F(ControlLifetimeTest, SetFocusGoesThroughTheManagerAndItsRules)
{
    child->SetEnabled(false);
    child->SetFocus();
    EXPECT_EQ(nullptr, Manager().GetFocus());
    child->SetEnabled(true);
    child->SetFocus();
    EXPECT_EQ(child, Manager().GetFocus());
    EXPECT_TRUE(child->IsFocused());
    root->SetFocus();
    EXPECT_FALSE(child->IsFocused());
    EXPECT_EQ(root, Manager().GetFocus());
    CControlUI detached;
    detached.SetFocus();  // no manager: nothing happens
    EXPECT_EQ(root, Manager().GetFocus());
}

// The references every holder above uses: a copy made before a control goes
// reads null with the original; a forgotten control is seen again by new
// references only; one that has ended by none.
TEST(ControlRef, CopiesReadNullOnceTheControlGoesAndForgettingIsNotEnding)
{
    CControlUI* control = new CControlUI();
    CControlRef first(control);
    CControlRef copy = first;
    CControlRef moved{CControlRef(control)};
    ASSERT_EQ(control, first.Get());
    ASSERT_EQ(control, copy.Get());
    ASSERT_EQ(control, moved.Get());

    control->ForgetReferences();
    EXPECT_EQ(nullptr, first.Get());
    EXPECT_EQ(nullptr, copy.Get());
    EXPECT_EQ(nullptr, moved.Get());
    CControlRef later(control);
    EXPECT_EQ(control, later.Get()) << "a forgotten control is still alive";

    std::vector<CControlRef> list = {later, later};
    control->Delete();
    EXPECT_EQ(nullptr, later.Get());
    EXPECT_FALSE(ListsControl(list, control));
    EXPECT_FALSE(UnlistControl(list, control));
    first = copy;
    EXPECT_EQ(nullptr, first.Get());
}

// A control that took a new name while on loan to the builder is registered
// under it when renamed again; the old name it left behind goes, and no other
// control's name goes with it.
TEST_F(ControlLifetimeTest, NameTakenOnLoanReplacesTheOldOneAndOnlyThatOne)
{
    child->SetName(L"old");
    root->SetName(L"other");
    ASSERT_EQ(child, Manager().LocateControl(L"old"));
    Manager().LendResources(child);
    child->SetName(L"new");
    Manager().LendResources(nullptr);
    EXPECT_EQ(nullptr, Manager().LocateControl(L"new")) << "a borrower registers nothing";
    EXPECT_TRUE(Manager().RenameControl(child, L"new"));
    EXPECT_EQ(child, Manager().LocateControl(L"new"));
    EXPECT_EQ(nullptr, Manager().LocateControl(L"old"));
    EXPECT_EQ(root, Manager().LocateControl(L"other"));
}
