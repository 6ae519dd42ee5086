// WritePng: a picture of 32-bit pixels written as a PNG file by the
// platform's own encoder (GDI+ through its flat interface, delay-loaded like
// every GDI+ use of the toolkit). Encoding is GDI+'s; this file only
// describes the pixels to it. The toolkit itself never writes pictures: skin
// tools and tests do.
#pragma once

#include <windows.h>

namespace DuiLib {

// How the pixels' alpha byte relates to their colour.
enum class PixelAlpha
{
    Ignored,        // every pixel is opaque, whatever its alpha byte holds
    Straight,       // colour and alpha independent
    Premultiplied,  // colour already multiplied by alpha (DIBs of layered windows)
};

// Writes width x height 0xAARRGGBB pixels, the top row at topRow and rows
// stride bytes apart (negative: upwards in memory), to the PNG file path,
// replacing it. False for null pixels or path, a size that is not positive,
// or when GDI+ cannot start, take the pixels or write the file.
bool WritePng(const void* topRow, int width, int height, int stride, PixelAlpha alpha, const wchar_t* path);

}  // namespace DuiLib
