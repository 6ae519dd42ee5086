// Labels, progress bars and buttons painted in a real window under the
// platform's own drawing, read back from the screen and checked at points
// whose colours follow from the rules: aligned text inside its area only,
// the fore image over exactly value / (max - min) of a progress bar, the
// state image of each button state. Every window is kept as a PNG.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/controls/ControlsTestSupport.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ProgressUI.h"

namespace DuiLib {
namespace test {
namespace {

constexpr DWORD kPageRgb = 0xFFFFFF;
constexpr DWORD kTrackRgb = 0xDDDDDD;
constexpr DWORD kFillRgb = 0x00C000;
constexpr DWORD kNormalRgb = 0x3050F0, kHotRgb = 0x20C040, kPushedRgb = 0xE02020, kFocusedRgb = 0xF0D000,
                kDisabledRgb = 0x909090, kInlineRgb = 0xFF00FF;

class ControlsRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = MakeHost(640, 300);
        ASSERT_NE(nullptr, host);
        host->manager.AddFont(0, L"Tahoma", 16, UIFONT_PLAIN, ResourceScope::Own);
        host->manager.SetLinkFontColor(0xFF0000FF, ResourceScope::Own);
        host->manager.SetLinkHoverFontColor(0xFF0000FF, ResourceScope::Own);
        root = new CContainerUI();
        root->ApplyAttributeText(L"bkcolor=\"#FFFFFFFF\"");
        ASSERT_TRUE(host->manager.AttachRootControl(root));
    }

    HWND Window() const { return host->GetHWND(); }

    // Paints, captures and keeps the window as shots\<test name>.png.
    WindowShot Shoot()
    {
        WindowShot shot = CaptureWindow(Window());
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "." + info->name();
        EXPECT_TRUE(SaveShot(shot, std::wstring(name.begin(), name.end()).c_str()));
        return shot;
    }

    CLabelUI* Label(const wchar_t* pos, const wchar_t* attributes)
    {
        return AddFloating(*root, new CLabelUI(), pos, attributes);
    }

    std::unique_ptr<CHostWindow> host;
    CContainerUI* root = nullptr;
};

TEST_F(ControlsRenderTest, LabelsDrawTextInsideTheirAlignedArea)
{
    const wchar_t* common = L"font=\"0\" textcolor=\"#FF000000\" text=\"Hello\"";
    Label(L"10,10,210,40", (std::wstring(common) + L" align=\"left\"").c_str());
    Label(L"10,45,210,75", (std::wstring(common) + L" align=\"center\"").c_str());
    Label(L"10,80,210,110", (std::wstring(common) + L" align=\"right\"").c_str());
    Label(L"220,10,420,110", L"font=\"0\" multiline=\"true\" textcolor=\"#FF000000\" "
                             L"text=\"The quick brown fox jumps over the lazy dog again\"");
    Label(L"10,115,110,145", L"font=\"0\" endellipsis=\"true\" textcolor=\"#FF000000\" text=\"A rather long caption\"");
    Label(L"430,10,630,40", L"font=\"0\" textcolor=\"#FF000000\" text=\"Off\" enabled=\"false\" "
                            L"disabledtextcolor=\"#FF00A0A0\" disabledbkcolor=\"#FFFFE0E0\"");
    const std::wstring image = SolidImage(L"kalvex_inline.bmp", kInlineRgb, 12, 12);
    Label(L"220,115,630,145", (L"font=\"0\" showhtml=\"true\" textcolor=\"#FF000000\" text=\"Go <a home>home</a> "
                               L"now <i " + image + L"> then <b>bold</b> <c #FF0000>red</c>\"").c_str());
    const WindowShot shot = Shoot();
    ASSERT_EQ(640, shot.width);

    const int width = TextWidth(host->manager, 0, L"Hello");
    const RECT left = shot.InkBounds(RECT{10, 10, 210, 40}, kPageRgb);
    ASSERT_FALSE(IsRectEmpty(&left));
    EXPECT_LE(left.left, 12);
    EXPECT_LE(left.right, 10 + width + 1);
    const RECT centre = shot.InkBounds(RECT{10, 45, 210, 75}, kPageRgb);
    ASSERT_FALSE(IsRectEmpty(&centre));
    EXPECT_NEAR(110 - width / 2, centre.left, 3);
    EXPECT_NEAR(110 + width / 2, centre.right, 3);
    const RECT right = shot.InkBounds(RECT{10, 80, 210, 110}, kPageRgb);
    ASSERT_FALSE(IsRectEmpty(&right));
    EXPECT_GE(right.left, 210 - width - 1);
    EXPECT_GE(right.right, 207);
    // Vertically centred single lines: ink in the middle, not at the edges.
    EXPECT_FALSE(shot.HasInk(RECT{10, 10, 210, 14}, kPageRgb));
    EXPECT_FALSE(shot.HasInk(RECT{10, 36, 210, 40}, kPageRgb));

    // Wrapped: more than one line, all within the label's width.
    const RECT wrapped = shot.InkBounds(RECT{215, 5, 425, 112}, kPageRgb);
    EXPECT_GE(wrapped.left, 220);
    EXPECT_LE(wrapped.right, 420);
    EXPECT_GT(wrapped.bottom - wrapped.top, 40);

    // Ellipsised: cut within the label, and the text does not simply stop
    // where the full caption would run on.
    const RECT ellipsis = shot.InkBounds(RECT{5, 115, 200, 145}, kPageRgb);
    EXPECT_GE(ellipsis.left, 10);
    EXPECT_LE(ellipsis.right, 110);
    EXPECT_GT(TextWidth(host->manager, 0, L"A rather long caption"), 100);

    // Disabled: its own background and text colours.
    EXPECT_EQ(0xFFE0E0u, shot.Rgb(432, 12));
    EXPECT_TRUE(shot.HasColor(RECT{430, 10, 630, 40}, 0x00A0A0, 30));

    // Markup: the link colour, the inline image and the red run.
    const RECT markup = {220, 115, 630, 145};
    EXPECT_TRUE(shot.HasColor(markup, 0x0000FF, 40));
    EXPECT_TRUE(shot.HasColor(markup, kInlineRgb, 0));
    EXPECT_TRUE(shot.HasColor(markup, 0xFF0000, 40));
}

TEST_F(ControlsRenderTest, ProgressFillsValueOverRangeOfItsLength)
{
    const std::wstring fill = SolidImage(L"kalvex_fill.bmp", kFillRgb);
    const std::wstring common = L"bkcolor=\"#FFDDDDDD\" foreimage=\"" + fill + L"\"";
    const auto bar = [&](const wchar_t* pos, const wchar_t* more) {
        return AddFloating(*root, new CProgressUI(), pos, (common + L" " + more).c_str());
    };
    bar(L"10,10,210,30", L"value=\"30\"");
    bar(L"10,40,210,60", L"value=\"100\"");
    bar(L"10,70,210,90", L"value=\"0\"");
    bar(L"10,100,210,120", L"min=\"-50\" max=\"150\" value=\"0\"");
    bar(L"220,10,240,90", L"hor=\"false\" value=\"25\"");
    bar(L"250,10,450,30", L"value=\"50\" font=\"0\" text=\"50%\" textcolor=\"#FF000000\"");
    CProgressUI* clamped = bar(L"250,40,450,60", L"value=\"150\"");
    EXPECT_EQ(100, clamped->GetValue());
    const WindowShot shot = Shoot();

    // 30 of 0..100 over 200 pixels: the first 60 columns.
    EXPECT_EQ(kFillRgb, shot.Rgb(10, 20));
    EXPECT_EQ(kFillRgb, shot.Rgb(69, 20));
    EXPECT_EQ(kTrackRgb, shot.Rgb(70, 20));
    EXPECT_EQ(kFillRgb, shot.Rgb(209, 50));
    EXPECT_FALSE(shot.HasColor(RECT{10, 70, 210, 90}, kFillRgb, 0));
    // 0 of -50..150: a quarter, 50 columns.
    EXPECT_EQ(kFillRgb, shot.Rgb(59, 110));
    EXPECT_EQ(kTrackRgb, shot.Rgb(60, 110));
    // Vertical, 25 of 0..100 over 80 rows: the bottom 20, from row 70.
    EXPECT_EQ(kTrackRgb, shot.Rgb(230, 69));
    EXPECT_EQ(kFillRgb, shot.Rgb(230, 70));
    EXPECT_EQ(kFillRgb, shot.Rgb(230, 89));
    // Text over the fill, centred: ink around the middle, fill at the left.
    EXPECT_EQ(kFillRgb, shot.Rgb(252, 12));
    EXPECT_EQ(kTrackRgb, shot.Rgb(447, 12));
    EXPECT_TRUE(shot.HasInk(RECT{330, 10, 370, 30}, kFillRgb, 60));
    EXPECT_EQ(kFillRgb, shot.Rgb(449, 50));
}

TEST_F(ControlsRenderTest, ButtonsShowTheImageOfTheirState)
{
    const std::wstring images = L"normalimage=\"" + SolidImage(L"kalvex_normal.bmp", kNormalRgb) +
                                L"\" hotimage=\"" + SolidImage(L"kalvex_hot.bmp", kHotRgb) + L"\" pushedimage=\"" +
                                SolidImage(L"kalvex_pushed.bmp", kPushedRgb) + L"\" focusedimage=\"" +
                                SolidImage(L"kalvex_focused.bmp", kFocusedRgb) + L"\" disabledimage=\"" +
                                SolidImage(L"kalvex_disabled.bmp", kDisabledRgb) + L"\"";
    const auto button = [&](const wchar_t* pos, const wchar_t* more) {
        return AddFloating(*root, new CButtonUI(), pos, (images + L" " + more).c_str());
    };
    button(L"10,10,90,40", L"");
    CButtonUI* hot = button(L"100,10,180,40", L"");
    CButtonUI* pushed = button(L"190,10,270,40", L"");
    CButtonUI* focused = button(L"280,10,360,40", L"");
    button(L"370,10,450,40", L"enabled=\"false\"");
    button(L"10,60,130,100", L"font=\"0\" text=\"OK & go\" textcolor=\"#FFFFFFFF\" hottextcolor=\"#FF000000\"");
    // No text colour of its own: the window's default one.
    host->manager.SetDefaultFontColor(0xFFFF0000, ResourceScope::Own);
    AddFloating(*root, new CButtonUI(), L"460,60,560,100", L"font=\"0\" text=\"Red\"");
    // A selected option with a fore image in its top-left corner.
    AddFloating(*root, new COptionUI(), L"140,60,220,100",
                (L"selected=\"true\" selectedimage=\"" + SolidImage(L"kalvex_selected.bmp", kHotRgb) +
                 L"\" foreimage=\"" + SolidImage(L"kalvex_fore.bmp", 0x00C0C0) + L" dest='0,0,10,10'\"")
                    .c_str());
    CaptureWindow(Window());

    focused->SetFocus();
    UIEvent press = {};
    press.type = UIEVENT_BUTTONDOWN;
    press.sender = pushed;
    press.mousePoint = POINT{230, 25};
    pushed->Event(press);
    PostMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(140, 25));
    PumpMessages();
    ASSERT_NE(0u, hot->GetButtonState() & UISTATE_HOT);
    ASSERT_NE(0u, pushed->GetButtonState() & UISTATE_PUSHED);
    ASSERT_TRUE(focused->IsFocused());
    const WindowShot shot = Shoot();

    EXPECT_EQ(kNormalRgb, shot.Rgb(50, 25));
    EXPECT_EQ(kHotRgb, shot.Rgb(140, 25));
    EXPECT_EQ(kPushedRgb, shot.Rgb(230, 25));
    EXPECT_EQ(kFocusedRgb, shot.Rgb(320, 25));
    EXPECT_EQ(kDisabledRgb, shot.Rgb(410, 25));
    // The text button: white text centred over the normal image.
    EXPECT_EQ(kNormalRgb, shot.Rgb(12, 62));
    EXPECT_TRUE(shot.HasColor(RECT{30, 65, 110, 95}, 0xFFFFFF, 40));
    EXPECT_FALSE(shot.HasColor(RECT{10, 60, 25, 100}, 0xFFFFFF, 40));
    EXPECT_TRUE(shot.HasColor(RECT{460, 60, 560, 100}, 0xFF0000, 40)) << "the default text colour";
    EXPECT_EQ(0x00C0C0u, shot.Rgb(144, 64)) << "the selected option's fore image";
    EXPECT_EQ(kHotRgb, shot.Rgb(200, 90));
}

TEST_F(ControlsRenderTest, EffectTextDrawsThroughGdiplusWithOutlineAndShadow)
{
    AddFloating(*root, new CLabelUI(), L"10,10,310,60",
                L"font=\"0\" text=\"Effect\" align=\"center\" enabledeffect=\"true\" textcolor=\"#FF0000FF\" "
                L"enabledstroke=\"true\" strokecolor=\"#FFFF0000\" enabledshadow=\"true\" "
                L"textshadowcolora=\"#FF00C000\" shadowoffset=\"-3,45\"");
    AddFloating(*root, new CLabelUI(), L"10,70,310,120",
                L"font=\"0\" text=\"Glow\" enabledeffect=\"true\" enabledluminous=\"true\" luminousfuzzy=\"2\" "
                L"textcolor=\"#FF8000FF\" textcolor1=\"#FFFF8000\"");
    AddFloating(*root, new CButtonUI(), L"10,130,130,170",
                L"font=\"0\" text=\"Press\" enabledeffect=\"true\" textcolor=\"#FF0000FF\" bkcolor=\"#FFFFFFFF\"");
    const WindowShot shot = Shoot();
    const RECT effect = {10, 10, 310, 60};
    EXPECT_TRUE(shot.HasColor(effect, 0x0000FF, 60));  // the text
    EXPECT_TRUE(shot.HasColor(effect, 0xFF0000, 60));  // its outline
    EXPECT_TRUE(shot.HasColor(effect, 0x00C000, 60));  // its shadow
    // Centred by the string format: no ink near either end.
    EXPECT_FALSE(shot.HasInk(RECT{10, 10, 60, 60}, kPageRgb));
    EXPECT_FALSE(shot.HasInk(RECT{260, 10, 310, 60}, kPageRgb));
    EXPECT_TRUE(shot.HasInk(RECT{10, 70, 310, 120}, kPageRgb));
    EXPECT_TRUE(shot.HasColor(RECT{10, 130, 130, 170}, 0x0000FF, 60));
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
