// The manager's focus, tab order and control registry through a real window:
// the first paints' focus move, Tab and Shift+Tab with wrap-around, focus
// events and notifications, names, and controls deleted while the manager
// points at them.
#include <windows.h>

#include <gtest/gtest.h>
#include <memory>

#include "tests/core/TreeProbe.h"

using namespace DuiLib;
using DuiLib::test::CManagerHost;
using DuiLib::test::CNotifyRecorder;
using DuiLib::test::CTreeProbe;
using DuiLib::test::PumpMessages;
using DuiLib::test::Trail;

namespace {

void SetShift(bool down)
{
    BYTE keys[256] = {};
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Tab stops a, b, c in a row, d (not a tab stop) after them, in a root that
// is not one.
class FocusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        SetShift(false);
        host = std::make_unique<CManagerHost>();
        ASSERT_NE(nullptr, host->Create(nullptr, L"focus", WS_POPUP, 0, 100, 100, 300, 100));
        window = host->GetHWND();
        ShowWindow(window, SW_SHOWNA);
        SetForegroundWindow(window);
        root = new CTreeProbe(&trail, L"root", RECT{0, 0, 300, 100});
        a = root->Add(new CTreeProbe(&trail, L"a", RECT{10, 10, 60, 40}));
        b = root->Add(new CTreeProbe(&trail, L"b", RECT{70, 10, 120, 40}));
        c = root->Add(new CTreeProbe(&trail, L"c", RECT{130, 10, 180, 40}));
        d = root->Add(new CTreeProbe(&trail, L"d", RECT{190, 10, 240, 40}));
        a->flagBits = b->flagBits = c->flagBits = UIFLAG_TABSTOP;
        Manager().AddListener(&recorder);
        ASSERT_TRUE(Manager().AttachRootControl(root));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
        PumpMessages();
    }

    void TearDown() override
    {
        host.reset();
        SetShift(false);
        PumpMessages();
        EXPECT_EQ(0, CTreeProbe::CallsAfterDeletion()) << "a deleted control was called";
        CTreeProbe::ReleaseTombstones();
    }

    CUIManager& Manager() { return host->manager; }

    void PressTab(bool shift)
    {
        SetShift(shift);
        PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
        PumpMessages();
        SetShift(false);
    }

    // Only the focus lines: the trail without windowinit.
    Trail FocusTrail()
    {
        Trail focus;
        for (const std::wstring& line : trail)
            if (line.find(L"focus") != std::wstring::npos)
                focus.push_back(line);
        trail.clear();
        return focus;
    }

    std::unique_ptr<CManagerHost> host;
    HWND window = nullptr;
    Trail trail;
    CNotifyRecorder recorder{&trail};
    CTreeProbe* root = nullptr;
    CTreeProbe* a = nullptr;
    CTreeProbe* b = nullptr;
    CTreeProbe* c = nullptr;
    CTreeProbe* d = nullptr;
};

}  // namespace

TEST_F(FocusTest, FirstPaintsFocusTheFirstTabStop)
{
    EXPECT_EQ(a, Manager().GetFocus());
    EXPECT_EQ((Trail{L"a setfocus", L"notify setfocus a"}), FocusTrail());
}

TEST_F(FocusTest, TabOnTheLastTabStopWrapsToTheFirst)
{
    PressTab(false);
    EXPECT_EQ(b, Manager().GetFocus());
    PressTab(false);
    EXPECT_EQ(c, Manager().GetFocus());
    PressTab(false);
    EXPECT_EQ(a, Manager().GetFocus()) << "d is no tab stop";
}

TEST_F(FocusTest, ShiftTabOnTheFirstWrapsToTheLast)
{
    PressTab(true);
    EXPECT_EQ(c, Manager().GetFocus());
    PressTab(true);
    EXPECT_EQ(b, Manager().GetFocus());
}

TEST_F(FocusTest, ShiftTabWithoutAFocusControlFocusesTheFirstTabStop)
{
    Manager().SetFocus(nullptr, false);
    ASSERT_EQ(nullptr, Manager().GetFocus());
    PressTab(true);
    EXPECT_EQ(a, Manager().GetFocus()) << "the first tab stop, not the last";
}

TEST_F(FocusTest, HiddenAndDisabledTabStopsAreSkipped)
{
    b->enabled = false;
    c->visible = false;
    PressTab(false);
    EXPECT_EQ(a, Manager().GetFocus()) << "a is the only tab stop left";
}

TEST_F(FocusTest, MovingTheFocusTellsTheOldControlFirstAndEachEventPrecedesItsNotification)
{
    trail.clear();
    IControlUI* killSender = nullptr;
    a->onEvent = [&](CTreeProbe&, UIEvent& event) {
        if (event.type == UIEVENT_KILLFOCUS)
            killSender = event.sender;
    };
    Manager().SetFocus(c, false);
    EXPECT_EQ(c, killSender) << "kill focus names the control that gets the focus";
    EXPECT_EQ((Trail{L"a killfocus", L"notify killfocus a", L"c setfocus", L"notify setfocus c"}), FocusTrail());
    Manager().SetFocus(c, false);
    EXPECT_TRUE(FocusTrail().empty()) << "the focus control again changes nothing";
}

TEST_F(FocusTest, FocusIsNeverGivenToHiddenDisabledOrForeignControls)
{
    b->visible = false;
    Manager().SetFocus(b, false);
    EXPECT_EQ(nullptr, Manager().GetFocus()) << "the focus stays cleared";
    b->visible = true;
    b->enabled = false;
    Manager().SetFocus(b, false);
    EXPECT_EQ(nullptr, Manager().GetFocus());

    CManagerHost other;
    ASSERT_NE(nullptr, other.Create(nullptr, L"other", WS_POPUP, 0, 0, 0, 50, 50));
    CTreeProbe* foreign = new CTreeProbe(&trail, L"foreign", RECT{0, 0, 50, 50});
    other.manager.AttachRootControl(foreign);
    Manager().SetFocus(foreign, false);
    EXPECT_EQ(nullptr, Manager().GetFocus());
}

TEST_F(FocusTest, RequestFocusSoonPlacesTheFocusBeforeTheControlAndTheNextPaintOnIt)
{
    trail.clear();
    Manager().RequestFocusSoon(c);
    EXPECT_EQ(b, Manager().GetFocus()) << "the tab stop before c, silently";
    EXPECT_EQ((Trail{L"a killfocus", L"notify killfocus a"}), FocusTrail());
    EXPECT_TRUE(root->layoutPending);
    PumpMessages();
    EXPECT_EQ(c, Manager().GetFocus());
    EXPECT_EQ((Trail{L"b killfocus", L"notify killfocus b", L"c setfocus", L"notify setfocus c"}), FocusTrail());
}

// A window that must not be activated by clicks keeps the platform focus
// where it is when a control asks for the focus; otherwise the window takes it.
TEST_F(FocusTest, RequestFocusSoonTakesThePlatformFocusOnlyWhenTheWindowMayBeActivated)
{
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 300, 100, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, other);
    ::SetFocus(other);
    ASSERT_EQ(other, ::GetFocus()) << "the other window could not take the focus";
    Manager().SetNoActivate(true);
    Manager().RequestFocusSoon(c);
    EXPECT_EQ(other, ::GetFocus());
    Manager().SetNoActivate(false);
    Manager().RequestFocusSoon(c);
    EXPECT_EQ(window, ::GetFocus());
    DestroyWindow(other);
    PumpMessages();
}

TEST_F(FocusTest, TabWaitsForAPendingLayout)
{
    b->RequestLayout();
    EXPECT_TRUE(Manager().SetTabSuccessor(true));
    EXPECT_EQ(a, Manager().GetFocus()) << "nothing moves before the layout";
    PumpMessages();
    EXPECT_EQ(b, Manager().GetFocus());
}

TEST_F(FocusTest, ControlDeletingItselfOnKillFocusLeavesTheFocusToTheNextOne)
{
    trail.clear();
    a->onEvent = [&](CTreeProbe& probe, UIEvent& event) {
        if (event.type == UIEVENT_KILLFOCUS)
            probe.Delete();
    };
    Manager().SetFocus(b, false);
    EXPECT_EQ(b, Manager().GetFocus());
    EXPECT_EQ((Trail{L"a killfocus", L"b setfocus", L"notify setfocus b"}), FocusTrail())
        << "no notification for a control that is gone";
}

TEST_F(FocusTest, ControlDeletingItselfOnSetFocusLeavesNoFocus)
{
    b->onEvent = [&](CTreeProbe& probe, UIEvent& event) {
        if (event.type == UIEVENT_SETFOCUS)
            probe.Delete();
    };
    Manager().SetFocus(b, false);
    EXPECT_EQ(nullptr, Manager().GetFocus());
    PressTab(false);
    EXPECT_EQ(a, Manager().GetFocus());
}

TEST_F(FocusTest, DeletingTheFocusHoverClickAndKeyControlsLeavesNothingToCall)
{
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(80, 20));   // hover b
    SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20)); // click and focus a
    SendMessageW(window, WM_KEYDOWN, 'K', 0);                    // key-press a
    ASSERT_EQ(a, Manager().GetFocus());
    a->Delete();
    b->Delete();
    EXPECT_EQ(nullptr, Manager().GetFocus());
    SendMessageW(window, WM_KEYUP, 'K', 0);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(200, 20));
    EXPECT_EQ(0, CTreeProbe::CallsAfterDeletion());
}

TEST_F(FocusTest, NamesFindTheLaterOfTwoControlsAndLeaveWithTheControl)
{
    EXPECT_EQ(b, Manager().LocateControl(L"b"));
    EXPECT_EQ(nullptr, Manager().LocateControl(L"zz"));
    EXPECT_EQ(nullptr, Manager().LocateControl(static_cast<const wchar_t*>(nullptr)));
    CTreeProbe* twin = root->Add(new CTreeProbe(&trail, L"b", RECT{0, 0, 1, 1}));
    EXPECT_EQ(twin, Manager().LocateControl(L"b"));
    twin->Delete();
    EXPECT_EQ(nullptr, Manager().LocateControl(L"b")) << "the name left with the control that held it";
}

TEST_F(FocusTest, RenameControlToANameAnotherControlHoldsChangesNothing)
{
    EXPECT_FALSE(Manager().RenameControl(a, L"b"));
    EXPECT_EQ(L"a", a->GetName());
    EXPECT_EQ(a, Manager().LocateControl(L"a"));
    EXPECT_EQ(b, Manager().LocateControl(L"b"));
    EXPECT_FALSE(Manager().RenameControl(nullptr, L"x"));
    EXPECT_FALSE(Manager().RenameControl(a, L""));
    EXPECT_TRUE(Manager().RenameControl(a, L"a"));

    EXPECT_TRUE(Manager().RenameControl(a, L"first"));
    EXPECT_EQ(L"first", a->GetName());
    EXPECT_EQ(a, Manager().LocateControl(L"first"));
    EXPECT_EQ(nullptr, Manager().LocateControl(L"a"));
}

TEST_F(FocusTest, RenameControlRegistersAControlThatStoredItsNameFirst)
{
    c->SetName(L"late");
    EXPECT_TRUE(Manager().RenameControl(c, L"late"));
    EXPECT_EQ(c, Manager().LocateControl(L"late"));
    EXPECT_EQ(nullptr, Manager().LocateControl(L"c"));
}

TEST_F(FocusTest, AttachingANewRootQueuesTheOldTreeAndStartsOver)
{
    CTreeProbe* next = new CTreeProbe(&trail, L"next", RECT{0, 0, 300, 100});
    CTreeProbe* e = next->Add(new CTreeProbe(&trail, L"e", RECT{0, 0, 10, 10}));
    e->flagBits = UIFLAG_TABSTOP;
    trail.clear();
    ASSERT_TRUE(Manager().AttachRootControl(next));
    EXPECT_EQ(nullptr, Manager().GetFocus());
    EXPECT_EQ((Trail{L"a killfocus", L"notify killfocus a"}), trail);
    trail.clear();
    EXPECT_EQ(nullptr, Manager().LocateControl(L"a"));
    EXPECT_TRUE(CTreeProbe::Destroyed().empty()) << "the old tree goes at the next pump";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    PumpMessages();
    EXPECT_EQ(5u, CTreeProbe::Destroyed().size());
    EXPECT_EQ((Trail{L"notify windowinit next", L"e setfocus", L"notify setfocus e"}), trail);
}
