// CUIManager message and input dispatch: the message handler, message filters,
// hover tracking with tool tips, capture and key messages; pre-translation is
// in UIManagerPreTranslate.cpp. Invariant: a control is never used after a
// call that may have deleted it; such calls hold it in a CControlRef.
//
// [SECTIONS] lists and capture · message handler · mouse · tool tips ·
// keyboard
#include "ui/core/UIManager.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/core/AccessibleTree.h"
#include "ui/core/ControlTimers.h"
#include "ui/core/FocusKeeper.h"
#include "ui/core/LayeredPresenter.h"
#include "ui/core/MessageFilter.h"
#include "ui/core/Notifier.h"
#include "ui/core/UIManagerInput.h"
#include "ui/core/WindowPainter.h"

namespace DuiLib {

using input::CurrentKeyState;
using input::Deliver;
using input::MakeEvent;
using input::RemoveFirst;

namespace {

// The hit test: visible controls, topmost first.
constexpr UINT kHitTestSearch = UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST;

// Notifications and commands from native child windows are sent back to the
// window they came from at message + OCM__BASE, so a control that hosts a
// native window can answer them there.
constexpr UINT kReflectionOffset = 0x2000;

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

bool CUIManager::AddFilter(IMessageFilterUI* filter)
{
    return filter != nullptr && m_filters.Add(filter);
}

bool CUIManager::RemoveFilter(IMessageFilterUI* filter)
{
    return RemoveFirst(m_filters, filter);
}

bool CUIManager::AddPreFilter(IMessageFilterUI* filter)
{
    return filter != nullptr && m_preFilters.Add(filter);
}

bool CUIManager::AddLeaveWatcher(IControlUI* control)
{
    if (control == nullptr || ListsControl(m_leaveWatchers, control))
        return false;
    m_leaveWatchers.push_back(control);
    return true;
}

bool CUIManager::RemoveLeaveWatcher(IControlUI* control)
{
    return UnlistControl(m_leaveWatchers, control);
}

bool CUIManager::AddKeyTranslator(ITranslateAccelerator* translator)
{
    return translator != nullptr && m_keyTranslators.Add(translator);
}

bool CUIManager::RemoveKeyTranslator(ITranslateAccelerator* translator)
{
    return RemoveFirst(m_keyTranslators, translator);
}

void CUIManager::SetCapture()
{
    ::SetCapture(m_window);
    m_captured = true;
}

void CUIManager::ReleaseCapture()
{
    ::ReleaseCapture();
    m_captured = false;
}

IControlUI* CUIManager::LocateControl(POINT point) const
{
    return m_root != nullptr ? m_root->LocateControl(HitTestProc, &point, kHitTestSearch) : nullptr;
}

// ---- Message handler --------------------------------------------------------

bool CUIManager::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_window == nullptr)
        return false;
    // Screen readers ask for the client area ahead of every filter: the
    // answer reads nothing a filter could be in the middle of changing.
    if (message == WM_GETOBJECT && AnswerGetObject(wParam, lParam, result))
        return true;
    // Every handler below may run control or application code; controls
    // queued for deletion wait until the outermost message is done.
    CNotifier::CDeliveryScope busy(*m_notifier);

    // A copy, because a filter may remove (and delete) filters while it runs;
    // one that has left the live list is skipped.
    const CPtrList filters(m_filters);
    for (int i = 0; i < filters.GetSize(); ++i)
    {
        if (m_filters.Find(filters[i]) < 0)
            continue;
        bool handled = false;
        const LRESULT answer =
            static_cast<IMessageFilterUI*>(filters[i])->RouteMessage(message, wParam, lParam, handled);
        if (handled)
        {
            RememberMousePoint(message, lParam);
            result = answer;
            return true;
        }
    }

    // A layered window draws its own frame: no non-client area is computed
    // or painted, and activation changes must not repaint a frame either.
    if (IsLayered())
    {
        switch (message)
        {
        case WM_NCCALCSIZE:
        case WM_NCPAINT:
            result = 0;
            return true;
        case WM_NCACTIVATE:
            if (!IsIconic(m_window))
            {
                result = wParam == 0 ? TRUE : FALSE;
                return true;
            }
            break;
        default:
            break;
        }
    }

    result = 0;
    switch (message)
    {
    case CNotifier::kPumpMessage:
        m_notifier->PumpNotifications();
        return false;
    case WM_PAINT:
        PaintWindow();
        return true;
    case WM_PRINTCLIENT:
        m_painter->PrintClient(reinterpret_cast<HDC>(wParam), wParam, lParam);
        return false;
    case WM_GETMINMAXINFO:
        if (MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam))
        {
            if (m_minInfo.cx > 0)
                info->ptMinTrackSize.x = m_minInfo.cx;
            if (m_minInfo.cy > 0)
                info->ptMinTrackSize.y = m_minInfo.cy;
            if (m_maxInfo.cx > 0)
                info->ptMaxTrackSize.x = m_maxInfo.cx;
            if (m_maxInfo.cy > 0)
                info->ptMaxTrackSize.y = m_maxInfo.cy;
        }
        return false;
    case WM_SIZE:
        OnSize(wParam, lParam);
        return true;
    case WM_TIMER:
        OnTimer(wParam, lParam);
        return false;
    case WM_CLOSE:
        OnClose(wParam, lParam);
        return false;
    case WM_DESTROY:
        DetachAccessTree();
        return false;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_MOUSEHOVER:
        return ShowToolTip(wParam, lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return false;
    case WM_MOUSEMOVE:
        TrackHover(wParam, lParam);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        OnButtonDown(message, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
        OnButtonUp(wParam, lParam);
        return false;
    case WM_CONTEXTMENU:
        OnContextMenu(wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam, lParam);
        return false;
    case WM_SETCURSOR:
        if (!OnSetCursor(wParam, lParam))
            return false;
        result = TRUE;
        return true;
    case WM_MOUSEACTIVATE:
        if (!m_noActivate)
            return false;
        result = MA_NOACTIVATE;
        return true;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a menu, a message box): this
        // window no longer has it, whatever the pressed control expects.
        if (reinterpret_cast<HWND>(lParam) != m_window)
            m_captured = false;
        return false;
    case WM_KILLFOCUS:
        OnKillFocus(wParam);
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        OnKey(message, wParam, lParam);
        return false;
    case WM_NOTIFY:
        if (lParam != 0)
            result = ::SendMessageW(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom, message + kReflectionOffset,
                                    wParam, lParam);
        return true;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0)
            return false;
        result = ::SendMessageW(reinterpret_cast<HWND>(lParam), message + kReflectionOffset, wParam, lParam);
        return true;
    default:
        // A reader's request, posted so that it runs on the window's own
        // turn with every control as the message loop left it.
        if (message == AccessRequestMessage())
        {
            if (m_accessTree != nullptr)
                m_accessTree->RunRequest(static_cast<AccessId>(wParam), static_cast<AccessRequest>(lParam));
            return true;
        }
        return false;
    }
}

// A filter that claims a mouse message still moves the manager's idea of
// where the mouse is, so notifications made later carry the right point.
void CUIManager::RememberMousePoint(UINT message, LPARAM lParam)
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
        m_lastMousePos = ClientPointFromScreen(m_window, lParam);
        break;
    default:
        break;
    }
}

void CUIManager::OnSize(WPARAM wParam, LPARAM lParam)
{
    IControlUI* focus = GetFocus();
    Deliver(focus, MakeEvent(UIEVENT_WINDOWSIZE, focus, m_lastMousePos, CurrentKeyState(), wParam, lParam));
    if (m_root != nullptr)
        m_root->RequestLayout();
    if (IsLayered())
        Invalidate();
}

void CUIManager::OnClose(WPARAM wParam, LPARAM lParam)
{
    // The hovered and pressed controls hear of the close while the window
    // still exists, so they can drop their hot and pushed looks.
    IControlUI* hover = m_hover;
    m_hover = nullptr;
    Deliver(hover, MakeEvent(UIEVENT_MOUSELEAVE, hover, m_lastMousePos, CurrentKeyState(), wParam, lParam));
    IControlUI* click = m_click;
    m_click = nullptr;
    Deliver(click, MakeEvent(UIEVENT_BUTTONUP, click, m_lastMousePos, CurrentKeyState(), wParam, lParam));
    SetFocus(nullptr, false);

    // Handing the focus on before the window goes keeps the platform from
    // activating some unrelated window.
    if (GetActiveWindow() == m_window)
    {
        const bool child = (GetWindowLongW(m_window, GWL_STYLE) & WS_CHILD) != 0;
        HWND next = child ? GetParent(m_window) : GetWindow(m_window, GW_OWNER);
        if (next != nullptr)
            ::SetFocus(next);
    }
    if (m_tooltipWindow != nullptr)
    {
        DestroyWindow(m_tooltipWindow);
        m_tooltipWindow = nullptr;
    }
}

void CUIManager::PaintWindow()
{
    if (!m_painter->PaintFrame())
        return;
    m_presenter->EndFrame();
    // Elements that appeared are announced once they have their places.
    if (m_accessTree != nullptr)
        m_accessTree->FlushEvents();
    // A control that asked for layout (or focus) while it was painted is
    // served by one more paint.
    if (IsLayoutRequested() || m_focusKeeper->IsFocusPending())
        Invalidate();
}

void CUIManager::OnTimer(WPARAM wParam, LPARAM lParam)
{
    // The frame clock of layered mode paints at once when something is
    // dirty, since a layered window gets no WM_PAINT of its own.
    if (wParam == CLayeredPresenter::kFrameTimer && IsLayered())
    {
        if (m_presenter->IsDirty() && !IsIconic(m_window))
            PaintWindow();
        return;
    }
    m_timers->OnTimer(wParam, lParam);
}

// ---- Mouse ------------------------------------------------------------------

void CUIManager::TrackHover(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr)
        return;
    if (!m_mouseTracking)
    {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_window;
        // Hover fires when the tool tip would appear, so the two agree.
        track.dwHoverTime =
            m_tooltipWindow != nullptr
                ? static_cast<DWORD>(::SendMessageW(m_tooltipWindow, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                : m_hoverTime;
        TrackMouseEvent(&track);
        m_mouseTracking = true;
    }

    const POINT point = ClientPoint(lParam);
    m_lastMousePos = point;
    IControlUI* found = LocateControl(point);
    if (found != nullptr && found->GetManager() != this)
        return;
    const CControlRef under(found);

    if (!m_captured)
    {
        if (m_hover != nullptr && under.Get() != m_hover)
        {
            DeliverMouseLeave(wParam, lParam, point);
            HideToolTip();
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

void CUIManager::DeliverMouseLeave(WPARAM wParam, LPARAM lParam, POINT point)
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

void CUIManager::OnMouseLeave()
{
    if (m_root == nullptr)
        return;
    HideToolTip();
    if (!m_mouseTracking)
        return;
    // The platform also reports a leave when the mouse only moved onto a
    // child window or the frame; a move is made at the real cursor position
    // so the hover control changes only if the mouse really left it.
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT frame = {};
    GetWindowRect(m_window, &frame);
    LPARAM at = -1;
    if (!IsIconic(m_window) && GetActiveWindow() == m_window && PtInRect(&frame, cursor) &&
        ::SendMessageW(m_window, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y)) == HTCLIENT)
    {
        ScreenToClient(m_window, &cursor);
        at = MAKELPARAM(cursor.x, cursor.y);
    }
    ::SendMessageW(m_window, WM_MOUSEMOVE, 0, at);
    m_mouseTracking = false;
}

void CUIManager::OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_noActivate)
        ::SetFocus(m_window);
    if (m_root == nullptr)
        return;
    const POINT point = ClientPoint(lParam);
    m_lastMousePos = point;
    IControlUI* found = LocateControl(point);
    if (found == nullptr || found->GetManager() != this)
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

void CUIManager::OnButtonUp(WPARAM wParam, LPARAM lParam)
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

void CUIManager::OnContextMenu(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr || m_captured)
        return;
    m_lastMousePos = ClientPointFromScreen(m_window, lParam);
    if (m_click == nullptr)
        return;
    IControlUI* click = m_click;
    Deliver(click, MakeEvent(UIEVENT_CONTEXTMENU, click, m_lastMousePos, LOWORD(wParam), wParam,
                             reinterpret_cast<LPARAM>(click)));
    m_click = nullptr;
}

void CUIManager::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    // The wheel goes to the window with the keyboard focus; a wheel message
    // that reaches this window otherwise is not meant for its controls.
    if (m_root == nullptr || ::GetFocus() != m_window)
        return;
    const POINT point = ClientPointFromScreen(m_window, lParam);
    m_lastMousePos = point;
    IControlUI* found = LocateControl(point);
    if (found != nullptr && found->GetManager() == this)
    {
        const WPARAM towardsUser = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
        Deliver(found, MakeEvent(UIEVENT_SCROLLWHEEL, found, point, CurrentKeyState(), towardsUser, lParam));
    }
    // Scrolling moved the content under a mouse that stood still.
    ::SendMessageW(m_window, WM_MOUSEMOVE, 0, MAKELPARAM(m_lastMousePos.x, m_lastMousePos.y));
}

bool CUIManager::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr || LOWORD(lParam) != HTCLIENT)
        return false;
    // The pressed control keeps whatever cursor it set.
    if (m_captured)
        return true;
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(m_window, &cursor);
    IControlUI* found = LocateControl(cursor);
    if (found == nullptr || (found->ControlFlagBits() & UIFLAG_SETCURSOR) == 0)
        return false;
    Deliver(found, MakeEvent(UIEVENT_SETCURSOR, found, cursor, CurrentKeyState(), wParam, lParam));
    return true;
}

void CUIManager::OnKillFocus(WPARAM wParam)
{
    if (wParam == 0)
        return;
    // Focus that moved into a hosted native window (an edit box over its
    // control) makes that control the focus control, so Tab goes on from it.
    HWND child = ::GetFocus();
    while (child != nullptr && GetAncestor(child, GA_PARENT) != m_window)
        child = GetAncestor(child, GA_PARENT);
    if (child == nullptr)
        return;
    IControlUI* host = m_painter->HostOf(child);
    if (host != nullptr && host != GetFocus())
        SetFocus(host, false);
}

// ---- Tool tips --------------------------------------------------------------

bool CUIManager::ShowToolTip(WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr)
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

    CUIString text = hovered.Get()->GetToolTip();
    if (text.IsEmpty())
        return true;
    ExpandLanguageTokens(text);
    m_tooltipText = text;
    m_tooltipRect = hovered.Get()->GetPos();
    const int width = hovered.Get()->GetToolTipWidth();

    if (m_tooltipWindow == nullptr)
    {
        m_tooltipWindow = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window,
                                          nullptr, GetModuleInstance(), nullptr);
        if (m_tooltipWindow == nullptr)
            return true;
        SendToolRecord(TTM_ADDTOOLW, 0);
        ::SendMessageW(m_tooltipWindow, TTM_SETMAXTIPWIDTH, 0, width);
        SendToolRecord(TTM_SETTOOLINFOW, 0);
        SendToolRecord(TTM_TRACKACTIVATE, TRUE);
    }
    if (m_lastTooltipControl == nullptr)
        m_lastTooltipControl = hovered.Get();
    if (m_lastTooltipControl == hovered.Get())
    {
        if (width != m_lastTooltipWidth)
        {
            ::SendMessageW(m_tooltipWindow, TTM_SETMAXTIPWIDTH, 0, width);
            m_lastTooltipWidth = width;
        }
    }
    else
    {
        ::SendMessageW(m_tooltipWindow, TTM_SETMAXTIPWIDTH, 0, width);
    }
    SendToolRecord(TTM_SETTOOLINFOW, 0);
    SendToolRecord(TTM_TRACKACTIVATE, TRUE);
    ::SendMessageW(m_tooltipWindow, TTM_TRACKPOSITION, 0, lParam);
    return true;
}

void CUIManager::HideToolTip()
{
    if (m_tooltipWindow != nullptr)
        SendToolRecord(TTM_TRACKACTIVATE, FALSE);
}

LRESULT CUIManager::SendToolRecord(UINT message, WPARAM wParam)
{
    // The window is its own one tool; the record is the platform's without
    // its last reserved field, which every common-controls version accepts.
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(m_window);
    tool.hinst = GetModuleInstance();
    tool.lpszText = const_cast<wchar_t*>(m_tooltipText.GetData());
    tool.rect = m_tooltipRect;
    return ::SendMessageW(m_tooltipWindow, message, wParam, reinterpret_cast<LPARAM>(&tool));
}

// ---- Keyboard ---------------------------------------------------------------

void CUIManager::OnKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_root == nullptr)
        return;
    const WCHAR key = static_cast<WCHAR>(wParam);
    switch (message)
    {
    case WM_KEYDOWN:
    {
        const CControlRef pressed(GetFocus());
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
        IControlUI* focus = GetFocus();
        Deliver(focus, MakeEvent(UIEVENT_CHAR, focus, m_lastMousePos, CurrentKeyState(), wParam, lParam, key));
        break;
    }
    }
}

}  // namespace DuiLib
