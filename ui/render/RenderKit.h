// CRenderKit: the toolkit's picture operations. Images load once into
// premultiplied 32-bit top-down DIBs (RenderKitImages.cpp), specs draw as
// nine-grids (RenderKitImageDraw.cpp), fills and strokes in RenderKitShapes.cpp.
// No state but the two msimg32 entry points, resolved once per process, and
// the optional report of images that failed to load.
#pragma once

#include <windows.h>

#include "ui/render/ImageDrawSpec.h"
#include "ui/render/ImageEntry.h"
#include "ui/render/ImageSource.h"

namespace DuiLib {

class IRenderHost;
class IControlUI;

// How BlitNineGrid composes and fills the middle; combine with |.
enum UINineGridFlag : UINT
{
    UININE_PLAIN = 0,
    UININE_ALPHA = 0x01,   // the bitmap has per-pixel alpha: always blend
    UININE_HOLE = 0x02,    // leave the middle out
    UININE_XTILED = 0x04,  // repeat the middle across instead of stretching
    UININE_YTILED = 0x08,  // repeat the middle down instead of stretching
};

enum class GradientDirection
{
    Horizontal,  // first colour on the left
    Vertical,    // first colour at the top
};

// Why LoadImageEntry gave no picture.
enum class ImageFailure
{
    NotFound,    // no place held bytes under the name
    NotDecoded,  // the bytes are no picture the decoder reads, or too large
};

// Told the name of every skin image LoadImageEntry could not load. The
// uninstaller installs none (a missing picture is drawn as nothing); tools
// that check skins report what is missing.
using ImageFailureReport = void (*)(const wchar_t* name, ImageFailure failure);

// The shape of msimg32's AlphaBlend, which BlendFallback shares.
using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

class CRenderKit
{
public:
    CRenderKit() = delete;

    // ---- Images and colours -------------------------------------------------

    // Installs the process-wide report of failed loads; null removes it. It
    // is called on the loading thread, for names given as text only.
    static void SetImageFailureReport(ImageFailureReport report);
    // Loads name from the process's skin settings (SkinLocation::Current();
    // see the overload).
    static ImageEntry* LoadImageEntry(const wchar_t* name, const wchar_t* type, DWORD mask);
    // A new entry for name, or null, with the bytes fetched from location
    // (FetchImageBytes). type null: skin file or zip entry; "*COLOR*": name
    // is a colour text (hex AARRGGBB, optional '#') for a 1x1 image; any
    // other type: a resource of location's module, name possibly in
    // integer-resource form. Pixels matching mask after premultiplying become
    // 0. The entry's useHsl is false and sourcePixels null; the caller fills
    // resType, mask and useHsl. Null for a null name and on every failure.
    static ImageEntry* LoadImageEntry(const wchar_t* name, const wchar_t* type, DWORD mask,
                                      const SkinLocation& location);
    // Decodes size encoded bytes (any format stb_image reads, as 8-bit RGBA)
    // into a new entry; null for null or damaged bytes.
    static ImageEntry* DecodeImageEntry(const BYTE* bytes, unsigned size, DWORD mask);
    // A new entry from width x height straight RGBA pixels, premultiplied.
    // Null when a dimension is not positive, when width x height x 4 exceeds
    // 2^31 - 1 (rgba is then not read) or when the DIB cannot be made.
    static ImageEntry* CreateImageEntry(const BYTE* rgba, int width, int height, DWORD mask);

    // A 32-bit top-down DIB section of width x height (rows exactly width x 4
    // bytes) with pixels pointing at its memory; null, with pixels null, when
    // a dimension is not positive, the byte count exceeds 2^31 - 1 or the
    // platform refuses.
    static HBITMAP CreateDib32(int width, int height, BYTE*& pixels);

    // The colour after the process-wide hue/saturation/lightness shift; the
    // setting is fixed at neutral, so always colour itself.
    static DWORD ShiftColorHsl(DWORD color);
    // ARGB to the platform's COLORREF: 0 and 0xFF000000 first become
    // 0xFF000001 (unset and black both draw as black with blue 1), then red
    // and blue swap places and alpha is dropped.
    static COLORREF ToPlatformColor(DWORD color);

    // ---- Image drawing ------------------------------------------------------

    // Loads spec's image on its first call (never again after a failure) and
    // draws it into control, limited to pieces meeting paint. False when the
    // spec has no image (empty string, failed load now or earlier); true
    // otherwise, even when nothing needed drawing. No manager: true, nothing
    // done. No dc: loads and clamps the source part, draws nothing.
    static bool PaintImageSpec(HDC dc, IRenderHost* manager, const RECT& control, const RECT& paint,
                               ImageDrawSpec& spec);
    // Draws the source part of bitmap into dest as a nine-grid whose borders
    // (corners, in source pixels and destination pixels alike) keep their
    // size; pieces missing paint are skipped. Blends with fade as constant
    // alpha when UININE_ALPHA is set or fade is below 255, else copies. A
    // null bitmap or dc draws nothing.
    static void BlitNineGrid(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& paint, const RECT& source,
                             const RECT& corners, BYTE fade, UINT flags);
    // Software stand-in for AlphaBlend with the same arguments: each colour
    // channel becomes source x w + destination x (1 - w), w = source alpha x
    // constant alpha / 255 / 255, alpha byte 0. False when a size is not
    // positive or a device context or DIB cannot be made.
    static BOOL WINAPI BlendFallback(HDC dest, int destX, int destY, int destWidth, int destHeight, HDC source,
                                     int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                     BLENDFUNCTION blend);

    // ---- Fills and strokes --------------------------------------------------

    // Composes an ARGB colour over rect as the blend function does, full
    // alpha byte included for an opaque colour (which takes a faster solid
    // fill with the same pixels); colours with alpha 0 draw nothing.
    static void FillColor(HDC dc, const RECT& rect, DWORD color);
    // A two-colour gradient over rect at opacity (alpha(first) + alpha(second))
    // / 2; opacity 0 draws nothing. Uses GradientFill when msimg32 has it,
    // else FillGradientBands with steps.
    static void FillGradient(HDC dc, const RECT& rect, DWORD first, DWORD second, GradientDirection direction,
                             int steps);
    // The software gradient: 2, 4 ... 64 solid bands (by steps, at least 1
    // band), from second colour at the bottom or right edge of target to
    // nearly first at the other; alpha is ignored, empty bands are skipped.
    static void FillGradientBands(HDC dc, const RECT& target, DWORD first, DWORD second,
                                  GradientDirection direction, int steps);
    // A line from rect's top-left to its bottom-right.
    static void StrokeLine(HDC dc, const RECT& rect, int width, DWORD color, int penStyle);
    // A rectangle outline drawn inside rect; dashed and dotted styles only at
    // width 1. The inside is left unfilled.
    static void StrokeRect(HDC dc, const RECT& rect, int width, DWORD color, int penStyle);
    static void StrokeRoundRect(HDC dc, const RECT& rect, int width, int ellipseWidth, int ellipseHeight,
                                DWORD color, int penStyle);

    // ---- Text (RenderKitText.cpp, MarkupPainter.cpp) ---------------------------

    // Draws text (after the language texts' %{n} token substitution) with the
    // manager's font of index font (-1: the default font) in color, through
    // the platform's DrawText with style | DT_NOPREFIX and a transparent
    // background; with DT_CALCRECT rect receives the measured extent instead.
    // Nothing for a null dc, manager or text.
    static void DrawPlainText(HDC dc, IRenderHost* manager, RECT& rect, const wchar_t* text, DWORD color, int font,
                              UINT style);
    // Draws or, with DT_CALCRECT, measures text in the one-letter-tag markup
    // (links, images, colours, fonts, paragraphs, selection, raw runs),
    // wrapping lines itself; honours DT_CENTER, DT_RIGHT, DT_VCENTER,
    // DT_BOTTOM, DT_WORDBREAK, DT_SINGLELINE and DT_END_ELLIPSIS. rect is
    // moved by the alignment (never beyond its own size) or receives the
    // measured size. links/linkNames have linkCount slots (both may be null
    // when it is 0); on return linkCount holds the links found, each line of
    // a wrapped link being one. Malformed markup draws what it can and never
    // reads past the text. Nothing for a null dc, manager or text, or an
    // empty rect (linkCount becomes 0).
    static void DrawMarkupText(HDC dc, IRenderHost* manager, RECT& rect, const wchar_t* text, DWORD color,
                               RECT* links, CUIString* linkNames, int& linkCount, int font, UINT style);

    // A new 32-bit DIB (the caller deletes it) holding the manager's picture
    // under rect, overlaid with filterColor unless its alpha is 0. The
    // manager's off-screen picture is reused when no stopControl is given and
    // the window is not layered; otherwise the tree is painted afresh up to
    // stopControl. Null without a manager or when a bitmap cannot be made.
    static HBITMAP RenderToBitmap(IRenderHost* manager, const RECT& rect, IControlUI* stopControl,
                                  DWORD filterColor);

private:
    // msimg32's entry points, looked up on first use and kept for the process;
    // AlphaBlend falls back to BlendFallback, GradientFill to null.
    static AlphaBlendProc AlphaBlendEntry();
    static GradientFillProc GradientFillEntry();
};

}  // namespace DuiLib
