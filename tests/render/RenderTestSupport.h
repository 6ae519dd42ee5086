// Helpers of the render tests: the generated images beside the test program
// and 32-bit drawing surfaces whose pixels can be read back and compared.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ui/render/ImageEntry.h"

namespace DuiLib {
namespace test {

// Opaque colours of the test images, as 0xAARRGGBB.
constexpr DWORD kRed = 0xFFFF0000, kLime = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00,
                kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF, kMaroon = 0xFF800000, kGreen = 0xFF008000,
                kNavy = 0xFF000080, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kGrey = 0xFF202020;

// The data folder beside the test program, ending with a backslash.
std::wstring DataFolder();
std::wstring DataPath(const std::wstring& name);
std::vector<BYTE> ReadData(const std::wstring& name);
bool WriteFileBytes(const std::wstring& path, const void* bytes, size_t size);

// The password of data/skin.zip.
constexpr char kSkinZipPassword[] = "render7";
// Hands data/skin.zip to the manager as its in-memory skin archive, as the
// application does with its resource. The manager keeps the first archive
// for the process, so every test installs this same one.
void InstallManagerSkinZip();

struct EntryDeleter
{
    void operator()(ImageEntry* entry) const { ReleaseImageEntry(entry, true); }
};
using EntryPtr = std::unique_ptr<ImageEntry, EntryDeleter>;

// The data file decoded with mask, with no folder, zip or resource module.
EntryPtr LoadDataImage(const std::wstring& name, DWORD mask = 0);
// Pixel (x, y) of an entry as stored: 0xAARRGGBB, premultiplied.
DWORD EntryPixel(const ImageEntry& entry, int x, int y);
// The colour bytes alone: raster drawing leaves the alpha byte 0.
inline DWORD Rgb(DWORD pixel)
{
    return pixel & 0x00FFFFFF;
}
// True when every channel of a and b differs by at most tolerance.
bool Near(DWORD a, DWORD b, int tolerance = 1);

// A memory device context drawing into a 32-bit top-down DIB section.
class CSurface
{
public:
    CSurface(int width, int height, DWORD fill);
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;
    ~CSurface();

    HDC Dc() const { return m_dc; }
    // 0xAARRGGBB at (x, y), after pending GDI drawing has landed.
    DWORD Pixel(int x, int y) const;

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    DWORD* m_pixels;
};

struct PixelCheck
{
    int x;
    int y;
    DWORD color;
};
// Expects the colour bytes of each listed pixel within tolerance per channel.
void ExpectPixels(const CSurface& surface, std::initializer_list<PixelCheck> checks, int tolerance = 0);

}  // namespace test
}  // namespace DuiLib
