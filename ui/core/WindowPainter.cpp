// CWindowPainter: WM_PAINT with its layout pass and the first-layout
// notification, the kept off-screen bitmap, invalidation, the native child
// windows placed over controls and overlay painters. Per-pixel work of
// layered mode is CLayeredPresenter's, reached with the picture's plane.
// Invariant: the off-screen bitmap, when it exists, has the client's size and
// the kind the mode needs; only the update area is painted and copied.
//
// [SECTIONS] invalidation and lists · WM_PAINT · layout pass ·
// off-screen bitmap · hosted windows in layered pictures
#include "ui/core/WindowPainter.h"

#include <algorithm>

#include "ui/control/ControlInterface.h"
#include "ui/core/FocusKeeper.h"
#include "ui/core/LayeredPixels.h"
#include "ui/core/LayeredPresenter.h"
#include "ui/core/UIManager.h"
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

void CWindowPainter::Invalidate()
{
    HWND window = m_manager.GetPaintWindow();
    if (window == nullptr)
        return;
    if (!m_presenter.IsLayered())
    {
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    RECT client = {};
    GetClientRect(window, &client);
    m_presenter.AddDirty(client);
}

void CWindowPainter::Invalidate(const RECT& rect)
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
    HWND window = m_manager.GetPaintWindow();
    if (window == nullptr)
        return;
    if (m_presenter.IsLayered())
        m_presenter.AddDirty(area);
    else
        InvalidateRect(window, &area, FALSE);
}

void CWindowPainter::ExpectNewTree()
{
    m_layoutNeeded = true;
    m_firstLayoutPending = true;
}

bool CWindowPainter::AddOverlayPainter(IControlUI* control)
{
    if (control == nullptr)
        return false;
    m_overlayPainters.push_back(control);
    return true;
}

bool CWindowPainter::RemoveOverlayPainter(IControlUI* control)
{
    return UnlistControl(m_overlayPainters, control);
}

CUIRect CWindowPainter::HostedWindowRect(HWND window) const
{
    CUIRect place;
    if (window == nullptr || !GetWindowRect(window, &place))
        return CUIRect();
    MapWindowPoints(HWND_DESKTOP, m_manager.GetPaintWindow(), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

IControlUI* CWindowPainter::HostOf(HWND window) const
{
    for (const HostedWindow& hosted : m_hostedWindows)
    {
        if (hosted.window == window)
            return hosted.control.Get();
    }
    return nullptr;
}

void CWindowPainter::ForgetTreeLists()
{
    m_overlayPainters.clear();
    m_hostedWindows.clear();
}

bool CWindowPainter::AddHostedWindow(IControlUI* control, HWND window)
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

void CWindowPainter::ForgetGoneHosts()
{
    // A window whose control went (taking the window along) or that was
    // destroyed on its own is no longer hosted.
    m_hostedWindows.erase(std::remove_if(m_hostedWindows.begin(), m_hostedWindows.end(),
                                         [](const HostedWindow& hosted) {
                                             return hosted.control.Get() == nullptr || !IsWindow(hosted.window);
                                         }),
                          m_hostedWindows.end());
}

bool CWindowPainter::RemoveHostedWindow(HWND window)
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

bool CWindowPainter::PaintFrame()
{
    const bool wasPainting = m_painting;
    CUIRect client;
    CUIRect area;
    const bool drawn = FindPaintArea(client, area) && LayOutForPaint(client, area) && RenderArea(client, area);
    m_painting = wasPainting;
    return drawn;
}

bool CWindowPainter::FindPaintArea(CUIRect& client, CUIRect& area)
{
    HWND window = m_manager.GetPaintWindow();
    if (m_manager.GetRoot() == nullptr)
    {
        PAINTSTRUCT paint = {};
        HDC dc = BeginPaint(window, &paint);
        if (dc != nullptr)
            CRenderKit::FillColor(dc, paint.rcPaint, 0);
        EndPaint(window, &paint);
        return false;
    }
    GetClientRect(window, &client);
    if (m_presenter.IsLayered())
    {
        if (!m_presenter.TakeDirtyArea(client, area))
        {
            ValidateAll(window);
            return false;
        }
    }
    else if (!GetUpdateRect(window, &area, FALSE))
    {
        return false;
    }
    // A window without a client area (minimised to nothing, or sized 0 x 0)
    // has no picture to keep; its layout waits for a real size.
    if (IsRectEmpty(&client) || IsRectEmpty(&area))
    {
        ValidateAll(window);
        return false;
    }
    return true;
}

bool CWindowPainter::LayOutForPaint(CUIRect& client, CUIRect& area)
{
    // Focus and layout may run application code through notifications; the
    // root and the window are checked again after them.
    HWND window = m_manager.GetPaintWindow();
    if (m_focus.IsFocusPending())
        m_focus.SetTabSuccessor(true);
    IControlUI* root = m_manager.GetRoot();
    if (root == nullptr)
    {
        ValidateAll(window);
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
        if (!m_presenter.IsLayered() && GetUpdateRect(window, &moved, FALSE))
            UnionRect(&area, &area, &moved);
        GetClientRect(window, &client);
        if (!IntersectRect(&area, &area, &client))
            area = CUIRect();
    }
    else if (m_presenter.IsLayered() && m_presenter.HasChanged())
    {
        area = client;
        ClearPixels(PixelPlane{m_offscreenBits, m_offscreenSize.cx, m_offscreenSize.cy}, client);
        root->PlaceAt(Shrunk(client, m_presenter.GetShadowSize()), true);
        m_presenter.MarkShadowDirty();
    }
    if (m_manager.GetRoot() == nullptr || IsRectEmpty(&area) ||
        !EnsureOffscreen(client.GetWidth(), client.GetHeight()))
    {
        ValidateAll(window);
        return false;
    }
    return true;
}

bool CWindowPainter::RenderArea(const CUIRect& client, const CUIRect& area)
{
    HWND window = m_manager.GetPaintWindow();
    HDC paintDc = m_manager.GetPaintDC();
    const bool layered = m_presenter.IsLayered();
    const PixelPlane plane = {m_offscreenBits, m_offscreenSize.cx, m_offscreenSize.cy};
    PAINTSTRUCT paint = {};
    BeginPaint(window, &paint);
    const int saved = SaveDC(m_offscreenDc);
    if (layered)
        m_presenter.PrepareArea(plane, client, area);
    m_manager.GetRoot()->Paint(m_offscreenDc, area, nullptr);
    if (layered)
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
    if (layered)
        m_presenter.Present(m_offscreenDc, plane, client, area);
    else
        BitBlt(paintDc, area.left, area.top, area.GetWidth(), area.GetHeight(), m_offscreenDc, area.left, area.top,
               SRCCOPY);
    if (m_manager.IsShowDirty() && !layered)
    {
        HGDIOBJ oldPen = SelectObject(paintDc, CUIManager::GetDirtyOutlinePen());
        HGDIOBJ oldBrush = SelectObject(paintDc, GetStockObject(NULL_BRUSH));
        Rectangle(paintDc, area.left, area.top, area.right, area.bottom);
        SelectObject(paintDc, oldBrush);
        SelectObject(paintDc, oldPen);
    }
    EndPaint(window, &paint);
    return true;
}

void CWindowPainter::PaintRoot(HDC dc, const RECT& rect, IControlUI* stopControl)
{
    if (IControlUI* root = m_manager.GetRoot())
        root->Paint(dc, rect, stopControl);
}

void CWindowPainter::PrintClient(HDC dc, WPARAM wParam, LPARAM lParam)
{
    IControlUI* root = m_manager.GetRoot();
    if (root == nullptr)
        return;
    HWND window = m_manager.GetPaintWindow();
    const int saved = SaveDC(dc);
    RECT client = {};
    GetClientRect(window, &client);
    root->Paint(dc, client, nullptr);
    if ((lParam & PRF_CHILDREN) != 0)
    {
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        {
            RECT place = {};
            GetWindowRect(child, &place);
            MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&place), 2);
            SetWindowOrgEx(dc, -place.left, -place.top, nullptr);
            ::SendMessageW(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
        }
    }
    RestoreDC(dc, saved);
}

// ---- Layout pass ------------------------------------------------------------

bool CWindowPainter::LayOutTree(const RECT& client)
{
    IControlUI* root = m_manager.GetRoot();
    if (root->IsLayoutPending())
    {
        // The pictures are remade at the new size.
        ReleaseOffscreen();
        CUIRect place = client;
        if (m_presenter.IsLayered())
        {
            place = Shrunk(client, m_presenter.GetShadowSize());
            m_presenter.MarkShadowDirty();
        }
        root->PlaceAt(place, true);
    }
    else
    {
        m_foundControls.Empty();
        root->LocateControl(CollectPendingProc, &m_foundControls, kLayoutSearch);
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
        m_manager.RaiseNotify(root, L"windowinit");
        // The listener may have closed the window or replaced the tree.
        if (!IsWindow(m_manager.GetPaintWindow()) || m_manager.GetRoot() == nullptr)
            return false;
        if (m_presenter.IsLayered() && m_presenter.HasChanged())
        {
            // The next paint draws the final picture.
            Invalidate();
            return false;
        }
    }
    return true;
}

// ---- Off-screen bitmap ------------------------------------------------------

bool CWindowPainter::EnsureOffscreen(int width, int height)
{
    // A picture of another size or kind is remade: drawing or copying past
    // the edge of a smaller bitmap would touch memory it does not have.
    const bool fits = m_offscreenBitmap != nullptr && m_offscreenSize.cx == width &&
                      m_offscreenSize.cy == height && (m_offscreenBits != nullptr) == m_presenter.IsLayered();
    if (fits)
        return true;
    ReleaseOffscreen();
    HDC paintDc = m_manager.GetPaintDC();
    m_offscreenDc = CreateCompatibleDC(paintDc);
    m_offscreenBitmap = m_presenter.IsLayered() ? CLayeredPresenter::CreatePlaneBitmap(width, height, m_offscreenBits)
                                                : CreateCompatibleBitmap(paintDc, width, height);
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

void CWindowPainter::ReleaseOffscreen()
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
    m_presenter.ReleaseBackground();
}

// ---- Hosted windows in layered pictures -------------------------------------

// A layered window's picture is the manager's alone, so native child
// windows that meet the area are printed into it, opaque.
void CWindowPainter::PrintHostedWindows(const RECT& area)
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

}  // namespace DuiLib
