// CRenderKit images and colours: fetching, decoding through stb_image and
// converting to the premultiplied BGRA of a top-down DIB section, plus the
// colour rules every text, pen and gradient call shares. Caching the entries
// is the manager's; so is filling resType, mask, useHsl and sourcePixels.
#include "ui/render/RenderKit.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

#include "stb_image.h"

namespace DuiLib {

namespace {

// Largest pixel buffer accepted, in bytes: anything beyond cannot be sized
// in a signed 32-bit field, nor held in a 32-bit process.
constexpr unsigned long long kMaxPixelBytes = INT_MAX;

ImageFailureReport s_failureReport = nullptr;

void ReportFailure(const wchar_t* name, ImageFailure failure)
{
    if (s_failureReport != nullptr && !IS_INTRESOURCE(name))
        s_failureReport(name, failure);
}

// Straight RGBA from the decoder, or null; the decoder's pixels are freed
// with stbi_image_free.
stbi_uc* DecodeRgba(const BYTE* bytes, unsigned size, int& width, int& height)
{
    width = 0;
    height = 0;
    if (bytes == nullptr || size == 0 || size > static_cast<unsigned>(INT_MAX))
        return nullptr;
    int channelsInFile = 0;
    return stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channelsInFile, 4);
}

// Converts decoded pixels into an entry and frees them, whatever the outcome.
ImageEntry* EntryFromDecoded(stbi_uc* rgba, int width, int height, DWORD mask)
{
    if (rgba == nullptr)
        return nullptr;
    ImageEntry* entry = CRenderKit::CreateImageEntry(rgba, width, height, mask);
    stbi_image_free(rgba);
    return entry;
}

ImageEntry* ColorEntry(const wchar_t* name, DWORD mask)
{
    // A name in integer-resource form is a small number, not text to read.
    if (IS_INTRESOURCE(name))
        return nullptr;
    const DWORD color = ReadHexColor(name);
    const BYTE rgba[4] = {static_cast<BYTE>(color >> 16), static_cast<BYTE>(color >> 8), static_cast<BYTE>(color),
                          static_cast<BYTE>(color >> 24)};
    return CRenderKit::CreateImageEntry(rgba, 1, 1, mask);
}

}  // namespace

ImageEntry* CRenderKit::LoadImageEntry(const wchar_t* name, const wchar_t* type, DWORD mask)
{
    return LoadImageEntry(name, type, mask, SkinLocation::Current());
}

ImageEntry* CRenderKit::LoadImageEntry(const wchar_t* name, const wchar_t* type, DWORD mask,
                                       const SkinLocation& location)
{
    if (name == nullptr)
        return nullptr;
    if (type != nullptr && std::wcscmp(type, kColorImageType) == 0)
        return ColorEntry(name, mask);

    BYTE* bytes = nullptr;
    unsigned size = 0;
    if (!FetchImageBytes(location, name, type, bytes, size))
    {
        ReportFailure(name, ImageFailure::NotFound);
        return nullptr;
    }
    int width = 0;
    int height = 0;
    stbi_uc* rgba = DecodeRgba(bytes, size, width, height);
    // The encoded bytes are not needed once decoded; freeing them before the
    // DIB exists keeps the peak to one copy of the picture.
    delete[] bytes;
    ImageEntry* entry = EntryFromDecoded(rgba, width, height, mask);
    if (entry == nullptr)
        ReportFailure(name, ImageFailure::NotDecoded);
    return entry;
}

void CRenderKit::SetImageFailureReport(ImageFailureReport report)
{
    s_failureReport = report;
}

ImageEntry* CRenderKit::DecodeImageEntry(const BYTE* bytes, unsigned size, DWORD mask)
{
    int width = 0;
    int height = 0;
    stbi_uc* rgba = DecodeRgba(bytes, size, width, height);
    return EntryFromDecoded(rgba, width, height, mask);
}

HBITMAP CRenderKit::CreateDib32(int width, int height, BYTE*& pixels)
{
    pixels = nullptr;
    if (width <= 0 || height <= 0)
        return nullptr;
    const unsigned long long byteCount =
        static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) * 4;
    if (byteCount > kMaxPixelBytes)
        return nullptr;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(byteCount);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits == nullptr)
    {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    pixels = bitmap != nullptr ? static_cast<BYTE*>(bits) : nullptr;
    return bitmap;
}

ImageEntry* CRenderKit::CreateImageEntry(const BYTE* rgba, int width, int height, DWORD mask)
{
    if (rgba == nullptr || width <= 0 || height <= 0)
        return nullptr;
    BYTE* pixels = nullptr;
    HBITMAP bitmap = CreateDib32(width, height, pixels);
    if (bitmap == nullptr)
        return nullptr;

    bool hasAlpha = false;
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < pixelCount; ++i)
    {
        const BYTE* in = rgba + i * 4;
        BYTE* out = pixels + i * 4;
        const unsigned alpha = in[3];
        if (alpha == 255)
        {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
        else
        {
            out[0] = static_cast<BYTE>(in[2] * alpha / 255);
            out[1] = static_cast<BYTE>(in[1] * alpha / 255);
            out[2] = static_cast<BYTE>(in[0] * alpha / 255);
            hasAlpha = true;
        }
        out[3] = static_cast<BYTE>(alpha);

        // Compared after premultiplying: an opaque mask colour matches as
        // written, a translucent pixel only by its premultiplied value.
        const DWORD value = (static_cast<DWORD>(out[3]) << 24) | (static_cast<DWORD>(out[2]) << 16) |
                            (static_cast<DWORD>(out[1]) << 8) | out[0];
        if (value == mask)
        {
            std::memset(out, 0, 4);
            hasAlpha = true;
        }
    }

    ImageEntry* entry = new (std::nothrow) ImageEntry;
    if (entry == nullptr)
    {
        DeleteObject(bitmap);
        return nullptr;
    }
    entry->bitmap = bitmap;
    entry->pixels = pixels;
    entry->width = width;
    entry->height = height;
    entry->hasAlpha = hasAlpha;
    return entry;
}

DWORD CRenderKit::ShiftColorHsl(DWORD color)
{
    // Nothing in the system moves the hue/saturation/lightness setting off
    // its neutral (180, 100, 100), and at neutral the shift is the identity.
    return color;
}

COLORREF CRenderKit::ToPlatformColor(DWORD color)
{
    // 0 is the toolkit's "unset", and in a layered window a pixel left at 0
    // stays fully transparent; drawn black keeps a trace of blue so that the
    // alpha fix-up of layered painting makes it opaque.
    if (color == 0 || color == 0xFF000000)
        color = 0xFF000001;
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

}  // namespace DuiLib
