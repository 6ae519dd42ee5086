// Per-pixel translucent windows made from a skin whose "Window" element sets
// "layeredimage": the picture handed to UpdateLayeredWindow (the manager's
// off-screen picture, kept as shots\skin_layered*.png) carries the layered
// image's own alpha where nothing is drawn over it, full alpha under opaque
// controls and GDI text, the blended alpha under a translucent control, and
// full alpha for every drawn pixel inside the "nolayeredpadding" area; and
// pointer input reaching the picture through the layered frame clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/controls/SkinTestSupport.h"
#include "tests/core/PicturePixels.h"

namespace DuiLib {
namespace test {
namespace {

// Pumps until the layered frame clock has presented the whole skin (the
// opaque box reached the picture and a few frames more went by); the
// picture, or null when it never came.
HBITMAP PresentedPicture(CSkinWindow& skin, const wchar_t* shotName)
{
    if (!skin.Built() || !skin.Manager().IsLayered())
        return nullptr;
    CUIManager& manager = skin.Manager();
    const bool drawn = PumpUntil(
        [&] { return manager.GetOffscreenBitmap() != nullptr && AlphaAt(manager.GetOffscreenBitmap(), 50, 40) != 0; },
        2000);
    PumpUntil([] { return false; }, 100);
    if (!drawn)
        return nullptr;
    CreateDirectoryW(BesideProgram(L"shots").c_str(), nullptr);
    EXPECT_TRUE(SavePng(manager.GetOffscreenBitmap(), BesideProgram(L"shots\\") + shotName + L".png"));
    return manager.GetOffscreenBitmap();
}

// The largest alpha in the rectangle of the picture.
BYTE MostAlpha(HBITMAP picture, const RECT& rect)
{
    BYTE most = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            most = std::max(most, AlphaAt(picture, x, y));
    return most;
}

// 200 x 150: the layered image's left half is red at alpha 128 (stored
// premultiplied: 0x80800000), its right half transparent; the box at
// (20, 20, 80, 60) is opaque, the veil at (120, 20, 180, 60) white at alpha
// 0x80, the text from x 110 in the band 90..120.
TEST(SkinLayered, LayeredImageAlphaReachesThePicturePresented)
{
    CSkinWindow skin(L"layered.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    EXPECT_NE(0, GetWindowLongW(skin.Window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    HBITMAP picture = PresentedPicture(skin, L"skin_layered");
    ASSERT_NE(nullptr, picture);

    EXPECT_NEAR(128, AlphaAt(picture, 10, 140), 1) << "the image's own alpha";
    EXPECT_NEAR(0x80, (PixelAt(picture, 10, 140) >> 16) & 0xFF, 1) << "premultiplied red";
    EXPECT_EQ(0u, PixelAt(picture, 190, 5)) << "transparent image, nothing drawn";
    EXPECT_EQ(0u, PixelAt(picture, 105, 140));
    EXPECT_EQ(0xFF204060u, PixelAt(picture, 50, 40)) << "opaque box";
    EXPECT_NEAR(128, AlphaAt(picture, 150, 40), 1) << "white at alpha 0x80 over nothing";
    EXPECT_NEAR(128, PixelAt(picture, 150, 40) & 0xFF, 1) << "premultiplied white";
    // GDI text leaves alpha 0 behind: every drawn pixel is presented opaque,
    // the pixels between the glyphs stay transparent.
    EXPECT_EQ(255, MostAlpha(picture, RECT{110, 90, 150, 120}));
    EXPECT_EQ(0, AlphaAt(picture, 195, 92));
    EXPECT_EQ(0, MostAlpha(picture, RECT{160, 90, 200, 120})) << "beyond the text";

    // Wider, the picture is remade at the new size and the image stretched
    // over it: its translucent half now reaches column 149.
    SetWindowPos(skin.Window(), nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CUIManager& manager = skin.Manager();
    ASSERT_TRUE(PumpUntil(
        [&] {
            BITMAP shape = {};
            return manager.GetOffscreenBitmap() != nullptr &&
                   GetObjectW(manager.GetOffscreenBitmap(), sizeof(shape), &shape) == sizeof(shape) &&
                   shape.bmWidth == 300 && AlphaAt(manager.GetOffscreenBitmap(), 50, 40) == 255;
        },
        2000));
    picture = manager.GetOffscreenBitmap();
    EXPECT_NEAR(128, AlphaAt(picture, 140, 140), 1);
    EXPECT_EQ(0u, PixelAt(picture, 160, 140));
    EXPECT_EQ(0u, PixelAt(picture, 290, 140));
}

// The same window with "nolayeredpadding" 0,0,100,0: inside the left 100
// columns every drawn pixel is opaque, the image's half alpha too; outside,
// alpha stays as drawn.
TEST(SkinLayered, NoLayeredPaddingMakesEveryDrawnPixelInsideOpaque)
{
    CSkinWindow skin(L"layered_padded.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    HBITMAP picture = PresentedPicture(skin, L"skin_layered_padded");
    ASSERT_NE(nullptr, picture);

    EXPECT_EQ(255, AlphaAt(picture, 10, 140));
    EXPECT_EQ(255, AlphaAt(picture, 99, 5));
    EXPECT_EQ(0xFF204060u, PixelAt(picture, 50, 40));
    EXPECT_EQ(0u, PixelAt(picture, 190, 5)) << "outside, and nothing drawn";
    EXPECT_NEAR(128, AlphaAt(picture, 150, 40), 1) << "outside: the veil keeps its alpha";
}

// The root lies inside the shadow ring of 6: the button at (6, 6, 194, 46),
// the options 20 high below it. Hovering and clicking, with posted mouse
// messages, change the picture without any WM_PAINT from the platform.
TEST(SkinLayered, PointerInputRepaintsThePictureThroughTheFrameClock)
{
    constexpr DWORD kNormal = 0xFF3050F0, kHot = 0xFF20C040, kSelected = 0xFFE02020;
    CSkinWindow skin(L"layered_input.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    CNotifyRecorder recorder;
    ASSERT_TRUE(skin.Manager().AddListener(&recorder));
    CUIManager& manager = skin.Manager();
    const auto pixelBecomes = [&](int x, int y, DWORD value) {
        return PumpUntil([&] { return PixelAt(manager.GetOffscreenBitmap(), x, y) == value; }, 2000);
    };
    ASSERT_TRUE(pixelBecomes(50, 20, kNormal));
    ExpectRect(RECT{6, 6, 194, 46}, skin.PlaceOf(L"go"), "button");
    ExpectRect(RECT{6, 66, 194, 86}, skin.PlaceOf(L"second"), "second option");

    PostMessageW(skin.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 20));
    EXPECT_TRUE(pixelBecomes(50, 20, kHot)) << "hot";
    PostMessageW(skin.Window(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 75));
    PostMessageW(skin.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 75));
    PostMessageW(skin.Window(), WM_LBUTTONUP, 0, MAKELPARAM(50, 75));
    EXPECT_TRUE(pixelBecomes(50, 75, kSelected)) << "selected";
    EXPECT_TRUE(pixelBecomes(50, 20, kNormal)) << "left behind";
    EXPECT_EQ(kNormal, PixelAt(manager.GetOffscreenBitmap(), 50, 55));
    ASSERT_EQ(1u, recorder.OfType(L"selectchanged").size());
    EXPECT_EQ(skin.Find(L"second"), recorder.OfType(L"selectchanged")[0].sender);
    CreateDirectoryW(BesideProgram(L"shots").c_str(), nullptr);
    EXPECT_TRUE(SavePng(manager.GetOffscreenBitmap(), BesideProgram(L"shots\\skin_layered_input.png")));
    manager.RemoveListener(&recorder);
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
