// The uninstaller's message box in a real window: how each way of closing it
// ends the modal run, which buttons each mode shows and where the layout puts
// them. Input arrives as posted window messages from a thread timer while the
// box runs its own modal loop, as a user's clicks and keys would.
#include "app/MessageBoxExWnd.h"
#include "app/ProductNames.h"
#include "resources/ResourceIds.h"
#include "tests/app/TestSupport.h"
#include "ui/core/UIManager.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using kalvex::ShowMessageBoxEx;

namespace {

constexpr int kWidth = 335;
constexpr int kHeight = 255;

// Centres of the buttons in client coordinates, worked out from the box's
// fixed tree: the 10-pixel shadow ring insets the 315 x 235 content; the
// button row is the bottom 50 pixels of it and its buttons (100 x 30) sit at
// its top; two flexible spacers share what the buttons leave of the width.
constexpr POINT kOkOfTwo = {10 + 47 + 50, 10 + 185 + 15};      // spacers of (315 - 220) / 2
constexpr POINT kCancelOfTwo = {10 + 47 + 100 + 20 + 50, 10 + 185 + 15};
constexpr POINT kOkAlone = {10 + 107 + 50, 10 + 185 + 15};     // spacers of (315 - 100) / 2
constexpr POINT kCloseButton = {10 + 280 + 10, 10 + 10 + 10};  // after the 280-wide title

// Loads the skin archive out of the built kalvex.exe as start-up does, once.
void UseProductSkin()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    DuiLib::CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    HMODULE exe = LoadLibraryExW(kalvex::test::BesideTestProgram(L"..\\..\\app\\kalvex.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(KALVEX_SKIN_ID), L"ZIPRES");
    ASSERT_NE(nullptr, found);
    const DWORD size = SizeofResource(exe, found);
    auto* copy = new unsigned char[size];
    std::memcpy(copy, LockResource(LoadResource(exe, found)), size);
    DuiLib::CUIManager::SetSkinZipFromMemory(copy, size, "kTfWqR4m");
}

// Runs `steps` one after another on thread timer ticks once the box's window
// exists; each step gets the box's window. The box gets closed by Escape if
// the steps leave it open for 10 seconds, so a failing test cannot hang.
class CBoxDriver {
public:
    explicit CBoxDriver(std::vector<std::function<void(HWND)>> steps) : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 150, &CBoxDriver::Tick);
    }
    ~CBoxDriver()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    std::wstring nativeTitle;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        CBoxDriver* self = s_current;
        HWND box = FindWindowW(L"CMessageBoxExWnd", nullptr);
        if (self == nullptr || box == nullptr)
            return;
        wchar_t title[128] = {};
        GetWindowTextW(box, title, 128);
        self->nativeTitle = title;
        if (self->m_next < self->m_steps.size())
            self->m_steps[self->m_next++](box);
        else if (++self->m_idleTicks > 66)
            PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    }

    static inline CBoxDriver* s_current = nullptr;
    std::vector<std::function<void(HWND)>> m_steps;
    size_t m_next = 0;
    int m_idleTicks = 0;
    UINT_PTR m_timer = 0;
};

void Click(HWND window, POINT point)
{
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void Key(HWND window, WPARAM key)
{
    PostMessageW(window, WM_KEYDOWN, key, 0);
}

unsigned Show(int buttonMode, const wchar_t* title = L"提示")
{
    return ShowMessageBoxEx(nullptr, title, L"Velko加速器正在运行中，确定卸载？", 1, buttonMode, L"确定", L"取消",
                            kWidth, kHeight);
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { UseProductSkin(); }
};

}  // namespace

TEST_F(MessageBoxTest, EscapeAndCaptionCloseEndWithZero)
{
    {
        CBoxDriver driver({[](HWND box) { Key(box, VK_ESCAPE); }});
        EXPECT_EQ(0u, Show(2));
        EXPECT_EQ(kalvex::kWindowTitle, driver.nativeTitle) << "the native title is fixed, whatever the title";
    }
    {
        CBoxDriver driver({[](HWND box) { Click(box, kCloseButton); }});
        EXPECT_EQ(0u, Show(2));
    }
    {
        CBoxDriver driver({[](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }});
        EXPECT_EQ(0u, Show(1));
    }
}

TEST_F(MessageBoxTest, TwoButtonsAnswerOkAndCancelAndEnterDoesNothing)
{
    {
        CBoxDriver driver({[](HWND box) { Key(box, VK_RETURN); }, [](HWND box) { Click(box, kOkOfTwo); }});
        EXPECT_EQ(1u, Show(2));
    }
    {
        CBoxDriver driver({[](HWND box) { Click(box, kCancelOfTwo); }});
        EXPECT_EQ(2u, Show(2));
    }
}

TEST_F(MessageBoxTest, OneButtonModeCentresOkAndHidesCancel)
{
    // Where cancel stands in the two-button mode nothing answers; the lone OK
    // button sits in the middle.
    CBoxDriver driver({[](HWND box) { Click(box, kCancelOfTwo); }, [](HWND box) { Click(box, kOkAlone); }});
    EXPECT_EQ(1u, Show(1));
}
