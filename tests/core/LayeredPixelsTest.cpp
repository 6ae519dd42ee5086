// Layered-window pixel work on small bottom-up planes whose expected bytes
// follow from the rules: rows counted from the bottom, alpha fixed only where
// a pixel is not 0.
#include <gtest/gtest.h>

#include <vector>

#include "ui/core/LayeredPixels.h"

using namespace DuiLib;

namespace {

// width x height pixels, every one set to value (0xAARRGGBB as stored).
std::vector<DWORD> Plane(int width, int height, DWORD value)
{
    return std::vector<DWORD>(static_cast<size_t>(width) * height, value);
}

PixelPlane Of(std::vector<DWORD>& pixels, int width, int height)
{
    return PixelPlane{reinterpret_cast<BYTE*>(pixels.data()), width, height};
}

// The pixel at column x of the row counted from the bottom.
DWORD At(const std::vector<DWORD>& pixels, int width, int x, int rowFromBottom)
{
    return pixels[static_cast<size_t>(rowFromBottom) * width + x];
}

}  // namespace

TEST(LayeredPixels, ClearingTheTopRowOfTheClientClearsTheLastRowInMemory)
{
    std::vector<DWORD> pixels = Plane(4, 3, 0x11111111);
    ClearPixels(Of(pixels, 4, 3), RECT{1, 0, 3, 1});
    // Client row 0 is memory row 2 (height - 1); columns 1 and 2 only.
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(row == 2 && (x == 1 || x == 2) ? 0u : 0x11111111u, At(pixels, 4, x, row))
                << "x " << x << " row " << row;
}

TEST(LayeredPixels, CopyTakesOnlyTheAreaFromTheSource)
{
    std::vector<DWORD> target = Plane(3, 3, 0);
    const std::vector<DWORD> source = Plane(3, 3, 0xFF00FF00);
    CopyPixels(Of(target, 3, 3), reinterpret_cast<const BYTE*>(source.data()), RECT{0, 1, 2, 3});
    // Client rows 1 and 2 are memory rows 1 and 0.
    EXPECT_EQ(0xFF00FF00u, At(target, 3, 0, 0));
    EXPECT_EQ(0xFF00FF00u, At(target, 3, 1, 1));
    EXPECT_EQ(0u, At(target, 3, 2, 0)) << "column 2 lies outside";
    EXPECT_EQ(0u, At(target, 3, 0, 2)) << "client row 0 lies outside";
}

TEST(LayeredPixels, AreasReachingPastThePlaneAreCutToIt)
{
    std::vector<DWORD> pixels = Plane(2, 2, 0x00000005);
    pixels.push_back(0x12345678);  // a guard just past the plane
    FixLayeredAlpha(Of(pixels, 2, 2), RECT{-5, -5, 100, 100}, nullptr);
    ClearPixels(Of(pixels, 2, 2), RECT{-5, -5, 100, 100});
    EXPECT_EQ(0x12345678u, pixels[4]);
    EXPECT_EQ(0u, pixels[3]);
}

TEST(LayeredPixels, GdiColourWithoutAlphaBecomesOpaqueAndEmptyPixelsStayTransparent)
{
    std::vector<DWORD> pixels = {0x00FF0000, 0x00000000, 0x80402010, 0x00000001};
    FixLayeredAlpha(Of(pixels, 4, 1), RECT{0, 0, 4, 1}, nullptr);
    EXPECT_EQ(0xFFFF0000u, pixels[0]) << "drawn by GDI: colour, alpha 0";
    EXPECT_EQ(0x00000000u, pixels[1]) << "untouched";
    EXPECT_EQ(0x80402010u, pixels[2]) << "real per-pixel alpha is kept";
    EXPECT_EQ(0xFF000001u, pixels[3]);
}

TEST(LayeredPixels, InsideThePaddingEveryDrawnPixelBecomesOpaque)
{
    std::vector<DWORD> pixels = Plane(3, 2, 0x40101010);
    pixels[1] = 0;
    // Compared with the row counted from the bottom: memory row 0 only.
    const RECT opaque = {0, 0, 2, 1};
    FixLayeredAlpha(Of(pixels, 3, 2), RECT{0, 0, 3, 2}, &opaque);
    EXPECT_EQ(0xFF101010u, At(pixels, 3, 0, 0));
    EXPECT_EQ(0u, At(pixels, 3, 1, 0)) << "a pixel that is 0 stays 0 even inside";
    EXPECT_EQ(0x40101010u, At(pixels, 3, 2, 0)) << "column 2 lies outside";
    EXPECT_EQ(0x40101010u, At(pixels, 3, 0, 1)) << "row 1 lies outside";
}

TEST(LayeredPixels, EmptyPlanesAreLeftAlone)
{
    const PixelPlane none = {nullptr, 10, 10};
    ClearPixels(none, RECT{0, 0, 10, 10});
    FixLayeredAlpha(none, RECT{0, 0, 10, 10}, nullptr);
    std::vector<DWORD> pixels = {0x00000007};
    ClearPixels(Of(pixels, 0, 1), RECT{0, 0, 1, 1});
    CopyPixels(Of(pixels, 1, 1), nullptr, RECT{0, 0, 1, 1});
    FixLayeredAlpha(Of(pixels, 1, 0), RECT{0, 0, 1, 1}, nullptr);
    EXPECT_EQ(0x00000007u, pixels[0]);
}
