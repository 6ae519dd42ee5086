// The uninstaller's message box in a real window: how each way of closing it
// ends the modal run, which buttons each mode shows and where the layout puts
// them. Input arrives as posted window messages from a thread timer while the
// box runs its own modal loop, as a user's clicks and keys would.
#include "app/MessageBoxExWnd.h"
#include "app/ProductNames.h"
#include "tests/app/UiTestSupport.h"
#include "tests/core/AccessibleReader.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

using kalvex::ShowMessageBoxEx;
using kalvex::test::CWindowScript;
using kalvex::test::PostClick;
using kalvex::test::PostKey;

namespace {

constexpr wchar_t kBoxClass[] = L"CMessageBoxExWnd";
constexpr int kWidth = 335;
constexpr int kHeight = 255;

// Points on the buttons in client coordinates, worked out from the box's
// fixed tree: the 10-pixel shadow ring insets the 315 x 235 content; the
// button row is the bottom 50 pixels of it and its buttons (100 x 30) sit at
// its top; two flexible spacers share what the buttons leave of the width,
// and a 20-pixel gap parts two buttons. The two buttons are hit just inside
// their outer edges, which only that layout puts there.
constexpr POINT kOkOfTwo = {10 + 47 + 4, 10 + 185 + 15};       // spacers of (315 - 220) / 2
constexpr POINT kCancelOfTwo = {10 + 47 + 100 + 20 + 96, 10 + 185 + 15};
constexpr POINT kOkAlone = {10 + 107 + 50, 10 + 185 + 15};     // spacers of (315 - 100) / 2
constexpr POINT kCloseButton = {10 + 280 + 10, 10 + 10 + 10};  // after the 280-wide title

unsigned Show(int buttonMode, const wchar_t* title = L"提示")
{
    return ShowMessageBoxEx(nullptr, title, L"Velko加速器正在运行中，确定卸载？", 1, buttonMode, L"确定", L"取消",
                            kWidth, kHeight);
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { kalvex::test::UseProductSkin(); }
};

}  // namespace

TEST_F(MessageBoxTest, EscapeAndCaptionCloseEndWithZero)
{
    {
        bool systemCaption = true;
        CWindowScript driver(kBoxClass, {[&](HWND box) {
            // The skin draws the caption; a system one would stand above it.
            systemCaption = (GetWindowLongW(box, GWL_STYLE) & WS_CAPTION) != 0;
            PostKey(box, VK_ESCAPE);
            return true;
        }});
        EXPECT_EQ(0u, Show(2));
        EXPECT_FALSE(systemCaption);
        EXPECT_EQ(kalvex::kWindowTitle, driver.NativeTitle()) << "the native title is fixed, whatever the title";
    }
    {
        CWindowScript driver(kBoxClass, {[](HWND box) { PostClick(box, kCloseButton); return true; }});
        EXPECT_EQ(0u, Show(2));
    }
    {
        CWindowScript driver(kBoxClass, {[](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); return true; }});
        EXPECT_EQ(0u, Show(1));
    }
}

TEST_F(MessageBoxTest, TwoButtonsAnswerOkAndCancelAndEnterDoesNothing)
{
    {
        // The box must outlive Enter for the second step to find it.
        CWindowScript driver(kBoxClass, {[](HWND box) { PostKey(box, VK_RETURN); return true; },
                                         [](HWND box) { PostClick(box, kOkOfTwo); return true; }});
        EXPECT_EQ(1u, Show(2));
        EXPECT_EQ(2u, driver.StepsRun()) << "Enter closed the box";
    }
    {
        CWindowScript driver(kBoxClass, {[](HWND box) { PostClick(box, kCancelOfTwo); return true; }});
        EXPECT_EQ(2u, Show(2));
    }
}

TEST_F(MessageBoxTest, OneButtonModeCentresOkAndHidesCancel)
{
    // Where cancel stands in the two-button mode nothing answers; the lone OK
    // button sits in the middle.
    CWindowScript driver(kBoxClass, {[](HWND box) { PostClick(box, kCancelOfTwo); return true; },
                                     [](HWND box) { PostClick(box, kOkAlone); return true; }});
    EXPECT_EQ(1u, Show(1));
    EXPECT_EQ(2u, driver.StepsRun()) << "the click beside the lone OK button closed the box";
}

TEST_F(MessageBoxTest, AReaderReadsTheTitleTextAndButtonsAndAnswersThroughTheDefaultAction)
{
    using namespace DuiLib::test;
    CComApartment com;
    std::wstring tree;
    HRESULT answered = E_FAIL;
    CWindowScript driver(kBoxClass, {[&](HWND box) {
        AccessiblePtr client = ClientElement(box);
        AccessiblePtr ok = client != nullptr ? FindElement(client.get(), L"确定") : nullptr;
        // Once laid out: the buttons have their places.
        if (ok == nullptr || ReadElement(ok.get()).screen.right == 0)
            return false;
        tree = TreeText(client.get());
        answered = ok->accDoDefaultAction(SelfChild());
        return true;
    }});
    EXPECT_EQ(1u, Show(2, L"卸载提示"));
    EXPECT_EQ(S_OK, answered);
    // Title, close button (named by its tool tip), the message, then the
    // two buttons, each pressed as "按下"; the hidden icon is not there.
    const wchar_t* const lines[] = {L"static text | 卸载提示 |", L"push button | 关闭 |",
                                    L"static text | Velko加速器正在运行中，确定卸载？ |", L"push button | 确定 |",
                                    L"push button | 取消 |"};
    size_t at = 0;
    for (const wchar_t* line : lines) {
        const size_t found = tree.find(line, at);
        EXPECT_NE(std::wstring::npos, found) << line;
        at = found != std::wstring::npos ? found : at;
    }
    EXPECT_EQ(5, std::count(tree.begin(), tree.end(), L'\n')) << "one line per element";
}
