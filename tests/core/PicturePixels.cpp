// Reading DIB sections back and writing PNG files of pixels.
#include "tests/core/PicturePixels.h"

#include <objidl.h>
#include <gdiplus.h>

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

bool SavePixelsPng(const void* topRow, int width, int height, int stride, bool premultiplied,
                   const std::wstring& path)
{
    namespace flat = Gdiplus::DllExports;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (topRow == nullptr || Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    bool saved = false;
    Gdiplus::GpBitmap* image = nullptr;
    if (flat::GdipCreateBitmapFromScan0(width, height, stride,
                                        premultiplied ? PixelFormat32bppPARGB : PixelFormat32bppARGB,
                                        static_cast<BYTE*>(const_cast<void*>(topRow)), &image) == Gdiplus::Ok)
    {
        // The PNG encoder's class id, fixed by GDI+.
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        saved = flat::GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Gdiplus::Ok;
        flat::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
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
        return SavePixelsPng(top, dib.dsBm.bmWidth, dib.dsBm.bmHeight, stride, true, path);
    top += static_cast<size_t>(dib.dsBm.bmHeight - 1) * stride;
    return SavePixelsPng(top, dib.dsBm.bmWidth, dib.dsBm.bmHeight, -stride, true, path);
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
