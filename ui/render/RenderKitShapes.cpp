// CRenderKit fills and strokes: colour fills with the blend function's
// result, two-colour gradients (GradientFill or solid bands), pen strokes,
// and the snapshot of a manager's picture as a DIB. Every GDI object made
// here is restored and deleted before the operation returns, except the one
// alpha tile that opaque fills keep for the process.
#include "ui/render/RenderKit.h"

#include <algorithm>

#include "ui/render/RenderHost.h"

namespace DuiLib {

namespace {

BYTE Red(DWORD color)
{
    return static_cast<BYTE>(color >> 16);
}

BYTE Green(DWORD color)
{
    return static_cast<BYTE>(color >> 8);
}

BYTE Blue(DWORD color)
{
    return static_cast<BYTE>(color);
}

BYTE Alpha(DWORD color)
{
    return static_cast<BYTE>(color >> 24);
}

TRIVERTEX Vertex(LONG x, LONG y, DWORD color)
{
    TRIVERTEX vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(Red(color) << 8);
    vertex.Green = static_cast<COLOR16>(Green(color) << 8);
    vertex.Blue = static_cast<COLOR16>(Blue(color) << 8);
    vertex.Alpha = 0xFF00;
    return vertex;
}

// The pen and brush of one stroke, put back and deleted when it ends.
class CStrokeTools
{
public:
    CStrokeTools(HDC dc, HPEN pen, bool hollow)
        : m_dc(dc), m_pen(pen), m_previousPen(SelectObject(dc, pen)),
          m_previousBrush(hollow ? SelectObject(dc, GetStockObject(NULL_BRUSH)) : nullptr)
    {
    }
    CStrokeTools(const CStrokeTools&) = delete;
    CStrokeTools& operator=(const CStrokeTools&) = delete;
    ~CStrokeTools()
    {
        if (m_previousBrush != nullptr)
            SelectObject(m_dc, m_previousBrush);
        SelectObject(m_dc, m_previousPen);
        DeleteObject(m_pen);
    }

private:
    HDC m_dc;
    HPEN m_pen;
    HGDIOBJ m_previousPen;
    HGDIOBJ m_previousBrush;
};

// Side of the square tile of pixels that hold nothing but a full alpha byte.
constexpr int kAlphaTileSide = 256;

// A memory device context holding the alpha tile, made on first use and
// kept for the process (painting runs on one thread); null when it cannot
// be made.
HDC AlphaTileDc()
{
    static const HDC tile = [] {
        BYTE* bits = nullptr;
        HBITMAP bitmap = CRenderKit::CreateDib32(kAlphaTileSide, kAlphaTileSide, bits);
        HDC dc = bitmap != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
        if (dc == nullptr)
        {
            if (bitmap != nullptr)
                DeleteObject(bitmap);
            return static_cast<HDC>(nullptr);
        }
        DWORD* pixels = reinterpret_cast<DWORD*>(bits);
        for (int i = 0; i < kAlphaTileSide * kAlphaTileSide; ++i)
            pixels[i] = 0xFF000000;
        SelectObject(dc, bitmap);
        return dc;
    }();
    return tile;
}

// True when dc draws into a 32-bit DIB section, whose alpha bytes are read
// back (layered pictures, the DIBs of the render kit and its callers).
bool KeepsAlphaBytes(HDC dc)
{
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    DIBSECTION section = {};
    return bitmap != nullptr && GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) &&
           section.dsBm.bmBitsPixel == 32;
}

// An opaque colour composed through the blend function leaves exactly the
// colour with a full alpha byte. A solid fill gives the same colour far
// cheaper but leaves the alpha byte 0, so in a 32-bit DIB section the alpha
// tile is OR-ed over the area afterwards. Other targets (the window, the
// manager's device-dependent off-screen picture) take the solid fill alone:
// their alpha bytes mean nothing to GDI, which ignores them when it copies
// the picture to the window, and GDI's own pens and text leave them 0
// there anyway. Both steps keep to the context's clip region. False,
// drawing nothing, when a GDI object cannot be made.
bool FillOpaque(HDC dc, const RECT& rect, DWORD color)
{
    HDC tile = nullptr;
    if (KeepsAlphaBytes(dc))
    {
        tile = AlphaTileDc();
        if (tile == nullptr)
            return false;
    }
    RECT clip = {};
    RECT area = {};
    if (GetClipBox(dc, &clip) == ERROR || !IntersectRect(&area, &rect, &clip))
        return true;
    HBRUSH brush = CreateSolidBrush(RGB(Red(color), Green(color), Blue(color)));
    if (brush == nullptr)
        return false;
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    if (tile == nullptr)
        return true;
    for (LONG y = area.top; y < area.bottom; y += kAlphaTileSide)
    {
        for (LONG x = area.left; x < area.right; x += kAlphaTileSide)
        {
            BitBlt(dc, x, y, std::min<LONG>(kAlphaTileSide, area.right - x),
                   std::min<LONG>(kAlphaTileSide, area.bottom - y), tile, 0, 0, SRCPAINT);
        }
    }
    return true;
}

}  // namespace

// ---- Fills -------------------------------------------------------------------------

void CRenderKit::FillColor(HDC dc, const RECT& rect, DWORD color)
{
    if (dc == nullptr || color <= 0x00FFFFFF)
        return;
    if (Alpha(color) == 0xFF && FillOpaque(dc, rect, color))
        return;
    BYTE* pixel = nullptr;
    HBITMAP bitmap = CreateDib32(1, 1, pixel);
    if (bitmap == nullptr)
        return;
    const unsigned alpha = Alpha(color);
    pixel[0] = static_cast<BYTE>(Blue(color) * alpha / 255);
    pixel[1] = static_cast<BYTE>(Green(color) * alpha / 255);
    pixel[2] = static_cast<BYTE>(Red(color) * alpha / 255);
    pixel[3] = static_cast<BYTE>(alpha);
    // The blended path, which also sets the alpha bytes of what it covers.
    BlitNineGrid(dc, bitmap, rect, rect, CUIRect(0, 0, 1, 1), CUIRect(), 255, UININE_ALPHA);
    DeleteObject(bitmap);
}

void CRenderKit::FillGradient(HDC dc, const RECT& rect, DWORD first, DWORD second, GradientDirection direction,
                              int steps)
{
    const AlphaBlendProc blend = AlphaBlendEntry();
    const GradientFillProc gradientFill = GradientFillEntry();
    const int opacity = (Alpha(first) + Alpha(second)) / 2;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (dc == nullptr || opacity == 0 || width <= 0 || height <= 0)
        return;

    // A translucent gradient is drawn opaque on a scratch surface first and
    // then blended on with the mean opacity.
    HDC target = dc;
    RECT area = rect;
    HDC scratch = nullptr;
    HBITMAP surface = nullptr;
    HGDIOBJ previous = nullptr;
    if (opacity != 255)
    {
        scratch = CreateCompatibleDC(dc);
        surface = CreateCompatibleBitmap(dc, width, height);
        if (scratch == nullptr || surface == nullptr)
        {
            if (scratch != nullptr)
                DeleteDC(scratch);
            if (surface != nullptr)
                DeleteObject(surface);
            return;
        }
        previous = SelectObject(scratch, surface);
        target = scratch;
        area = CUIRect(0, 0, width, height);
    }

    if (first == 0 || first == 0xFF000000)
        first = 0xFF000001;
    if (second == 0 || second == 0xFF000000)
        second = 0xFF000001;
    if (gradientFill != nullptr)
    {
        TRIVERTEX vertices[2] = {Vertex(area.left, area.top, first), Vertex(area.right, area.bottom, second)};
        GRADIENT_RECT mesh = {0, 1};
        gradientFill(target, vertices, 2, &mesh, 1,
                     direction == GradientDirection::Vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    }
    else
    {
        FillGradientBands(target, area, first, second, direction, steps);
    }

    if (scratch != nullptr)
    {
        BLENDFUNCTION function = {AC_SRC_OVER, 0, static_cast<BYTE>(opacity), AC_SRC_ALPHA};
        blend(dc, rect.left, rect.top, width, height, scratch, 0, 0, width, height, function);
        SelectObject(scratch, previous);
        DeleteObject(surface);
        DeleteDC(scratch);
    }
}

void CRenderKit::FillGradientBands(HDC dc, const RECT& target, DWORD first, DWORD second,
                                   GradientDirection direction, int steps)
{
    if (dc == nullptr)
        return;
    const int shift = steps >= 64 ? 6 : steps >= 32 ? 5 : steps >= 16 ? 4 : steps >= 8 ? 3 : steps >= 4 ? 2 : 1;
    const int count = 1 << shift;
    const bool vertical = direction == GradientDirection::Vertical;
    const long long extent = vertical ? target.bottom - target.top : target.right - target.left;
    const long long end = vertical ? target.bottom : target.right;

    // Band 0 holds the second colour at the far (bottom or right) edge; each
    // later band moves one step towards the first colour.
    for (int i = 0; i < count; ++i)
    {
        const int red = (Red(second) * (count - i) + Red(first) * i) >> shift;
        const int green = (Green(second) * (count - i) + Green(first) * i) >> shift;
        const int blue = (Blue(second) * (count - i) + Blue(first) * i) >> shift;
        const LONG nearEdge = static_cast<LONG>(end - (((i + 1) * extent) >> shift));
        const LONG farEdge = static_cast<LONG>(end - ((i * extent) >> shift));
        const RECT band = vertical ? RECT{target.left, nearEdge, target.right, farEdge}
                                   : RECT{nearEdge, target.top, farEdge, target.bottom};
        if (IsRectEmpty(&band))
            continue;
        HBRUSH brush = CreateSolidBrush(RGB(red, green, blue));
        if (brush == nullptr)
            continue;
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
}

// ---- Strokes -----------------------------------------------------------------------

void CRenderKit::StrokeLine(HDC dc, const RECT& rect, int width, DWORD color, int penStyle)
{
    if (dc == nullptr)
        return;
    HPEN pen = CreatePen(penStyle, width, ToPlatformColor(color));
    if (pen == nullptr)
        return;
    CStrokeTools tools(dc, pen, false);
    MoveToEx(dc, rect.left, rect.top, nullptr);
    LineTo(dc, rect.right, rect.bottom);
}

void CRenderKit::StrokeRect(HDC dc, const RECT& rect, int width, DWORD color, int penStyle)
{
    if (dc == nullptr)
        return;
    const COLORREF platformColor = ToPlatformColor(color);
    // Dashes and dots exist only for one-pixel pens; everything else is an
    // inside-frame pen so that the outline stays within rect.
    HPEN pen = nullptr;
    if (width == 1 && (penStyle & 7) != 0)
        pen = CreatePen(penStyle, 1, platformColor);
    if (pen == nullptr)
        pen = CreatePen(penStyle | PS_INSIDEFRAME, width, platformColor);
    if (pen == nullptr)
        return;
    CStrokeTools tools(dc, pen, true);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CRenderKit::StrokeRoundRect(HDC dc, const RECT& rect, int width, int ellipseWidth, int ellipseHeight,
                                 DWORD color, int penStyle)
{
    if (dc == nullptr)
        return;
    HPEN pen = CreatePen(penStyle | PS_INSIDEFRAME, width, ToPlatformColor(color));
    if (pen == nullptr)
        return;
    CStrokeTools tools(dc, pen, true);
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, ellipseWidth, ellipseHeight);
}

// ---- Snapshots ---------------------------------------------------------------------

HBITMAP CRenderKit::RenderToBitmap(IRenderHost* manager, const RECT& rect, IControlUI* stopControl,
                                   DWORD filterColor)
{
    if (manager == nullptr)
        return nullptr;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BYTE* pixels = nullptr;
    HBITMAP picture = CreateDib32(width, height, pixels);
    if (picture == nullptr)
        return nullptr;

    HDC screen = manager->GetPaintDC() != nullptr ? nullptr : GetDC(nullptr);
    HDC reference = screen != nullptr ? screen : manager->GetPaintDC();
    HDC sourceDc = CreateCompatibleDC(reference);
    HDC pictureDc = CreateCompatibleDC(reference);
    if (sourceDc == nullptr || pictureDc == nullptr)
    {
        if (sourceDc != nullptr)
            DeleteDC(sourceDc);
        if (pictureDc != nullptr)
            DeleteDC(pictureDc);
        if (screen != nullptr)
            ReleaseDC(nullptr, screen);
        DeleteObject(picture);
        return nullptr;
    }

    // The last painted picture serves as it is, read through the manager's
    // context that holds it; in the middle of a paint it is half drawn, so
    // the tree is painted afresh then.
    HBITMAP painted = nullptr;
    HGDIOBJ previousSource = nullptr;
    HDC source = nullptr;
    if (stopControl == nullptr && !manager->IsLayered() && !manager->IsPainting() &&
        manager->GetOffscreenDC() != nullptr)
    {
        source = manager->GetOffscreenDC();
    }
    else
    {
        painted = CreateCompatibleBitmap(reference, rect.right, rect.bottom);
        if (painted != nullptr)
        {
            previousSource = SelectObject(sourceDc, painted);
            source = sourceDc;
            manager->PaintRoot(sourceDc, rect, stopControl);
        }
    }

    HGDIOBJ previousPicture = SelectObject(pictureDc, picture);
    if (source != nullptr)
        BitBlt(pictureDc, 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    if (Alpha(filterColor) != 0)
        FillColor(pictureDc, CUIRect(0, 0, width, height), filterColor);
    GdiFlush();

    SelectObject(pictureDc, previousPicture);
    if (previousSource != nullptr)
        SelectObject(sourceDc, previousSource);
    DeleteDC(pictureDc);
    DeleteDC(sourceDc);
    if (painted != nullptr)
        DeleteObject(painted);
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return picture;
}

}  // namespace DuiLib
