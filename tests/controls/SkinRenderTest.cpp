// Whole skins from the password-protected archive, built by the layout
// builder into real windows and read back from the screen: where the layouts
// put each control (inset, child padding, fixed and stretching children), and
// the pixels the labels, progress bars and buttons paint there, at points
// whose colours follow from the rules. Buttons change state through posted
// mouse messages. Every window is kept as shots\skin_*.png.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "tests/controls/SkinTestSupport.h"

namespace DuiLib {
namespace test {
namespace {

constexpr DWORD kWhite = 0xFFFFFF;

// The font of index font as the manager made it: its line height (height +
// external leading).
int LineHeight(CUIManager& manager, int font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, manager.GetFont(font));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

// ---- Labels -------------------------------------------------------------------

// A vertical layout of 420 x 230 with inset 10 and child padding 5: rows of
// 30 from y 10, 45, 80, the row of 60 at 115 and the markup line at 180.
TEST(SkinRender, LabelsAlignWrapAndEllipsiseWhereTheLayoutPutsThem)
{
    CSkinWindow skin(L"labels.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    ExpectRect(RECT{10, 10, 410, 40}, skin.PlaceOf(L"left"), "left");
    ExpectRect(RECT{10, 80, 410, 110}, skin.PlaceOf(L"right"), "right");
    // The row: 190 and 120 fixed, padding 10 twice, the panel takes
    // 400 - 330 = 70.
    ExpectRect(RECT{10, 115, 200, 175}, skin.PlaceOf(L"wrapped"), "wrapped");
    ExpectRect(RECT{210, 115, 330, 175}, skin.PlaceOf(L"cut"), "cut");
    ExpectRect(RECT{340, 115, 410, 175}, skin.PlaceOf(L"panel"), "panel");
    ExpectRect(RECT{10, 180, 410, 210}, skin.PlaceOf(L"markup"), "markup");
    const WindowShot shot = skin.Shoot(L"skin_labels");
    ASSERT_EQ(420, shot.width);
    ASSERT_EQ(230, shot.height);

    const int hello = TextWidth(skin.Manager(), 0, L"Hello");
    EXPECT_EQ(0xF0F0F0u, shot.Rgb(12, 12));
    EXPECT_EQ(0xF0F0F0u, shot.Rgb(407, 37));
    const RECT left = shot.InkBounds(RECT{10, 10, 410, 40}, 0xF0F0F0);
    ASSERT_FALSE(IsRectEmpty(&left));
    EXPECT_LE(left.left, 12);
    EXPECT_LE(left.right, 10 + hello + 1);
    // Single lines are centred vertically by default: no ink at the edges.
    EXPECT_FALSE(shot.HasInk(RECT{10, 10, 410, 14}, 0xF0F0F0));
    const RECT centre = shot.InkBounds(RECT{10, 45, 410, 75}, kWhite);
    ASSERT_FALSE(IsRectEmpty(&centre));
    EXPECT_NEAR(210 - hello / 2, centre.left, 3);
    EXPECT_NEAR(210 + hello / 2, centre.right, 3);
    const RECT right = shot.InkBounds(RECT{10, 80, 410, 110}, kWhite);
    ASSERT_FALSE(IsRectEmpty(&right));
    EXPECT_GE(right.right, 407);
    EXPECT_GE(right.left, 410 - hello - 1);

    // Wrapped from the top of its 190 pixels: several lines, none wider.
    const int line = LineHeight(skin.Manager(), 0);
    const RECT wrapped = shot.InkBounds(RECT{10, 115, 205, 175}, kWhite);
    EXPECT_LE(wrapped.top, 115 + 4);
    EXPECT_GT(wrapped.bottom - wrapped.top, line + line / 2);
    EXPECT_LE(wrapped.right, 200);
    // Ellipsised: a caption wider than 120 ends with dots inside the label.
    ASSERT_GT(TextWidth(skin.Manager(), 0, L"A rather long caption"), 120);
    const RECT cut = shot.InkBounds(RECT{205, 115, 335, 175}, kWhite);
    EXPECT_GE(cut.left, 210);
    EXPECT_LE(cut.right, 330);
    EXPECT_GT(cut.right, 330 - TextWidth(skin.Manager(), 0, L"..."));
    EXPECT_EQ(0xC0C0FFu, shot.Rgb(342, 117));
    EXPECT_EQ(0xC0C0FFu, shot.Rgb(409, 174));

    // Markup: "Go " and the link "home" and a space, then frame 1 of the
    // three-frame strip (12 x 12, magenta), bottom on the line's bottom in
    // the line centred in the label's 30 pixels.
    const RECT markup = {10, 180, 410, 210};
    EXPECT_TRUE(shot.HasColor(markup, 0x0000FF, 40)) << "the link colour";
    EXPECT_TRUE(shot.HasColor(markup, 0xFF0000, 40)) << "the coloured run";
    const RECT frame = shot.ColorBounds(markup, 0xFF00FF, 0);
    EXPECT_EQ(12, frame.right - frame.left);
    EXPECT_EQ(12, frame.bottom - frame.top);
    EXPECT_NEAR(10 + TextWidth(skin.Manager(), 0, L"Go home "), frame.left, 2);
    EXPECT_NEAR(180 + 15 - line / 2 + line, frame.bottom, 1);
    EXPECT_FALSE(shot.HasColor(markup, 0xFFA000, 0)) << "frame 0";
    EXPECT_FALSE(shot.HasColor(markup, 0x00A0A0, 0)) << "frame 2";
}

// ---- Progress -----------------------------------------------------------------

// 400 pixels wide each (inset 10), 20 high with padding 10; the columns row
// is 60 high from y 160.
TEST(SkinRender, ProgressBarsFillValueOverRangeOfTheirPlace)
{
    constexpr DWORD kFill = 0x00C000, kTrack = 0xDDDDDD;
    CSkinWindow skin(L"progress.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    ExpectRect(RECT{10, 40, 410, 60}, skin.PlaceOf(L"quarter"), "quarter");
    ExpectRect(RECT{10, 160, 30, 220}, skin.PlaceOf(L"up40"), "up40");
    ExpectRect(RECT{40, 160, 60, 220}, skin.PlaceOf(L"up90"), "up90");
    const WindowShot shot = skin.Shoot(L"skin_progress");

    EXPECT_FALSE(shot.HasColor(RECT{10, 10, 410, 30}, kFill, 0)) << "value 0";
    // 25 of 0..100: 100 columns.
    EXPECT_EQ(kFill, shot.Rgb(10, 50));
    EXPECT_EQ(kFill, shot.Rgb(109, 50));
    EXPECT_EQ(kTrack, shot.Rgb(110, 50));
    // 50 of -50..150: (50 + 50) x 400 / 200 = 200 columns.
    EXPECT_EQ(kFill, shot.Rgb(209, 80));
    EXPECT_EQ(kTrack, shot.Rgb(210, 80));
    EXPECT_EQ(kFill, shot.Rgb(409, 119)) << "full";
    // 75 of 100: 300 columns, the text centred at the top of the bar.
    EXPECT_EQ(kFill, shot.Rgb(309, 148));
    EXPECT_EQ(kTrack, shot.Rgb(310, 148));
    EXPECT_TRUE(shot.HasInk(RECT{190, 130, 230, 150}, kFill, 60));
    EXPECT_FALSE(shot.HasInk(RECT{12, 132, 170, 148}, kFill, 60));
    // Vertical over 60 rows: 40 fills the bottom 24 (from row 196), 90 the
    // bottom 54 (from row 166).
    EXPECT_EQ(kTrack, shot.Rgb(20, 195));
    EXPECT_EQ(kFill, shot.Rgb(20, 196));
    EXPECT_EQ(kFill, shot.Rgb(20, 219));
    EXPECT_EQ(kTrack, shot.Rgb(50, 165));
    EXPECT_EQ(kFill, shot.Rgb(50, 166));
    EXPECT_EQ(kWhite, shot.Rgb(65, 200)) << "the filler draws nothing";
}

// ---- Buttons ------------------------------------------------------------------

constexpr DWORD kNormal = 0x3050F0, kHot = 0x20C040, kPushed = 0xE02020, kFocused = 0xF0D000,
                kDisabled = 0x909090;

// Two rows from y 10 and 60, 40 high; buttons 70 wide at x 10, 90, 170, 250,
// 330; the text button 150 wide at 170. The five-state strip is 50 wide:
// frames of 10, normal first, disabled last.
TEST(SkinRender, ButtonsFollowRealMouseThroughHotPushedAndFocused)
{
    CSkinWindow skin(L"buttons.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    CNotifyRecorder recorder;
    ASSERT_TRUE(skin.Manager().AddListener(&recorder));
    ExpectRect(RECT{330, 10, 400, 50}, skin.PlaceOf(L"disabled"), "disabled");
    ExpectRect(RECT{170, 60, 320, 100}, skin.PlaceOf(L"text"), "text");
    const HWND window = skin.Window();

    skin.Find(L"focused")->SetFocus();
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(125, 30));
    PumpMessages();
    WindowShot shot = skin.Shoot(L"skin_buttons_hot");
    EXPECT_EQ(kNormal, shot.Rgb(45, 30));
    EXPECT_EQ(kHot, shot.Rgb(125, 30));
    EXPECT_EQ(kNormal, shot.Rgb(205, 30));
    EXPECT_EQ(kFocused, shot.Rgb(285, 30));
    EXPECT_EQ(kDisabled, shot.Rgb(365, 30));
    EXPECT_EQ(0x102080u, shot.Rgb(45, 80)) << "frame 0 of the strip";
    EXPECT_EQ(0x808080u, shot.Rgb(125, 80)) << "frame 4 of the strip";
    EXPECT_EQ(kNormal, shot.Rgb(172, 62));
    EXPECT_TRUE(shot.HasColor(RECT{180, 62, 310, 98}, kWhite, 40)) << "the text";

    // Pressed: the pushed image, and the focus moves to the pressed button.
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(205, 30));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(205, 30));
    PumpMessages();
    shot = skin.Shoot(L"skin_buttons_pushed");
    EXPECT_EQ(kNormal, shot.Rgb(125, 30)) << "left behind";
    EXPECT_EQ(kPushed, shot.Rgb(205, 30));
    EXPECT_EQ(kNormal, shot.Rgb(285, 30)) << "the focus has gone";
    EXPECT_TRUE(recorder.OfType(L"click").empty());

    // Released inside: one click; moving on to the text button leaves the
    // clicked one focused, and the text button hot with its hot text colour.
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(205, 30));
    PumpMessages();
    ASSERT_EQ(1u, recorder.OfType(L"click").size());
    EXPECT_EQ(skin.Find(L"pushed"), recorder.OfType(L"click")[0].sender);
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(250, 80));
    PumpMessages();
    shot = skin.Shoot(L"skin_buttons_released");
    EXPECT_EQ(kFocused, shot.Rgb(205, 30));
    EXPECT_EQ(kHot, shot.Rgb(172, 62));
    EXPECT_TRUE(shot.HasColor(RECT{180, 62, 310, 98}, 0x000000, 40)) << "the hot text";
    EXPECT_FALSE(shot.HasColor(RECT{180, 62, 310, 98}, kWhite, 40));
    skin.Manager().RemoveListener(&recorder);
}

// ---- One skin at two sizes -----------------------------------------------------

struct Placement
{
    const wchar_t* name;
    RECT place;
};

// Where the layout rules put the dialog's controls in a client of w x h:
// header 40 and footer 44 fixed, the body between them with inset 10; the
// navigation column 100 wide, the content the rest after padding 10; in the
// content (inset 8, padding 8) the label 24, the bar 16 and the filler the
// rest; in the footer (inset 0,8,10,8, padding 10) the spacer before two
// buttons of 80; in the header (inset 5, padding 5) the title between two
// squares of 30.
std::vector<Placement> DialogAt(int w, int h)
{
    return {
        {L"header", {0, 0, w, 40}},
        {L"logo", {5, 5, 35, 35}},
        {L"title", {40, 5, w - 40, 35}},
        {L"close", {w - 35, 5, w - 5, 35}},
        {L"body", {0, 40, w, h - 44}},
        {L"nav", {10, 50, 110, h - 54}},
        {L"nav1", {14, 54, 106, 78}},
        {L"content", {120, 50, w - 10, h - 54}},
        {L"info", {128, 58, w - 18, 82}},
        {L"bar", {128, 90, w - 18, 106}},
        {L"filler", {128, 114, w - 18, h - 62}},
        {L"footer", {0, h - 44, w, h}},
        {L"spacer", {0, h - 36, w - 190, h - 8}},
        {L"ok", {w - 180, h - 36, w - 100, h - 8}},
        {L"cancel", {w - 90, h - 36, w - 10, h - 8}},
    };
}

void ExpectDialog(CSkinWindow& skin, const WindowShot& shot, int w, int h)
{
    ASSERT_EQ(w, shot.width);
    ASSERT_EQ(h, shot.height);
    for (const Placement& expected : DialogAt(w, h))
    {
        const std::string what = std::string(expected.name, expected.name + wcslen(expected.name)) + " at " +
                                 std::to_string(w) + "x" + std::to_string(h);
        ExpectRect(expected.place, skin.PlaceOf(expected.name), what.c_str());
    }
    EXPECT_EQ(0x2050A0u, shot.Rgb(w / 2, 2)) << "header";
    EXPECT_EQ(0xFFC000u, shot.Rgb(20, 20)) << "logo";
    EXPECT_EQ(0xE04040u, shot.Rgb(w - 20, 20)) << "close";
    EXPECT_TRUE(shot.HasColor(RECT{40, 5, w - 40, 35}, kWhite, 40)) << "title text";
    EXPECT_EQ(0xD0D8E8u, shot.Rgb(12, h - 56)) << "navigation column";
    EXPECT_EQ(kWhite, shot.Rgb(122, 52)) << "content inset";
    EXPECT_EQ(0xC8E6C8u, shot.Rgb(w - 19, h - 63)) << "filler's far corner";
    EXPECT_EQ(0xF4F4F4u, shot.Rgb(w - 5, h - 50)) << "body inset";
    EXPECT_EQ(0x3050F0u, shot.Rgb(w - 178, h - 34)) << "ok";
    EXPECT_EQ(0xE0E0E0u, shot.Rgb(w - 5, h - 20)) << "footer inset";
    // The bar fills 40 of 100 of its w - 146 pixels.
    const int filled = 40 * (w - 146) / 100;
    EXPECT_EQ(0x00C000u, shot.Rgb(128 + filled - 1, 98));
    EXPECT_EQ(0xDDDDDDu, shot.Rgb(128 + filled, 98));
}

TEST(SkinRender, StretchingChildrenGrowWithTheWindowAsTheLayoutRulesSay)
{
    CSkinWindow skin(L"stretch.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    const WindowShot small = skin.Shoot(L"skin_stretch_400x300");
    ExpectDialog(skin, small, 400, 300);
    const RECT title = skin.PlaceOf(L"title"), filler = skin.PlaceOf(L"filler");

    skin.Resize(700, 450);
    const WindowShot large = skin.Shoot(L"skin_stretch_700x450");
    ExpectDialog(skin, large, 700, 450);
    // The stretching children take all of the 300 x 150 pixels gained; the
    // fixed ones keep their size.
    EXPECT_EQ(300, (skin.PlaceOf(L"title").right - skin.PlaceOf(L"title").left) - (title.right - title.left));
    EXPECT_EQ(150, (skin.PlaceOf(L"filler").bottom - skin.PlaceOf(L"filler").top) - (filler.bottom - filler.top));
    EXPECT_EQ(300, (skin.PlaceOf(L"filler").right - skin.PlaceOf(L"filler").left) - (filler.right - filler.left));
    EXPECT_EQ(100, skin.PlaceOf(L"nav").right - skin.PlaceOf(L"nav").left);
    EXPECT_EQ(80, skin.PlaceOf(L"ok").right - skin.PlaceOf(L"ok").left);
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
