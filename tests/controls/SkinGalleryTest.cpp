// The gallery skin, which uses every tag that has a class, in real windows:
// its three pages switched by clicks on their options, an edit field typed
// into (plain and layered windows) with its caret, the slider set by the
// mouse at two values, the date picker open, and two
// frames each of the GIF and the spinner. Every picture is kept as
// shots\gallery_*.png and checked for what it must show.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/controls/SkinTestSupport.h"
#include "tests/core/PicturePixels.h"
#include "ui/control/TabLayoutUI.h"
#include "ui/controls/ChrysanthemumLoadingUI.h"
#include "ui/controls/DateTimeUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/GifAnimUI.h"
#include "ui/controls/SliderUI.h"

namespace DuiLib {
namespace test {
namespace {

template <class Control>
Control* Find(CSkinWindow& skin, const wchar_t* name, const wchar_t* className)
{
    IControlUI* control = skin.Find(name);
    return control != nullptr ? static_cast<Control*>(control->CastTo(className)) : nullptr;
}

// A press and release at client (x, y), the pointer arriving first.
void Click(HWND window, int x, int y)
{
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages();
}

void ClickCentre(CSkinWindow& skin, const wchar_t* name)
{
    const RECT place = skin.PlaceOf(name);
    Click(skin.Window(), (place.left + place.right) / 2, (place.top + place.bottom) / 2);
}

// The wiring an application gives the gallery: choosing the option
// "tab_<page>" selects that page of the tab layout.
class CTabSwitch : public INotifyUI
{
public:
    explicit CTabSwitch(CTabLayoutUI* pages) : m_pages(pages) {}
    void ReceiveNotify(NotifyEvent& notification) override
    {
        static const wchar_t* const kOptions[] = {L"tab_controls", L"tab_tiles", L"tab_child"};
        if (notification.type != L"selectchanged")
            return;
        for (int page = 0; page < 3; ++page)
            if (notification.sender->GetName() == kOptions[page])
                m_pages->SelectItem(page);
    }

private:
    CTabLayoutUI* m_pages;
};

TEST(SkinGallery, EveryTaggedClassIsBuiltAndTheOptionsSwitchThePages)
{
    CSkinWindow skin(L"gallery.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> classes = {
        {L"root", L"VerticalLayout"},     {L"header", L"HorizontalLayout"},  {L"buttons", L"HorizontalLayout"},
        {L"child_root", L"VerticalLayout"}, {L"page_tiles", L"TileLayout"}, {L"pages", L"TabLayout"},
        {L"page_child", L"ChildLayout"},  {L"markup", L"Label"},           {L"ok", L"Button"},
        {L"tab_tiles", L"Option"},        {L"check_a", L"CheckBox"},       {L"text", L"Text"},
        {L"edit_password", L"Edit"},      {L"progress", L"Progress"},      {L"slider", L"Slider"},
        {L"hbar", L"ScrollBar"},          {L"date", L"DateTime"},          {L"gif", L"GifAnim"},
        {L"gifbutton", L"GifButton"},     {L"rotate", L"RotateImage"},     {L"spinner", L"ChrysanthemumLoading"},
        {L"box", L"Container"},           {L"floating", L"Control"}};
    for (const auto& [name, className] : classes)
    {
        IControlUI* control = skin.Find(name);
        ASSERT_NE(nullptr, control) << std::string(name, name + wcslen(name));
        EXPECT_STREQ(className, control->GetClass());
    }

    auto* pages = Find<CTabLayoutUI>(skin, L"pages", L"TabLayout");
    ASSERT_NE(nullptr, pages);
    CTabSwitch tabSwitch(pages);
    CNotifyRecorder recorder;
    ASSERT_TRUE(skin.Manager().AddListener(&tabSwitch));
    ASSERT_TRUE(skin.Manager().AddListener(&recorder));
    EXPECT_EQ(0, pages->GetCurrentSel());
    const RECT page = skin.PlaceOf(L"pages");
    const WindowShot controls = skin.Shoot(L"gallery_page_controls");

    ClickCentre(skin, L"tab_tiles");
    ASSERT_EQ(1, pages->GetCurrentSel());
    ASSERT_EQ(1u, recorder.OfType(L"tabselect").size());
    EXPECT_EQ(1u, recorder.OfType(L"tabselect")[0].wParam);
    EXPECT_EQ(0, recorder.OfType(L"tabselect")[0].lParam);
    // Thirty tiles of 72 rows do not fit the page: its scroll bar (thumb
    // #5070A0) runs down the right 12 columns inside the inset of 10.
    const WindowShot tiles = skin.Shoot(L"gallery_page_tiles");
    EXPECT_TRUE(tiles.HasColor(RECT{page.right - 22, page.top, page.right - 10, page.bottom}, 0x5070A0, 0));
    EXPECT_FALSE(controls.HasColor(RECT{page.right - 22, page.top, page.right - 10, page.bottom}, 0x5070A0, 0));
    EXPECT_GT(DifferingPixels(controls, tiles, page), 10000);

    ClickCentre(skin, L"tab_child");
    ASSERT_EQ(2, pages->GetCurrentSel());
    ASSERT_NE(nullptr, skin.Find(L"row10")) << "the child layout built its file";
    const WindowShot child = skin.Shoot(L"gallery_page_child");
    EXPECT_TRUE(child.HasColor(page, 0xD0E0F8, 0)) << "the rows";
    EXPECT_GT(DifferingPixels(tiles, child, page), 10000);
    EXPECT_EQ(0, DifferingPixels(tiles, child, skin.PlaceOf(L"status"))) << "outside the pages";

    ClickCentre(skin, L"tab_controls");
    EXPECT_EQ(0, pages->GetCurrentSel());
    EXPECT_EQ(3u, recorder.OfType(L"tabselect").size());
    skin.Manager().RemoveListener(&recorder);
    skin.Manager().RemoveListener(&tabSwitch);
}

// Clicks the plain field, types "+ab" into its native edit and waits for the
// caret: the column right of the text dark in one picture and light in a
// later one, read through pixelAt(x, y). Answers the field.
template <class PixelAt>
CEditUI* TypeAndFindTheCaret(CSkinWindow& skin, PixelAt pixelAt, RECT& caretColumn)
{
    CEditUI* edit = Find<CEditUI>(skin, L"edit_plain", L"Edit");
    EXPECT_NE(nullptr, edit);
    if (edit == nullptr)
        return nullptr;
    ClickCentre(skin, L"edit_plain");
    const HWND native = edit->HostedWindowHandle();
    EXPECT_TRUE(native != nullptr && GetFocus() == native);
    if (native == nullptr)
        return nullptr;
    for (const wchar_t ch : std::wstring(L"+ab"))
        PostMessageW(native, WM_CHAR, ch, 1);
    PumpMessages();
    EXPECT_EQ(std::wstring(L"plain text+ab"), edit->GetText().GetData());
    POINT caret = {};
    EXPECT_TRUE(GetCaretPos(&caret));
    MapWindowPoints(native, skin.Window(), &caret, 1);
    const RECT field = edit->GetPos();
    caretColumn = RECT{caret.x, field.top, caret.x + 1, field.bottom};
    const int y = (field.top + field.bottom) / 2;
    EXPECT_TRUE(PumpUntil([&] { return pixelAt(caret.x, y) < 0x404040; }, 3000)) << "caret shown";
    EXPECT_TRUE(PumpUntil([&] { return pixelAt(caret.x, y) > 0xC0C0C0; }, 3000)) << "caret hidden";
    EXPECT_TRUE(PumpUntil([&] { return pixelAt(caret.x, y) < 0x404040; }, 3000)) << "caret shown again";
    return edit;
}

TEST(SkinGallery, TypingShowsTheTextAndTheCaretInPlainAndLayeredWindows)
{
    CSkinWindow skin(L"gallery.xml");
    ASSERT_TRUE(skin.Built());
    // Read from the screen without repainting: a repaint would show the
    // caret again and hide its blinking.
    RECT client = {};
    GetClientRect(skin.Window(), &client);
    MapWindowPoints(skin.Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    WindowShot shot;
    RECT caret = {};
    CEditUI* edit = TypeAndFindTheCaret(
        skin,
        [&](int x, int y) {
            shot = CaptureScreen(client);
            return shot.Rgb(x, y);
        },
        caret);
    ASSERT_NE(nullptr, edit);
    ASSERT_TRUE(SaveShot(shot, L"gallery_edit_typing"));
    // The caret is one dark column at least a text line (14 pixels) high;
    // the text ends left of it.
    const RECT dark = shot.ColorBounds(caret, 0x000000, 64);
    EXPECT_EQ(1, dark.right - dark.left);
    EXPECT_GE(dark.bottom - dark.top, 14);
    const RECT field = edit->GetPos();
    const RECT text = shot.InkBounds(RECT{field.left + 2, field.top + 2, caret.left - 1, field.bottom - 2}, 0xFFFFFF);
    EXPECT_LT(text.left, field.left + 8);

    CSkinWindow layered(L"gallery.xml");
    ASSERT_TRUE(layered.Built());
    layered.Manager().SetLayered(true);
    ASSERT_TRUE(layered.Manager().IsLayered());
    ASSERT_TRUE(PumpUntil([&] { return layered.Manager().GetOffscreenDC() != nullptr; }, 2000));
    edit = TypeAndFindTheCaret(
        layered,
        [&](int x, int y) {
            layered.Manager().Invalidate();
            PumpUntil([] { return false; }, 20);
            return static_cast<DWORD>(GetPixel(layered.Manager().GetOffscreenDC(), x, y) & 0xFFFFFF);
        },
        caret);
    ASSERT_NE(nullptr, edit);
    CreateDirectoryW(BesideProgram(L"shots").c_str(), nullptr);
    EXPECT_TRUE(SavePng(layered.Manager().GetOffscreenBitmap(), BesideProgram(L"shots\\gallery_edit_layered.png")));
}

TEST(SkinGallery, SliderFollowsTheMouseAndTheDatePickerOpensOverItsLabel)
{
    constexpr DWORD kThumb = 0x2050A0;
    CSkinWindow skin(L"gallery.xml");
    ASSERT_TRUE(skin.Built());
    auto* slider = Find<CSliderUI>(skin, L"slider", L"Slider");
    ASSERT_NE(nullptr, slider);
    const RECT track = slider->GetPos();
    const int span = track.right - track.left - 12;
    ASSERT_GT(span, 100);
    // The thumb (12 wide) sits at left + span x value / 100; a click puts its
    // centre under the pointer, so a click at left + 6 + span x v / 100 sets v.
    for (const int value : {80, 15})
    {
        Click(skin.Window(), track.left + 6 + span * value / 100, (track.top + track.bottom) / 2);
        PostMessageW(skin.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, skin.PlaceOf(L"status").top + 5));
        PumpMessages();
        EXPECT_NEAR(value, slider->GetValue(), 1);
        const WindowShot shot = skin.Shoot(value == 80 ? L"gallery_slider_80" : L"gallery_slider_15");
        const RECT thumb = shot.ColorBounds(track, kThumb, 0);
        EXPECT_EQ(track.left + span * slider->GetValue() / 100, thumb.left) << value;
        EXPECT_EQ(12, thumb.right - thumb.left);
        EXPECT_EQ(24, thumb.bottom - thumb.top);
    }

    auto* date = Find<CDateTimeUI>(skin, L"date", L"DateTime");
    ASSERT_NE(nullptr, date);
    const RECT place = date->GetPos();
    const WindowShot closed = CaptureWindow(skin.Window());
    ClickCentre(skin, L"date");
    const HWND picker = date->HostedWindowHandle();
    ASSERT_TRUE(picker != nullptr && IsWindowVisible(picker));
    const WindowShot open = skin.Shoot(L"gallery_date_open");
    // The picker draws its own face over the label: the date and, at the
    // right end, its drop-down button.
    RECT button = place;
    button.left = button.right - 12;
    EXPECT_GT(DifferingPixels(closed, open, button), 20) << "the drop-down button";
    EXPECT_TRUE(open.HasInk(RECT{place.left + 2, place.top + 2, place.right - 20, place.bottom - 2}, 0xFFFFFF));
    PostMessageW(picker, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(picker, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_TRUE(PumpUntil([picker] { return !IsWindow(picker); }, 2000));
}

TEST(SkinGallery, GifAndSpinnerShowTheirFramesInTurn)
{
    // The three lights of the GIF, frame by frame.
    constexpr DWORD kLights[] = {0xE03030, 0xF0C000, 0x30C050};
    CSkinWindow skin(L"gallery.xml");
    ASSERT_TRUE(skin.Built());
    auto* gif = Find<CGifAnimUI>(skin, L"gif", L"GifAnim");
    auto* spinner = Find<CChrysanthemumLoadingUI>(skin, L"spinner", L"ChrysanthemumLoading");
    ASSERT_TRUE(gif != nullptr && spinner != nullptr);
    ASSERT_EQ(3u, gif->GetFrameCount());
    ASSERT_TRUE(gif->IsPlaying());
    const RECT gifPlace = gif->GetPos();
    const int cx = (gifPlace.left + gifPlace.right) / 2, cy = (gifPlace.top + gifPlace.bottom) / 2;

    std::vector<UINT> framesShot;
    std::vector<WindowShot> gifShots;
    ASSERT_TRUE(PumpUntil(
        [&] {
            // A tick's frame shows from the paint after it: paint once to
            // select it, then again to show it.
            CaptureWindow(skin.Window());
            const UINT frame = gif->GetFramePosition();
            const WindowShot shot = CaptureWindow(skin.Window());
            if (!framesShot.empty() && framesShot.back() == frame)
                return false;
            EXPECT_EQ(kLights[frame], shot.Rgb(cx, cy)) << "frame " << frame;
            framesShot.push_back(frame);
            gifShots.push_back(shot);
            return framesShot.size() == 2;
        },
        3000));
    EXPECT_TRUE(SaveShot(gifShots[0], L"gallery_gif_a"));
    EXPECT_TRUE(SaveShot(gifShots[1], L"gallery_gif_b"));
    EXPECT_GT(DifferingPixels(gifShots[0], gifShots[1], gifPlace), 200);

    const RECT spinnerPlace = spinner->GetPos();
    const WindowShot first = CaptureWindow(skin.Window());
    const int offset = spinner->GetRotationOffset();
    ASSERT_TRUE(PumpUntil([&] { return spinner->GetRotationOffset() != offset; }, 3000));
    const WindowShot second = CaptureWindow(skin.Window());
    EXPECT_TRUE(SaveShot(first, L"gallery_spinner_a"));
    EXPECT_TRUE(SaveShot(second, L"gallery_spinner_b"));
    EXPECT_TRUE(first.HasColor(spinnerPlace, 0xFFFFFF, 8)) << "the leading spoke";
    EXPECT_GT(DifferingPixels(first, second, spinnerPlace), 20) << "the spokes turned";
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
