// Reading DIB sections back and writing PNG files of pixels.
#include "tests/core/PicturePixels.h"

#include "ui/render/PngWriter.h"

namespace DuiLib {
namespace test {

namespace {

// The DIB section behind bitmap when it is one of 32 bits per pixel.
bool ReadDib(HBITMAP bitmap, DIBSECTION& dib)
{
    return bitmap != nullptr && GetObjectW(bitmap, sizeof(dib), &dib) == sizeof(dib) &&
           dib.dsBm.bmBits != nullptr && dib.dsBm.bmBitsPixel == 32;
}

}  // namespace

DWORD PixelAt(HBITMAP bitmap, int x, int y)
{
    DIBSECTION dib = {};
    if (!ReadDib(bitmap, dib) || x < 0 || y < 0 || x >= dib.dsBm.bmWidth || y >= dib.dsBm.bmHeight)
        return 0;
    GdiFlush();
    const BYTE* bits = static_cast<const BYTE*>(dib.dsBm.bmBits);
    // Bottom-up sections (positive height) keep the client's top row last.
    const int row = dib.dsBmih.biHeight > 0 ? dib.dsBm.bmHeight - 1 - y : y;
    return *reinterpret_cast<const DWORD*>(bits + static_cast<size_t>(row) * dib.dsBm.bmWidthBytes + x * 4);
}

bool SavePng(HBITMAP bitmap, const std::wstring& path)
{
    DIBSECTION dib = {};
    if (!ReadDib(bitmap, dib))
        return false;
    GdiFlush();
    const int stride = dib.dsBm.bmWidthBytes;
    const BYTE* top = static_cast<const BYTE*>(dib.dsBm.bmBits);
    if (dib.dsBmih.biHeight <= 0)
        return WritePng(top, dib.dsBm.bmWidth, dib.dsBm.bmHeight, stride, PixelAlpha::Premultiplied, path.c_str());
    top += static_cast<size_t>(dib.dsBm.bmHeight - 1) * stride;
    return WritePng(top, dib.dsBm.bmWidth, dib.dsBm.bmHeight, -stride, PixelAlpha::Premultiplied, path.c_str());
}

std::wstring BesideProgram(const wchar_t* name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    return path.erase(path.find_last_of(L"\\/") + 1) + name;
}

}  // namespace test
}  // namespace DuiLib
