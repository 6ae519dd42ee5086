// PaintImageSpec with a real manager: one load per string, the source part
// clamp, destination offsets, sharing of cached entries and the return value.
#include "ui/render/RenderKit.h"

#include <gtest/gtest.h>

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

    // Setting the string again clears the spec; the new attempt succeeds.
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
