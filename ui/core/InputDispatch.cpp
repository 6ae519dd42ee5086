// CInputDispatch: the message filters, the mouse (hover tracking, presses,
// capture, wheel, cursor) and the keyboard, as UIEvent records for controls.
// Invariant: a control is never used after a call that may have deleted it;
// such calls hold it in a CControlRef.
//
// [SECTIONS] lists and capture · window messages · mouse · keyboard
#include "ui/core/InputDispatch.h"

#include <windowsx.h>

#include "ui/core/MessageFilter.h"
#include "ui/core/UIManager.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::CurrentKeyState;
using input::Deliver;
using input::MakeEvent;
using input::RemoveFirst;

namespace {

// The hit test: visible controls, topmost first.
constexpr UINT kHitTestSearch = UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST;

POINT ClientPoint(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

POINT ClientPointFromScreen(HWND window, LPARAM lParam)
{
    POINT point = ClientPoint(lParam);
    ScreenToClient(window, &point);
    return point;
}

IControlUI* HitTestProc(IControlUI* control, void* data)
{
    const CUIRect pos = control->GetPos();
    return PtInRect(&pos, *static_cast<const POINT*>(data)) ? control : nullptr;
}

}  // namespace

// ---- Lists and capture ------------------------------------------------------

bool CInputDispatch::AddFilter(IMessageFilterUI* filter)
{
    return filter != nullptr && m_filters.Add(filter);
}

bool CInputDispatch::RemoveFilter(IMessageFilterUI* filter)
{
    return RemoveFirst(m_filters, filter);
}

bool CInputDispatch::AddLeaveWatcher(IControlUI* control)
{
    if (control == nullptr || ListsControl(m_leaveWatchers, control))
        return false;
    m_leaveWatchers.push_back(control);
    return true;
}

bool CInputDispatch::RemoveLeaveWatcher(IControlUI* control)
{
    return UnlistControl(m_leaveWatchers, control);
}

void CInputDispatch::SetCapture()
{
    ::SetCapture(m_manager.GetPaintWindow());
    m_captured = true;
}

void CInputDispatch::ReleaseCapture()
{
    ::ReleaseCapture();
    m_captured = false;
}

IControlUI* CInputDispatch::LocateControl(POINT point) const
{
    IControlUI* root = m_manager.GetRoot();
    return root != nullptr ? root->LocateControl(HitTestProc, &point, kHitTestSearch) : nullptr;
}

void CInputDispatch::ForgetTreeControls()
{
    m_keyPress = nullptr;
    m_hover = nullptr;
    m_click = nullptr;
    m_toolTip.ForgetControl();
}

// ---- Window messages --------------------------------------------------------

bool CInputDispatch::RunFilters(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!input::OfferToFilters(m_filters, message, wParam, lParam, result))
        return false;
    RememberMousePoint(message, lParam);
    return true;
}

// A filter that claims a mouse message still moves the manager's idea of
// where the mouse is, so notifications made later carry the right point.
void CInputDispatch::RememberMousePoint(UINT message, LPARAM lParam)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        m_lastMousePos = ClientPoint(lParam);
        break;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        m_lastMousePos = ClientPointFromScreen(m_manager.GetPaintWindow(), lParam);
        break;
    default:
        break;
    }
}

void CInputDispatch::OnSize(WPARAM wParam, LPARAM lParam)
{
    IControlUI* focus = m_manager.GetFocus();
    Deliver(focus, MakeEvent(UIEVENT_WINDOWSIZE, focus, m_lastMousePos, CurrentKeyState(), wParam, lParam));
    if (IControlUI* root = m_manager.GetRoot())
        root->RequestLayout();
    if (m_manager.IsLayered())
        m_manager.Invalidate();
}

void CInputDispatch::OnClose(WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    // The hovered and pressed controls hear of the close while the window
    // still exists, so they can drop their hot and pushed looks.
    IControlUI* hover = m_hover;
    m_hover = nullptr;
    Deliver(hover, MakeEvent(UIEVENT_MOUSELEAVE, hover, m_lastMousePos, CurrentKeyState(), wParam, lParam));
    IControlUI* click = m_click;
    m_click = nullptr;
    Deliver(click, MakeEvent(UIEVENT_BUTTONUP, click, m_lastMousePos, CurrentKeyState(), wParam, lParam));
    m_manager.SetFocus(nullptr, false);

    // Handing the focus on before the window goes keeps the platform from
    // activating some unrelated window.
    if (GetActiveWindow() == window)
    {
        const bool child = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
        HWND next = child ? GetParent(window) : GetWindow(window, GW_OWNER);
        if (next != nullptr)
            ::SetFocus(next);
    }
    m_toolTip.Destroy();
}

void CInputDispatch::OnCaptureChanged(HWND taker)
{
    // Another window took the mouse (a menu, a message box): this window no
    // longer has it, whatever the pressed control expects.
    if (taker != m_manager.GetPaintWindow())
        m_captured = false;
}

// ---- Mouse ------------------------------------------------------------------

void CInputDispatch::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    if (m_manager.GetRoot() == nullptr)
        return;
    if (!m_mouseTracking)
    {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = window;
        // Hover fires when the tool tip would appear, so the two agree.
        track.dwHoverTime = m_toolTip.HoverTime();
        TrackMouseEvent(&track);
        m_mouseTracking = true;
    }

    const POINT point = ClientPoint(lParam);
    m_lastMousePos = point;
    IControlUI* found = LocateControl(point);
    if (found != nullptr && found->GetManager() != &m_manager)
        return;
    const CControlRef under(found);

    if (!m_captured)
    {
        if (m_hover != nullptr && under.Get() != m_hover)
        {
            DeliverMouseLeave(wParam, lParam, point);
            m_toolTip.Hide();
        }
        if (under.Get() != nullptr && under.Get() != m_hover)
        {
            Deliver(under.Get(),
                    MakeEvent(UIEVENT_MOUSEENTER, under.Get(), point, CurrentKeyState(), wParam, lParam));
            if (under.Get() != nullptr)
                m_hover = under.Get();
        }
    }

    // A pressed control follows the mouse wherever it goes, even off itself.
    IControlUI* target = m_click != nullptr ? m_click.Get() : under.Get();
    Deliver(target, MakeEvent(UIEVENT_MOUSEMOVE, target, point, CurrentKeyState(), wParam, lParam));
}

void CInputDispatch::DeliverMouseLeave(WPARAM wParam, LPARAM lParam, POINT point)
{
    const CControlRef leaving(m_hover);
    // Watchers are taken from a copy, as a handler may change the list; one
    // that was removed meanwhile is no longer in the live list, and one that
    // was deleted reads null.
    const std::vector<CControlRef> watchers(m_leaveWatchers);
    for (const CControlRef& watcher : watchers)
    {
        if (watcher.Get() == nullptr || !ListsControl(m_leaveWatchers, watcher.Get()))
            continue;
        Deliver(watcher.Get(), MakeEvent(UIEVENT_MOUSELEAVE, leaving.Get(), point, CurrentKeyState(), wParam, lParam));
    }
    Deliver(leaving.Get(), MakeEvent(UIEVENT_MOUSELEAVE, leaving.Get(), point, CurrentKeyState(), wParam, lParam));
    m_hover = nullptr;
}

void CInputDispatch::OnMouseLeave()
{
    HWND window = m_manager.GetPaintWindow();
    if (m_manager.GetRoot() == nullptr)
        return;
    m_toolTip.Hide();
    if (!m_mouseTracking)
        return;
    // The platform also reports a leave when the mouse only moved onto a
    // child window or the frame; a move is made at the real cursor position
    // so the hover control changes only if the mouse really left it.
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT frame = {};
    GetWindowRect(window, &frame);
    LPARAM at = -1;
    if (!IsIconic(window) && GetActiveWindow() == window && PtInRect(&frame, cursor) &&
        ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y)) == HTCLIENT)
    {
        ScreenToClient(window, &cursor);
        at = MAKELPARAM(cursor.x, cursor.y);
    }
    ::SendMessageW(window, WM_MOUSEMOVE, 0, at);
    m_mouseTracking = false;
}

bool CInputDispatch::OnMouseHover(WPARAM wParam, LPARAM lParam)
{
    if (m_manager.GetRoot() == nullptr)
        return false;
    // The next mouse move asks for another hover.
    m_mouseTracking = false;
    const POINT point = ClientPoint(lParam);
    IControlUI* found = LocateControl(point);
    if (found == nullptr)
        return false;
    const CControlRef hovered(found);
    Deliver(m_hover, MakeEvent(UIEVENT_MOUSEHOVER, m_hover, point, CurrentKeyState(), wParam, lParam));
    if (hovered.Get() == nullptr)
        return true;

    m_toolTip.Show(hovered.Get(), lParam);
    return true;
}

void CInputDispatch::OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    if (!m_manager.IsNoActivate())
        ::SetFocus(window);
    if (m_manager.GetRoot() == nullptr)
        return;
    const POINT point = ClientPoint(lParam);
    m_lastMousePos = point;
    IControlUI* found = LocateControl(point);
    if (found == nullptr || found->GetManager() != &m_manager)
        return;
    const CControlRef pressed(found);
    const WORD keys = static_cast<WORD>(wParam);

    switch (message)
    {
    case WM_LBUTTONDOWN:
        m_click = found;
        found->SetFocus();
        if (pressed.Get() == nullptr)
            return;
        SetCapture();
        Deliver(pressed.Get(), MakeEvent(UIEVENT_BUTTONDOWN, pressed.Get(), point, keys, wParam, lParam));
        break;
    case WM_LBUTTONDBLCLK:
        SetCapture();
        Deliver(pressed.Get(), MakeEvent(UIEVENT_DBLCLICK, pressed.Get(), point, keys, wParam, lParam));
        if (pressed.Get() != nullptr)
            m_click = pressed.Get();
        break;
    default:
        found->SetFocus();
        Deliver(pressed.Get(), MakeEvent(UIEVENT_RBUTTONDOWN, pressed.Get(), point, keys, wParam, lParam));
        if (pressed.Get() != nullptr)
            m_click = pressed.Get();
        break;
    }
}

void CInputDispatch::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
    const POINT point = ClientPoint(lParam);
    m_lastMousePos = point;
    // Released even when the pressed control is gone: a control deleted
    // while pressed would otherwise leave the mouse captured for good.
    if (m_captured)
        ReleaseCapture();
    if (m_click == nullptr)
        return;
    const CControlRef released(m_click);
    ReleaseCapture();
    m_click = nullptr;
    Deliver(released.Get(),
            MakeEvent(UIEVENT_BUTTONUP, released.Get(), point, static_cast<WORD>(wParam), wParam, lParam));
}

void CInputDispatch::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    if (m_manager.GetRoot() == nullptr || m_captured)
        return;
    m_lastMousePos = ClientPointFromScreen(window, lParam);
    if (m_click == nullptr)
        return;
    IControlUI* click = m_click;
    Deliver(click, MakeEvent(UIEVENT_CONTEXTMENU, click, m_lastMousePos, LOWORD(wParam), wParam,
                             reinterpret_cast<LPARAM>(click)));
    m_click = nullptr;
}

void CInputDispatch::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    // The wheel goes to the window with the keyboard focus; a wheel message
    // that reaches this window otherwise is not meant for its controls.
    if (m_manager.GetRoot() == nullptr || ::GetFocus() != window)
        return;
    const POINT point = ClientPointFromScreen(window, lParam);
    m_lastMousePos = point;
    IControlUI* found = LocateControl(point);
    if (found != nullptr && found->GetManager() == &m_manager)
    {
        const WPARAM towardsUser = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
        Deliver(found, MakeEvent(UIEVENT_SCROLLWHEEL, found, point, CurrentKeyState(), towardsUser, lParam));
    }
    // Scrolling moved the content under a mouse that stood still.
    ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(m_lastMousePos.x, m_lastMousePos.y));
}

bool CInputDispatch::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    if (m_manager.GetRoot() == nullptr || LOWORD(lParam) != HTCLIENT)
        return false;
    // The pressed control keeps whatever cursor it set.
    if (m_captured)
        return true;
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    IControlUI* found = LocateControl(cursor);
    if (found == nullptr || (found->ControlFlagBits() & UIFLAG_SETCURSOR) == 0)
        return false;
    Deliver(found, MakeEvent(UIEVENT_SETCURSOR, found, cursor, CurrentKeyState(), wParam, lParam));
    return true;
}

// ---- Keyboard ---------------------------------------------------------------

void CInputDispatch::OnKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_manager.GetRoot() == nullptr)
        return;
    const WCHAR key = static_cast<WCHAR>(wParam);
    switch (message)
    {
    case WM_KEYDOWN:
    {
        const CControlRef pressed(m_manager.GetFocus());
        Deliver(pressed.Get(),
                MakeEvent(UIEVENT_KEYDOWN, pressed.Get(), m_lastMousePos, CurrentKeyState(), wParam, lParam, key));
        if (pressed.Get() != nullptr)
            m_keyPress = pressed.Get();
        break;
    }
    case WM_KEYUP:
    {
        IControlUI* released = m_keyPress;
        Deliver(released,
                MakeEvent(UIEVENT_KEYUP, released, m_lastMousePos, CurrentKeyState(), wParam, lParam, key));
        m_keyPress = nullptr;
        break;
    }
    default:
    {
        IControlUI* focus = m_manager.GetFocus();
        Deliver(focus, MakeEvent(UIEVENT_CHAR, focus, m_lastMousePos, CurrentKeyState(), wParam, lParam, key));
        break;
    }
    }
}

}  // namespace DuiLib
