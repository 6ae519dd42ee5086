// CTextUI: link hit-testing over the rectangles the markup drawing reported.
#include "ui/controls/TextUI.h"

#include <oleacc.h>

#include <cwchar>

#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"
#include "ui/render/MarkupTokenizer.h"

namespace DuiLib {

CTextUI::CTextUI()
{
    m_textStyle = DT_WORDBREAK;
    m_textPadding = CUIRect(2, 0, 2, 0);
}

const wchar_t* CTextUI::GetClass() const
{
    return L"Text";
}

void* CTextUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Text") == 0)
        return this;
    return CLabelUI::CastTo(name);
}

UINT CTextUI::ControlFlagBits() const
{
    return IsEnabled() && m_linkCount > 0 ? UIFLAG_SETCURSOR : 0u;
}

const wchar_t* CTextUI::GetLinkName(int index) const
{
    return index >= 0 && index < m_linkCount ? m_linkNames[index].GetData() : nullptr;
}

RECT CTextUI::GetLinkRect(int index) const
{
    return index >= 0 && index < m_linkCount ? m_linkRects[index] : RECT{0, 0, 0, 0};
}

int CTextUI::LinkAt(POINT point) const
{
    for (int i = 0; i < m_linkCount; ++i)
    {
        if (PtInRect(&m_linkRects[i], point))
            return i;
    }
    return -1;
}

void CTextUI::HandleEvent(UIEvent& event)
{
    if (PassOnWhileMouseOff(event))
        return;
    const int link = LinkAt(event.mousePoint);
    switch (event.type)
    {
    case UIEVENT_SETCURSOR:
        if (link >= 0)
            ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return;
    case UIEVENT_BUTTONDOWN:
        if (link >= 0)
            Invalidate();
        return;
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && link >= 0)
            Invalidate();
        return;
    case UIEVENT_BUTTONUP:
        if (IsEnabled() && link >= 0 && m_manager != nullptr)
            m_manager->RaiseNotify(this, L"link", static_cast<WPARAM>(link), 0);
        return;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_linkCount > 0 && IsEnabled())
        {
            if (link != m_hoverLink)
            {
                m_hoverLink = link;
                Invalidate();
            }
            return;
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (m_linkCount > 0 && IsEnabled() && m_hoverLink >= 0)
        {
            if (PtInRect(&m_linkRects[m_hoverLink], event.mousePoint))
            {
                if (m_manager != nullptr)
                    m_manager->AddLeaveWatcher(this);
                return;
            }
            m_hoverLink = -1;
            Invalidate();
            if (m_manager != nullptr)
                m_manager->RemoveLeaveWatcher(this);
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CTextUI::PaintText(HDC dc)
{
    if (m_text.IsEmpty())
    {
        m_linkCount = 0;
        return;
    }
    TakeDefaultColors();
    RECT area = TextRect();
    const DWORD color = IsEnabled() ? m_textColor : m_disabledTextColor;
    if (!m_showHtml)
    {
        CRenderKit::DrawPlainText(dc, m_manager, area, m_text.GetData(), color, m_font, m_textStyle);
        m_linkCount = 0;
        return;
    }
    m_linkCount = kMaxTextLinks;
    CRenderKit::DrawMarkupText(dc, m_manager, area, m_text.GetData(), color, m_linkRects, m_linkNames, m_linkCount,
                               m_font, m_textStyle);
    if (m_hoverLink >= m_linkCount)
        m_hoverLink = -1;
}

// ---- Accessibility ---------------------------------------------------------------------

int CTextUI::LinkPartCount() const
{
    int parts = 0;
    for (int i = 0; i < m_linkCount; ++i)
        parts += i == 0 || m_linkNames[i] != m_linkNames[i - 1] ? 1 : 0;
    return parts;
}

bool CTextUI::LinkSlots(int part, int& first, int& count) const
{
    int at = 0;
    count = 0;
    for (int i = 0; i < m_linkCount; ++i)
    {
        at += i == 0 || m_linkNames[i] != m_linkNames[i - 1] ? 1 : 0;
        if (at > part)
            break;
        if (at == part && count++ == 0)
            first = i;
    }
    return count > 0;
}

void CTextUI::DescribeAccess(int part, AccessDescription& description) const
{
    if (part == 0)
    {
        CLabelUI::DescribeAccess(0, description);
        description.parts = LinkPartCount();
        return;
    }
    int first = 0;
    int count = 0;
    if (!LinkSlots(part, first, count))
        return;
    CUIString text = m_text;
    CUIManager::ExpandLanguageTokens(text);
    CUIString shown[kMaxTextLinks];
    int found = 0;
    MarkupPlainText(text.GetData(), shown, kMaxTextLinks, &found);
    description.role = ROLE_SYSTEM_LINK;
    description.name = part <= found ? shown[part - 1] : m_linkNames[first];
    description.rect = m_linkRects[first];
    for (int i = first + 1; i < first + count; ++i)
        description.rect.Join(m_linkRects[i]);
    description.state = STATE_SYSTEM_LINKED | (IsEnabled() ? 0u : STATE_SYSTEM_UNAVAILABLE);
    if (m_hoverLink >= first && m_hoverLink < first + count)
        description.state |= STATE_SYSTEM_HOTTRACKED;
    description.action = AccessAction(L"Jump");
}

bool CTextUI::DoAccessAction(int part)
{
    int first = 0;
    int count = 0;
    if (!LinkSlots(part, first, count) || !IsVisible() || !IsEnabled() || m_manager == nullptr)
        return false;
    SetFocus();
    if (m_manager != nullptr)
        m_manager->RaiseNotify(this, L"link", static_cast<WPARAM>(first), 0);
    return true;
}

}  // namespace DuiLib
