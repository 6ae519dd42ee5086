// CUIManager's window procedure: RouteMessage hands each message to the part
// that owns it (input, painting, timers, the notification pump, the
// accessible tree), and FilterBeforeDispatch gives every message loop the
// managers' pre-translation. What a message does is the owning part's.
#include "ui/core/UIManager.h"

#include "ui/core/AccessBridge.h"
#include "ui/core/AccessibleTree.h"
#include "ui/core/ControlTimers.h"
#include "ui/core/FocusKeeper.h"
#include "ui/core/InputDispatch.h"
#include "ui/core/LayeredPresenter.h"
#include "ui/core/Notifier.h"
#include "ui/core/WindowPainter.h"
#include "ui/core/WindowSettings.h"

namespace DuiLib {

namespace {

// Notifications and commands from native child windows are sent back to the
// window they came from at message + OCM__BASE, so a control that hosts a
// native window can answer them there.
constexpr UINT kReflectionOffset = 0x2000;

}  // namespace

bool CUIManager::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_window == nullptr)
        return false;
    // Screen readers ask for the client area ahead of every filter: the
    // answer reads nothing a filter could be in the middle of changing.
    if (message == WM_GETOBJECT && m_access->AnswerGetObject(wParam, lParam, result))
        return true;
    // Every handler below may run control or application code; controls
    // queued for deletion wait until the outermost message is done.
    CNotifier::CDeliveryScope busy(*m_notifier);

    if (m_input->RunFilters(message, wParam, lParam, result))
        return true;

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
            m_settings->ApplyTrackingSizes(*info);
        return false;
    case WM_SIZE:
        m_input->OnSize(wParam, lParam);
        return true;
    case WM_TIMER:
        OnTimer(wParam, lParam);
        return false;
    case WM_CLOSE:
        m_input->OnClose(wParam, lParam);
        return false;
    case WM_DESTROY:
        m_access->Detach();
        return false;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_MOUSEHOVER:
        return m_input->OnMouseHover(wParam, lParam);
    case WM_MOUSELEAVE:
        m_input->OnMouseLeave();
        return false;
    case WM_MOUSEMOVE:
        m_input->OnMouseMove(wParam, lParam);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        m_input->OnButtonDown(message, wParam, lParam);
        return false;
    case WM_LBUTTONUP:
        m_input->OnButtonUp(wParam, lParam);
        return false;
    case WM_CONTEXTMENU:
        m_input->OnContextMenu(wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
        m_input->OnMouseWheel(wParam, lParam);
        return false;
    case WM_SETCURSOR:
        if (!m_input->OnSetCursor(wParam, lParam))
            return false;
        result = TRUE;
        return true;
    case WM_MOUSEACTIVATE:
        if (!IsNoActivate())
            return false;
        result = MA_NOACTIVATE;
        return true;
    case WM_CAPTURECHANGED:
        m_input->OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return false;
    case WM_KILLFOCUS:
        OnKillFocus(wParam);
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        m_input->OnKey(message, wParam, lParam);
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
            m_access->RunRequest(wParam, lParam);
            return true;
        }
        return false;
    }
}

void CUIManager::PaintWindow()
{
    if (!m_painter->PaintFrame())
        return;
    m_presenter->EndFrame();
    // Elements that appeared are announced once they have their places.
    m_access->FlushEvents();
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

bool CUIManager::FilterBeforeDispatch(const MSG& message)
{
    if (message.hwnd != nullptr && (GetWindowLongW(message.hwnd, GWL_STYLE) & WS_CHILD) != 0)
    {
        // A native child window (an edit box over a control) gets the
        // keyboard handling of the manager of every window it lies in. The
        // walk re-reads the list: a handler may close a window and with it
        // its manager.
        for (int i = s_managers.GetSize() - 1; i >= 0; --i)
        {
            CUIManager* manager = static_cast<CUIManager*>(s_managers.GetAt(i));
            for (HWND ancestor = GetParent(message.hwnd); manager != nullptr && ancestor != nullptr;
                 ancestor = GetParent(ancestor))
            {
                if (manager->m_window != message.hwnd && manager->m_window != ancestor)
                    continue;
                if (manager->TranslateKey(message))
                    return true;
                if (s_managers.Find(manager) < 0)
                    break;
                LRESULT ignored = 0;
                manager->PreRouteMessage(message.message, message.wParam, message.lParam, ignored);
                if (s_managers.Find(manager) < 0)
                    break;
            }
        }
        return false;
    }

    for (int i = 0; i < s_managers.GetSize(); ++i)
    {
        CUIManager* manager = static_cast<CUIManager*>(s_managers[i]);
        if (manager->m_window != message.hwnd)
            continue;
        if (manager->TranslateKey(message))
            return true;
        if (s_managers.Find(manager) < 0)
            return false;
        LRESULT ignored = 0;
        return manager->PreRouteMessage(message.message, message.wParam, message.lParam, ignored);
    }
    return false;
}

}  // namespace DuiLib
