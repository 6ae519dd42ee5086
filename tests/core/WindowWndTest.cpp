// CWindowWnd with real windows: registration, the two window procedures,
// modal loops ended by WM_CLOSE and WM_QUIT, centring on the real work area,
// icons, superclassing and subclassing the system's "EDIT" class.
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <vector>

#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

using namespace DuiLib;

namespace {

class CTestWnd : public CWindowWnd
{
public:
    explicit CTestWnd(const wchar_t* className = L"KalvexTestWnd", const wchar_t* superclass = nullptr)
        : m_className(className), m_superclass(superclass)
    {
    }

    const wchar_t* WindowClassName() const override { return m_className; }
    const wchar_t* SuperclassName() const override { return m_superclass; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == WM_TIMER && onTimer)
        {
            KillTimer(GetHWND(), wParam);
            onTimer();
        }
        if (message == WM_APP + 9)
            throw std::runtime_error("handler failed");
        if (message == WM_DESTROY && onDestroy)
            onDestroy();
        return CallPreviousProcedure(message, wParam, lParam);
    }
    void OnWindowDestroyed(HWND window) override
    {
        ++destroyedCount;
        destroyedWindow = window;
        handleWhenTold = GetHWND();
        userDataWhenTold = GetWindowLongPtrW(window, GWLP_USERDATA);
        propertyWhenTold = GetPropW(window, L"WndX");
    }

    bool Saw(UINT message) const
    {
        for (UINT m : seen)
            if (m == message)
                return true;
        return false;
    }

    // Runs action once, 10 ms into the next message loop.
    void AfterTenMilliseconds(std::function<void()> action)
    {
        onTimer = std::move(action);
        SetTimer(GetHWND(), 1, 10, nullptr);
    }

    std::vector<UINT> seen;
    std::function<void()> onTimer;
    std::function<void()> onDestroy;
    int destroyedCount = 0;
    HWND destroyedWindow = nullptr;
    HWND handleWhenTold = reinterpret_cast<HWND>(1);
    LONG_PTR userDataWhenTold = -1;
    HANDLE propertyWhenTold = reinterpret_cast<HANDLE>(1);

private:
    const wchar_t* m_className;
    const wchar_t* m_superclass;
};

// Deletes itself when its window is gone, as pop-up windows of controls do.
class CSelfOwnedWnd final : public CWindowWnd
{
public:
    explicit CSelfOwnedWnd(bool* deleted) : m_deleted(deleted) {}
    const wchar_t* WindowClassName() const override { return L"KalvexSelfOwnedWnd"; }
    void OnWindowDestroyed(HWND) override
    {
        *m_deleted = true;
        delete this;
    }

private:
    bool* m_deleted;
};

RECT RectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// Every message sent to a window of this thread, for what reaches a window
// before its object does.
std::vector<UINT> g_hooked;
LRESULT CALLBACK RecordSent(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
        g_hooked.push_back(reinterpret_cast<const CWPSTRUCT*>(lParam)->message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WindowWndTest : public ::testing::Test
{
protected:
    void SetUp() override { CUIManager::SetModuleInstance(GetModuleHandleW(nullptr)); }

    // A shown owner, and a hidden window of size width x height that it owns.
    // Shown without activation: Wine waits two seconds when it destroys a
    // window it activated while showing it.
    void MakeOwnerAndDialog(DWORD ownerStyle, int width, int height)
    {
        owner.Create(nullptr, L"owner", ownerStyle, 0, 0, 0, 100, 100);
        if ((ownerStyle & WS_MINIMIZE) == 0)
            owner.ShowWindow(true, false);
        dialog.Create(owner, L"dialog", WS_POPUP, 0, 20, 20, width, height);
    }

    CTestWnd owner{L"KalvexOwnerWnd"};
    CTestWnd dialog{L"KalvexDialogWnd"};
};

// ---- Registration and the window procedures -----------------------------

TEST_F(WindowWndTest, CreateBindsTheObjectBeforeAnyOfItsMessages)
{
    g_hooked.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
    CTestWnd window(L"KalvexFramedWnd");
    HWND handle = window.Create(nullptr, L"framed", WS_OVERLAPPEDWINDOW, 0, RECT{10, 20, 210, 170});
    UnhookWindowsHookEx(hook);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(handle, window.GetHWND());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&window), GetWindowLongPtrW(handle, GWLP_USERDATA));
    // WM_GETMINMAXINFO comes before WM_NCCREATE and goes to DefWindowProcW.
    ASSERT_FALSE(g_hooked.empty());
    EXPECT_EQ(static_cast<UINT>(WM_GETMINMAXINFO), g_hooked.front());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), window.seen.front());
    const RECT rect = RectOf(handle);
    EXPECT_EQ(200, rect.right - rect.left);
    EXPECT_EQ(150, rect.bottom - rect.top);
}

TEST_F(WindowWndTest, SameClassRegistersTwiceButOneObjectMakesOneWindow)
{
    CTestWnd first(L"KalvexTwiceWnd");
    CTestWnd second(L"KalvexTwiceWnd");
    HWND handle = first.Create(nullptr, L"1", WS_POPUP, 0, 0, 0, 10, 10);
    EXPECT_NE(nullptr, handle);
    EXPECT_NE(nullptr, second.Create(nullptr, L"2", WS_POPUP, 0, 0, 0, 10, 10));
    EXPECT_EQ(nullptr, first.Create(nullptr, L"again", WS_POPUP, 0, 0, 0, 10, 10));
    EXPECT_EQ(handle, first.GetHWND());
}

TEST_F(WindowWndTest, DestructionClearsTheBindingBeforeTellingTheObjectOnce)
{
    CTestWnd window;
    HWND handle = window.Create(nullptr, L"gone", WS_POPUP, 0, 0, 0, 10, 10);
    DestroyWindow(handle);
    EXPECT_EQ(1, window.destroyedCount);
    EXPECT_EQ(handle, window.destroyedWindow);
    EXPECT_EQ(nullptr, window.handleWhenTold);
    EXPECT_EQ(0, window.userDataWhenTold);
}

TEST_F(WindowWndTest, ExceptionInAHandlerDoesNotLeaveTheWindowProcedure)
{
    CTestWnd window;
    window.Create(nullptr, L"throws", WS_POPUP, 0, 0, 0, 10, 10);
    EXPECT_EQ(0, window.SendMessage(WM_APP + 9));
    window.SendMessage(WM_APP + 10);
    EXPECT_TRUE(window.Saw(WM_APP + 10));
}

TEST_F(WindowWndTest, ObjectGoingFirstTakesItsWindowWithIt)
{
    auto window = std::make_unique<CTestWnd>();
    HWND handle = window->Create(nullptr, L"orphan", WS_POPUP, 0, 0, 0, 10, 10);
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
}

// ---- Superclassing and subclassing ----------------------------------------

TEST_F(WindowWndTest, SuperclassOfEditKeepsTheEditBehaviour)
{
    CTestWnd edit(L"KalvexTestEdit", L"EDIT");
    HWND handle = edit.Create(nullptr, L"hello", WS_POPUP, 0, 0, 0, 120, 24);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(&edit, GetPropW(handle, L"WndX"));
    wchar_t text[16] = {};
    GetWindowTextW(handle, text, 16);
    EXPECT_STREQ(L"hello", text);
    edit.SendMessage(EM_SETLIMITTEXT, 5);
    EXPECT_EQ(5, edit.SendMessage(EM_GETLIMITTEXT));
    EXPECT_TRUE(edit.Saw(EM_GETLIMITTEXT));
    DestroyWindow(handle);
    EXPECT_EQ(1, edit.destroyedCount);
    EXPECT_EQ(nullptr, edit.propertyWhenTold);
}

TEST_F(WindowWndTest, SuperclassRegisteredTwiceGivesTwoWorkingEditWindows)
{
    CTestWnd first(L"KalvexTwiceEdit", L"EDIT");
    CTestWnd second(L"KalvexTwiceEdit", L"EDIT");
    ASSERT_NE(nullptr, first.Create(nullptr, L"one", WS_POPUP, 0, 0, 0, 120, 24));
    ASSERT_NE(nullptr, second.Create(nullptr, L"two", WS_POPUP, 0, 0, 30, 120, 24));
    first.SendMessage(EM_SETLIMITTEXT, 8);
    second.SendMessage(EM_SETLIMITTEXT, 9);
    EXPECT_EQ(8, first.SendMessage(EM_GETLIMITTEXT));
    EXPECT_EQ(9, second.SendMessage(EM_GETLIMITTEXT));
    EXPECT_TRUE(first.Saw(EM_GETLIMITTEXT));
    EXPECT_TRUE(second.Saw(EM_GETLIMITTEXT));
    wchar_t text[16] = {};
    GetWindowTextW(second, text, 16);
    EXPECT_STREQ(L"two", text);
}

TEST_F(WindowWndTest, SubclassRoutesAForeignWindowUntilUnsubclass)
{
    HWND foreign = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR original = GetWindowLongPtrW(foreign, GWLP_WNDPROC);
    CTestWnd taker(L"KalvexTaker");
    EXPECT_EQ(foreign, taker.Subclass(foreign));
    EXPECT_EQ(nullptr, taker.Subclass(foreign));
    SetWindowTextW(foreign, L"abc");
    EXPECT_TRUE(taker.Saw(WM_SETTEXT));
    EXPECT_EQ(3, GetWindowTextLengthW(foreign));

    taker.Unsubclass();
    EXPECT_EQ(original, GetWindowLongPtrW(foreign, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, taker.GetHWND());
    taker.seen.clear();
    DestroyWindow(foreign);
    EXPECT_TRUE(taker.seen.empty());
    EXPECT_EQ(0, taker.destroyedCount);
}

TEST_F(WindowWndTest, SubclassedWindowOutlivesItsObjectOrReportsItsEnd)
{
    HWND kept = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR original = GetWindowLongPtrW(kept, GWLP_WNDPROC);
    auto taker = std::make_unique<CTestWnd>(L"KalvexTaker");
    taker->Subclass(kept);
    taker.reset();
    ASSERT_TRUE(IsWindow(kept));
    EXPECT_EQ(original, GetWindowLongPtrW(kept, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, GetPropW(kept, L"WndX"));

    CTestWnd reporter(L"KalvexTaker");
    reporter.Subclass(kept);
    DestroyWindow(kept);
    EXPECT_EQ(1, reporter.destroyedCount);
    EXPECT_EQ(nullptr, reporter.propertyWhenTold);
}

// ---- Modal loop -------------------------------------------------------------

TEST_F(WindowWndTest, CloseSevenEndsTheRunWithTheOwnerEnabledAndFocusedFirst)
{
    MakeOwnerAndDialog(WS_POPUP, 50, 50);
    bool ownerDisabledDuringRun = false;
    bool ownerEnabledAtDestroy = false;
    HWND focusAtDestroy = nullptr;
    dialog.AfterTenMilliseconds([&] {
        ownerDisabledDuringRun = !IsWindowEnabled(owner);
        dialog.Close(7);
    });
    dialog.onDestroy = [&] {
        ownerEnabledAtDestroy = IsWindowEnabled(owner) != FALSE;
        focusAtDestroy = GetFocus();
    };
    EXPECT_EQ(7u, dialog.RunModal(true, false));
    EXPECT_TRUE(ownerDisabledDuringRun);
    EXPECT_TRUE(ownerEnabledAtDestroy);
    EXPECT_EQ(owner.GetHWND(), focusAtDestroy);
}

TEST_F(WindowWndTest, QuitDuringTheRunEndsItAndIsPostedAgain)
{
    MakeOwnerAndDialog(WS_POPUP, 50, 50);
    dialog.AfterTenMilliseconds([] { PostQuitMessage(5); });
    EXPECT_EQ(0u, dialog.RunModal(true, false));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner));
    MSG quit = {};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, quit.wParam);
}

TEST_F(WindowWndTest, RunModalOnADestroyedWindowReturnsZeroAtOnce)
{
    CTestWnd window;
    window.Create(nullptr, L"gone", WS_POPUP, 0, 0, 0, 10, 10);
    DestroyWindow(window);
    EXPECT_EQ(0u, window.RunModal());
}

TEST_F(WindowWndTest, WindowDeletingItselfEndsTheRunWithoutTouchingTheObject)
{
    bool deleted = false;
    auto* window = new CSelfOwnedWnd(&deleted);
    window->Create(nullptr, L"self", WS_POPUP, 0, 0, 0, 10, 10);
    window->Close(3);
    EXPECT_EQ(3u, window->RunModal(true, false));
    EXPECT_TRUE(deleted);
}

// ---- Centring and icons -------------------------------------------------------

TEST_F(WindowWndTest, CentresOnTheOwnerAndKeepsInsideTheWorkArea)
{
    MakeOwnerAndDialog(WS_POPUP, 200, 100);
    const RECT work = WorkAreaOf(owner);
    SetWindowPos(owner, nullptr, work.left + 100, work.top + 100, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.CentreOnOwner();
    // Owner centre (left + 300, top + 250), less half the 200 x 100 size.
    EXPECT_EQ(work.left + 200, RectOf(dialog).left);
    EXPECT_EQ(work.top + 200, RectOf(dialog).top);

    // An owner hanging 50 pixels past the right and bottom edges.
    SetWindowPos(owner, nullptr, work.right - 150, work.bottom - 50, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.CentreOnOwner();
    EXPECT_EQ(work.right - 200, RectOf(dialog).left);
    EXPECT_EQ(work.bottom - 100, RectOf(dialog).top);
}

TEST_F(WindowWndTest, WindowWithAMinimisedOwnerCentresOnTheWorkArea)
{
    MakeOwnerAndDialog(WS_OVERLAPPEDWINDOW | WS_MINIMIZE, 200, 100);
    ASSERT_TRUE(IsIconic(owner));
    dialog.CentreOnOwner();
    const RECT work = WorkAreaOf(owner);
    EXPECT_EQ((work.left + work.right) / 2 - 100, RectOf(dialog).left);
    EXPECT_EQ((work.top + work.bottom) / 2 - 50, RectOf(dialog).top);
}

TEST_F(WindowWndTest, WindowLargerThanTheWorkAreaKeepsItsLeftAndTopEdgesOnIt)
{
    CTestWnd big;
    big.Create(nullptr, L"big", WS_POPUP, 0, 0, 0, 10, 10);
    const RECT work = WorkAreaOf(big);
    // Placed away from the edges, so only the centring can bring it there.
    SetWindowPos(big, nullptr, work.left + 37, work.top + 23, work.right - work.left + 100,
                 work.bottom - work.top + 80, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(work.left + 37, RectOf(big).left);
    big.CentreOnOwner();
    EXPECT_EQ(work.left, RectOf(big).left);
    EXPECT_EQ(work.top, RectOf(big).top);
}

// The width and height of an icon's colour image.
SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (icon != nullptr && GetIconInfo(icon, &info)) {
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST_F(WindowWndTest, SetIconLoadsBothSizesRoundedToSixteen)
{
    // The big and the small size as the system states them, rounded up to
    // 16; they must differ, or a small icon loaded at the big size would
    // pass unseen.
    auto rounded = [](int metric) { return (GetSystemMetrics(metric) + 15) / 16 * 16; };
    const SIZE big = {rounded(SM_CXICON), rounded(SM_CYICON)};
    const SIZE small = {rounded(SM_CXSMICON), rounded(SM_CYSMICON)};
    ASSERT_NE(big.cx, small.cx);

    CTestWnd window;
    window.Create(nullptr, L"icons", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
    window.SetIcon(1);
    const SIZE bigIcon = IconSize(reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_BIG)));
    const SIZE smallIcon = IconSize(reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_SMALL)));
    EXPECT_EQ(big.cx, bigIcon.cx);
    EXPECT_EQ(big.cy, bigIcon.cy);
    EXPECT_EQ(small.cx, smallIcon.cx);
    EXPECT_EQ(small.cy, smallIcon.cy);

    window.SetIcon(999);
    EXPECT_EQ(0, window.SendMessage(WM_GETICON, ICON_BIG));
    EXPECT_EQ(0, window.SendMessage(WM_GETICON, ICON_SMALL));
}

// True while icon names a live icon.
bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

TEST_F(WindowWndTest, SetIconDestroysTheIconsItReplacesAndItsLastOnesWithTheWindow)
{
    CTestWnd window;
    ASSERT_NE(nullptr, window.Create(nullptr, L"icons", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100));
    window.SetIcon(1);
    const HICON firstBig = reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_BIG));
    const HICON firstSmall = reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_SMALL));
    ASSERT_TRUE(IconAlive(firstBig));
    ASSERT_TRUE(IconAlive(firstSmall));

    window.SetIcon(1);
    const HICON secondBig = reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_BIG));
    const HICON secondSmall = reinterpret_cast<HICON>(window.SendMessage(WM_GETICON, ICON_SMALL));
    ASSERT_TRUE(IconAlive(secondBig));
    ASSERT_TRUE(IconAlive(secondSmall));
    ASSERT_TRUE(firstBig != secondBig && firstBig != secondSmall && firstSmall != secondBig &&
                firstSmall != secondSmall)
        << "a handle was reused; the checks below could not tell";
    EXPECT_FALSE(IconAlive(firstBig));
    EXPECT_FALSE(IconAlive(firstSmall));

    DestroyWindow(window.GetHWND());
    EXPECT_FALSE(IconAlive(secondBig));
    EXPECT_FALSE(IconAlive(secondSmall));
}

}  // namespace
