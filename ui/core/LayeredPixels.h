// The pixel work of translucent (layered) windows on 32-bit bottom-up bitmaps:
// clearing and copying an area and the alpha fix-up before presentation. Pure
// byte arithmetic, no device context, so it reads and tests on its own.
// Invariant: nothing outside the plane's width x height pixels is touched.
#pragma once

#include <windows.h>

namespace DuiLib {

// A 32-bit bottom-up bitmap's memory: BGRA bytes, rows of exactly width x 4
// bytes, the bottom row first.
struct PixelPlane
{
    BYTE* bits;
    int width;
    int height;
};

// Areas are in client coordinates (top row 0); the rows they cover are
// counted from the bottom: height - area.bottom up to, not including,
// height - area.top. Parts of area outside the plane are ignored, and a
// plane without bits is left alone.

// Sets every pixel of area to 0 (fully transparent).
void ClearPixels(const PixelPlane& plane, const RECT& area);
// Copies area's pixels from source, a plane of the same size.
void CopyPixels(const PixelPlane& plane, const BYTE* source, const RECT& area);
// Makes area presentable with per-pixel alpha, as GDI leaves alpha 0 behind
// what it draws: a pixel that is not 0 but has alpha 0 becomes opaque.
// Inside opaque (when given), every pixel that is not 0 becomes opaque; opaque
// is compared with (column, row counted from the bottom). Colours are kept,
// pixels that are 0 stay fully transparent.
void FixLayeredAlpha(const PixelPlane& plane, const RECT& area, const RECT* opaque);

}  // namespace DuiLib
