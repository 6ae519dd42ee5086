// CDateTimeUI: the date text, the placement that the picker follows and the
// events that open it. CDateTimeWnd: opening the platform picker over the
// control, what its focus loss and keys write back, and its drop-down
// calendar, which holds the focus without ending the picker.
//
// [SECTIONS] control · picker window
#include "ui/controls/DateTimeUI.h"

#include <oleacc.h>

#include <commctrl.h>

#include <cwchar>

#include "ui/core/UIManager.h"

namespace DuiLib {

namespace {

// Posted to the picker to look again where the focus is, once the window of
// its own that took the focus (its calendar) has lost it, closed or gone.
// Apart from the manager's own WM_APP + 1 pump.
constexpr UINT kCheckFocusMessage = WM_APP + 0x40;
// The manager reflects WM_NOTIFY back to the native window it came from.
constexpr UINT kReflectedNotify = 0x2000 + WM_NOTIFY;
constexpr UINT_PTR kFocusWatch = 1;

// Subclass procedure of the picker's window that holds the focus (picker is
// the picker's handle): the calendar may close without giving the focus
// back, and the picker learns of that only from here.
LRESULT CALLBACK WatchFocusHolder(HWND holder, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR picker)
{
    if (message == WM_KILLFOCUS || (message == WM_SHOWWINDOW && wParam == FALSE) || message == WM_NCDESTROY)
        ::PostMessageW(reinterpret_cast<HWND>(picker), kCheckFocusMessage, 0, 0);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(holder, WatchFocusHolder, id);
    return DefSubclassProc(holder, message, wParam, lParam);
}

}  // namespace

// ---- Control ------------------------------------------------------------------------------

CDateTimeUI::CDateTimeUI()
{
    GetLocalTime(&m_date);
    m_updateMode = DateTextUpdate::Update;
    UpdateText();
    m_updateMode = DateTextUpdate::None;
}

CDateTimeUI::~CDateTimeUI()
{
    CDateTimeWnd* picker = m_picker;
    m_picker = nullptr;
    if (picker != nullptr)
        picker->Abandon();
}

const wchar_t* CDateTimeUI::GetClass() const
{
    return L"DateTime";
}

void* CDateTimeUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"DateTime") == 0)
        return this;
    return CLabelUI::CastTo(name);
}

HWND CDateTimeUI::HostedWindowHandle() const
{
    return m_picker != nullptr ? m_picker->GetHWND() : nullptr;
}

void CDateTimeUI::SetTime(const SYSTEMTIME& date)
{
    m_date = date;
    const DateTextUpdate mode = m_updateMode;
    m_updateMode = DateTextUpdate::Update;
    UpdateText();
    m_updateMode = mode;
}

void CDateTimeUI::DescribeAccess(int part, AccessDescription& description) const
{
    CLabelUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    DescribeEditableText(description);
}

DWORD CDateTimeUI::TextAccessEvent() const
{
    return EVENT_OBJECT_VALUECHANGE;
}

void CDateTimeUI::UpdateText()
{
    if (m_updateMode == DateTextUpdate::Update)
    {
        CUIString text;
        text.Format(L"%4d-%02d-%02d", m_date.wYear, m_date.wMonth, m_date.wDay);
        SetText(text.GetData());
    }
    else if (m_updateMode == DateTextUpdate::Clear)
    {
        SetText(L"");
    }
}

CUIRect CDateTimeUI::PickerRect() const
{
    CUIRect rect = m_itemRect;
    for (IControlUI* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->GetParent())
    {
        const CUIRect client = ancestor->ClientRect();
        if (!ancestor->IsVisible() || !IntersectRect(&rect, &rect, &client))
            return CUIRect();
    }
    return rect;
}

void CDateTimeUI::FollowWithPicker()
{
    const HWND window = HostedWindowHandle();
    if (window == nullptr)
        return;
    const CUIRect place = PickerRect();
    if (IsRectEmpty(&place))
        ::ShowWindow(window, SW_HIDE);
    else
        SetWindowPos(window, nullptr, place.left, place.top, place.GetWidth(), place.GetHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CDateTimeUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CControlUI::PlaceAt(rect, invalidate);
    FollowWithPicker();
}

void CDateTimeUI::Move(int dx, int dy, bool invalidate)
{
    CControlUI::Move(dx, dy, invalidate);
    FollowWithPicker();
}

bool CDateTimeUI::ShowPicker()
{
    if (m_picker == nullptr)
        m_picker = new CDateTimeWnd();
    if (!m_picker->Open(this))
    {
        // A window that was made and destroyed again has deleted its object
        // and cleared m_picker; one that was never made left it to us.
        delete m_picker;
        m_picker = nullptr;
        return false;
    }
    m_picker->ShowWindow(true, true);
    return true;
}

void CDateTimeUI::HandleEvent(UIEvent& event)
{
    if (PassOnWhileMouseOff(event))
        return;
    switch (event.type)
    {
    case UIEVENT_SETCURSOR:
        if (IsEnabled())
        {
            ::SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
            return;
        }
        break;
    case UIEVENT_WINDOWSIZE:
        if (m_picker != nullptr && m_manager != nullptr)
            m_manager->RequestFocusSoon(this);
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_picker != nullptr)
            return;
        break;
    case UIEVENT_SETFOCUS:
        if (!IsEnabled())
            break;
        if (m_picker != nullptr)
            return;
        ShowPicker();
        break;
    case UIEVENT_KILLFOCUS:
        if (IsEnabled())
            Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (!IsEnabled())
            return;
        if (m_manager != nullptr)
            m_manager->ReleaseCapture();
        if (IsFocused() || m_picker != nullptr)
            ShowPicker();
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

// ---- Picker window ------------------------------------------------------------------------

const wchar_t* CDateTimeWnd::WindowClassName() const
{
    return L"DateTimeWnd";
}

const wchar_t* CDateTimeWnd::SuperclassName() const
{
    return DATETIMEPICK_CLASSW;
}

CUIManager* CDateTimeWnd::OwnerManager() const
{
    return m_owner != nullptr ? m_owner->GetManager() : nullptr;
}

bool CDateTimeWnd::Open(CDateTimeUI* owner)
{
    CUIManager* manager = owner != nullptr ? owner->GetManager() : nullptr;
    if (manager == nullptr || manager->GetPaintWindow() == nullptr)
        return false;
    m_owner = owner;
    owner->m_updateMode = DateTextUpdate::None;
    if (GetHWND() == nullptr)
    {
        // The picker's class is registered by comctl32 only when date
        // classes are asked for; InitCommonControls alone does not.
        INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
        InitCommonControlsEx(&classes);
        if (Create(manager->GetPaintWindow(), nullptr, WS_CHILD, 0, owner->PickerRect()) == nullptr)
            return false;
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->GetFont())), TRUE);
    }
    if (owner->GetText().IsEmpty())
        GetLocalTime(&owner->m_date);
    SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&owner->m_date));
    ::ShowWindow(GetHWND(), SW_SHOWNOACTIVATE);
    ::SetFocus(GetHWND());
    return true;
}

HWND CDateTimeWnd::Calendar() const
{
    return reinterpret_cast<HWND>(::SendMessageW(GetHWND(), DTM_GETMONTHCAL, 0, 0));
}

bool CDateTimeWnd::IsOwnWindow(HWND window) const
{
    const HWND picker = GetHWND();
    if (window == nullptr)
        return false;
    if (window == picker || IsChild(picker, window) || GetWindow(window, GW_OWNER) == picker)
        return true;
    const HWND calendar = Calendar();
    return calendar != nullptr && (window == calendar || IsChild(calendar, window));
}

void CDateTimeWnd::WatchFocus(HWND holder)
{
    if (m_focusHolder != holder)
        StopWatchingFocus();
    m_focusHolder = holder;
    SetWindowSubclass(holder, WatchFocusHolder, kFocusWatch, reinterpret_cast<DWORD_PTR>(GetHWND()));
}

void CDateTimeWnd::StopWatchingFocus()
{
    if (m_focusHolder != nullptr && IsWindow(m_focusHolder))
        RemoveWindowSubclass(m_focusHolder, WatchFocusHolder, kFocusWatch);
    m_focusHolder = nullptr;
}

void CDateTimeWnd::Leave(HWND focus)
{
    CUIManager* manager = OwnerManager();
    if (m_owner != nullptr && m_owner->m_updateMode == DateTextUpdate::None)
    {
        SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&m_owner->m_date));
        m_owner->m_updateMode = DateTextUpdate::Update;
        m_owner->UpdateText();
    }
    // Focus that left for another window than the manager's is lost to
    // the manager too.
    if (manager != nullptr && focus != manager->GetPaintWindow())
        ::SendMessageW(manager->GetPaintWindow(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(focus), 0);
    // Focus also leaves a window being destroyed: closing it again would
    // destroy it twice.
    if (!m_closing)
        SendMessage(WM_CLOSE);
}

void CDateTimeWnd::CheckFocus()
{
    if (m_closing)
        return;
    const HWND focus = ::GetFocus();
    const HWND calendar = Calendar();
    if (focus != nullptr && focus == calendar && !IsWindowVisible(calendar))
        ::SetFocus(GetHWND());  // the calendar closed keeping the focus: it comes back here
    else if (!IsOwnWindow(focus))
        Leave(focus);
}

void CDateTimeWnd::Abandon()
{
    CUIManager* manager = OwnerManager();
    const HWND window = GetHWND();
    m_owner = nullptr;
    m_closing = true;
    if (window == nullptr)
    {
        delete this;
        return;
    }
    if (manager != nullptr)
        manager->RemoveHostedWindow(window);
    // The window's destruction deletes this object.
    DestroyWindow(window);
}

LRESULT CDateTimeWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    CUIManager* manager = OwnerManager();
    switch (message)
    {
    case WM_CREATE:
        if (manager != nullptr)
            manager->AddHostedWindow(m_owner, GetHWND());
        break;
    case WM_CLOSE:
        m_closing = true;
        break;
    case WM_DESTROY:
        m_closing = true;
        StopWatchingFocus();
        break;
    case WM_KILLFOCUS:
    {
        const LRESULT result = CallPreviousProcedure(message, wParam, lParam);
        const HWND focus = reinterpret_cast<HWND>(wParam);
        if (m_closing || !IsOwnWindow(focus))
        {
            Leave(focus);
            return result;
        }
        // The drop-down button hands the focus to the calendar (before it
        // is even shown): the picker stays, and looks again once the
        // calendar has dropped down and whenever it loses the focus.
        WatchFocus(focus);
        PostMessage(kCheckFocusMessage);
        return result;
    }
    case kCheckFocusMessage:
        CheckFocus();
        return 0;
    case kReflectedNotify:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == DTN_CLOSEUP)
            PostMessage(kCheckFocusMessage);
        break;
    case WM_KEYUP:
    {
        if (wParam != VK_DELETE && wParam != VK_BACK && wParam != VK_ESCAPE)
            break;
        const LRESULT result = CallPreviousProcedure(message, wParam, lParam);
        if (m_owner != nullptr)
        {
            m_owner->m_updateMode = wParam == VK_ESCAPE ? DateTextUpdate::Keep : DateTextUpdate::Clear;
            m_owner->UpdateText();
        }
        PostMessage(WM_CLOSE);
        return result;
    }
    case WM_PAINT:
        // A layered window shows hosted windows only as printed into its
        // picture; the manager drops them when they are gone, so register
        // again at every paint.
        if (manager != nullptr && manager->IsLayered())
            manager->AddHostedWindow(m_owner, GetHWND());
        break;
    default:
        break;
    }
    return CallPreviousProcedure(message, wParam, lParam);
}

void CDateTimeWnd::OnWindowDestroyed(HWND window)
{
    if (m_owner != nullptr)
    {
        if (CUIManager* manager = m_owner->GetManager())
            manager->RemoveHostedWindow(window);
        m_owner->m_picker = nullptr;
    }
    delete this;
}

}  // namespace DuiLib
