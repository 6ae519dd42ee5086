// CUIManager painting: WM_PAINT with its layout pass and the first-layout
// notification, the kept off-screen bitmap, invalidation, the native child
// windows placed over controls, overlay painters and the pixel work of
// layered mode. Layered settings and the drop shadow belong to the window-
// attribute code, which paints reach through PresentWithShadow alone.
// Invariant: the off-screen bitmap, when it exists, has the client's size and
// the kind the mode needs; only the update area is painted and copied.
//
// [SECTIONS] invalidation and lists · WM_PAINT · layout pass ·
// off-screen bitmap · layered mode
#include "ui/core/UIManager.h"

#include <algorithm>

#include "ui/control/ControlInterface.h"
#include "ui/core/AccessibleTree.h"
#include "ui/core/FocusKeeper.h"
#include "ui/core/LayeredPixels.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

// The layout pass's search: visible controls, each container before its
// children, skipping the subtree of a control that is laid out anyway.
constexpr UINT kLayoutSearch = UIFIND_VISIBLE | UIFIND_UPDATETEST | UIFIND_ME_FIRST;

IControlUI* CollectPendingProc(IControlUI* control, void* data)
{
    if (!control->IsLayoutPending())
        return nullptr;
    static_cast<CPtrList*>(data)->Add(control);
    // Answering the control makes the update test skip its subtree: laying
    // it out places its children too.
    return control;
}

// A 32-bit bottom-up DIB section, the shape the layered pixel work expects;
// null (bits null) for an empty or oversized picture.
HBITMAP CreateBottomUpDib(int width, int height, BYTE*& bits)
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

CUIRect Shrunk(const RECT& rect, int by)
{
    return CUIRect(rect.left + by, rect.top + by, rect.right - by, rect.bottom - by);
}

// Validates whatever the platform wants painted, so that it stops asking.
void ValidateAll(HWND window)
{
    PAINTSTRUCT paint = {};
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

}  // namespace

// ---- Invalidation and lists -------------------------------------------------

void CUIManager::Invalidate()
{
    if (m_window == nullptr)
        return;
    if (!m_layered)
    {
        InvalidateRect(m_window, nullptr, FALSE);
        return;
    }
    RECT client = {};
    GetClientRect(m_window, &client);
    UnionRect(&m_layeredDirty, &m_layeredDirty, &client);
}

void CUIManager::Invalidate(const RECT& rect)
{
    RECT area = rect;
    if (area.left < 0)
        area.left = 0;
    if (area.top < 0)
        area.top = 0;
    if (area.right < area.left)
        area.right = area.left;
    if (area.bottom < area.top)
        area.bottom = area.top;
    if (m_window == nullptr)
        return;
    // A union, not a plain join: an empty dirty rectangle must not pull the
    // area out to the client's top-left corner.
    if (m_layered)
        UnionRect(&m_layeredDirty, &m_layeredDirty, &area);
    else
        InvalidateRect(m_window, &area, FALSE);
}

void CUIManager::RequestLayout()
{
    m_layoutNeeded = true;
}

bool CUIManager::AddOverlayPainter(IControlUI* control)
{
    if (control == nullptr)
        return false;
    m_overlayPainters.push_back(control);
    return true;
}

bool CUIManager::RemoveOverlayPainter(IControlUI* control)
{
    return UnlistControl(m_overlayPainters, control);
}

CUIRect CUIManager::HostedWindowRect(HWND window) const
{
    CUIRect place;
    if (window == nullptr || !GetWindowRect(window, &place))
        return CUIRect();
    MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool CUIManager::AddHostedWindow(IControlUI* control, HWND window)
{
    if (control == nullptr || window == nullptr)
        return false;
    ForgetGoneHosts();
    for (const HostedWindow& hosted : m_hostedWindows)
    {
        if (hosted.window == window)
            return false;
    }
    Invalidate(HostedWindowRect(window));
    m_hostedWindows.push_back(HostedWindow{control, window});
    return true;
}

void CUIManager::ForgetGoneHosts()
{
    // A window whose control went (taking the window along) or that was
    // destroyed on its own is no longer hosted.
    m_hostedWindows.erase(std::remove_if(m_hostedWindows.begin(), m_hostedWindows.end(),
                                         [](const HostedWindow& hosted) {
                                             return hosted.control.Get() == nullptr || !IsWindow(hosted.window);
                                         }),
                          m_hostedWindows.end());
}

bool CUIManager::RemoveHostedWindow(HWND window)
{
    ForgetGoneHosts();
    for (auto hosted = m_hostedWindows.begin(); hosted != m_hostedWindows.end(); ++hosted)
    {
        if (hosted->window == window)
        {
            m_hostedWindows.erase(hosted);
            return true;
        }
    }
    return false;
}

// ---- WM_PAINT ---------------------------------------------------------------

void CUIManager::PaintWindow()
{
    const bool wasPainting = m_painting;
    CUIRect client;
    CUIRect area;
    const bool drawn = FindPaintArea(client, area) && LayOutForPaint(client, area) && RenderArea(client, area);
    m_painting = wasPainting;
    if (drawn)
        FinishFrame();
}

bool CUIManager::FindPaintArea(CUIRect& client, CUIRect& area)
{
    if (m_root == nullptr)
    {
        PAINTSTRUCT paint = {};
        HDC dc = BeginPaint(m_window, &paint);
        if (dc != nullptr)
            CRenderKit::FillColor(dc, paint.rcPaint, 0);
        EndPaint(m_window, &paint);
        return false;
    }
    GetClientRect(m_window, &client);
    if (m_layered)
    {
        area = m_layeredDirty;
        if (IsRectEmpty(&area))
        {
            ValidateAll(m_window);
            return false;
        }
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
    }
    else if (!GetUpdateRect(m_window, &area, FALSE))
    {
        return false;
    }
    // A window without a client area (minimised to nothing, or sized 0 x 0)
    // has no picture to keep; its layout waits for a real size.
    if (IsRectEmpty(&client) || IsRectEmpty(&area))
    {
        ValidateAll(m_window);
        return false;
    }
    return true;
}

bool CUIManager::LayOutForPaint(CUIRect& client, CUIRect& area)
{
    // Focus and layout may run application code through notifications; the
    // root and the window are checked again after them.
    if (m_focusKeeper->IsFocusPending())
        SetTabSuccessor(true);
    if (m_root == nullptr)
    {
        ValidateAll(m_window);
        return false;
    }
    m_painting = true;
    if (m_layoutNeeded)
    {
        m_layoutNeeded = false;
        if (!LayOutTree(client))
            return false;
        // Controls that moved invalidated where they went, and a
        // "windowinit" listener may have resized the window; BeginPaint
        // would validate those parts unpainted.
        RECT moved = {};
        if (!m_layered && GetUpdateRect(m_window, &moved, FALSE))
            UnionRect(&area, &area, &moved);
        GetClientRect(m_window, &client);
        if (!IntersectRect(&area, &area, &client))
            area = CUIRect();
    }
    else if (m_layered && m_layeredChanged)
    {
        area = client;
        ClearPixels(PixelPlane{m_offscreenBits, m_offscreenSize.cx, m_offscreenSize.cy}, client);
        m_root->PlaceAt(Shrunk(client, m_shadowSize), true);
        m_shadowDirty = true;
    }
    if (m_root == nullptr || IsRectEmpty(&area) || !EnsureOffscreen(client.GetWidth(), client.GetHeight()))
    {
        ValidateAll(m_window);
        return false;
    }
    return true;
}

bool CUIManager::RenderArea(const CUIRect& client, const CUIRect& area)
{
    PAINTSTRUCT paint = {};
    BeginPaint(m_window, &paint);
    const int saved = SaveDC(m_offscreenDc);
    if (m_layered)
        PrepareLayeredArea(client, area);
    m_root->Paint(m_offscreenDc, area, nullptr);
    if (m_layered)
        PrintHostedWindows(area);
    // A copy: a painter usually leaves the list from inside its PaintOverlay;
    // one that left (or was deleted) before its turn is skipped.
    const std::vector<CControlRef> painters(m_overlayPainters);
    for (const CControlRef& painter : painters)
    {
        if (ListsControl(m_overlayPainters, painter.Get()))
            painter->PaintOverlay(m_offscreenDc, area);
    }
    RestoreDC(m_offscreenDc, saved);
    if (m_layered)
        PresentLayered(client, area);
    else
        BitBlt(m_paintDc, area.left, area.top, area.GetWidth(), area.GetHeight(), m_offscreenDc, area.left,
               area.top, SRCCOPY);
    if (m_showDirty && !m_layered)
    {
        HGDIOBJ oldPen = SelectObject(m_paintDc, GetDirtyOutlinePen());
        HGDIOBJ oldBrush = SelectObject(m_paintDc, GetStockObject(NULL_BRUSH));
        Rectangle(m_paintDc, area.left, area.top, area.right, area.bottom);
        SelectObject(m_paintDc, oldBrush);
        SelectObject(m_paintDc, oldPen);
    }
    EndPaint(m_window, &paint);
    return true;
}

void CUIManager::FinishFrame()
{
    m_layeredChanged = false;
    // Elements that appeared are announced once they have their places.
    if (m_accessTree != nullptr)
        m_accessTree->FlushEvents();
    // A control that asked for layout (or focus) while it was painted is
    // served by one more paint.
    if (m_layoutNeeded || m_focusKeeper->IsFocusPending())
        Invalidate();
}

void CUIManager::PaintRoot(HDC dc, const RECT& rect, IControlUI* stopControl)
{
    if (m_root != nullptr)
        m_root->Paint(dc, rect, stopControl);
}

// ---- Layout pass ------------------------------------------------------------

// Lays out the root, or only the controls that asked, and sends "windowinit"
// after the first layout. False when this paint must stop.
bool CUIManager::LayOutTree(const RECT& client)
{
    if (m_root->IsLayoutPending())
    {
        // The pictures are remade at the new size.
        ReleaseOffscreen();
        CUIRect place = client;
        if (m_layered)
        {
            place = Shrunk(client, m_shadowSize);
            m_shadowDirty = true;
        }
        m_root->PlaceAt(place, true);
    }
    else
    {
        m_foundControls.Empty();
        m_root->LocateControl(CollectPendingProc, &m_foundControls, kLayoutSearch);
        // Placed through references: placing one control may delete another
        // that was collected.
        std::vector<CControlRef> placing;
        placing.reserve(m_foundControls.GetSize());
        for (int i = 0; i < m_foundControls.GetSize(); ++i)
            placing.push_back(static_cast<IControlUI*>(m_foundControls[i]));
        for (const CControlRef& control : placing)
        {
            if (control.Get() != nullptr)
                control->PlaceAt(control->IsFloat() ? control->RelativeRect() : control->GetPos(), true);
        }
    }

    if (m_firstLayoutPending)
    {
        m_firstLayoutPending = false;
        RaiseNotify(m_root, L"windowinit");
        // The listener may have closed the window or replaced the tree.
        if (!IsWindow(m_window) || m_root == nullptr)
            return false;
        if (m_layered && m_layeredChanged)
        {
            // The next paint draws the final picture.
            Invalidate();
            return false;
        }
    }
    return true;
}

// ---- Off-screen bitmap ------------------------------------------------------

bool CUIManager::EnsureOffscreen(int width, int height)
{
    // A picture of another size or kind is remade: drawing or copying past
    // the edge of a smaller bitmap would touch memory it does not have.
    const bool fits = m_offscreenBitmap != nullptr && m_offscreenSize.cx == width &&
                      m_offscreenSize.cy == height && (m_offscreenBits != nullptr) == m_layered;
    if (fits)
        return true;
    ReleaseOffscreen();
    m_offscreenDc = CreateCompatibleDC(m_paintDc);
    m_offscreenBitmap = m_layered ? CreateBottomUpDib(width, height, m_offscreenBits)
                                  : CreateCompatibleBitmap(m_paintDc, width, height);
    if (m_offscreenDc == nullptr || m_offscreenBitmap == nullptr)
    {
        ReleaseOffscreen();
        return false;
    }
    // The picture stays selected until it is released: selecting a bitmap
    // in and out costs more than painting a small area (a tenth of a
    // millisecond a pair under Wine), and every paint would pay it twice.
    SelectObject(m_offscreenDc, m_offscreenBitmap);
    m_offscreenSize = SIZE{width, height};
    return true;
}

void CUIManager::ReleaseOffscreen()
{
    // Each device context goes before the bitmap that may be selected into it.
    if (m_offscreenDc != nullptr)
        DeleteDC(m_offscreenDc);
    if (m_offscreenBitmap != nullptr)
        DeleteObject(m_offscreenBitmap);
    m_offscreenDc = nullptr;
    m_offscreenBitmap = nullptr;
    m_offscreenBits = nullptr;
    m_offscreenSize = SIZE{0, 0};
    ReleaseLayeredBackground();
}

void CUIManager::ReleaseLayeredBackground()
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

// ---- Layered mode -----------------------------------------------------------

CUIManager::UpdateLayeredWindowProc CUIManager::UpdateLayeredWindowEntry()
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

// Starts the area's pixels from the layered image, or from transparency.
void CUIManager::PrepareLayeredArea(const RECT& client, const RECT& area)
{
    const PixelPlane plane = {m_offscreenBits, m_offscreenSize.cx, m_offscreenSize.cy};
    if (m_layeredImage.image == nullptr)
    {
        ClearPixels(plane, area);
        return;
    }
    bool draw = m_layeredChanged;
    if (m_backgroundBitmap == nullptr)
    {
        m_backgroundDc = CreateCompatibleDC(m_paintDc);
        m_backgroundBitmap = CreateBottomUpDib(plane.width, plane.height, m_backgroundBits);
        if (m_backgroundDc == nullptr || m_backgroundBitmap == nullptr)
        {
            // Whichever half was made goes now: the next paint tries both
            // again and would otherwise overwrite (and leak) it.
            ReleaseLayeredBackground();
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
        CRenderKit::PaintImageSpec(m_backgroundDc, this, client, client, m_layeredImage);
        // GDI may still hold drawing in its batch; the bytes are read next.
        GdiFlush();
    }
    CopyPixels(plane, m_backgroundBits, area);
}

// A layered window's picture is the manager's alone, so native child
// windows that meet the area are printed into it, opaque.
void CUIManager::PrintHostedWindows(const RECT& area)
{
    ForgetGoneHosts();
    for (const HostedWindow& hosted : m_hostedWindows)
    {
        HWND child = hosted.window;
        const CUIRect place = HostedWindowRect(child);
        RECT meet = {};
        if (!IsWindowVisible(child) || !IntersectRect(&meet, &place, &area))
            continue;
        BYTE* bits = nullptr;
        HBITMAP picture = CRenderKit::CreateDib32(place.GetWidth(), place.GetHeight(), bits);
        if (picture == nullptr)
            continue;
        HDC dc = CreateCompatibleDC(m_offscreenDc);
        HGDIOBJ previous = SelectObject(dc, picture);
        SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                     PRF_CHECKVISIBLE | PRF_CLIENT | PRF_CHILDREN | PRF_OWNED);
        GdiFlush();
        const size_t pixels = static_cast<size_t>(place.GetWidth()) * place.GetHeight();
        for (size_t p = 0; p < pixels; ++p)
            bits[p * 4 + 3] = 0xFF;
        BitBlt(m_offscreenDc, place.left, place.top, place.GetWidth(), place.GetHeight(), dc, 0, 0, SRCCOPY);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(picture);
    }
}

void CUIManager::PresentLayered(const RECT& client, const RECT& area)
{
    GdiFlush();
    const PixelPlane plane = {m_offscreenBits, m_offscreenSize.cx, m_offscreenSize.cy};
    const CUIRect& padding = m_layeredPadding;
    if (padding.left != 0 || padding.top != 0 || padding.right != 0 || padding.bottom != 0)
    {
        RECT frame = {};
        GetWindowRect(m_window, &frame);
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
        PresentWithShadow();
        return;
    }
    UpdateLayeredWindowProc update = UpdateLayeredWindowEntry();
    if (update == nullptr)
        return;
    RECT frame = {};
    GetWindowRect(m_window, &frame);
    POINT destination = {frame.left, frame.top};
    SIZE size = {client.right - client.left, client.bottom - client.top};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_opacity, AC_SRC_ALPHA};
    update(m_window, m_paintDc, &destination, &size, m_offscreenDc, &source, 0, &blend, ULW_ALPHA);
}

void CUIManager::OnLayeredFrame()
{
    if (m_layered && !IsRectEmpty(&m_layeredDirty) && !IsIconic(m_window))
        PaintWindow();
}

}  // namespace DuiLib
