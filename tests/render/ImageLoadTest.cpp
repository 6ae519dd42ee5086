// Loading real image files into premultiplied entries: formats, alpha and
// mask rules, the colour pseudo type, every byte source and damaged input.
// Expected pixels follow from the pixel lists in data/ and the rule
// channel x alpha / 255, truncated.
#include "ui/render/RenderKit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "RenderTestSupport.h"
#include "ui/markup/SkinArchive.h"
#include "ui/core/UIManager.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

EntryPtr LoadFrom(const SkinLocation& source, const wchar_t* name, const wchar_t* type = nullptr)
{
    return EntryPtr(CRenderKit::LoadImageEntry(name, type, 0, source));
}

EntryPtr Decode(const std::vector<BYTE>& bytes, size_t count)
{
    return EntryPtr(CRenderKit::DecodeImageEntry(bytes.data(), static_cast<unsigned>(count), 0));
}

SkinLocation ZipSource(const char* password)
{
    SkinLocation source;
    source.folder = DataFolder().c_str();
    source.zipName = L"skin.zip";
    std::strcpy(source.zipPassword, password);
    return source;
}

}  // namespace

TEST(ImageLoad, TranslucentPixelsArePremultiplied)
{
    EntryPtr entry = LoadDataImage(L"straight.png");
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(2, entry->width);
    EXPECT_EQ(2, entry->height);
    EXPECT_TRUE(entry->hasAlpha);
    // (200, 100, 50, 128) is stored as red 100, green 50, blue 25.
    EXPECT_EQ(0x80643219u, EntryPixel(*entry, 0, 0));
    EXPECT_EQ(0xFFFF00FFu, EntryPixel(*entry, 1, 0));
    EXPECT_EQ(0xFF0A141Eu, EntryPixel(*entry, 0, 1));
    EXPECT_EQ(0u, EntryPixel(*entry, 1, 1));
    EXPECT_FALSE(entry->useHsl);
    EXPECT_EQ(nullptr, entry->sourcePixels);
}

TEST(ImageLoad, EveryFormatDecodesAsRgba)
{
    for (const wchar_t* name : {L"opaque.png", L"opaque.bmp", L"opaque.gif", L"opaque.tga", L"frames.gif"})
    {
        EntryPtr entry = LoadDataImage(name);
        ASSERT_NE(nullptr, entry) << name;
        EXPECT_FALSE(entry->hasAlpha) << name;
        EXPECT_EQ(0xFF010203u, EntryPixel(*entry, 0, 0)) << name;
        EXPECT_EQ(0xFFFA8007u, EntryPixel(*entry, 1, 0)) << name;
    }
    EntryPtr jpeg = LoadDataImage(L"solid.jpg");
    ASSERT_NE(nullptr, jpeg);
    EXPECT_FALSE(jpeg->hasAlpha);
    EXPECT_TRUE(Near(0xFFC8285A, EntryPixel(*jpeg, 4, 4), 3));
}

TEST(ImageLoad, OnePixelWithAlpha254MakesTheImageBlended)
{
    EntryPtr entry = LoadDataImage(L"nearly.png");
    ASSERT_NE(nullptr, entry);
    EXPECT_TRUE(entry->hasAlpha);
    EXPECT_EQ(0xFF0A0A0Au, EntryPixel(*entry, 0, 0));
    EXPECT_EQ(0xFE131313u, EntryPixel(*entry, 1, 0));  // 20 x 254 / 255 = 19
}

TEST(ImageLoad, MaskComparesPremultipliedPixels)
{
    EntryPtr magenta = LoadDataImage(L"magenta.png", 0xFFFF00FF);
    EXPECT_TRUE(magenta->hasAlpha);
    EXPECT_EQ(0u, EntryPixel(*magenta, 0, 0));
    EXPECT_EQ(0xFF008000u, EntryPixel(*magenta, 1, 0));
    // A translucent pixel matches by its stored value, not as written.
    EXPECT_EQ(0x80643219u, EntryPixel(*LoadDataImage(L"straight.png", 0x80C86432), 0, 0));
    EXPECT_EQ(0u, EntryPixel(*LoadDataImage(L"straight.png", 0x80643219), 0, 0));
}

TEST(ImageLoad, ColourNamesMakeOnePixel)
{
    EntryPtr translucent = LoadFrom(SkinLocation(), L"#80FF0000", L"*COLOR*");
    ASSERT_NE(nullptr, translucent);
    EXPECT_EQ(1, translucent->width);
    EXPECT_EQ(0x80800000u, EntryPixel(*translucent, 0, 0));
    EXPECT_TRUE(translucent->hasAlpha);
    EntryPtr opaque = LoadFrom(SkinLocation(), L"FF336699", L"*COLOR*");
    EXPECT_EQ(0xFF336699u, EntryPixel(*opaque, 0, 0));
    EXPECT_FALSE(opaque->hasAlpha);
    // Six digits leave alpha 0: fully transparent.
    EXPECT_EQ(0u, EntryPixel(*LoadFrom(SkinLocation(), L"#336699", L"*COLOR*"), 0, 0));
}

// A colour in integer-resource form is a number, not text: it must fail
// without being read.
TEST(ImageLoad, ColourNamesInIntegerFormFailWithoutBeingRead)
{
    EXPECT_EQ(nullptr, LoadFrom(SkinLocation(), MAKEINTRESOURCEW(80), L"*COLOR*"));
}

// Regression: the manager turned every digit-led name with a type into a
// resource id, the colour pseudo type included, so color='80FF0000' (no
// "#") never loaded. 0x80 alpha over red 0xFF premultiplies to red 0x80.
TEST(ImageLoad, ManagerColourWithoutHashStartingWithADigitLoads)
{
    CUIManager manager;
    ImageEntry* translucent = manager.AddImage(L"80FF0000", L"*COLOR*", 0, false, ResourceScope::Own);
    ASSERT_NE(nullptr, translucent);
    EXPECT_EQ(0x80800000u, EntryPixel(*translucent, 0, 0));
    EXPECT_STREQ(L"*COLOR*", translucent->resType.GetData());
    ImageEntry* opaque = manager.AddImage(L"FF336699", L"*COLOR*", 0, false, ResourceScope::Own);
    ASSERT_NE(nullptr, opaque);
    EXPECT_EQ(0xFF336699u, EntryPixel(*opaque, 0, 0));
    // Through an image description, as a skin writes it.
    ImageDrawSpec spec;
    spec.drawString = L"color='10203040'";
    ASSERT_TRUE(CRenderKit::PaintImageSpec(nullptr, &manager, CUIRect(), CUIRect(), spec));
    // Alpha 0x10: 0x20 x 16 / 255 = 2, 0x30 x 16 / 255 = 3, 0x40 x 16 / 255 = 4.
    EXPECT_EQ(0x10020304u, EntryPixel(*spec.image, 0, 0));
    // A real resource type still reads a digit-led name as a resource id.
    ImageEntry* byNumber = manager.AddImage(L"7", L"PNGRES", 0, false, ResourceScope::Own);
    ASSERT_NE(nullptr, byNumber);
    EXPECT_EQ(3, byNumber->width);
}

TEST(ImageSources, ResourcesLoadByNameAndNumberAndFallBackToTheNameAsAPath)
{
    EntryPtr byName = LoadFrom(SkinLocation(), L"OPAQUE_PNG", L"PNGRES");
    ASSERT_NE(nullptr, byName);
    EXPECT_EQ(0xFFFA8007u, EntryPixel(*byName, 1, 0));
    EntryPtr byNumber = LoadFrom(SkinLocation(), MAKEINTRESOURCEW(7), L"PNGRES");
    ASSERT_NE(nullptr, byNumber);
    EXPECT_EQ(3, byNumber->width);
    EXPECT_EQ(nullptr, LoadFrom(SkinLocation(), L"NO_SUCH_PNG", L"PNGRES"));
    EXPECT_EQ(nullptr, LoadFrom(SkinLocation(), MAKEINTRESOURCEW(8), L"PNGRES"));
    EXPECT_NE(nullptr, LoadFrom(SkinLocation(), DataPath(L"grid.png").c_str(), L"PNGRES"));
}

TEST(ImageSources, SkinFolderAndCurrentDirectory)
{
    SkinLocation skinFolder;
    skinFolder.folder = DataFolder().c_str();
    EXPECT_NE(nullptr, LoadFrom(skinFolder, L"tile.png"));
    EXPECT_EQ(nullptr, LoadFrom(skinFolder, L"missing.png"));

    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(DataFolder().c_str()));
    EntryPtr relative = LoadFrom(SkinLocation(), L"grid.png");
    SetCurrentDirectoryW(previous);
    EXPECT_NE(nullptr, relative);
}

// data/ holds opaque.png; neither the archive nor the folder data/zipped/
// does, so only the last attempt, the name as a path, can find it.
TEST(ImageSources, ImageOnlyInTheCurrentDirectoryIsFoundByItsRelativeName)
{
    SkinLocation skinFolder;
    skinFolder.folder = (DataFolder() + L"zipped\\").c_str();
    EXPECT_EQ(nullptr, LoadFrom(ZipSource(kSkinZipPassword), L"opaque.png"));
    EXPECT_EQ(nullptr, LoadFrom(skinFolder, L"opaque.png"));

    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(DataFolder().c_str()));
    EntryPtr besideZip = LoadFrom(ZipSource(kSkinZipPassword), L"opaque.png");
    EntryPtr besideFolder = LoadFrom(skinFolder, L".\\opaque.png");
    SetCurrentDirectoryW(previous);
    ASSERT_NE(nullptr, besideZip);
    ASSERT_NE(nullptr, besideFolder);
    EXPECT_EQ(0xFFFA8007u, EntryPixel(*besideZip, 1, 0));
    EXPECT_EQ(0xFFFA8007u, EntryPixel(*besideFolder, 1, 0));
}

TEST(ImageSources, ZipEntriesMatchWithoutRegardToCaseOrSeparators)
{
    EntryPtr entry = LoadFrom(ZipSource(kSkinZipPassword), L"BK\\ZIPPED.PNG");
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(0x80643219u, EntryPixel(*entry, 0, 0));
    EXPECT_NE(nullptr, LoadFrom(ZipSource(kSkinZipPassword), L"\\bk//zipped.png"));
    // Empty and absent entries, and a wrong password, give nothing.
    EXPECT_EQ(nullptr, LoadFrom(ZipSource(kSkinZipPassword), L"bk/empty.png"));
    EXPECT_EQ(nullptr, LoadFrom(ZipSource(kSkinZipPassword), L"bk/absent.png"));
    EXPECT_EQ(nullptr, LoadFrom(ZipSource("wrong"), L"bk/Zipped.png"));

    std::vector<BYTE> zip = ReadData(L"skin.zip");
    std::unique_ptr<CSkinArchive> archive(
        CSkinArchive::OpenFromMemory(zip.data(), static_cast<unsigned>(zip.size()), kSkinZipPassword));
    SkinLocation kept = ZipSource("");
    kept.zipName = L"no such file.zip";
    kept.openZip = archive.get();
    EXPECT_NE(nullptr, LoadFrom(kept, L"bk/zipped.png"));
}

TEST(ImageSources, ManagerImagesComeFromItsSkinZip)
{
    InstallManagerSkinZip();
    CUIManager manager;
    ImageEntry* entry = manager.AddImage(L"bk/zipped.png", nullptr, 0xFFFF00FF, true, ResourceScope::Own);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(0u, EntryPixel(*entry, 1, 0));
    ASSERT_NE(nullptr, entry->sourcePixels);
    // Files outside the archive are still found by their own path.
    EXPECT_NE(nullptr, manager.AddImage(DataPath(L"tile.png").c_str(), nullptr, 0, false, ResourceScope::Own));
}

TEST(ImageLoad, DamagedBytesAndFilesFailCleanly)
{
    std::vector<BYTE> png = ReadData(L"grid.png");
    ASSERT_GT(png.size(), 40u);
    EXPECT_EQ(nullptr, Decode(png, png.size() / 2));
    EXPECT_EQ(nullptr, Decode(png, 8));
    EXPECT_EQ(nullptr, Decode(png, 0));
    std::vector<BYTE> garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<BYTE>(i * 37 + 11);
    EXPECT_EQ(nullptr, Decode(garbage, garbage.size()));

    const std::wstring truncated = DataPath(L"truncated.png");
    ASSERT_TRUE(WriteFileBytes(truncated, png.data(), png.size() - 20));
    EXPECT_EQ(nullptr, LoadFrom(SkinLocation(), truncated.c_str()));
    ASSERT_TRUE(WriteFileBytes(truncated, nullptr, 0));
    EXPECT_EQ(nullptr, LoadFrom(SkinLocation(), truncated.c_str()));
    DeleteFileW(truncated.c_str());

    // A header claiming 65536 x 65536 pixels: 16 GiB of RGBA.
    const BYTE huge[8] = {0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00};
    std::memcpy(png.data() + 16, huge, sizeof(huge));
    EXPECT_EQ(nullptr, Decode(png, png.size()));
}

TEST(ImageLoad, FailedLoadsAreReportedByNameAndReason)
{
    static std::vector<std::pair<std::wstring, ImageFailure>> reported;
    reported.clear();
    CRenderKit::SetImageFailureReport(
        [](const wchar_t* name, ImageFailure failure) { reported.emplace_back(name, failure); });
    SkinLocation skinFolder;
    skinFolder.folder = DataFolder().c_str();
    std::vector<BYTE> png = ReadData(L"grid.png");
    const std::wstring truncated = DataPath(L"half.png");
    ASSERT_TRUE(WriteFileBytes(truncated, png.data(), png.size() / 2));

    EXPECT_NE(nullptr, LoadFrom(skinFolder, L"tile.png"));
    EXPECT_EQ(nullptr, LoadFrom(skinFolder, L"missing.png"));
    EXPECT_EQ(nullptr, LoadFrom(skinFolder, L"half.png"));
    EXPECT_EQ(nullptr, LoadFrom(SkinLocation(), MAKEINTRESOURCEW(8), L"PNGRES"));
    CRenderKit::SetImageFailureReport(nullptr);
    EXPECT_EQ(nullptr, LoadFrom(skinFolder, L"missing.png"));
    DeleteFileW(truncated.c_str());

    // Neither the loaded image, nor a resource number, nor anything after
    // the report was removed.
    ASSERT_EQ(2u, reported.size());
    EXPECT_EQ(L"missing.png", reported[0].first);
    EXPECT_EQ(ImageFailure::NotFound, reported[0].second);
    EXPECT_EQ(L"half.png", reported[1].first);
    EXPECT_EQ(ImageFailure::NotDecoded, reported[1].second);
}

// Regression: width x height x 4 wrapping around 32 bits would size the
// pixel buffer far too small. The size is refused before rgba is read.
TEST(ImageLoad, PixelCountOverflowingThirtyTwoBitsIsRefused)
{
    const BYTE rgba[4] = {1, 2, 3, 4};
    EXPECT_EQ(nullptr, CRenderKit::CreateImageEntry(rgba, 0x10000, 0x10000, 0));
    EXPECT_EQ(nullptr, CRenderKit::CreateImageEntry(rgba, 0x40000000, 1, 0));
    EXPECT_EQ(nullptr, CRenderKit::CreateImageEntry(rgba, 0x20000000, 1, 0));
    EXPECT_EQ(nullptr, CRenderKit::CreateImageEntry(rgba, 0, 5, 0));
    EXPECT_EQ(nullptr, CRenderKit::CreateImageEntry(rgba, 5, -1, 0));
}

TEST(ImageLoad, ReleaseFreesTheBitmapAndOptionallyTheRecord)
{
    ImageEntry* entry = CRenderKit::LoadImageEntry(L"#FF000000", L"*COLOR*", 0, SkinLocation());
    ASSERT_NE(nullptr, entry);
    HBITMAP bitmap = entry->bitmap;
    entry->sourcePixels = new BYTE[4];
    ReleaseImageEntry(entry, false);
    EXPECT_EQ(nullptr, entry->bitmap);
    EXPECT_EQ(nullptr, entry->sourcePixels);
    EXPECT_EQ(0u, GetObjectType(bitmap));
    ReleaseImageEntry(entry, true);
    ReleaseImageEntry(nullptr, true);
}

TEST(Colors, PlatformColourSwapsRedAndBlueAndDrawsBlackWithBlueOne)
{
    EXPECT_EQ(RGB(0x33, 0x66, 0x99), CRenderKit::ToPlatformColor(0xFF336699));
    EXPECT_EQ(RGB(0x34, 0x56, 0x78), CRenderKit::ToPlatformColor(0x12345678));
    EXPECT_EQ(RGB(0, 0, 1), CRenderKit::ToPlatformColor(0));
    EXPECT_EQ(RGB(0, 0, 1), CRenderKit::ToPlatformColor(0xFF000000));
    EXPECT_EQ(RGB(0, 0, 0), CRenderKit::ToPlatformColor(0x80000000));
    for (DWORD color : {0u, 0xFF000000u, 0x80FF0000u, 0x12345678u})
        EXPECT_EQ(color, CRenderKit::ShiftColorHsl(color));
}
