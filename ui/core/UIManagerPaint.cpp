// CUIManager painting, as far as dispatch needs it: WM_PAINT, invalidation
// and the list of native child windows placed over controls.
// FIXME: the paint below has no layout pass, off-screen bitmap, layered mode
// or first-layout notification yet; the painting code replaces it.
#include "ui/core/UIManager.h"

#include "ui/control/ControlInterface.h"

namespace DuiLib {

void CUIManager::PaintWindow()
{
    // The root paints straight into the update area.
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(m_window, &paint);
    if (m_root != nullptr && dc != nullptr)
        m_root->Paint(dc, paint.rcPaint, nullptr);
    EndPaint(m_window, &paint);
}

void CUIManager::Invalidate()
{
    // FIXME: in layered mode this joins the layered dirty rectangle instead.
    if (m_window != nullptr)
        InvalidateRect(m_window, nullptr, FALSE);
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
    if (m_window != nullptr)
        InvalidateRect(m_window, &area, FALSE);
}

bool CUIManager::AddHostedWindow(IControlUI* control, HWND window)
{
    if (control == nullptr || window == nullptr || m_hostedWindows.Find(window) >= 0)
        return false;
    RECT place = {};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&place), 2);
    Invalidate(place);
    if (!m_hostedWindows.Add(window))
        return false;
    if (!m_hostedControls.Add(control))
    {
        m_hostedWindows.Remove(m_hostedWindows.GetSize() - 1);
        return false;
    }
    return true;
}

bool CUIManager::RemoveHostedWindow(HWND window)
{
    const int index = m_hostedWindows.Find(window);
    if (index < 0)
        return false;
    m_hostedWindows.Remove(index);
    m_hostedControls.Remove(index);
    return true;
}

}  // namespace DuiLib
