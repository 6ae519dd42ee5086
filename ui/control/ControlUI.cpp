// CControlUI: lifetime, identity, the cover, texts, state flags, the tree
// search, the event defaults, the colour/border/image setters and custom
// attributes. Placement and invalidation live in ControlUILayout.cpp, the
// attribute table in ControlUIAttributes.cpp, painting in ControlUIPaint.cpp.
//
// [SECTIONS] lifetime and identity · tree and cover · texts and values ·
// state · search and events · colours, borders and images ·
// virtual window and custom attributes
#include "ui/control/ControlUI.h"

#include <oleacc.h>

#include <cwchar>

#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

// ---- Lifetime and identity ----------------------------------------------------------

CControlUI::CControlUI() = default;

void CControlUI::Delete()
{
    if (m_manager != nullptr)
        m_manager->RemoveLeaveWatcher(this);
    delete this;
}

CControlUI::~CControlUI()
{
    if (m_cover != nullptr)
    {
        IControlUI* cover = m_cover;
        m_cover = nullptr;
        cover->Delete();
    }
    RemoveAllCustomAttributes();
    if (m_destroyHub)
        m_destroyHub(this);
    // Last, so that focus, hover, timers, names and queued notifications that
    // the delegates above may still have caused are dropped as well; from
    // here on no reference can see the control again.
    if (m_manager != nullptr)
        m_manager->ForgetControl(this);
    EndLife();
}

CUIString CControlUI::GetName() const
{
    return m_name;
}

void CControlUI::SetName(const wchar_t* name)
{
    const wchar_t* newName = name != nullptr ? name : L"";
    if (m_name == newName)
        return;
    // The manager renames through this same operation, and answers at once
    // when the control already bears the name; so it is asked first, while
    // the old name still identifies the control in its table.
    if (m_manager != nullptr && !m_renaming)
    {
        m_renaming = true;
        m_manager->RenameControl(this, newName);
        m_renaming = false;
    }
    m_name = newName;
}

const wchar_t* CControlUI::GetClass() const
{
    return L"Control";
}

void* CControlUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Control") == 0)
        return this;
    return nullptr;
}

UINT CControlUI::ControlFlagBits() const
{
    return 0;
}

HWND CControlUI::HostedWindowHandle() const
{
    return nullptr;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

// ---- Tree and cover -------------------------------------------------------------------

CUIManager* CControlUI::GetManager() const
{
    return m_manager;
}

void CControlUI::BindManager(CUIManager* manager, IControlUI* parent, bool init)
{
    if (m_cover != nullptr)
        m_cover->BindManager(manager, this, init);
    m_manager = manager;
    m_parent = parent;
    if (init && parent != nullptr)
        Init();
}

IControlUI* CControlUI::GetParent() const
{
    return m_parent;
}

IControlUI* CControlUI::OverlayControl() const
{
    return m_cover;
}

void CControlUI::SetOverlayControl(IControlUI* control)
{
    if (control == m_cover || control == this)
        return;
    if (m_cover != nullptr)
    {
        IControlUI* old = m_cover;
        m_cover = nullptr;
        old->Delete();
    }
    m_cover = control;
    if (m_cover == nullptr)
        return;
    if (m_manager != nullptr)
        m_manager->RegisterControlTree(m_cover, this);
    else
        m_cover->BindManager(nullptr, this, false);
    if (IsVisible())
        RequestLayout();
    else
        m_cover->SetInheritedVisible(false);
}

// ---- Texts and values ------------------------------------------------------------------

CUIString CControlUI::GetText() const
{
    return m_text;
}

void CControlUI::SetText(const wchar_t* text)
{
    if (m_text == (text != nullptr ? text : L""))
        return;
    m_text = text;
    Invalidate();
    NotifyAccess(TextAccessEvent());
}

CUIString CControlUI::GetToolTip() const
{
    return m_toolTip;
}

void CControlUI::SetToolTip(const wchar_t* text)
{
    m_toolTip = text;
    m_toolTip.Replace(L"<n>", L"\r\n");
}

void CControlUI::SetToolTipWidth(int width)
{
    m_toolTipWidth = width;
}

int CControlUI::GetToolTipWidth() const
{
    return m_toolTipWidth;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_shortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_shortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_contextMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool used)
{
    m_contextMenuUsed = used;
}

CUIString CControlUI::GetUserData() const
{
    return m_userData;
}

void CControlUI::SetUserData(const wchar_t* text)
{
    m_userData = text;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_tag;
}

void CControlUI::SetTag(UINT_PTR tag)
{
    m_tag = tag;
}

// ---- State ----------------------------------------------------------------------------

bool CControlUI::IsVisible() const
{
    return m_visible && m_internVisible;
}

void CControlUI::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    const bool wasVisible = IsVisible();
    m_visible = visible;
    m_focused = false;
    if (!visible && m_manager != nullptr && m_manager->GetFocus() == this)
        m_manager->SetFocus(nullptr, true);
    if (IsVisible() != wasVisible)
        RequestParentLayout();
    if (m_cover != nullptr)
        m_cover->SetInheritedVisible(IsVisible());
    if (IsVisible() != wasVisible)
        NotifyAccess(IsVisible() ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void CControlUI::SetInheritedVisible(bool visible)
{
    m_internVisible = visible;
    if (!visible && m_manager != nullptr && m_manager->GetFocus() == this)
        m_manager->SetFocus(nullptr, true);
    if (m_cover != nullptr)
        m_cover->SetInheritedVisible(IsVisible());
}

bool CControlUI::IsEnabled() const
{
    return m_enabled;
}

void CControlUI::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    Invalidate();
    NotifyAccess(EVENT_OBJECT_STATECHANGE);
}

bool CControlUI::IsMouseEnabled() const
{
    return m_mouseEnabled;
}

void CControlUI::SetMouseEnabled(bool enabled)
{
    m_mouseEnabled = enabled;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_keyboardEnabled && m_enabled;
}

void CControlUI::SetKeyboardEnabled(bool enabled)
{
    m_keyboardEnabled = enabled;
}

bool CControlUI::IsFocused() const
{
    return m_focused;
}

void CControlUI::SetFocus()
{
    if (m_manager != nullptr)
        m_manager->SetFocus(this, false);
}

bool CControlUI::IsFloat() const
{
    return m_float;
}

void CControlUI::SetFloat(bool floating)
{
    if (m_float == floating)
        return;
    m_float = floating;
    RequestParentLayout();
}

// ---- Search and events ------------------------------------------------------------------

IControlUI* CControlUI::LocateControl(LocateControlProc proc, void* data, UINT flags)
{
    if (proc == nullptr)
        return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible())
        return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled())
        return nullptr;
    if (hitTest && (data == nullptr || !PtInRect(&m_itemRect, *static_cast<const POINT*>(data))))
        return nullptr;
    if ((flags & UIFIND_UPDATETEST) != 0 && proc(this, data) != nullptr)
        return nullptr;

    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    IControlUI* result = nullptr;
    if (meFirst && !(hitTest && !m_mouseEnabled))
        result = proc(this, data);
    if (result == nullptr && m_cover != nullptr)
        result = m_cover->LocateControl(proc, data, flags);
    if (result != nullptr || meFirst)
        return result;
    if (hitTest && !m_mouseEnabled)
        return nullptr;
    return proc(this, data);
}

void CControlUI::Init()
{
    OnInitialised();
    if (m_initHub)
        m_initHub(this);
}

void CControlUI::OnInitialised()
{
}

void CControlUI::Event(UIEvent& event)
{
    if (m_eventHub(&event))
        HandleEvent(event);
}

void CControlUI::HandleEvent(UIEvent& event)
{
    switch (event.type)
    {
    case UIEVENT_SETCURSOR:
        ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return;
    case UIEVENT_SETFOCUS:
        m_focused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_focused = false;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_manager != nullptr)
            m_manager->RaiseNotify(this, L"timer", event.wParam, event.lParam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_contextMenuUsed)
        {
            if (m_manager != nullptr)
                m_manager->RaiseNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_parent != nullptr)
        m_parent->HandleEvent(event);
}

// ---- Colours, borders and images ----------------------------------------------------------

void CControlUI::SetBkColor(DWORD color)
{
    if (m_bkColor == color)
        return;
    m_bkColor = color;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD color)
{
    if (m_bkColor2 == color)
        return;
    m_bkColor2 = color;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD color)
{
    if (m_bkColor3 == color)
        return;
    m_bkColor3 = color;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD color)
{
    if (m_focusBorderColor == color)
        return;
    m_focusBorderColor = color;
    Invalidate();
}

void CControlUI::SetColorHsl(bool useHsl)
{
    if (m_colorHsl == useHsl)
        return;
    m_colorHsl = useHsl;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    m_borderSize = CUIRect(size, size, size, size);
    Invalidate();
}

void CControlUI::SetBorderSize(const RECT& sizes)
{
    m_borderSize = sizes;
    Invalidate();
}

void CControlUI::SetBorderRound(const SIZE& round)
{
    m_borderRound = round;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style)
{
    m_borderStyle = style;
    Invalidate();
}

bool CControlUI::AssignImage(ImageDrawSpec& spec, const wchar_t* description)
{
    const wchar_t* text = description != nullptr ? description : L"";
    if (spec.drawString == text && spec.image != nullptr)
        return false;
    spec.Clear();
    spec.drawString = text;
    // Without a device context the render kit only parses the description
    // and loads the image; without a manager it does nothing yet, and the
    // first paint with a manager loads it.
    CRenderKit::PaintImageSpec(nullptr, m_manager, m_itemRect, m_itemRect, spec);
    Invalidate();
    return true;
}

void CControlUI::SetBkImage(const wchar_t* description)
{
    if (!AssignImage(m_bkImage, description))
        return;
    if (m_float && m_fixedSize.cx == 0 && m_fixedSize.cy == 0 && m_bkImage.image != nullptr)
    {
        SetFixedWidth(m_bkImage.image->width);
        SetFixedHeight(m_bkImage.image->height);
    }
}

void CControlUI::SetForeImage(const wchar_t* description)
{
    AssignImage(m_foreImage, description);
}

DWORD CControlUI::AdjustedColor(DWORD color) const
{
    if (!m_colorHsl)
        return color;
    short hue = 0, saturation = 0, lightness = 0;
    if (!CUIManager::GetHslAdjustment(hue, saturation, lightness))
        return color;
    return CRenderKit::ShiftColorHsl(color);
}

// ---- Virtual window and custom attributes --------------------------------------------------

void CControlUI::SetVirtualWindowName(const wchar_t* name)
{
    m_virtualWindow = name;
    if (m_manager != nullptr)
        m_manager->SetUseVirtualWindowNames(true);
}

CUIString CControlUI::VirtualWindowName() const
{
    if (!m_virtualWindow.IsEmpty())
        return m_virtualWindow;
    if (m_parent != nullptr)
        return m_parent->VirtualWindowName();
    return CUIString();
}

void CControlUI::AddCustomAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || name[0] == L'\0' || value == nullptr || value[0] == L'\0')
        return;
    CUIString* copy = new CUIString(value);
    if (!m_customAttributes.Insert(name, copy))
        delete copy;
}

const wchar_t* CControlUI::GetCustomAttribute(const wchar_t* name) const
{
    if (name == nullptr)
        return nullptr;
    // A lookup without move-to-front leaves the map as it was.
    auto* value = static_cast<CUIString*>(const_cast<CNameMap&>(m_customAttributes).Find(name, false));
    return value != nullptr ? value->GetData() : nullptr;
}

void CControlUI::RemoveAllCustomAttributes()
{
    for (int i = 0; i < m_customAttributes.GetSize(); ++i)
        delete static_cast<CUIString*>(m_customAttributes.Find(m_customAttributes.GetAt(i), false));
    m_customAttributes.Resize(CNameMap::kDefaultBuckets);
}

// ---- Accessibility ---------------------------------------------------------------------

void CControlUI::DescribeAccess(int part, AccessDescription& description) const
{
    if (part != 0)
        return;
    description.name = AccessName();
    description.role = description.name.IsEmpty() ? 0 : ROLE_SYSTEM_GRAPHIC;
    description.rect = m_itemRect;
    if (!IsEnabled())
        description.state |= STATE_SYSTEM_UNAVAILABLE;
    if ((ControlFlagBits() & UIFLAG_TABSTOP) != 0)
        description.state |= STATE_SYSTEM_FOCUSABLE;
    if (IsFocused())
        description.state |= STATE_SYSTEM_FOCUSED;
    DescribeAccessProgress(part, description);
}

void CControlUI::SetAccessProgress(const wchar_t* value)
{
    const CUIString next = value != nullptr ? value : L"";
    if (next == m_accessProgress)
        return;
    m_accessProgress = next;
    NotifyAccess(EVENT_OBJECT_VALUECHANGE);
}

void CControlUI::DescribeAccessProgress(int part, AccessDescription& description) const
{
    if (part != 0 || m_accessProgress.IsEmpty())
        return;
    description.role = ROLE_SYSTEM_PROGRESSBAR;
    description.value = m_accessProgress;
    description.hasValue = true;
    description.state |= STATE_SYSTEM_READONLY;
}

bool CControlUI::DoAccessAction(int)
{
    return false;
}

CUIString CControlUI::AccessName() const
{
    CUIString name = !m_text.IsEmpty() ? m_text : m_toolTip;
    CUIManager::ExpandLanguageTokens(name);
    return name;
}

CUIString CControlUI::AccessAction(const wchar_t* fallback) const
{
    return !m_actionName.IsEmpty() ? m_actionName : CUIString(fallback);
}

void CControlUI::NotifyAccess(DWORD event)
{
    if (m_manager != nullptr)
        m_manager->RaiseAccessEvent(event, this);
}

DWORD CControlUI::TextAccessEvent() const
{
    return EVENT_OBJECT_NAMECHANGE;
}

}  // namespace DuiLib
