// PaintImageSpec with a real manager: one load per string, the source part
// clamp, destination offsets, sharing of cached entries, the return value,
// and the nine-grid pieces that description keys select, down to the pixel.
#include "ui/render/RenderKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "RenderTestSupport.h"
#include "ui/core/UIManager.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

ImageDrawSpec SpecOf(const std::wstring& text)
{
    ImageDrawSpec spec;
    spec.drawString = text.c_str();
    return spec;
}

std::wstring FileItem(const wchar_t* name)
{
    return L"file='" + DataPath(name) + L"'";
}

bool Load(CUIManager* manager, ImageDrawSpec& spec)
{
    return CRenderKit::PaintImageSpec(nullptr, manager, CUIRect(), CUIRect(), spec);
}

}  // namespace

TEST(PaintImageSpec, NoManagerDoesNothingAndAnEmptyStringHasNoImage)
{
    ImageDrawSpec spec = SpecOf(FileItem(L"grid.png"));
    EXPECT_TRUE(Load(nullptr, spec));
    EXPECT_FALSE(spec.loaded);
    CUIManager manager;
    ImageDrawSpec empty;
    EXPECT_FALSE(Load(&manager, empty));
    EXPECT_TRUE(empty.loaded);
}

TEST(PaintImageSpec, LoadingWithoutAContextResolvesAndClampsTheSourcePart)
{
    CUIManager manager;
    ImageDrawSpec whole = SpecOf(FileItem(L"grid.png"));
    EXPECT_TRUE(Load(&manager, whole));
    EXPECT_EQ(manager.GetImage(DataPath(L"grid.png").c_str()), whole.image);
    EXPECT_STREQ(DataPath(L"grid.png").c_str(), whole.imageName.GetData());
    EXPECT_EQ(12, whole.sourcePart.right);
    EXPECT_EQ(12, whole.sourcePart.bottom);
    // Only the far edges are held to the image.
    ImageDrawSpec beyond = SpecOf(FileItem(L"grid.png") + L" source='20,30,100,5'");
    EXPECT_TRUE(Load(&manager, beyond));
    EXPECT_EQ(20, beyond.sourcePart.left);
    EXPECT_EQ(30, beyond.sourcePart.top);
    EXPECT_EQ(12, beyond.sourcePart.right);
    EXPECT_EQ(5, beyond.sourcePart.bottom);
}

TEST(PaintImageSpec, PlainFileNameStretchesOverTheControl)
{
    CUIManager manager;
    ImageDrawSpec spec = SpecOf(DataPath(L"grid.png"));
    CSurface surface(30, 30, kGrey);
    EXPECT_TRUE(CRenderKit::PaintImageSpec(surface.Dc(), &manager, CUIRect(0, 0, 24, 24), CUIRect(0, 0, 30, 30),
                                           spec));
    ExpectPixels(surface, {{0, 0, kRed}, {12, 12, kCyan}, {23, 23, kNavy}, {24, 24, kGrey}});
}

TEST(PaintImageSpec, DestinationRightAndBottomAreHeldToTheControl)
{
    CUIManager manager;
    ImageDrawSpec spec = SpecOf(L"color='#FFFF0000' dest='0,0,100,9'");
    CSurface surface(80, 50, kGrey);
    // A 50-pixel wide control at (10, 10): the strip covers (10, 10, 60, 19).
    EXPECT_TRUE(CRenderKit::PaintImageSpec(surface.Dc(), &manager, CUIRect(10, 10, 60, 40), CUIRect(0, 0, 80, 50),
                                           spec));
    ExpectPixels(surface, {{10, 10, kRed}, {59, 18, kRed}, {60, 10, kGrey}, {10, 19, kGrey}, {9, 10, kGrey}});

    // Outside the control or the paint rectangle nothing is drawn.
    ImageDrawSpec offside = SpecOf(L"color='#FF00FF00' dest='60,60,70,70'");
    EXPECT_TRUE(CRenderKit::PaintImageSpec(surface.Dc(), &manager, CUIRect(0, 0, 50, 50), CUIRect(0, 0, 80, 50),
                                           offside));
    ImageDrawSpec unpainted = SpecOf(L"color='#FF00FF00'");
    EXPECT_TRUE(CRenderKit::PaintImageSpec(surface.Dc(), &manager, CUIRect(0, 0, 8, 8), CUIRect(40, 40, 50, 50),
                                           unpainted));
    ExpectPixels(surface, {{5, 5, kGrey}, {45, 45, kGrey}});
}

TEST(PaintImageSpec, FailedLoadIsNeverRetriedForTheSameString)
{
    CUIManager manager;
    const std::wstring later = DataPath(L"later.png");
    DeleteFileW(later.c_str());
    ImageDrawSpec spec = SpecOf(L"file='" + later + L"'");
    EXPECT_FALSE(Load(&manager, spec));

    std::vector<BYTE> png = ReadData(L"tile.png");
    ASSERT_TRUE(WriteFileBytes(later, png.data(), png.size()));
    CSurface surface(4, 4, kGrey);
    EXPECT_FALSE(CRenderKit::PaintImageSpec(surface.Dc(), &manager, CUIRect(0, 0, 4, 4), CUIRect(0, 0, 4, 4), spec));
    EXPECT_EQ(kGrey, surface.Pixel(0, 0));

    // Setting the string again clears the draw spec; the new attempt succeeds.
    const CUIString text = spec.drawString;
    spec.Clear();
    spec.drawString = text;
    EXPECT_TRUE(Load(&manager, spec));
    DeleteFileW(later.c_str());
}

TEST(PaintImageSpec, SpecsNamingOneFileShareTheEntryLoadedFirst)
{
    CUIManager manager;
    ImageDrawSpec masked = SpecOf(FileItem(L"magenta.png") + L" mask='#FFFF00FF'");
    ImageDrawSpec plain = SpecOf(FileItem(L"magenta.png"));
    ASSERT_TRUE(Load(&manager, masked));
    ASSERT_TRUE(Load(&manager, plain));
    EXPECT_EQ(masked.image, plain.image);
    EXPECT_EQ(0u, EntryPixel(*plain.image, 0, 0));
}

TEST(PaintImageSpec, ResourceTypeIsPassedOnlyWithRes)
{
    CUIManager manager;
    ImageDrawSpec byRes = SpecOf(L"res='OPAQUE_PNG' restype='PNGRES' hsl='true'");
    ASSERT_TRUE(Load(&manager, byRes));
    EXPECT_STREQ(L"PNGRES", byRes.image->resType.GetData());
    EXPECT_TRUE(byRes.image->useHsl);
    ImageDrawSpec byNumber = SpecOf(L"res='7' restype='PNGRES'");
    ASSERT_TRUE(Load(&manager, byNumber));
    EXPECT_EQ(3, byNumber.image->width);
    CUIManager other;
    ImageDrawSpec byFile = SpecOf(L"file='OPAQUE_PNG' restype='PNGRES'");
    EXPECT_FALSE(Load(&other, byFile));
}

// The keys of a description reach the nine-grid: dest places grid.png at
// (2, 3)-(42, 33) inside the control, corner (or its synonym scale9) keeps
// 4-pixel borders, hole leaves the middle out, fade blends, source picks a
// part. Columns 2-5 | 6-37 | 38-41, rows 3-6 | 7-28 | 29-32.
TEST(PaintImageSpec, DescriptionKeysDrawTheNineGridPieces)
{
    CUIManager manager;
    const CUIRect control(0, 0, 48, 40);
    const std::wstring grid = FileItem(L"grid.png") + L" dest='2,3,42,33'";
    auto paint = [&](const std::wstring& text, DWORD background) {
        auto surface = std::make_unique<CSurface>(48, 40, background);
        ImageDrawSpec spec = SpecOf(text);
        EXPECT_TRUE(CRenderKit::PaintImageSpec(surface->Dc(), &manager, control, control, spec)) << text.c_str();
        return surface;
    };

    for (const wchar_t* corners : {L" corner='4,4,4,4'", L" scale9='4,4,4,4'"})
    {
        auto framed = paint(grid + corners, kGrey);
        ExpectPixels(*framed, {{2, 3, kRed},      {5, 6, kRed},      {6, 3, kLime},    {37, 6, kLime},
                               {41, 3, kBlue},    {2, 7, kYellow},   {5, 28, kYellow}, {6, 7, kCyan},
                               {20, 15, kCyan},   {37, 28, kCyan},   {38, 7, kMagenta}, {41, 28, kMagenta},
                               {2, 32, kMaroon},  {20, 29, kGreen},  {41, 32, kNavy},  {1, 3, kGrey},
                               {42, 3, kGrey},    {2, 2, kGrey},     {41, 33, kGrey}});
    }
    auto hole = paint(grid + L" corner='4,4,4,4' hole='true'", kGrey);
    ExpectPixels(*hole, {{2, 3, kRed}, {20, 3, kLime}, {2, 15, kYellow}, {41, 15, kMagenta}, {20, 32, kGreen},
                         {6, 7, kGrey}, {20, 15, kGrey}, {37, 28, kGrey}});
    // Opaque pixels x 128/255 over black: 255 becomes 128.
    auto faded = paint(grid + L" corner='4,4,4,4' fade='128'", kBlack);
    ExpectPixels(*faded, {{2, 3, 0x800000}, {20, 15, 0x008080}, {41, 32, 0x000040}, {1, 3, kBlack}}, 1);
    // The cyan block alone, stretched over the whole destination.
    auto part = paint(grid + L" source='4,4,8,8'", kGrey);
    ExpectPixels(*part, {{2, 3, kCyan}, {41, 32, kCyan}, {20, 15, kCyan}, {42, 15, kGrey}});
    // tile.png repeated from the destination's corner; the last tiles are cut.
    const DWORD tile[2][3] = {{kRed, kLime, kBlue}, {kYellow, kCyan, kMagenta}};
    auto tiled = paint(FileItem(L"tile.png") + L" dest='4,4,12,9' xtiled='true' ytiled='true'", kGrey);
    for (int y = 3; y <= 9; ++y)
    {
        for (int x = 3; x <= 12; ++x)
        {
            const bool inside = x >= 4 && x < 12 && y >= 4 && y < 9;
            ExpectPixels(*tiled, {{x, y, inside ? tile[(y - 4) % 2][(x - 4) % 3] : kGrey}});
        }
    }
}

// The main window widens its progress strip by formatting the width into
// "file='bk/unins_pro_bk.png' dest='0,0,%d,9' corner='0,0,5,0'". The strip
// image is 15 body columns (red, lime, blue thirds) and a 5-column cap.
TEST(PaintImageSpec, ProgressStripGrowsToTheFormattedWidthAndKeepsItsCap)
{
    InstallManagerSkinZip();
    CUIManager manager;
    const DWORD cap[5] = {kYellow, kCyan, kMagenta, kWhite, kMaroon};
    // A control 200 wide at (10, 20); the strip is rows 20-28.
    const CUIRect control(10, 20, 210, 50);
    const CUIRect everything(0, 0, 230, 60);
    for (int width : {5, 60, 100, 200, 300})
    {
        wchar_t text[256] = {};
        std::swprintf(text, 256, L"file='bk/unins_pro_bk.png' dest='0,0,%d,9' corner='0,0,5,0'", width);
        ImageDrawSpec spec = SpecOf(text);
        CSurface surface(230, 60, kGrey);
        ASSERT_TRUE(CRenderKit::PaintImageSpec(surface.Dc(), &manager, control, everything, spec)) << width;
        SCOPED_TRACE(width);

        // The right edge is held to the control; the cap keeps one pixel per
        // source column there, at the top and bottom rows alike.
        const int right = 10 + std::min(width, 200);
        for (int i = 0; i < 5; ++i)
            ExpectPixels(surface, {{right - 5 + i, 20, cap[i]}, {right - 5 + i, 28, cap[i]}});
        ExpectPixels(surface, {{right, 20, kGrey}, {9, 20, kGrey}, {10, 19, kGrey}, {10, 29, kGrey}});
        // The body's 15 columns stretch over the rest: centres of its thirds.
        const int body = right - 5 - 10;
        if (body > 0)
            ExpectPixels(surface, {{10 + body / 6, 24, kRed}, {10 + body / 2, 24, kLime},
                                   {10 + body * 5 / 6, 24, kBlue}});
    }

    // With a fade the strip is blended even though the image is opaque.
    ImageDrawSpec faded = SpecOf(L"file='bk/unins_pro_bk.png' dest='0,0,100,9' corner='0,0,5,0' fade='128'");
    CSurface dark(230, 60, kBlack);
    ASSERT_TRUE(CRenderKit::PaintImageSpec(dark.Dc(), &manager, control, everything, faded));
    ExpectPixels(dark, {{105, 20, 0x808000}, {109, 28, 0x400000}, {20, 24, 0x800000}, {110, 20, kBlack}}, 1);
}
