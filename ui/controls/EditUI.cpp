// CEditUI and CEditWnd: the field's setters, attributes and events, its
// drawn look, and the native edit window's life and messages.
//
// [SECTIONS] field: identity and setters · field: attributes · field: events ·
// field: painting · native window: opening · native window: messages
#include "ui/controls/EditUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "ui/control/AttributeValues.h"
#include "ui/controls/ButtonUI.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

// The native window's own timer that blinks the printed caret.
constexpr UINT_PTR kCaretTimer = 20;
// Messages the manager reflects back to the native window they came from.
constexpr UINT kReflectedCommand = 0x2000 + WM_COMMAND;
constexpr UINT kReflectedColorEdit = 0x2000 + WM_CTLCOLOREDIT;
constexpr UINT kReflectedColorStatic = 0x2000 + WM_CTLCOLORSTATIC;
constexpr DWORD kSystemBackground = 0xFFFFFFFF;

// The platform wants a drawn black to differ from "unset".
DWORD VisibleBlack(DWORD color)
{
    return (color == 0 || color == 0xFF000000) ? 0xFF000001 : color;
}

}  // namespace

// ---- Field: identity and setters -------------------------------------------------------

CEditUI::CEditUI()
{
    m_textPadding = CUIRect(4, 3, 4, 3);
}

CEditUI::~CEditUI()
{
    if (m_editWnd != nullptr)
        m_editWnd->Orphan();
    m_editWnd = nullptr;
}

const wchar_t* CEditUI::GetClass() const
{
    return L"Edit";
}

void* CEditUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Edit") == 0)
        return this;
    return CLabelUI::CastTo(name);
}

HWND CEditUI::HostedWindowHandle() const
{
    return m_editWnd != nullptr ? m_editWnd->GetHWND() : nullptr;
}

void CEditUI::SetText(const wchar_t* text)
{
    CLabelUI::SetText(text);
    if (HostedWindowHandle() != nullptr)
        SetWindowTextW(HostedWindowHandle(), m_text.GetData());
}

void CEditUI::SetMaxChar(int maxChar)
{
    m_maxChar = maxChar;
    if (HostedWindowHandle() != nullptr)
        ::SendMessageW(HostedWindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, maxChar)), 0);
}

void CEditUI::SetReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    if (HostedWindowHandle() != nullptr)
        ::SendMessageW(HostedWindowHandle(), EM_SETREADONLY, readOnly, 0);
    Invalidate();
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    m_editStyle = numberOnly ? (m_editStyle | ES_NUMBER) : (m_editStyle & ~static_cast<UINT>(ES_NUMBER));
}

void CEditUI::SetPasswordMode(bool password)
{
    if (m_password == password)
        return;
    m_password = password;
    Invalidate();
}

void CEditUI::SetPasswordChar(wchar_t ch)
{
    if (m_passwordChar == ch)
        return;
    m_passwordChar = ch;
    Invalidate();
}

void CEditUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_editState = 0;
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    CloseWhenHidden();
}

void CEditUI::SetInheritedVisible(bool visible)
{
    CLabelUI::SetInheritedVisible(visible);
    CloseWhenHidden();
}

void CEditUI::CloseWhenHidden()
{
    // Taking the focus away closes the native window.
    if (!IsVisible() && m_editWnd != nullptr && m_manager != nullptr)
        m_manager->SetFocus(nullptr, true);
}

void CEditUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CLabelUI::PlaceAt(rect, invalidate);
    FollowPlacement();
}

void CEditUI::Move(int dx, int dy, bool invalidate)
{
    CLabelUI::Move(dx, dy, invalidate);
    FollowPlacement();
}

RECT CEditUI::EditRect() const
{
    RECT area = TextRect();
    for (IControlUI* parent = m_parent; parent != nullptr; parent = parent->GetParent())
    {
        const RECT client = parent->ClientRect();
        if (!parent->IsVisible() || !IntersectRect(&area, &area, &client))
            return RECT{0, 0, 0, 0};
    }
    return area;
}

CUIString CEditUI::ShownText() const
{
    if (!m_password)
        return m_text;
    CUIString shown;
    for (int i = 0; i < m_text.GetLength(); ++i)
        shown += m_passwordChar;
    return shown;
}

void CEditUI::FollowPlacement()
{
    HWND window = HostedWindowHandle();
    if (window == nullptr)
        return;
    const RECT area = EditRect();
    if (IsRectEmpty(&area))
        ::ShowWindow(window, SW_HIDE);
    else
        SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CEditUI::OpenEditWindow()
{
    m_editWnd = CEditWnd::Open(this);
    Invalidate();
}

// ---- Field: attributes -----------------------------------------------------------------

const ControlAttributeTable& CEditUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CEditUI> kRows[] = {
        {L"readonly", kBool, L"false", L"The text cannot be changed",
         [](CEditUI& e, const wchar_t* v) { e.SetReadOnly(ParseBool(v)); }},
        {L"numberonly", kBool, L"false", L"Only digits can be typed",
         [](CEditUI& e, const wchar_t* v) { e.SetNumberOnly(ParseBool(v)); }},
        {L"password", kBool, L"false", L"Characters show as *",
         [](CEditUI& e, const wchar_t* v) { e.SetPasswordMode(ParseBool(v)); }},
        {L"autoselall", kBool, L"false", L"Select the whole text when the edit gets the focus",
         [](CEditUI& e, const wchar_t* v) { e.SetAutoSelAll(ParseBool(v)); }},
        {L"maxchar", kInteger, L"255", L"Most characters the text can hold",
         [](CEditUI& e, const wchar_t* v) { e.SetMaxChar(ParseInt(v)); }},
        {L"normalimage", kImage, L"none", L"Image in the normal state",
         [](CEditUI& e, const wchar_t* v) { e.SetNormalImage(v); }},
        {L"hotimage", kImage, L"none", L"Image while the mouse is over the edit",
         [](CEditUI& e, const wchar_t* v) { e.SetHotImage(v); }},
        {L"focusedimage", kImage, L"none", L"Image while editing",
         [](CEditUI& e, const wchar_t* v) { e.SetFocusedImage(v); }},
        {L"disabledimage", kImage, L"none", L"Image while disabled",
         [](CEditUI& e, const wchar_t* v) { e.SetDisabledImage(v); }},
        {L"nativebkcolor", kColour, L"#FFFFFFFF (system colour)", L"Background of the text while editing",
         [](CEditUI& e, const wchar_t* v) { e.SetNativeEditBkColor(ParseColor(v, ColorBlanks::Skip)); }},
    };
    static const ControlAttributeTable kTable(L"CEditUI", &CLabelUI::GetAttributeTable(), kRows);
    return kTable;
}

// ---- Field: events ---------------------------------------------------------------------

void CEditUI::HandleEvent(UIEvent& event)
{
    if (PassOnWhileMouseOff(event))
        return;
    HWND window = HostedWindowHandle();
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
        if (window != nullptr && m_manager != nullptr)
            m_manager->RequestFocusSoon(this);
        break;
    case UIEVENT_SCROLLWHEEL:
        if (window != nullptr)
            return;
        break;
    case UIEVENT_SETFOCUS:
        if (IsEnabled() && m_editWnd == nullptr)
            OpenEditWindow();
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
        if (IsFocused() && m_editWnd == nullptr)
        {
            OpenEditWindow();
            return;
        }
        if (window == nullptr || m_autoSelAll)
            return;
        // The caret lands where the user clicked: the click goes on into the
        // native window, at the point relative to the text area.
        ::SendMessageW(window, EM_SETSEL, 0, 0);
        ::SendMessageW(window, WM_LBUTTONDOWN, event.keyState,
                       MAKELPARAM(event.mousePoint.x - m_itemRect.left - m_textPadding.left,
                                  event.mousePoint.y - m_itemRect.top - m_textPadding.top));
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        if (FollowHover(event, m_editState))
            return;
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

// ---- Field: painting -------------------------------------------------------------------

void CEditUI::PaintStateImage(HDC dc)
{
    m_editState = IsFocused() ? (m_editState | UISTATE_FOCUSED) : (m_editState & ~static_cast<UINT>(UISTATE_FOCUSED));
    m_editState = IsEnabled() ? (m_editState & ~static_cast<UINT>(UISTATE_DISABLED)) : (m_editState | UISTATE_DISABLED);
    ImageDrawSpec* chosen = nullptr;
    if ((m_editState & UISTATE_DISABLED) != 0)
        chosen = &m_disabledImage;
    else if ((m_editState & UISTATE_FOCUSED) != 0)
        chosen = &m_focusedImage;
    else if ((m_editState & UISTATE_HOT) != 0)
        chosen = &m_hotImage;
    if (chosen == nullptr || !PaintImage(dc, *chosen))
        PaintImage(dc, m_normalImage);
}

void CEditUI::PaintText(HDC dc)
{
    TakeDefaultColors();
    if (m_text.IsEmpty())
        return;
    const CUIString shown = ShownText();
    RECT area = TextRect();
    const DWORD color = IsEnabled() ? m_textColor : m_disabledTextColor;
    if (IsEffectEnabled())
        DrawSolidEffectText(dc, area, color, shown.GetData(), m_textStyle | DT_SINGLELINE);
    else
        CRenderKit::DrawPlainText(dc, m_manager, area, shown.GetData(), color, m_font, m_textStyle | DT_SINGLELINE);
}

void CEditUI::TakeEditedText(const wchar_t* text)
{
    m_text = text;
    NotifyAccess(EVENT_OBJECT_VALUECHANGE);
}

DWORD CEditUI::TextAccessEvent() const
{
    return EVENT_OBJECT_VALUECHANGE;
}

void CEditUI::DescribeAccess(int part, AccessDescription& description) const
{
    CLabelUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    DescribeEditableText(description);
    if (m_readOnly)
        description.state |= STATE_SYSTEM_READONLY;
    if ((m_editState & UISTATE_HOT) != 0)
        description.state |= STATE_SYSTEM_HOTTRACKED;
    if (m_password)
    {
        // The text never leaves the field: neither as value nor as name.
        description.state |= STATE_SYSTEM_PROTECTED;
        description.valueProtected = true;
        description.hasValue = false;
        description.value = CUIString();
    }
}

// ---- Native window: opening ------------------------------------------------------------

CEditWnd* CEditWnd::Open(CEditUI* owner)
{
    CUIManager* manager = owner != nullptr ? owner->GetManager() : nullptr;
    if (manager == nullptr || manager->GetPaintWindow() == nullptr)
        return nullptr;
    auto* window = new CEditWnd();
    window->m_owner = owner;
    // Set before creation: a window that dies inside CreateWindowEx clears it.
    owner->m_editWnd = window;
    DWORD style = owner->GetEditStyle() | WS_CHILD | ES_AUTOHSCROLL;
    if ((owner->GetTextStyle() & DT_CENTER) != 0)
        style |= ES_CENTER;
    else if ((owner->GetTextStyle() & DT_RIGHT) != 0)
        style |= ES_RIGHT;
    if (owner->IsPasswordMode())
        style |= ES_PASSWORD;
    if (window->Create(manager->GetPaintWindow(), nullptr, style, 0, owner->EditRect()) == nullptr)
    {
        if (owner->m_editWnd == window)
            delete window;
        owner->m_editWnd = nullptr;
        return nullptr;
    }
    window->Initialise();
    return owner->m_editWnd;
}

CEditWnd::~CEditWnd()
{
    if (m_brush != nullptr)
        DeleteObject(m_brush);
}

const wchar_t* CEditWnd::WindowClassName() const
{
    return L"EditWnd";
}

const wchar_t* CEditWnd::SuperclassName() const
{
    return L"Edit";
}

void CEditWnd::Initialise()
{
    CUIManager* manager = m_owner->GetManager();
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(m_owner->GetFont())), TRUE);
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, m_owner->GetMaxChar())));
    if (m_owner->IsPasswordMode())
        SendMessage(EM_SETPASSWORDCHAR, m_owner->GetPasswordChar());
    SetWindowTextW(GetHWND(), m_owner->GetText().GetData());
    SendMessage(EM_SETMODIFY, FALSE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    EnableWindow(GetHWND(), m_owner->IsEnabled() ? TRUE : FALSE);
    SendMessage(EM_SETREADONLY, m_owner->IsReadOnly() ? TRUE : FALSE);
    ShowWindow(true, false);
    ::SetFocus(GetHWND());
    const int length = GetWindowTextLengthW(GetHWND());
    if (m_owner->IsAutoSelAll())
        SendMessage(EM_SETSEL, 0, std::max(length, 1));
    else
        SendMessage(EM_SETSEL, static_cast<WPARAM>(length), length);
    m_initialised = true;
}

void CEditWnd::Orphan()
{
    if (m_owner != nullptr && m_owner->GetManager() != nullptr)
        m_owner->GetManager()->RemoveHostedWindow(GetHWND());
    m_owner = nullptr;
    PostMessage(WM_CLOSE);
}

void CEditWnd::OnWindowDestroyed(HWND window)
{
    if (m_owner != nullptr)
    {
        m_owner->Invalidate();
        if (m_owner->GetManager() != nullptr)
            m_owner->GetManager()->RemoveHostedWindow(window);
        m_owner->EditWindowClosed();
    }
    delete this;
}

// ---- Native window: messages -----------------------------------------------------------

bool CEditWnd::IsLayered() const
{
    return m_owner != nullptr && m_owner->GetManager() != nullptr && m_owner->GetManager()->IsLayered();
}

void CEditWnd::Reregister()
{
    CUIManager* manager = m_owner->GetManager();
    if (manager == nullptr)
        return;
    // Registering an already known window changes nothing there, so its
    // area is repainted here.
    manager->Invalidate(manager->HostedWindowRect(GetHWND()));
    manager->AddHostedWindow(m_owner, GetHWND());
}

LRESULT CEditWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every path that raises a notification ends without touching the object:
    // a listener may move the focus, which destroys the window and this.
    HWND self = GetHWND();
    switch (message)
    {
    case WM_CREATE:
    {
        const LRESULT result = CallPreviousProcedure(message, wParam, lParam);
        if (result == -1 || m_owner == nullptr || m_owner->GetManager() == nullptr)
            return result;
        m_owner->GetManager()->AddHostedWindow(m_owner, self);
        if (IsLayered())
            ::SetTimer(self, kCaretTimer, GetCaretBlinkTime(), nullptr);
        return result;
    }
    case WM_KILLFOCUS:
    {
        const LRESULT result = CallPreviousProcedure(message, wParam, lParam);
        // An orphan closes by the message its owner posted.
        if (m_owner == nullptr || m_owner->GetManager() == nullptr)
            return result;
        // Focus that leaves for another window than the manager's is the
        // manager's loss too.
        HWND managerWindow = m_owner->GetManager()->GetPaintWindow();
        if (reinterpret_cast<HWND>(wParam) != managerWindow)
            ::SendMessageW(managerWindow, WM_KILLFOCUS, wParam, lParam);
        ::SendMessageW(self, WM_CLOSE, 0, 0);
        return result;
    }
    case kReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE)
        {
            OnTextChanged();
            return 0;
        }
        if (HIWORD(wParam) == EN_UPDATE)
        {
            InvalidateRect(self, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
        {
            // The native edit never sees Enter.
            if (m_owner != nullptr && m_owner->GetManager() != nullptr)
                m_owner->GetManager()->RaiseNotify(m_owner, L"return");
            return 0;
        }
        break;
    case WM_PAINT:
        if (IsLayered())
            Reregister();
        break;
    case WM_CONTEXTMENU:
        if (m_owner == nullptr || !m_owner->IsContextMenuUsed())
            return 0;
        break;
    case WM_TIMER:
        if (wParam == kCaretTimer)
        {
            m_caretVisible = !m_caretVisible;
            InvalidateRect(self, nullptr, FALSE);
            return 0;
        }
        break;
    case WM_PRINT:
        if (IsLayered())
        {
            const LRESULT result = CallPreviousProcedure(message, wParam, lParam);
            PrintCaret(reinterpret_cast<HDC>(wParam));
            return result;
        }
        break;
    case kReflectedColorEdit:
    case kReflectedColorStatic:
        if (m_owner != nullptr && m_owner->GetManager() != nullptr)
            return OnControlColor(reinterpret_cast<HDC>(wParam));
        break;
    default:
        break;
    }
    return CallPreviousProcedure(message, wParam, lParam);
}

void CEditWnd::OnTextChanged()
{
    if (!m_initialised || m_owner == nullptr)
        return;
    // The whole text, however long; the field never holds more than its
    // limit, even when the native window was given more.
    const int length = GetWindowTextLengthW(GetHWND());
    std::vector<wchar_t> text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    GetWindowTextW(GetHWND(), text.data(), static_cast<int>(text.size()));
    const int limit = m_owner->GetMaxChar();
    if (limit > 0 && limit < length)
        text[static_cast<size_t>(limit)] = L'\0';
    m_owner->TakeEditedText(text.data());
    CUIManager* manager = m_owner->GetManager();
    if (manager == nullptr)
        return;
    HWND self = GetHWND();
    manager->RaiseNotify(m_owner, L"textchanged");
    if (!IsWindow(self))
        return;
    if (IsLayered())
        m_owner->Invalidate();
}

LRESULT CEditWnd::OnControlColor(HDC dc)
{
    CUIManager* manager = m_owner->GetManager();
    if (IsLayered() && !manager->IsPainting())
        Reregister();
    DWORD background = m_owner->GetNativeEditBkColor();
    if (background == 0xFF000000)
        background = 0xFF000001;
    if (background == kSystemBackground)
        return 0;
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, CRenderKit::ToPlatformColor(VisibleBlack(m_owner->GetTextColor())));
    if ((background >> 24) < 0xFF)
    {
        // The skin under the field, tinted: painted afresh each time, since
        // what lies under the window may have changed.
        if (m_brush != nullptr)
            DeleteObject(m_brush);
        m_brush = nullptr;
        HBITMAP under = CRenderKit::RenderToBitmap(manager, manager->HostedWindowRect(GetHWND()), m_owner, background);
        if (under != nullptr)
        {
            m_brush = CreatePatternBrush(under);
            DeleteObject(under);
        }
    }
    else if (m_brush == nullptr)
    {
        m_brush = CreateSolidBrush(CRenderKit::ToPlatformColor(background));
    }
    return reinterpret_cast<LRESULT>(m_brush);
}

void CEditWnd::PrintCaret(HDC dc)
{
    if (m_owner == nullptr || !m_owner->IsEnabled() || !m_caretVisible)
        return;
    POINT caret = {0, 0};
    RECT client = {0, 0, 0, 0};
    GetCaretPos(&caret);
    GetClientRect(GetHWND(), &client);
    CRenderKit::StrokeLine(dc, RECT{caret.x, caret.y + 1, caret.x, caret.y + client.bottom - 1}, 1, 0xFF000000,
                           PS_SOLID);
}

}  // namespace DuiLib
