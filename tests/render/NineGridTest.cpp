// BlitNineGrid and BlendFallback on real 32-bit surfaces. grid.png is 12x12
// in 4x4 blocks (red lime blue / yellow cyan magenta / maroon green navy), so
// 4-pixel corners give every piece one colour; tile.png is 3x2 (red lime
// blue / yellow cyan magenta).
#include "ui/render/RenderKit.h"

#include <gtest/gtest.h>

#include "RenderTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

const DWORD kTile[2][3] = {{kRed, kLime, kBlue}, {kYellow, kCyan, kMagenta}};
const CUIRect kEverywhere(-100, -100, 1000, 1000);

class NineGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, grid);
        ASSERT_NE(nullptr, tile);
    }

    static void Blit(CSurface& surface, const ImageEntry& image, const RECT& dest, const RECT& corners, BYTE fade,
                     UINT flags, const RECT& paint = kEverywhere)
    {
        CRenderKit::BlitNineGrid(surface.Dc(), image.bitmap, dest, paint, CUIRect(0, 0, image.width, image.height),
                                 corners, fade, flags);
    }

    // Checks pixel (x, y) of a tiled area against colourOf(x, y).
    template <typename ColourOf>
    static void ExpectArea(const CSurface& surface, int width, int height, ColourOf colourOf)
    {
        for (int y = 0; y < height; ++y)
        {
            for (int x = 0; x < width; ++x)
                ExpectPixels(surface, {{x, y, colourOf(x, y)}}, 1);
        }
    }

    EntryPtr grid = LoadDataImage(L"grid.png");
    EntryPtr tile = LoadDataImage(L"tile.png");
};

}  // namespace

TEST_F(NineGrid, CornersStayUnscaledEdgesStretchAndHoleSkipsTheMiddle)
{
    for (UINT flags : {UINT(UININE_PLAIN), UINT(UININE_HOLE)})
    {
        CSurface surface(48, 40, kGrey);
        Blit(surface, *grid, CUIRect(2, 3, 42, 33), CUIRect(4, 4, 4, 4), 255, flags);
        // Columns 2-5 | 6-37 | 38-41, rows 3-6 | 7-28 | 29-32.
        ExpectPixels(surface, {{2, 3, kRed},     {5, 6, kRed},      {6, 3, kLime},     {37, 6, kLime},
                               {41, 3, kBlue},   {2, 7, kYellow},   {5, 28, kYellow},  {38, 28, kMagenta},
                               {2, 32, kMaroon}, {6, 29, kGreen},   {37, 32, kGreen},  {41, 32, kNavy},
                               {1, 3, kGrey},    {42, 3, kGrey},    {2, 2, kGrey},     {2, 33, kGrey}});
        const DWORD middle = flags == UININE_HOLE ? kGrey : kCyan;
        ExpectPixels(surface, {{6, 7, middle}, {37, 28, middle}, {20, 15, middle}});
    }
}

TEST_F(NineGrid, RightCornerKeepsItsSourceColumns)
{
    CSurface surface(40, 30, kGrey);
    Blit(surface, *grid, CUIRect(0, 0, 40, 30), CUIRect(0, 0, 4, 0), 255, UININE_PLAIN);
    ExpectPixels(surface, {{36, 1, kBlue}, {39, 15, kMagenta}, {37, 28, kNavy}, {10, 1, kRed}, {30, 1, kLime},
                           {0, 15, kYellow}});
}

TEST_F(NineGrid, FadeAndPerPixelAlphaBlend)
{
    // Opaque source x 128/255 over black.
    CSurface faded(48, 40, kBlack);
    Blit(faded, *grid, CUIRect(2, 3, 42, 33), CUIRect(4, 4, 4, 4), 128, UININE_PLAIN);
    ExpectPixels(faded, {{2, 3, 0x800000}, {20, 15, 0x008080}}, 1);
    EXPECT_EQ(0xFFu, faded.Pixel(2, 3) >> 24);

    // Premultiplied (100, 50, 25, 128) plus white x 127/255.
    EntryPtr straight = LoadDataImage(L"straight.png");
    CSurface blended(4, 4, kWhite);
    Blit(blended, *straight, CUIRect(0, 0, 2, 2), CUIRect(), 255, UININE_ALPHA);
    ExpectPixels(blended, {{0, 0, 0xE3B198}, {1, 0, kMagenta}, {1, 1, kWhite}}, 1);
}

TEST_F(NineGrid, TilesRepeatAndTheLastOneIsCut)
{
    for (UINT blend : {UININE_PLAIN, UININE_ALPHA})
    {
        CSurface both(12, 8, kGrey);
        Blit(both, *tile, CUIRect(0, 0, 8, 5), CUIRect(), 255, blend | UININE_XTILED | UININE_YTILED);
        ExpectArea(both, 9, 6, [](int x, int y) { return x < 8 && y < 5 ? kTile[y % 2][x % 3] : kGrey; });

        // One direction tiled, the other stretched (by 3, nearest pixel).
        CSurface across(12, 8, kGrey);
        Blit(across, *tile, CUIRect(0, 0, 8, 6), CUIRect(), 255, blend | UININE_XTILED);
        ExpectArea(across, 9, 6, [](int x, int y) { return x < 8 ? kTile[y / 3][x % 3] : kGrey; });
        CSurface down(12, 8, kGrey);
        Blit(down, *tile, CUIRect(0, 0, 9, 5), CUIRect(), 255, blend | UININE_YTILED);
        ExpectArea(down, 9, 6, [](int x, int y) { return y < 5 ? kTile[y % 2][x / 3] : kGrey; });
    }
}

TEST_F(NineGrid, ExactSizeCopiesOnlyThePaintRectangle)
{
    CSurface surface(16, 16, kGrey);
    const CUIRect paint(2, 2, 8, 8);
    Blit(surface, *grid, CUIRect(2, 2, 14, 14), CUIRect(), 255, UININE_PLAIN, paint);
    ExpectPixels(surface, {{2, 2, kRed}, {7, 7, kCyan}, {9, 9, kGrey}});
    // The blended path has no shortcut: the middle meets paint and is drawn whole.
    Blit(surface, *grid, CUIRect(2, 2, 14, 14), CUIRect(), 254, UININE_PLAIN, paint);
    ExpectPixels(surface, {{9, 9, kCyan}}, 2);
}

TEST_F(NineGrid, PiecesMissingThePaintRectangleAreSkipped)
{
    CSurface surface(48, 40, kGrey);
    Blit(surface, *grid, CUIRect(2, 3, 42, 33), CUIRect(4, 4, 4, 4), 255, UININE_PLAIN, CUIRect(2, 3, 6, 7));
    ExpectPixels(surface, {{2, 3, kRed}, {20, 3, kGrey}, {20, 15, kGrey}, {40, 30, kGrey}});
}

// Regression: corners as large as the source part left a tile size of zero
// or less, which divided by zero or never ended the tiling loop.
TEST_F(NineGrid, TilingAnEmptyOrNegativeSourceMiddleDrawsOnlyTheBorders)
{
    for (int corner : {6, 8})
    {
        for (UINT flags : {UINT(UININE_XTILED), UINT(UININE_YTILED), UINT(UININE_XTILED | UININE_YTILED),
                           UINT(UININE_ALPHA | UININE_XTILED | UININE_YTILED)})
        {
            CSurface surface(30, 30, kGrey);
            Blit(surface, *grid, CUIRect(0, 0, 30, 30), CUIRect(corner, corner, corner, corner), 255, flags);
            ExpectPixels(surface, {{0, 0, kRed}, {5, 5, kCyan}, {15, 15, kGrey}}, 1);
        }
    }
}

TEST_F(NineGrid, TilingAHugeAreaWalksOnlyTheVisibleTiles)
{
    for (UINT tiling : {UINT(UININE_XTILED), UINT(UININE_YTILED), UINT(UININE_XTILED | UININE_YTILED)})
    {
        CSurface surface(16, 16, kGrey);
        CRenderKit::BlitNineGrid(surface.Dc(), tile->bitmap, CUIRect(0, 0, 1 << 24, 1 << 24), kEverywhere,
                                 CUIRect(0, 0, 1, 1), CUIRect(), 255, tiling);
        ExpectPixels(surface, {{15, 15, kRed}});
    }
}

TEST_F(NineGrid, NullBitmapOrContextDrawsNothing)
{
    CSurface surface(4, 4, kGrey);
    CRenderKit::BlitNineGrid(surface.Dc(), nullptr, CUIRect(0, 0, 4, 4), kEverywhere, CUIRect(0, 0, 1, 1),
                             CUIRect(), 255, UININE_PLAIN);
    CRenderKit::BlitNineGrid(nullptr, grid->bitmap, CUIRect(0, 0, 4, 4), kEverywhere, CUIRect(0, 0, 1, 1),
                             CUIRect(), 255, UININE_PLAIN);
    EXPECT_EQ(kGrey, surface.Pixel(0, 0));
}

TEST(BlendFallback, WeighsTheSourceByItsAlphaAndClearsAlpha)
{
    EntryPtr straight = LoadDataImage(L"straight.png");
    ASSERT_NE(nullptr, straight);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, straight->bitmap);
    const BLENDFUNCTION opaque = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const BLENDFUNCTION invisible = {AC_SRC_OVER, 0, 0, AC_SRC_ALPHA};

    CSurface surface(4, 4, kWhite);
    EXPECT_TRUE(CRenderKit::BlendFallback(surface.Dc(), 0, 0, 2, 2, source, 0, 0, 2, 2, opaque));
    // w = 128/255: red 100w + 255(1 - w) = 177.2, green 152.1, blue 139.5.
    EXPECT_EQ(0x00B1988Bu, surface.Pixel(0, 0));
    EXPECT_EQ(0x00FF00FFu, surface.Pixel(1, 0));
    EXPECT_EQ(0x00FFFFFFu, surface.Pixel(1, 1));
    EXPECT_EQ(kWhite, surface.Pixel(2, 2));
    // Stretched to twice the size.
    EXPECT_TRUE(CRenderKit::BlendFallback(surface.Dc(), 0, 0, 4, 4, source, 0, 0, 2, 2, opaque));
    EXPECT_EQ(0x00FF00FFu, surface.Pixel(3, 1));
    // Constant alpha 0 keeps the destination colour.
    CSurface kept(2, 2, kWhite);
    EXPECT_TRUE(CRenderKit::BlendFallback(kept.Dc(), 0, 0, 2, 2, source, 0, 0, 2, 2, invisible));
    EXPECT_EQ(0x00FFFFFFu, kept.Pixel(1, 0));
    EXPECT_FALSE(CRenderKit::BlendFallback(kept.Dc(), 0, 0, 0, 2, source, 0, 0, 2, 2, opaque));

    SelectObject(source, previous);
    DeleteDC(source);
}
