// CButtonUI, COptionUI and CCheckBoxUI: identity, attributes, the event
// state machine with the normal/hot cross-fade, option groups and the
// state-dependent painting of images, background and text.
//
// [SECTIONS] button: identity and setters · button: attributes · button:
// events · button: painting · option · check box
#include "ui/controls/ButtonUI.h"

#include <oleacc.h>

#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

DWORD ReadColor(const wchar_t* value)
{
    return ParseColor(value, ColorBlanks::Skip);
}

// An opaque colour fills the area being painted; a translucent one the whole
// control, so that it blends the same everywhere.
void FillStateColor(HDC dc, const RECT& paintRect, const RECT& itemRect, DWORD color)
{
    CRenderKit::FillColor(dc, color >= 0xFF000000u ? paintRect : itemRect, color);
}

}  // namespace

void DescribePushButton(UINT buttonState, const CUIString& action, AccessDescription& description)
{
    description.role = ROLE_SYSTEM_PUSHBUTTON;
    description.state &= ~STATE_SYSTEM_READONLY;
    if ((buttonState & UISTATE_HOT) != 0)
        description.state |= STATE_SYSTEM_HOTTRACKED;
    if ((buttonState & UISTATE_PUSHED) != 0)
        description.state |= STATE_SYSTEM_PRESSED;
    description.action = action;
}

// ---- Button: identity and setters ------------------------------------------------------

CButtonUI::CButtonUI()
{
    m_textStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

const wchar_t* CButtonUI::GetClass() const
{
    return L"Button";
}

void* CButtonUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Button") == 0)
        return this;
    return CLabelUI::CastTo(name);
}

UINT CButtonUI::ControlFlagBits() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0u) | (IsEnabled() ? UIFLAG_SETCURSOR : 0u);
}

bool CButtonUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    Notify(L"click");
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

CUISize CButtonUI::MeasureDesired(const SIZE& available)
{
    if (m_fixedSize.cy > 0)
        return CControlUI::MeasureDesired(available);
    return CUISize(m_fixedSize.cx, FontHeight() + 8);
}

void CButtonUI::SetCursorName(const wchar_t* name)
{
    m_cursorName = name;
    if (!IsEnabled() || m_manager == nullptr || m_manager->GetPaintWindow() == nullptr)
        return;
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    ScreenToClient(m_manager->GetPaintWindow(), &pointer);
    if (!PtInRect(&m_itemRect, pointer))
        return;
    if (m_cursorName == L"arrow")
        ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    else if (m_cursorName == L"hand")
        ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void CButtonUI::SetHotBkColor(DWORD color)
{
    ChangeColor(m_hotBkColor, color);
}

void CButtonUI::SetHotTextColor(DWORD color)
{
    ChangeColor(m_hotTextColor, color);
}

void CButtonUI::SetPushedTextColor(DWORD color)
{
    ChangeColor(m_pushedTextColor, color);
}

void CButtonUI::SetFocusedTextColor(DWORD color)
{
    ChangeColor(m_focusedTextColor, color);
}

void CButtonUI::SetFocusedBkColor(DWORD color)
{
    ChangeColor(m_focusedBkColor, color);
}

void CButtonUI::SetFiveStatusImage(const wchar_t* description)
{
    ImageDrawSpec* const frames[5] = {&m_normalImage, &m_pushedImage, &m_hotImage, &m_focusedImage,
                                      &m_disabledImage};
    for (int i = 0; i < 5; ++i)
    {
        ImageDrawSpec& spec = *frames[i];
        AssignImage(spec, description);
        // Loads the image now (a null device context draws nothing).
        if (!spec.loaded)
            CRenderKit::PaintImageSpec(nullptr, m_manager, m_itemRect, m_itemRect, spec);
        if (spec.image == nullptr)
            continue;
        const int fifth = spec.image->width / 5;
        spec.sourcePart = CUIRect(fifth * i, 0, fifth * (i + 1), spec.image->height);
        if (i == 0 && IsFloat() && m_fixedSize.cx == 0 && m_fixedSize.cy == 0)
        {
            SetFixedWidth(fifth);
            SetFixedHeight(spec.image->height);
        }
    }
    Invalidate();
}

void CButtonUI::Notify(const wchar_t* type, WPARAM wParam, LPARAM lParam)
{
    if (m_manager != nullptr)
        m_manager->RaiseNotify(this, type, wParam, lParam);
}

void CButtonUI::RefreshStateBits()
{
    m_buttonState = IsFocused() ? (m_buttonState | UISTATE_FOCUSED) : (m_buttonState & ~UISTATE_FOCUSED);
    m_buttonState = IsEnabled() ? (m_buttonState & ~UISTATE_DISABLED) : (m_buttonState | UISTATE_DISABLED);
}

// ---- Button: attributes ----------------------------------------------------------------

const ControlAttributeTable& CButtonUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CButtonUI> kRows[] = {
        {L"normalimage", kImage, L"none", L"Image in the normal state",
         [](CButtonUI& b, const wchar_t* v) { b.SetNormalImage(v); }},
        {L"hotimage", kImage, L"none", L"Image while the mouse is over the button",
         [](CButtonUI& b, const wchar_t* v) { b.SetHotImage(v); }},
        {L"pushedimage", kImage, L"none", L"Image while the button is pressed",
         [](CButtonUI& b, const wchar_t* v) { b.SetPushedImage(v); }},
        {L"focusedimage", kImage, L"none", L"Image while the button has the focus",
         [](CButtonUI& b, const wchar_t* v) { b.SetFocusedImage(v); }},
        {L"disabledimage", kImage, L"none", L"Image while the button is disabled",
         [](CButtonUI& b, const wchar_t* v) { b.SetDisabledImage(v); }},
        {L"foreimage", kImage, L"none", L"Image drawn over the state image",
         [](CButtonUI& b, const wchar_t* v) { b.SetForeImage(v); }},
        {L"hotforeimage", kImage, L"none", L"Image drawn over the state image while the mouse is over the button",
         [](CButtonUI& b, const wchar_t* v) { b.SetHotForeImage(v); }},
        {L"fivestatusimage", kImage, L"none",
         L"One image of five equal frames side by side: normal, pushed, hot, focused, disabled",
         [](CButtonUI& b, const wchar_t* v) { b.SetFiveStatusImage(v); }},
        {L"fadedelta", kInteger, L"0", L"Step per 30 ms of the cross-fade between normal and hot image; 0 is no fade",
         [](CButtonUI& b, const wchar_t* v) { b.SetFadeDelta(static_cast<BYTE>(ParseInt(v))); }},
        {L"hotbkcolor", kColour, L"none", L"Background colour while the mouse is over the button",
         [](CButtonUI& b, const wchar_t* v) { b.SetHotBkColor(ReadColor(v)); }},
        {L"hottextcolor", kColour, L"none", L"Text colour while the mouse is over the button",
         [](CButtonUI& b, const wchar_t* v) { b.SetHotTextColor(ReadColor(v)); }},
        {L"pushedtextcolor", kColour, L"none", L"Text colour while the button is pressed",
         [](CButtonUI& b, const wchar_t* v) { b.SetPushedTextColor(ReadColor(v)); }},
        {L"focusedtextcolor", kColour, L"none", L"Text colour while the button has the focus",
         [](CButtonUI& b, const wchar_t* v) { b.SetFocusedTextColor(ReadColor(v)); }},
        {L"focusedbkcolor", kColour, L"none", L"Background colour while the button has the focus",
         [](CButtonUI& b, const wchar_t* v) { b.SetFocusedBkColor(ReadColor(v)); }},
        {L"cursor", L"enum arrow|hand", L"hand", L"Mouse pointer over the button",
         [](CButtonUI& b, const wchar_t* v) { b.SetCursorName(v); }},
    };
    static const ControlAttributeTable kTable(L"CButtonUI", &CLabelUI::GetAttributeTable(), kRows);
    return kTable;
}

// ---- Button: events --------------------------------------------------------------------

void CButtonUI::HandleEvent(UIEvent& event)
{
    if (PassOnWhileMouseOff(event))
        return;
    const bool inside = PtInRect(&m_itemRect, event.mousePoint) != FALSE;
    switch (event.type)
    {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_KEYDOWN:
        if (IsVisible() && IsKeyboardEnabled() && IsEnabled() && (event.key == VK_SPACE || event.key == VK_RETURN))
        {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (!inside || !IsEnabled())
            return;
        m_buttonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_buttonState & UISTATE_CAPTURED) == 0)
            return;
        m_buttonState = inside ? (m_buttonState | UISTATE_PUSHED) : (m_buttonState & ~UISTATE_PUSHED);
        Invalidate();
        return;
    case UIEVENT_BUTTONUP:
        if ((m_buttonState & UISTATE_CAPTURED) == 0)
            return;
        // The state is cleared first: the click's listeners may disable or
        // hide the button.
        m_buttonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (inside && IsEnabled())
            Activate();
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_contextMenuUsed && IsEnabled())
        {
            Notify(L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (inside)
        {
            if (IsEnabled() && (m_buttonState & UISTATE_HOT) == 0)
            {
                m_buttonState |= UISTATE_HOT;
                Invalidate();
            }
            Notify(L"mouseenter");
            if (m_fadeDelta != 0 && m_manager != nullptr)
                m_manager->SetTimer(this, kButtonFadeTimer, kButtonFadeMs);
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (inside)
        {
            if (m_manager != nullptr)
                m_manager->AddLeaveWatcher(this);
            return;
        }
        if (IsEnabled() && (m_buttonState & UISTATE_HOT) != 0)
        {
            m_buttonState &= ~UISTATE_HOT;
            Invalidate();
        }
        Notify(L"mouseleave");
        if (m_manager != nullptr)
        {
            m_manager->RemoveLeaveWatcher(this);
            if (m_fadeDelta != 0)
                m_manager->SetTimer(this, kButtonFadeTimer, kButtonFadeMs);
        }
        break;
    case UIEVENT_SETCURSOR:
        ::SetCursor(LoadCursorW(nullptr, m_cursorName == L"arrow" ? IDC_ARROW : IDC_HAND));
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kButtonFadeTimer)
        {
            StepFade();
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CButtonUI::StepFade()
{
    bool done = false;
    if ((m_buttonState & UISTATE_HOT) != 0)
    {
        if (m_fadeAlpha > m_fadeDelta)
            m_fadeAlpha = static_cast<BYTE>(m_fadeAlpha - m_fadeDelta);
        else
            m_fadeAlpha = 0, done = true;
    }
    else
    {
        if (m_fadeAlpha < 255 - m_fadeDelta)
            m_fadeAlpha = static_cast<BYTE>(m_fadeAlpha + m_fadeDelta);
        else
            m_fadeAlpha = 255, done = true;
    }
    if (done && m_manager != nullptr)
        m_manager->KillTimer(this, kButtonFadeTimer);
}

// ---- Button: painting ------------------------------------------------------------------

void CButtonUI::PaintBackColor(HDC dc)
{
    if (!IsEnabled())
    {
        CLabelUI::PaintBackColor(dc);
        return;
    }
    if (IsFocused() && m_focusedBkColor != 0)
    {
        FillStateColor(dc, m_paintRect, m_itemRect, AdjustedColor(m_focusedBkColor));
        return;
    }
    CControlUI::PaintBackColor(dc);
}

void CButtonUI::PaintStateImage(HDC dc)
{
    PaintButtonImages(dc);
}

void CButtonUI::PaintButtonImages(HDC dc)
{
    RefreshStateBits();
    // The normal look; with a fade step the hot image shows through while
    // the fade alpha is below 255.
    const auto paintNormal = [this, dc] {
        if (m_fadeDelta != 0)
        {
            if (m_fadeAlpha == 255)
            {
                m_normalImage.fade = 255;
            }
            else
            {
                m_hotImage.fade = static_cast<BYTE>(255 - m_fadeAlpha);
                PaintImage(dc, m_hotImage);
                m_normalImage.fade = m_fadeAlpha;
            }
        }
        PaintImage(dc, m_normalImage);
    };

    if ((m_buttonState & UISTATE_DISABLED) != 0)
    {
        if (!PaintImage(dc, m_disabledImage))
            paintNormal();
    }
    else if ((m_buttonState & UISTATE_PUSHED) != 0)
    {
        if (!PaintImage(dc, m_pushedImage))
            PaintImage(dc, m_normalImage);
        if (PaintImage(dc, m_pushedForeImage))
            return;
    }
    else if ((m_buttonState & UISTATE_HOT) != 0)
    {
        if (m_hotBkColor != 0)
            CRenderKit::FillColor(dc, m_paintRect, AdjustedColor(m_hotBkColor));
        if (m_fadeDelta != 0)
        {
            if (m_fadeAlpha != 0)
            {
                m_normalImage.fade = m_fadeAlpha;
                PaintImage(dc, m_normalImage);
            }
            m_hotImage.fade = static_cast<BYTE>(255 - m_fadeAlpha);
            PaintImage(dc, m_hotImage);
        }
        else if (!PaintImage(dc, m_hotImage))
        {
            PaintImage(dc, m_normalImage);
        }
        if (PaintImage(dc, m_hotForeImage))
            return;
    }
    else if ((m_buttonState & UISTATE_FOCUSED) == 0 || !PaintImage(dc, m_focusedImage))
    {
        paintNormal();
    }
    PaintImage(dc, m_foreImage);
}

void CButtonUI::DrawButtonText(HDC dc, DWORD color, bool stateColors)
{
    RefreshStateBits();
    TakeDefaultColors();
    if (m_text.IsEmpty())
        return;
    DWORD shown = IsEnabled() ? (color != 0 ? color : m_textColor) : m_disabledTextColor;
    if (stateColors)
    {
        if ((m_buttonState & UISTATE_PUSHED) != 0 && m_pushedTextColor != 0)
            shown = m_pushedTextColor;
        else if ((m_buttonState & UISTATE_HOT) != 0 && m_hotTextColor != 0)
            shown = m_hotTextColor;
        else if ((m_buttonState & UISTATE_FOCUSED) != 0 && m_focusedTextColor != 0)
            shown = m_focusedTextColor;
    }
    if (IsEffectEnabled())
        DrawSolidEffectText(dc, TextRect(), shown);
    else
        DrawLabelText(dc, TextRect(), shown);
}

void CButtonUI::PaintText(HDC dc)
{
    DrawButtonText(dc, 0, true);
}

void CButtonUI::DescribeAccess(int part, AccessDescription& description) const
{
    CLabelUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    DescribePushButton(m_buttonState, AccessAction(L"Press"), description);
}

bool CButtonUI::DoAccessAction(int part)
{
    if (part != 0 || !IsVisible() || !IsEnabled())
        return false;
    // The press of a click focuses the button before its release activates it.
    SetFocus();
    return Activate();
}

// ---- Option ----------------------------------------------------------------------------

COptionUI::COptionUI() = default;

COptionUI::~COptionUI()
{
    if (m_groupManager != nullptr)
        m_groupManager->LeaveOptionGroup(m_group.GetData(), this);
}

const wchar_t* COptionUI::GetClass() const
{
    return L"Option";
}

void* COptionUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Option") == 0)
        return this;
    return CButtonUI::CastTo(name);
}

void COptionUI::BindManager(CUIManager* manager, IControlUI* parent, bool init)
{
    CButtonUI::BindManager(manager, parent, init);
    // Membership follows the binding, except while the layout builder lends
    // the manager for the option's attributes: the tree binds it for good
    // later, and an option never stays listed by a manager it has left.
    if (manager == m_groupManager)
        return;
    if (m_groupManager != nullptr)
        m_groupManager->LeaveOptionGroup(m_group.GetData(), this);
    m_groupManager = nullptr;
    if (manager != nullptr && !m_group.IsEmpty() && !manager->IsBorrower(this))
    {
        manager->JoinOptionGroup(m_group.GetData(), this);
        m_groupManager = manager;
        // Options configured one after another were never members together
        // while they applied "selected"; the later of two selected members
        // keeps the selection when the tree is bound, in tree order.
        if (m_selected)
            DeselectOtherMembers(false);
    }
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate())
        return false;
    if (!m_group.IsEmpty())
        Select(true);
    else
        Select(!m_selected);
    return true;
}

void COptionUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState &= UISTATE_SELECTED;
}

void COptionUI::SetGroup(const wchar_t* group)
{
    const wchar_t* name = group != nullptr ? group : L"";
    if (m_group == name)
        return;
    if (m_groupManager != nullptr)
        m_groupManager->LeaveOptionGroup(m_group.GetData(), this);
    m_groupManager = nullptr;
    m_group = name;
    if (!m_group.IsEmpty() && m_manager != nullptr && !m_manager->IsBorrower(this))
    {
        m_manager->JoinOptionGroup(m_group.GetData(), this);
        m_groupManager = m_manager;
    }
}

void COptionUI::Select(bool selected, bool notify)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    m_buttonState = selected ? (m_buttonState | UISTATE_SELECTED) : (m_buttonState & ~UISTATE_SELECTED);
    NotifyAccess(EVENT_OBJECT_STATECHANGE);
    if (m_manager != nullptr)
    {
        if (!m_group.IsEmpty())
        {
            if (!selected)
            {
                Invalidate();
                return;
            }
            DeselectOtherMembers(notify);
        }
        if (notify)
            Notify(L"selectchanged");
    }
    Invalidate();
}

void COptionUI::DeselectOtherMembers(bool notify)
{
    const CPtrList* members = m_manager != nullptr ? m_manager->OptionGroupMembers(m_group.GetData()) : nullptr;
    for (int i = 0; members != nullptr && i < members->GetSize(); ++i)
    {
        auto* member = static_cast<IControlUI*>(members->GetAt(i));
        auto* option = member != nullptr ? static_cast<COptionUI*>(member->CastTo(L"Option")) : nullptr;
        if (option != nullptr && option != this)
            option->Select(false, notify);
    }
}

const ControlAttributeTable& COptionUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<COptionUI> kRows[] = {
        {L"group", kText, L"none", L"Options of one group are selected one at a time",
         [](COptionUI& o, const wchar_t* v) { o.SetGroup(v); }},
        {L"selected", kBool, L"false", L"Starts selected", [](COptionUI& o, const wchar_t* v) { o.Select(ParseBool(v)); }},
        {L"selectedimage", kImage, L"none", L"Image while selected",
         [](COptionUI& o, const wchar_t* v) { o.SetSelectedImage(v); }},
        {L"selectedhotimage", kImage, L"none", L"Image while selected and the mouse is over it",
         [](COptionUI& o, const wchar_t* v) { o.SetSelectedHotImage(v); }},
        {L"foreimage", kImage, L"none", L"Image drawn over the state image",
         [](COptionUI& o, const wchar_t* v) { o.SetOptionForeImage(v); }},
        {L"selectedbkcolor", kColour, L"none", L"Background colour while selected",
         [](COptionUI& o, const wchar_t* v) { o.ChangeColor(o.m_selectedBkColor, ReadColor(v)); }},
        {L"selectedtextcolor", kColour, L"none", L"Text colour while selected",
         [](COptionUI& o, const wchar_t* v) { o.ChangeColor(o.m_selectedTextColor, ReadColor(v)); }},
    };
    static const ControlAttributeTable kTable(L"COptionUI", &CButtonUI::GetAttributeTable(), kRows);
    return kTable;
}

void COptionUI::PaintStateImage(HDC dc)
{
    if (IsEnabled() && m_selected)
    {
        RefreshStateBits();
        if (m_selectedBkColor != 0)
            CRenderKit::FillColor(dc, m_paintRect, AdjustedColor(m_selectedBkColor));
        const bool drew = ((m_buttonState & UISTATE_HOT) != 0 && PaintImage(dc, m_selectedHotImage)) ||
                          PaintImage(dc, m_selectedImage);
        if (drew)
        {
            PaintImage(dc, m_optionForeImage);
            return;
        }
    }
    // A selected option never shows its pushed image.
    const UINT pushed = m_buttonState & UISTATE_PUSHED;
    m_buttonState &= ~UISTATE_PUSHED;
    PaintButtonImages(dc);
    m_buttonState |= pushed;
    PaintImage(dc, m_optionForeImage);
}

void COptionUI::PaintText(HDC dc)
{
    if (!IsEnabled() || !m_selected)
    {
        const UINT pushed = m_buttonState & UISTATE_PUSHED;
        m_buttonState &= ~UISTATE_PUSHED;
        DrawButtonText(dc, 0, true);
        m_buttonState |= pushed;
        return;
    }
    DrawButtonText(dc, m_selectedTextColor, false);
}

void COptionUI::DescribeAccess(int part, AccessDescription& description) const
{
    CButtonUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_RADIOBUTTON;
    if (m_selected)
        description.state |= STATE_SYSTEM_CHECKED;
    description.action = AccessAction(m_group.IsEmpty() ? L"Toggle" : L"Select");
}

// ---- Check box -------------------------------------------------------------------------

const wchar_t* CCheckBoxUI::GetClass() const
{
    return L"CheckBox";
}

void* CCheckBoxUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"CheckBox") == 0)
        return this;
    return COptionUI::CastTo(name);
}

void CCheckBoxUI::DescribeAccess(int part, AccessDescription& description) const
{
    COptionUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_CHECKBUTTON;
    description.action = AccessAction(L"Toggle");
}

}  // namespace DuiLib
