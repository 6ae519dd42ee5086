// CLayeredPresenter: constant-alpha opacity and the per-pixel layered mode:
// its settings and frame clock, the background picture from the layered
// image, the alpha fix-up and presentation through UpdateLayeredWindow, and
// the drop shadow ring, filled through GDI+'s flat interface with a path
// gradient from the shadow colour to transparency at the window's edge.
// Painting keeps the content out of the ring; only this file draws into it.
// Invariant: constant-alpha and per-pixel mode never hold at the same time.
//
// [SECTIONS] settings · shadow settings · the frame · shadow ring
#include "ui/core/LayeredPresenter.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>

#include "ui/control/ControlInterface.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace flat = Gdiplus::DllExports;

namespace {

using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up at each call, as the platform may lack it; null then.
SetLayeredWindowAttributesProc SetLayeredWindowAttributesEntry()
{
    HMODULE user32 = GetModuleHandleW(L"User32.dll");
    if (user32 == nullptr)
        return nullptr;
    return reinterpret_cast<SetLayeredWindowAttributesProc>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
}

// Adds or removes WS_EX_LAYERED, touching the style only when it changes.
void SetLayeredStyle(HWND window, bool layered)
{
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    const LONG wanted = layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED);
    if (wanted != style)
        SetWindowLongW(window, GWL_EXSTYLE, wanted);
}

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

// ---- Settings ---------------------------------------------------------------

void CLayeredPresenter::SetOpacity(BYTE alpha)
{
    m_opacity = alpha;
    HWND window = m_manager.GetPaintWindow();
    if (window == nullptr)
        return;
    SetLayeredWindowAttributesProc setAttributes = SetLayeredWindowAttributesEntry();
    if (setAttributes == nullptr)
        return;
    // Constant alpha replaces per-pixel mode. The platform refuses constant
    // alpha on a window presented through UpdateLayeredWindow until the
    // layered style has been taken off once, so per-pixel mode is left
    // first and the style put back below.
    if (m_layered)
    {
        ::KillTimer(window, kFrameTimer);
        SetLayeredStyle(window, false);
        m_layered = false;
        m_layeredChanged = true;
        if (IControlUI* root = m_manager.GetRoot())
            root->RequestLayout();
    }
    SetLayeredStyle(window, true);
    setAttributes(window, 0, alpha, LWA_ALPHA);
    m_manager.Invalidate();
}

void CLayeredPresenter::SetLayered(bool layered)
{
    HWND window = m_manager.GetPaintWindow();
    if (window == nullptr || layered == m_layered || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0)
        return;
    if (UpdateLayeredWindowEntry() == nullptr)
        return;
    if (layered)
        ::SetTimer(window, kFrameTimer, 10, nullptr);
    else
        ::KillTimer(window, kFrameTimer);
    SetLayeredStyle(window, layered);
    m_layered = layered;
    m_layeredChanged = true;
    if (IControlUI* root = m_manager.GetRoot())
        root->RequestLayout();
    m_manager.Invalidate();
}

void CLayeredPresenter::SetLayeredOpacity(BYTE alpha)
{
    m_opacity = alpha;
    m_layeredChanged = true;
    m_manager.Invalidate();
}

void CLayeredPresenter::SetLayeredImage(const wchar_t* description)
{
    SetLayered(true);
    m_layeredImage.Clear();
    m_layeredImage.drawString = description;
    // Drawing without a device context only parses the description and
    // loads the image; the picture itself is drawn at the next paint.
    const CUIRect none;
    CRenderKit::PaintImageSpec(nullptr, &m_manager, none, none, m_layeredImage);
    m_layeredChanged = true;
    m_manager.Invalidate();
}

// ---- Shadow settings --------------------------------------------------------

void CLayeredPresenter::SetShadowSize(int size)
{
    // A negative ring would lay the root out beyond the client area.
    if (size < 0)
        size = 0;
    if (size == m_shadowSize)
        return;
    m_shadowSize = size;
    m_shadowDirty = true;
    // The root is laid out inside the ring, so a new ring width moves it:
    // the changed picture is repainted and laid out whole.
    m_layeredChanged = true;
    m_manager.Invalidate();
}

void CLayeredPresenter::SetShadowColor(DWORD color)
{
    if (color == m_shadowColor)
        return;
    m_shadowColor = color;
    m_shadowDirty = true;
    m_manager.Invalidate();
}

void CLayeredPresenter::SetShadowFocusScales(float scale)
{
    // Compared bit for bit: a not-a-number value differs from itself.
    if (std::memcmp(&scale, &m_shadowFocusScale, sizeof(scale)) == 0)
        return;
    m_shadowFocusScale = scale;
    m_shadowDirty = true;
    m_manager.Invalidate();
}

// ---- The frame --------------------------------------------------------------

void CLayeredPresenter::AddDirty(const RECT& area)
{
    // A union, not a plain join: an empty dirty rectangle must not pull the
    // area out to the client's top-left corner.
    UnionRect(&m_layeredDirty, &m_layeredDirty, &area);
}

bool CLayeredPresenter::TakeDirtyArea(const RECT& client, CUIRect& area)
{
    area = m_layeredDirty;
    if (IsRectEmpty(&area))
        return false;
    // Where the dirty area reaches the client's edge it stops at the
    // shadow ring, which only the shadow drawing touches.
    if (area.left <= client.left)
        area.left = client.left + m_shadowSize;
    if (area.top <= client.top)
        area.top = client.top + m_shadowSize;
    if (area.right >= client.right)
        area.right = client.right - m_shadowSize;
    if (area.bottom >= client.bottom)
        area.bottom = client.bottom - m_shadowSize;
    m_layeredDirty = CUIRect();
    return true;
}

CLayeredPresenter::UpdateLayeredWindowProc CLayeredPresenter::UpdateLayeredWindowEntry()
{
    static const UpdateLayeredWindowProc entry = [] {
        HMODULE user32 = GetModuleHandleW(L"User32.dll");
        return user32 != nullptr
                   ? reinterpret_cast<UpdateLayeredWindowProc>(
                         reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")))
                   : nullptr;
    }();
    return entry;
}

HBITMAP CLayeredPresenter::CreatePlaneBitmap(int width, int height, BYTE*& bits)
{
    bits = nullptr;
    if (width <= 0 || height <= 0 || width > 0x7FFFFFFF / 4 / height)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    bits = static_cast<BYTE*>(memory);
    return bitmap;
}

void CLayeredPresenter::PrepareArea(const PixelPlane& plane, const RECT& client, const RECT& area)
{
    if (m_layeredImage.image == nullptr)
    {
        ClearPixels(plane, area);
        return;
    }
    bool draw = m_layeredChanged;
    if (m_backgroundBitmap == nullptr)
    {
        m_backgroundDc = CreateCompatibleDC(m_manager.GetPaintDC());
        m_backgroundBitmap = CreatePlaneBitmap(plane.width, plane.height, m_backgroundBits);
        if (m_backgroundDc == nullptr || m_backgroundBitmap == nullptr)
        {
            // Whichever half was made goes now: the next paint tries both
            // again and would otherwise overwrite (and leak) it.
            ReleaseBackground();
            ClearPixels(plane, area);
            return;
        }
        SelectObject(m_backgroundDc, m_backgroundBitmap);
        draw = true;
    }
    else if (draw)
    {
        ClearPixels(PixelPlane{m_backgroundBits, plane.width, plane.height}, client);
    }
    if (draw)
    {
        CRenderKit::PaintImageSpec(m_backgroundDc, &m_manager, client, client, m_layeredImage);
        // GDI may still hold drawing in its batch; the bytes are read next.
        GdiFlush();
    }
    CopyPixels(plane, m_backgroundBits, area);
}

void CLayeredPresenter::Present(HDC offscreenDc, const PixelPlane& plane, const RECT& client, const RECT& area)
{
    HWND window = m_manager.GetPaintWindow();
    GdiFlush();
    const CUIRect& padding = m_layeredPadding;
    if (padding.left != 0 || padding.top != 0 || padding.right != 0 || padding.bottom != 0)
    {
        RECT frame = {};
        GetWindowRect(window, &frame);
        const RECT inner = {padding.left, padding.top, frame.right - frame.left - padding.right,
                            frame.bottom - frame.top - padding.bottom};
        FixLayeredAlpha(plane, area, &inner);
    }
    else
    {
        FixLayeredAlpha(plane, area, nullptr);
    }

    if (m_shadowSize >= 1)
    {
        PresentWithShadow(offscreenDc, plane);
        return;
    }
    UpdateLayeredWindowProc update = UpdateLayeredWindowEntry();
    if (update == nullptr)
        return;
    RECT frame = {};
    GetWindowRect(window, &frame);
    POINT destination = {frame.left, frame.top};
    SIZE size = {client.right - client.left, client.bottom - client.top};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_opacity, AC_SRC_ALPHA};
    update(window, m_manager.GetPaintDC(), &destination, &size, offscreenDc, &source, 0, &blend, ULW_ALPHA);
}

void CLayeredPresenter::ReleaseBackground()
{
    // The device context goes before the bitmap that may be selected into it.
    if (m_backgroundDc != nullptr)
        DeleteDC(m_backgroundDc);
    if (m_backgroundBitmap != nullptr)
        DeleteObject(m_backgroundBitmap);
    m_backgroundDc = nullptr;
    m_backgroundBitmap = nullptr;
    m_backgroundBits = nullptr;
}

void CLayeredPresenter::PresentWithShadow(HDC offscreenDc, const PixelPlane& plane)
{
    UpdateLayeredWindowProc update = UpdateLayeredWindowEntry();
    if (update == nullptr)
        return;
    HWND window = m_manager.GetPaintWindow();
    RECT frame = {};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;

    if (m_shadowDirty && plane.bits != nullptr)
    {
        // The ring cannot be wider than half the window, nor reach past
        // the picture the manager holds.
        const int w = width < plane.width ? width : plane.width;
        const int h = height < plane.height ? height : plane.height;
        int ring = m_shadowSize;
        if (ring > w / 2)
            ring = w / 2;
        if (ring > h / 2)
            ring = h / 2;
        if (ring >= 1)
        {
            // Cleared first: the gradient is composed over what lies there,
            // and an earlier ring would darken the new one.
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
    update(window, m_manager.GetPaintDC(), &destination, &size, offscreenDc, &source, 0, &blend, ULW_ALPHA);
}

}  // namespace DuiLib
