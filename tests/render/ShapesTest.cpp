// Colour fills, gradients, strokes and window snapshots drawn into real
// 32-bit surfaces; expected colours follow the fill and band rules.
#include "ui/render/RenderKit.h"

#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "tests/core/FakeControl.h"
#include "ui/core/UIManager.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

// A root control that fills everything and records how it was painted.
class CFillingControl : public CFakeControl
{
public:
    bool Paint(HDC dc, const RECT& paintRect, IControlUI* stopControl) override
    {
        painted = paintRect;
        stop = stopControl;
        CRenderKit::FillColor(dc, CUIRect(0, 0, 200, 100), 0xFF336699);
        return true;
    }

    CUIRect painted;
    IControlUI* stop = nullptr;
};

DWORD DibPixel(HBITMAP bitmap, int x, int y)
{
    DIBSECTION section = {};
    GetObjectW(bitmap, sizeof(section), &section);
    return static_cast<const DWORD*>(section.dsBm.bmBits)[y * section.dsBm.bmWidth + x];
}

}  // namespace

TEST(FillColor, ComposesThroughTheBlendFunction)
{
    CSurface surface(4, 4, 0x00FFFFFF);
    CRenderKit::FillColor(surface.Dc(), CUIRect(0, 0, 4, 4), 0x00FFFFFF);
    EXPECT_EQ(0x00FFFFFFu, surface.Pixel(1, 1));
    // Opaque black sets the alpha byte, which a raster fill would leave 0.
    CRenderKit::FillColor(surface.Dc(), CUIRect(1, 1, 3, 3), 0xFF000000);
    EXPECT_EQ(0xFF000000u, surface.Pixel(2, 2));
    EXPECT_EQ(0x00FFFFFFu, surface.Pixel(3, 3));
    // Red at alpha 128 is premultiplied to 128 and laid over black.
    CSurface black(2, 2, kBlack);
    CRenderKit::FillColor(black.Dc(), CUIRect(0, 0, 2, 2), 0x80FF0000);
    EXPECT_TRUE(Near(0xFF800000, black.Pixel(1, 1)));
}

// Regression for the speed of opaque fills: they take a solid fill plus an
// alpha pass, which must cover areas larger than the alpha tile, keep to a
// round clip and give a device-dependent picture the same colours.
TEST(FillColor, OpaqueFillsCoverLargeAreasWithinTheClipAtFullAlpha)
{
    CSurface surface(300, 300, 0);
    HRGN round = CreateRoundRectRgn(0, 0, 301, 301, 100, 100);
    SelectClipRgn(surface.Dc(), round);
    CRenderKit::FillColor(surface.Dc(), CUIRect(-10, -10, 400, 400), 0xFF336699);
    SelectClipRgn(surface.Dc(), nullptr);
    DeleteObject(round);
    EXPECT_EQ(0xFF336699u, surface.Pixel(150, 150));
    EXPECT_EQ(0xFF336699u, surface.Pixel(280, 150)) << "past the first 256 columns";
    EXPECT_EQ(0xFF336699u, surface.Pixel(150, 299)) << "past the first 256 rows";
    EXPECT_EQ(0x00000000u, surface.Pixel(0, 0)) << "outside the round clip";
    EXPECT_EQ(0x00000000u, surface.Pixel(299, 299)) << "outside the round clip";

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, picture);
    PatBlt(memory, 0, 0, 20, 20, WHITENESS);
    CRenderKit::FillColor(memory, CUIRect(5, 5, 15, 15), 0xFF336699);
    EXPECT_EQ(RGB(0x33, 0x66, 0x99), GetPixel(memory, 10, 10));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), GetPixel(memory, 2, 2));
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
}

TEST(FillGradient, EndsTakeTheirColoursAtTheMeanOpacity)
{
    CSurface horizontal(64, 4, kGrey);
    CRenderKit::FillGradient(horizontal.Dc(), CUIRect(0, 0, 64, 4), kRed, kBlue, GradientDirection::Horizontal, 64);
    ExpectPixels(horizontal, {{0, 2, kRed}, {63, 2, kBlue}}, 8);
    // Opaque black is drawn as black with blue 1.
    CSurface vertical(4, 64, kGrey);
    CRenderKit::FillGradient(vertical.Dc(), CUIRect(0, 0, 4, 64), kBlack, kWhite, GradientDirection::Vertical, 64);
    ExpectPixels(vertical, {{2, 0, 0x000001}});
    ExpectPixels(vertical, {{2, 63, kWhite}}, 8);

    // Alphas 0 and 0 draw nothing; 255 and 0 draw at opacity 127, so red
    // over white gives (255, 128, 128) at the left edge.
    CSurface half(64, 4, kWhite);
    CRenderKit::FillGradient(half.Dc(), CUIRect(0, 0, 64, 4), 0x00FF0000, 0x000000FF, GradientDirection::Horizontal, 8);
    EXPECT_EQ(kWhite, half.Pixel(0, 0));
    CRenderKit::FillGradient(half.Dc(), CUIRect(0, 0, 64, 4), kRed, 0x000000FF, GradientDirection::Horizontal, 64);
    ExpectPixels(half, {{0, 0, 0xFF8080}}, 2);
}

TEST(FillGradient, BandsStepFromTheSecondColourAtTheFarEdge)
{
    // 64 one-row bands: band i at row 63 - i, red (255 i) >> 6, blue (255 (64 - i)) >> 6.
    CSurface rows(2, 64, kGrey);
    CRenderKit::FillGradientBands(rows.Dc(), CUIRect(0, 0, 2, 64), kRed, kBlue, GradientDirection::Vertical, 64);
    ExpectPixels(rows, {{1, 63, 0x0000FF}, {1, 31, 0x7F007F}, {1, 0, 0xFB0003}});
    // 4 steps: bands of 2 rows; rows 4-5 are band 1, (63, 0, 191).
    CSurface four(2, 8, kGrey);
    CRenderKit::FillGradientBands(four.Dc(), CUIRect(0, 0, 2, 8), kRed, kBlue, GradientDirection::Vertical, 4);
    ExpectPixels(four, {{0, 5, 0x3F00BF}, {0, 0, 0xBF003F}, {0, 7, 0x0000FF}});
    // Under 4 steps: two bands, the right half blue.
    CSurface two(10, 2, kGrey);
    CRenderKit::FillGradientBands(two.Dc(), CUIRect(0, 0, 10, 2), kRed, kBlue, GradientDirection::Horizontal, 0);
    ExpectPixels(two, {{5, 0, 0x0000FF}, {4, 1, 0x7F007F}});
    // 64 bands over 2 rows: only bands 31 and 63 have height.
    CSurface thin(2, 2, kGrey);
    CRenderKit::FillGradientBands(thin.Dc(), CUIRect(0, 0, 2, 2), kRed, kBlue, GradientDirection::Vertical, 64);
    ExpectPixels(thin, {{0, 0, 0xFB0003}, {0, 1, 0x7B0083}});
}

TEST(Strokes, LinesAndOutlinesUseThePlatformColour)
{
    CSurface surface(24, 12, kGrey);
    CRenderKit::StrokeLine(surface.Dc(), CUIRect(1, 1, 8, 1), 1, kLime, PS_SOLID);
    CRenderKit::StrokeLine(surface.Dc(), CUIRect(0, 11, 9, 11), 1, 0, PS_SOLID);
    CRenderKit::StrokeRect(surface.Dc(), CUIRect(2, 3, 10, 9), 2, kRed, PS_SOLID);
    ExpectPixels(surface, {{1, 1, kLime}, {7, 1, kLime}, {8, 1, kGrey}, {3, 11, 0x000001}, {2, 3, kRed},
                           {3, 4, kRed}, {9, 8, kRed}, {5, 6, kGrey}, {10, 9, kGrey}});

    CRenderKit::StrokeRoundRect(surface.Dc(), CUIRect(12, 0, 24, 12), 1, 8, 8, kBlue, PS_SOLID);
    ExpectPixels(surface, {{12, 0, kGrey}, {18, 0, kBlue}, {12, 6, kBlue}, {18, 6, kGrey}});
}

TEST(Strokes, DashedOutlineOfWidthOneHasGaps)
{
    CSurface surface(64, 6, kGrey);
    CRenderKit::StrokeRect(surface.Dc(), CUIRect(0, 0, 64, 6), 1, kRed, PS_DASH);
    int red = 0;
    for (int x = 0; x < 64; ++x)
        red += Rgb(surface.Pixel(x, 0)) == Rgb(kRed) ? 1 : 0;
    EXPECT_GT(red, 8);
    EXPECT_LT(red, 60);
}

TEST(RenderToBitmap, RootPaintsUpToTheStopControlUnderTheFilter)
{
    EXPECT_EQ(nullptr, CRenderKit::RenderToBitmap(nullptr, CUIRect(0, 0, 10, 10), nullptr, 0));
    CFillingControl root;
    HWND window = CreateWindowExW(0, L"STATIC", L"render test", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    {
        CUIManager manager;
        manager.AttachWindow(window, L"snapshot");
        ASSERT_TRUE(manager.AttachRootControl(&root));

        HBITMAP plain = CRenderKit::RenderToBitmap(&manager, CUIRect(10, 20, 30, 25), &root, 0);
        ASSERT_NE(nullptr, plain);
        EXPECT_EQ(10, root.painted.left);
        EXPECT_EQ(25, root.painted.bottom);
        EXPECT_EQ(&root, root.stop);
        BITMAP info = {};
        GetObjectW(plain, sizeof(info), &info);
        EXPECT_EQ(20, info.bmWidth);
        EXPECT_EQ(5, info.bmHeight);
        EXPECT_EQ(32, info.bmBitsPixel);
        EXPECT_EQ(0x336699u, Rgb(DibPixel(plain, 19, 4)));
        DeleteObject(plain);

        // Black at alpha 128 keeps 127/255 of each channel.
        HBITMAP filtered = CRenderKit::RenderToBitmap(&manager, CUIRect(10, 20, 30, 25), nullptr, 0x80000000);
        ASSERT_NE(nullptr, filtered);
        EXPECT_EQ(nullptr, root.stop);
        EXPECT_TRUE(Near(0x19324C, Rgb(DibPixel(filtered, 3, 3))));
        DeleteObject(filtered);
    }
    DestroyWindow(window);
}
