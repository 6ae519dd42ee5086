// WritePng through GDI+'s flat interface: a bitmap over the caller's memory
// (no copy), saved with the PNG encoder, GDI+ started for the call alone.
#include "ui/render/PngWriter.h"

// WIN32_LEAN_AND_MEAN leaves out the COM types that GDI+ needs.
#include <objidl.h>
#include <gdiplus.h>

namespace DuiLib {

bool WritePng(const void* topRow, int width, int height, int stride, PixelAlpha alpha, const wchar_t* path)
{
    namespace flat = Gdiplus::DllExports;
    if (topRow == nullptr || path == nullptr || width <= 0 || height <= 0)
        return false;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    const Gdiplus::PixelFormat format = alpha == PixelAlpha::Ignored    ? PixelFormat32bppRGB
                                        : alpha == PixelAlpha::Straight ? PixelFormat32bppARGB
                                                                        : PixelFormat32bppPARGB;
    bool saved = false;
    Gdiplus::GpBitmap* image = nullptr;
    // GDI+ only reads the pixels to encode them, though the call takes them
    // as writable.
    if (flat::GdipCreateBitmapFromScan0(width, height, stride, format,
                                        static_cast<BYTE*>(const_cast<void*>(topRow)), &image) == Gdiplus::Ok)
    {
        // The PNG encoder's class id, fixed by GDI+.
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        saved = flat::GdipSaveImageToFile(image, path, &png, nullptr) == Gdiplus::Ok;
        flat::GdipDisposeImage(image);
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

}  // namespace DuiLib
