// CUIManager's presentation of a layered window with a drop shadow: the ring
// of shadow-size pixels around the content is filled, through GDI+'s flat
// interface, with a path gradient from the shadow colour to transparency at
// the window's edge, and the picture goes to UpdateLayeredWindow. Painting
// keeps the content out of the ring; only this file draws into it.
#include "ui/core/UIManager.h"

#include <objidl.h>
#include <gdiplus.h>

#include "ui/core/LayeredPixels.h"

namespace DuiLib {

namespace flat = Gdiplus::DllExports;

namespace {

// The focus scale of the gradient: given ones held within 0..1; -1 (or a
// value that is not a number) means (100 - size) / 100, held the same way.
float ShadowFocusScale(float given, int size)
{
    float scale = given;
    if (given == -1.0f || given != given)
        scale = (100.0f - static_cast<float>(size)) / 100.0f;
    return scale < 0.0f ? 0.0f : (scale > 1.0f ? 1.0f : scale);
}

// Owns the GDI+ objects of one ring drawing, deleting them on every path.
struct ShadowObjects
{
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdiplus::GpPath* path = nullptr;
    Gdiplus::GpRegion* region = nullptr;
    Gdiplus::GpPathGradient* brush = nullptr;

    ShadowObjects() = default;
    ShadowObjects(const ShadowObjects&) = delete;
    ShadowObjects& operator=(const ShadowObjects&) = delete;
    ~ShadowObjects()
    {
        if (brush != nullptr)
            flat::GdipDeleteBrush(brush);
        if (region != nullptr)
            flat::GdipDeleteRegion(region);
        if (path != nullptr)
            flat::GdipDeletePath(path);
        if (graphics != nullptr)
            flat::GdipDeleteGraphics(graphics);
        if (bitmap != nullptr)
            flat::GdipDisposeImage(bitmap);
    }
};

// Fills the ring of width ring inside a width x height window on plane with
// the gradient. False when GDI+ refuses a step (the ring then stays clear).
bool FillShadowRing(const PixelPlane& plane, int width, int height, int ring, DWORD color, float focus)
{
    using Gdiplus::Ok;
    ShadowObjects gdip;
    // GDI+ draws straight into the DIB's memory as premultiplied ARGB, the
    // form UpdateLayeredWindow takes. A graphics object over the memory
    // context would treat the bitmap as opaque RGB on some platforms and
    // lose the alpha that is the whole shadow. The DIB is bottom-up, so the
    // top row is the last one in memory and the stride runs backwards.
    const INT stride = plane.width * 4;
    BYTE* topRow = plane.bits + static_cast<size_t>(plane.height - 1) * stride;
    if (flat::GdipCreateBitmapFromScan0(plane.width, plane.height, -stride, PixelFormat32bppPARGB, topRow,
                                        &gdip.bitmap) != Ok ||
        flat::GdipGetImageGraphicsContext(gdip.bitmap, &gdip.graphics) != Ok ||
        flat::GdipSetPageUnit(gdip.graphics, Gdiplus::UnitPixel) != Ok ||
        flat::GdipCreatePath(Gdiplus::FillModeAlternate, &gdip.path) != Ok)
        return false;

    // Pass 1: the window's outline with corners rounded to a diameter of
    // twice the ring, clockwise from the top-left corner.
    const INT s = ring;
    const INT d = 2 * ring;
    Gdiplus::GpPath* path = gdip.path;
    flat::GdipAddPathArcI(path, 0, 0, d, d, 180.0f, 90.0f);
    flat::GdipAddPathLineI(path, s, 0, width - s, 0);
    flat::GdipAddPathArcI(path, width - d, 0, d, d, 270.0f, 90.0f);
    flat::GdipAddPathLineI(path, width, s, width, height - s);
    flat::GdipAddPathArcI(path, width - d, height - d, d, d, 0.0f, 90.0f);
    flat::GdipAddPathLineI(path, width - s, height, s, height);
    flat::GdipAddPathArcI(path, 0, height - d, d, d, 90.0f, 90.0f);
    flat::GdipAddPathLineI(path, 0, height - s, 0, s);
    flat::GdipClosePathFigure(path);

    // Pass 2: the ring is the outline's region less the content rectangle.
    const Gdiplus::GpRect content(s, s, width - d, height - d);
    if (flat::GdipCreateRegionPath(path, &gdip.region) != Ok ||
        flat::GdipCombineRegionRectI(gdip.region, &content, Gdiplus::CombineModeExclude) != Ok)
        return false;

    // Pass 3: the colour fades from the shadow colour inside the focus
    // outline to transparency at the window's edge.
    // The outline is symmetric, so its centroid, where the gradient meets
    // the centre colour, is the window's centre. It is named outright: GDI+
    // implementations weigh the points of the arcs differently, which would
    // move the centre and make the ring uneven.
    Gdiplus::ARGB surround = 0;
    INT surroundCount = 1;
    const Gdiplus::GpPointF centre(static_cast<Gdiplus::REAL>(width) / 2.0f,
                                   static_cast<Gdiplus::REAL>(height) / 2.0f);
    if (flat::GdipCreatePathGradientFromPath(path, &gdip.brush) != Ok ||
        flat::GdipSetPathGradientCenterPoint(gdip.brush, &centre) != Ok ||
        flat::GdipSetPathGradientCenterColor(gdip.brush, color) != Ok ||
        flat::GdipSetPathGradientSurroundColorsWithCount(gdip.brush, &surround, &surroundCount) != Ok ||
        flat::GdipSetPathGradientFocusScales(gdip.brush, focus, focus) != Ok)
        return false;
    return flat::GdipFillRegion(gdip.graphics, gdip.brush, gdip.region) == Ok;
}

}  // namespace

void CUIManager::PresentWithShadow()
{
    UpdateLayeredWindowProc update = UpdateLayeredWindowEntry();
    if (update == nullptr)
        return;
    RECT frame = {};
    GetWindowRect(m_window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    if (m_shadowDirty && m_offscreenBits != nullptr)
    {
        // The ring cannot be wider than half the window, nor reach past
        // the picture the manager holds.
        const int w = width < m_offscreenSize.cx ? width : m_offscreenSize.cx;
        const int h = height < m_offscreenSize.cy ? height : m_offscreenSize.cy;
        int ring = m_shadowSize;
        if (ring > w / 2)
            ring = w / 2;
        if (ring > h / 2)
            ring = h / 2;
        if (ring >= 1)
        {
            // Cleared first: the gradient is composed over what lies there,
            // and an earlier ring would darken the new one.
            const PixelPlane plane = {m_offscreenBits, m_offscreenSize.cx, m_offscreenSize.cy};
            const RECT strips[] = {{0, 0, w, ring}, {0, h - ring, w, h}, {0, ring, ring, h - ring},
                                   {w - ring, ring, w, h - ring}};
            for (const RECT& strip : strips)
                ClearPixels(plane, strip);
            FillShadowRing(plane, w, h, ring, m_shadowColor, ShadowFocusScale(m_shadowFocusScale, m_shadowSize));
            GdiFlush();
        }
        m_shadowDirty = false;
    }

    POINT destination = {frame.left, frame.top};
    SIZE size = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_opacity, AC_SRC_ALPHA};
    update(m_window, m_paintDc, &destination, &size, m_offscreenDc, &source, 0, &blend, ULW_ALPHA);
}

}  // namespace DuiLib
