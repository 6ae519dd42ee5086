// The manager's message and input dispatch, driven through a real window:
// sent and posted messages, the real cursor, capture, focus and tool tips.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "tests/core/ProbeControl.h"
#include "ui/core/MessageFilter.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

using namespace DuiLib;
using DuiLib::test::CProbeControl;
using DuiLib::test::Journal;
using Trails = std::vector<std::wstring>;

namespace {

// A window that gives every message to its manager first, as the
// application's windows do.
class CDispatchHost : public CWindowWnd
{
public:
    const wchar_t* WindowClassName() const override { return L"KalvexDispatchHost"; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CREATE)
            manager.AttachWindow(GetHWND(), L"dispatch");
        LRESULT result = 0;
        if (manager.RouteMessage(message, wParam, lParam, result))
            return result;
        return CallPreviousProcedure(message, wParam, lParam);
    }

    CUIManager manager;
};

// A child window that records what it is sent and answers reflected
// messages with 4321.
class CRecorderWnd : public CWindowWnd
{
public:
    const wchar_t* WindowClassName() const override { return L"KalvexDispatchRecorder"; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(MSG{GetHWND(), message, wParam, lParam, 0, {0, 0}});
        return message >= 0x2000 && message < 0x3000 ? 4321 : CallPreviousProcedure(message, wParam, lParam);
    }
    const MSG* Find(UINT message) const
    {
        for (const MSG& m : messages)
            if (m.message == message)
                return &m;
        return nullptr;
    }

    std::vector<MSG> messages;
};

class CClaimingFilter : public IMessageFilterUI
{
public:
    LRESULT RouteMessage(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        handled = message == WM_MOUSEMOVE;
        return 77;
    }
};

// Writes its letter for every keyboard or mouse message it is asked about
// (the platform's own messages to the window would only blur the record),
// and claims one kind of message with 55.
class CLetterFilter : public IMessageFilterUI
{
public:
    CLetterFilter(std::wstring* asked, wchar_t letter, UINT claims) : m_asked(asked), m_letter(letter), m_claims(claims)
    {
    }
    LRESULT RouteMessage(UINT message, WPARAM, LPARAM, bool& handled) override
    {
        if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST))
            *m_asked += m_letter;
        handled = message == m_claims;
        return 55;
    }

private:
    std::wstring* m_asked;
    wchar_t m_letter;
    UINT m_claims;
};

class CKeyEater : public ITranslateAccelerator
{
public:
    LRESULT TranslateKey(const MSG& message) override
    {
        return message.message == WM_KEYDOWN && message.wParam == 'Z' ? 0 : 1;
    }
};

const wchar_t* EventName(int type)
{
    static const wchar_t* const kNames[] = {
        L"?",        L"first",      L"keys",      L"keydown",     L"keyup",      L"char",     L"syskey",
        L"keys-end", L"mouse",      L"move",      L"leave",       L"enter",      L"hover",    L"down",
        L"up",       L"rdown",      L"dblclick",  L"contextmenu", L"wheel",      L"mouse-end", L"killfocus",
        L"setfocus", L"windowsize", L"setcursor", L"timer"};
    return type >= 0 && type <= UIEVENT_TIMER ? kNames[type] : L"?";
}

void SetKeys(std::initializer_list<int> down)
{
    BYTE keys[256] = {};
    for (int key : down)
        keys[key] = 0x80;
    SetKeyboardState(keys);
}

BOOL CALLBACK MatchToolTip(HWND candidate, LPARAM data)
{
    HWND* found = reinterpret_cast<HWND*>(data);
    wchar_t name[64] = {};
    GetClassNameW(candidate, name, 64);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(candidate, GW_OWNER) == *found)
    {
        *found = candidate;
        return FALSE;
    }
    return TRUE;
}

// The probes: a (10,10)-(110,60), b (120,10)-(220,60) and c (10,100)-(110,150)
// in a root that fills the 400 x 300 client area.
class DispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        SetKeys({});
        ParkCursor();
        host = std::make_unique<CDispatchHost>();
        ASSERT_NE(nullptr, host->Create(nullptr, L"dispatch", WS_POPUP, 0, 100, 100, 400, 300));
        window = host->GetHWND();
        // Shown without activation and then brought forward: Wine waits two
        // seconds when it destroys a window it activated while showing it.
        ShowWindow(window, SW_SHOWNA);
        SetForegroundWindow(window);
        ::SetFocus(window);

        root = new CProbeControl(&journal, L"root", RECT{0, 0, 400, 300});
        a = root->Add(new CProbeControl(&journal, L"a", RECT{10, 10, 110, 60}));
        b = root->Add(new CProbeControl(&journal, L"b", RECT{120, 10, 220, 60}));
        c = root->Add(new CProbeControl(&journal, L"c", RECT{10, 100, 110, 150}));
        ASSERT_TRUE(Manager().AttachRootControl(root));
        // The first paints lay the tree out and make their own focus move;
        // the tests start after them.
        InvalidateRect(window, nullptr, FALSE);
        Pump();
    }

    void TearDown() override
    {
        host.reset();
        for (HWND other : others)
            DestroyWindow(other);
        SetKeys({});
        Pump();
        EXPECT_EQ(0, CProbeControl::EventsAfterDeletion()) << "an event reached a deleted control";
        CProbeControl::ReleaseTombstones();
    }

    CUIManager& Manager() { return host->manager; }

    static void ParkCursor() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2); }

    void PlaceCursor(int x, int y)
    {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        SetCursorPos(point.x, point.y);
    }

    // The real cursor goes along, so the platform's own tracking agrees.
    void MoveTo(int x, int y)
    {
        PlaceCursor(x, y);
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    LPARAM ScreenPoint(int x, int y)
    {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        return MAKELPARAM(point.x, point.y);
    }

    static void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (!CUIManager::FilterBeforeDispatch(message))
            {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    HWND MakeOtherWindow()
    {
        HWND other =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 600, 500, 50, 50, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(other, SW_SHOWNA);
        others.push_back(other);
        return other;
    }

    // "name event" per delivery, in order; the journal is emptied.
    Trails Trail()
    {
        Trails trail;
        for (const auto& delivery : journal)
            trail.push_back(delivery.target + L" " + EventName(delivery.event.type));
        journal.clear();
        return trail;
    }

    // The last event of that type the probe received; fails the test when none.
    UIEvent Last(const wchar_t* target, UIEventType type) const
    {
        for (auto it = journal.rbegin(); it != journal.rend(); ++it)
            if (it->target == target && it->event.type == type)
                return it->event;
        ADD_FAILURE() << "no " << EventName(type) << " event";
        return UIEvent{};
    }

    HWND FindToolTip() const
    {
        HWND found = window;
        EnumThreadWindows(GetCurrentThreadId(), MatchToolTip, reinterpret_cast<LPARAM>(&found));
        return found != window ? found : nullptr;
    }

    std::wstring ToolText(HWND tip) const
    {
        wchar_t text[128] = {};
        TOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
        return text;
    }

    std::unique_ptr<CDispatchHost> host;
    HWND window = nullptr;
    std::vector<HWND> others;
    Journal journal;
    CProbeControl* root = nullptr;
    CProbeControl* a = nullptr;
    CProbeControl* b = nullptr;
    CProbeControl* c = nullptr;
};

// ---- Hover and capture ------------------------------------------------------

TEST_F(DispatchTest, MouseMovesEnterMoveAndLeaveWithTheHeldModifiers)
{
    SetKeys({VK_SHIFT, VK_CONTROL, VK_MENU});
    MoveTo(20, 20);
    EXPECT_EQ(UIKEY_SHIFT | UIKEY_CONTROL | UIKEY_ALT, Last(L"a", UIEVENT_MOUSEENTER).keyState);
    EXPECT_EQ((Trails{L"a enter", L"a move"}), Trail());
    MoveTo(130, 25);
    EXPECT_EQ(a, Last(L"a", UIEVENT_MOUSELEAVE).sender);
    const UIEvent enter = Last(L"b", UIEVENT_MOUSEENTER);
    EXPECT_EQ(b, enter.sender);
    EXPECT_EQ(130, enter.mousePoint.x);
    EXPECT_EQ(MAKELPARAM(130, 25), enter.lParam);
    EXPECT_EQ((Trails{L"a leave", L"b enter", L"b move"}), Trail());
}

TEST_F(DispatchTest, LeaveWatchersHearTheLeaveBeforeTheHoverControl)
{
    EXPECT_TRUE(Manager().AddLeaveWatcher(c));
    EXPECT_FALSE(Manager().AddLeaveWatcher(c));
    MoveTo(20, 20);
    journal.clear();
    MoveTo(130, 20);
    EXPECT_EQ(a, Last(L"c", UIEVENT_MOUSELEAVE).sender);
    EXPECT_EQ((Trails{L"c leave", L"a leave", L"b enter", L"b move"}), Trail());
    EXPECT_TRUE(Manager().RemoveLeaveWatcher(c));
    EXPECT_FALSE(Manager().RemoveLeaveWatcher(c));
}

TEST_F(DispatchTest, MouseLeaveMovesToTheCursorOrLeavesWhenItIsOutside)
{
    MoveTo(20, 20);
    journal.clear();
    PlaceCursor(150, 30);  // the platform saw the mouse leave onto b
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ((Trails{L"a leave", L"b enter", L"b move"}), Trail());
    // The leave used up the tracking request; the next move makes another.
    MoveTo(150, 30);
    journal.clear();
    ParkCursor();
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ((Trails{L"b leave"}), Trail());
}

TEST_F(DispatchTest, PressMoveOffAndReleaseDeliversButtonUpToThePressedControl)
{
    MoveTo(20, 20);
    journal.clear();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(20, 20));
    EXPECT_EQ(MK_LBUTTON | MK_SHIFT, Last(L"a", UIEVENT_BUTTONDOWN).keyState);
    EXPECT_EQ((Trails{L"a setfocus", L"a down"}), Trail());
    EXPECT_EQ(window, GetCapture());
    EXPECT_TRUE(Manager().IsCaptured());

    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -30));
    EXPECT_EQ(-40, Last(L"a", UIEVENT_MOUSEMOVE).mousePoint.x);
    EXPECT_EQ((Trails{L"a move"}), Trail());  // captured: no leave
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(-40, -30));
    EXPECT_EQ(-30, Last(L"a", UIEVENT_BUTTONUP).mousePoint.y);
    EXPECT_EQ((Trails{L"a up"}), Trail());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_FALSE(Manager().IsCaptured());

    MoveTo(130, 20);
    EXPECT_EQ((Trails{L"a leave", L"b enter", L"b move"}), Trail());
}

TEST_F(DispatchTest, DoubleClickCapturesAndRightPressOpensTheContextMenu)
{
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 110));
    EXPECT_TRUE(Manager().IsCaptured());
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 110));
    EXPECT_EQ((Trails{L"c dblclick", L"c up"}), Trail());

    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(130, 20));
    EXPECT_FALSE(Manager().IsCaptured());
    // The platform's default handling of the release sends WM_CONTEXTMENU.
    SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(130, 20));
    const UIEvent menu = Last(L"b", UIEVENT_CONTEXTMENU);
    EXPECT_EQ(reinterpret_cast<LPARAM>(b), menu.lParam);
    EXPECT_EQ(130, menu.mousePoint.x);
    EXPECT_EQ((Trails{L"b setfocus", L"b rdown", L"b contextmenu"}), Trail());
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), ScreenPoint(130, 20));
    EXPECT_TRUE(journal.empty()) << "the click control ends with the context menu";
}

TEST_F(DispatchTest, CaptureTakenByAnotherWindowIsNoLongerCounted)
{
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SetCapture(MakeOtherWindow());
    EXPECT_FALSE(Manager().IsCaptured());
    journal.clear();
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ((Trails{L"a up"}), Trail());
    ReleaseCapture();
}

TEST_F(DispatchTest, WheelReachesControlsOnlyWhileTheWindowHasTheFocus)
{
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), ScreenPoint(20, 20));
    EXPECT_EQ(1u, Last(L"a", UIEVENT_SCROLLWHEEL).wParam);
    EXPECT_EQ(ScreenPoint(20, 20), Last(L"a", UIEVENT_SCROLLWHEEL).lParam);
    EXPECT_EQ((Trails{L"a wheel", L"a enter", L"a move"}), Trail());
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenPoint(20, 20));
    EXPECT_EQ(0u, Last(L"a", UIEVENT_SCROLLWHEEL).wParam);
    journal.clear();

    ::SetFocus(MakeOtherWindow());
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), ScreenPoint(20, 20));
    EXPECT_TRUE(journal.empty());
}

TEST_F(DispatchTest, NoActivateKeepsAClickFromTakingTheFocus)
{
    Manager().SetNoActivate(true);
    LRESULT result = 0;
    EXPECT_TRUE(Manager().RouteMessage(WM_MOUSEACTIVATE, 0, 0, result));
    EXPECT_EQ(MA_NOACTIVATE, result);
    HWND other = MakeOtherWindow();
    ::SetFocus(other);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(other, GetFocus());
    EXPECT_EQ((Trails{L"a setfocus", L"a down"}), Trail()) << "the control still takes the focus";
}

TEST_F(DispatchTest, SetCursorGoesOnlyToControlsThatAskForIt)
{
    a->flagBits = UIFLAG_SETCURSOR;
    PlaceCursor(20, 20);
    EXPECT_EQ(TRUE, SendMessageW(window, WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ((Trails{L"a setcursor"}), Trail());
    LRESULT result = 0;
    EXPECT_FALSE(Manager().RouteMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), result));
    PlaceCursor(130, 20);
    EXPECT_FALSE(Manager().RouteMessage(WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result));
    EXPECT_TRUE(journal.empty());
}

// ---- Keyboard and pre-translation ---------------------------------------------

TEST_F(DispatchTest, KeysGoToTheFocusAndKeyUpToTheControlThatSawKeyDown)
{
    Manager().SetFocus(a, false);
    SendMessageW(window, WM_KEYDOWN, 'K', 0);
    EXPECT_EQ(L'K', Last(L"a", UIEVENT_KEYDOWN).key);
    Manager().SetFocus(b, false);
    journal.clear();
    SendMessageW(window, WM_KEYUP, 'K', 0);
    SendMessageW(window, WM_CHAR, 'k', 0);
    SendMessageW(window, WM_KEYUP, 'K', 0);
    EXPECT_EQ((Trails{L"a keyup", L"b char"}), Trail());
}

TEST_F(DispatchTest, TabOnTheLastTabStopWrapsToTheFirstAndShiftTabBack)
{
    a->flagBits = b->flagBits = c->flagBits = UIFLAG_TABSTOP;
    Manager().SetFocus(c, false);
    journal.clear();
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(a, Last(L"c", UIEVENT_KILLFOCUS).sender);
    EXPECT_EQ((Trails{L"c killfocus", L"a setfocus"}), Trail()) << "Tab itself is consumed";

    SetKeys({VK_SHIFT});
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(c, Manager().GetFocus());
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(b, Manager().GetFocus());
}

TEST_F(DispatchTest, TabIsLeftToAFocusedRichEditThatWantsTabs)
{
    a->flagBits = c->flagBits = UIFLAG_TABSTOP;
    c->className = L"RichEditUI";
    c->attributes[L"wanttab"] = L"true";
    Manager().SetFocus(c, false);
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(c, Manager().GetFocus());
    EXPECT_EQ(VK_TAB, Last(L"c", UIEVENT_KEYDOWN).key);

    c->enabled = false;
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(a, Manager().GetFocus()) << "a disabled rich edit does not take the tab";
}

TEST_F(DispatchTest, AltLetterActivatesTheControlALabelPassesItsShortcutTo)
{
    // The search runs top first, from the last child back: label b is met
    // before a, the control it names.
    b->className = L"LabelUI";
    b->shortcut = L'n';
    c->shortcut = L'X';
    PostMessageW(window, WM_SYSCHAR, 'N', 0);
    Pump();
    EXPECT_EQ(a, Manager().GetFocus());
    EXPECT_EQ(1, a->activations);
    EXPECT_EQ(0, b->activations);

    EXPECT_TRUE(CUIManager::FilterBeforeDispatch(MSG{window, WM_SYSCHAR, 'x', 0, 0, {0, 0}}));
    EXPECT_EQ(1, c->activations);
    EXPECT_FALSE(CUIManager::FilterBeforeDispatch(MSG{window, WM_SYSCHAR, 'q', 0, 0, {0, 0}}));
}

TEST_F(DispatchTest, FilterThatClaimsMouseMoveStillUpdatesTheLastMousePosition)
{
    CClaimingFilter filter;
    EXPECT_FALSE(Manager().AddFilter(nullptr));
    EXPECT_TRUE(Manager().AddFilter(&filter));
    EXPECT_EQ(77, SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(33, 44)));
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(Manager().RemoveFilter(&filter));

    // The system-key event reports the last mouse position.
    Manager().SetFocus(b, false);
    LRESULT result = 0;
    EXPECT_FALSE(Manager().PreRouteMessage(WM_SYSKEYDOWN, 'F', 0x20000000, result));
    const UIEvent key = Last(L"b", UIEVENT_SYSKEY);
    EXPECT_EQ(L'F', key.key);
    EXPECT_EQ(33, key.mousePoint.x);
    EXPECT_EQ(44, key.mousePoint.y);
    EXPECT_EQ(0, key.lParam);
}

TEST_F(DispatchTest, FiltersAreAskedInOrderAndTheFirstClaimStopsTheMessage)
{
    std::wstring asked;
    CLetterFilter first(&asked, L'1', WM_NULL);
    CLetterFilter claimer(&asked, L'2', WM_LBUTTONDOWN);
    CLetterFilter last(&asked, L'3', WM_NULL);
    Manager().AddFilter(&first);
    Manager().AddFilter(&claimer);
    Manager().AddFilter(&last);

    EXPECT_EQ(55, SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)));
    EXPECT_EQ(L"12", asked);
    EXPECT_TRUE(journal.empty());
    EXPECT_FALSE(Manager().IsCaptured());

    // Unclaimed, the message passes every filter and reaches the control.
    asked.clear();
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(L"123", asked);
    EXPECT_EQ((Trails{L"a enter", L"a move"}), Trail());

    // A removed filter is no longer asked, and the press gets through.
    EXPECT_TRUE(Manager().RemoveFilter(&claimer));
    asked.clear();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(L"13", asked);
    EXPECT_EQ((Trails{L"a setfocus", L"a down"}), Trail());
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Manager().RemoveFilter(&first);
    Manager().RemoveFilter(&last);
}

TEST_F(DispatchTest, PreFilterThatClaimsAQueuedKeyKeepsItFromTheLoopAndTheTabOrder)
{
    a->flagBits = b->flagBits = UIFLAG_TABSTOP;
    Manager().SetFocus(a, false);
    journal.clear();
    std::wstring asked;
    CLetterFilter pre(&asked, L'p', WM_KEYDOWN);
    EXPECT_FALSE(Manager().AddPreFilter(nullptr));
    EXPECT_TRUE(Manager().AddPreFilter(&pre));

    PostMessageW(window, WM_KEYDOWN, 'K', 0);
    PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(window, WM_CHAR, 'k', 0);
    Pump();
    EXPECT_EQ(L"ppp", asked);
    EXPECT_EQ(a, Manager().GetFocus()) << "the claimed Tab did not move the focus";
    EXPECT_EQ((Trails{L"a char"}), Trail()) << "only the unclaimed character reached the control";
}

TEST_F(DispatchTest, KeyTranslatorsConsumeForTheirWindowAndItsChildWindows)
{
    a->flagBits = UIFLAG_TABSTOP;
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 250, 100, 100, 24, window, nullptr, nullptr, nullptr);
    CKeyEater eater;
    EXPECT_TRUE(Manager().AddKeyTranslator(&eater));
    EXPECT_TRUE(CUIManager::FilterBeforeDispatch(MSG{window, WM_KEYDOWN, 'Z', 0, 0, {0, 0}}));
    EXPECT_TRUE(CUIManager::FilterBeforeDispatch(MSG{edit, WM_KEYDOWN, 'Z', 0, 0, {0, 0}}));
    // Tab in a child window moves the focus, and the child gets it too.
    EXPECT_FALSE(CUIManager::FilterBeforeDispatch(MSG{edit, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}}));
    EXPECT_EQ(a, Manager().GetFocus());
    EXPECT_TRUE(Manager().RemoveKeyTranslator(&eater));
    EXPECT_FALSE(CUIManager::FilterBeforeDispatch(MSG{window, WM_KEYDOWN, 'Z', 0, 0, {0, 0}}));
}

TEST_F(DispatchTest, ModalLoopDropsTheMessagesAManagerConsumed)
{
    Manager().SetFocus(a, false);
    CKeyEater eater;
    Manager().AddKeyTranslator(&eater);
    PostMessageW(window, WM_KEYDOWN, 'Z', 0);
    PostMessageW(window, WM_KEYDOWN, 'Y', 0);
    host->Close(9);
    EXPECT_EQ(9u, host->RunModal(true, false));
    std::wstring keys;
    for (const auto& delivery : journal)
        if (delivery.event.type == UIEVENT_KEYDOWN)
            keys += delivery.event.key;
    EXPECT_EQ(L"Y", keys);
}

TEST_F(DispatchTest, KillFocusIntoAHostedWindowFocusesItsControl)
{
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 120, 10, 100, 24, window, nullptr,
                                nullptr, nullptr);
    EXPECT_TRUE(Manager().AddHostedWindow(b, edit));
    EXPECT_FALSE(Manager().AddHostedWindow(c, edit));
    ::SetFocus(edit);
    EXPECT_EQ(b, Manager().GetFocus());
    EXPECT_TRUE(Manager().RemoveHostedWindow(edit));
    EXPECT_FALSE(Manager().RemoveHostedWindow(edit));
}

// ---- Tool tips and window messages ----------------------------------------------

TEST_F(DispatchTest, HoverShowsTheControlsExpandedToolTip)
{
    CUIManager::AddLanguageText(4712, L"file");
    a->toolTip = L"Save %{4712}";
    a->toolTipWidth = 250;
    b->toolTip = L"Open";
    b->toolTipWidth = 120;

    MoveTo(20, 20);
    TRACKMOUSEEVENT query = {sizeof(query), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(1000u, query.dwHoverTime) << "without a tip window, the manager's hover time";
    EXPECT_EQ(0, SendMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(20, 20)));
    Last(L"a", UIEVENT_MOUSEHOVER);
    HWND tip = FindToolTip();
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(L"Save file", ToolText(tip));
    EXPECT_EQ(250, SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    ASSERT_TRUE(IsWindowVisible(tip)) << "the tip was not shown";

    // Leaving the control takes its tip down before another one shows.
    MoveTo(130, 20);
    EXPECT_FALSE(IsWindowVisible(tip)) << "a's tip stayed up over b";
    query = TRACKMOUSEEVENT{sizeof(query), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(static_cast<DWORD>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0)), query.dwHoverTime);
    SendMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(130, 20));
    EXPECT_EQ(L"Open", ToolText(tip));
    EXPECT_EQ(120, SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));

    LRESULT result = -1;
    EXPECT_TRUE(Manager().RouteMessage(WM_MOUSEHOVER, 0, MAKELPARAM(20, 110), result)) << "no text: handled";
    EXPECT_EQ(L"Open", ToolText(tip));
    EXPECT_FALSE(Manager().RouteMessage(WM_MOUSEHOVER, 0, MAKELPARAM(-5, -5), result)) << "no control";
}

TEST_F(DispatchTest, CloseWhileHoveredLeavesBeforeTheWindowIsDestroyed)
{
    MoveTo(20, 20);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 20));
    journal.clear();
    bool windowAliveAtLeave = false;
    a->onEvent = [&](CProbeControl&, UIEvent& event) {
        if (event.type == UIEVENT_MOUSELEAVE)
            windowAliveAtLeave = IsWindow(window) != FALSE;
    };
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ((Trails{L"a leave", L"b up", L"b killfocus"}), Trail());
    EXPECT_TRUE(windowAliveAtLeave);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DispatchTest, SizeAndTrackingSizesReachTheFocusRootAndPlatform)
{
    Manager().SetFocus(a, false);
    EXPECT_EQ(0, SendMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200)));
    EXPECT_EQ(MAKELPARAM(300, 200), Last(L"a", UIEVENT_WINDOWSIZE).lParam);
    EXPECT_EQ(1, root->layoutRequests);

    Manager().SetMinInfo(200, 0);
    Manager().SetMaxInfo(-1, 600);
    MINMAXINFO info = {};
    info.ptMinTrackSize = POINT{1, 2};
    info.ptMaxTrackSize = POINT{3, 4};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(200, info.ptMinTrackSize.x);
    EXPECT_EQ(2, info.ptMinTrackSize.y);
    EXPECT_EQ(3, info.ptMaxTrackSize.x);
    EXPECT_EQ(600, info.ptMaxTrackSize.y);
}

TEST_F(DispatchTest, NotifyCommandsAndPrintReachTheNativeChildren)
{
    LRESULT result = -1;
    EXPECT_TRUE(Manager().RouteMessage(WM_NOTIFY, 0, 0, result));
    EXPECT_EQ(0, result);
    EXPECT_FALSE(Manager().RouteMessage(WM_COMMAND, 9, 0, result));

    CRecorderWnd child;
    ASSERT_NE(nullptr, child.Create(window, L"", WS_CHILD | WS_VISIBLE, 0, 30, 40, 10, 10));
    NMHDR header = {child.GetHWND(), 5, 0};
    EXPECT_EQ(4321, SendMessageW(window, WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(4321, SendMessageW(window, WM_COMMAND, 9, reinterpret_cast<LPARAM>(child.GetHWND())));
    ASSERT_NE(nullptr, child.Find(WM_COMMAND + 0x2000));
    EXPECT_EQ(9u, child.Find(WM_COMMAND + 0x2000)->wParam);

    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_CHILDREN);
    DeleteDC(dc);
    ASSERT_FALSE(root->paintRects.empty());
    EXPECT_EQ(400, root->paintRects.back().right);
    ASSERT_NE(nullptr, child.Find(WM_PRINT));
    EXPECT_EQ(static_cast<LPARAM>(PRF_CLIENT | PRF_CHILDREN | PRF_NONCLIENT), child.Find(WM_PRINT)->lParam);
}

// ---- Controls deleted while the manager holds them --------------------------------

TEST_F(DispatchTest, ControlDeletingItselfOnButtonDownReleasesTheCapture)
{
    a->onEvent = [](CProbeControl& probe, UIEvent& event) {
        if (event.type == UIEVENT_BUTTONDOWN)
            probe.Delete();
    };
    MoveTo(20, 20);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(nullptr, Manager().GetFocus());
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(25, 25));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(25, 25));
    EXPECT_FALSE(Manager().IsCaptured());
    EXPECT_EQ(nullptr, GetCapture());
    journal.clear();
    MoveTo(30, 30);
    EXPECT_EQ((Trails{L"root enter", L"root move"}), Trail());
}

TEST_F(DispatchTest, ControlDeletingItselfOnSetFocusGetsNoButtonDown)
{
    a->onEvent = [](CProbeControl& probe, UIEvent& event) {
        if (event.type == UIEVENT_SETFOCUS)
            probe.Delete();
    };
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ((Trails{L"a setfocus"}), Trail());
    EXPECT_FALSE(Manager().IsCaptured());
}

TEST_F(DispatchTest, ControlsDeletedDuringALeaveAreNotCalled)
{
    // c, the first watcher, deletes the hover control a and watcher b.
    Manager().AddLeaveWatcher(c);
    Manager().AddLeaveWatcher(b);
    c->onEvent = [&](CProbeControl&, UIEvent& event) {
        if (event.type != UIEVENT_MOUSELEAVE)
            return;
        static_cast<CProbeControl*>(event.sender)->Delete();
        delete b;
    };
    MoveTo(20, 20);
    journal.clear();
    MoveTo(20, 110);
    EXPECT_EQ((Trails{L"c leave", L"c enter", L"c move"}), Trail());
}

TEST_F(DispatchTest, ControlDeletingItselfOnMouseEnterDoesNotBecomeTheHover)
{
    b->onEvent = [](CProbeControl& probe, UIEvent& event) {
        if (event.type == UIEVENT_MOUSEENTER)
            probe.Delete();
    };
    MoveTo(130, 20);
    EXPECT_EQ((Trails{L"b enter"}), Trail());
    MoveTo(135, 20);
    EXPECT_EQ((Trails{L"root enter", L"root move"}), Trail());
}

TEST_F(DispatchTest, DeletedControlIsForgottenAsHoverClickFocusKeyPressAndToolTip)
{
    a->toolTip = L"Save";
    b->toolTip = L"Open";
    MoveTo(20, 20);
    SendMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(window, WM_KEYDOWN, 'K', 0);
    ASSERT_EQ(a, Manager().GetFocus());
    delete a;
    EXPECT_EQ(nullptr, Manager().GetFocus());
    journal.clear();
    SendMessageW(window, WM_KEYUP, 'K', 0);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    MoveTo(130, 20);
    SendMessageW(window, WM_MOUSEHOVER, 0, MAKELPARAM(130, 20));
    EXPECT_EQ((Trails{L"b enter", L"b move", L"b hover"}), Trail());
    EXPECT_EQ(L"Open", ToolText(FindToolTip()));
}

TEST_F(DispatchTest, WindowObjectGoingFirstTakesItsWindowAlong)
{
    // A modal run that a WM_QUIT ends leaves the window behind; when its
    // object (and manager) goes, the window must go with it.
    PostQuitMessage(4);
    EXPECT_EQ(0u, host->RunModal(true, false));
    MSG quit = {};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    ASSERT_TRUE(IsWindow(window));
    host.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(PostMessageW(window, WM_APP + 1, 0, 0));
}

}  // namespace
