// CSliderUI: the thumb's place and the value under the pointer (64-bit
// arithmetic, no division by an empty range or track), the press, drag,
// release and wheel handling, and the thumb painting by state.
#include "ui/controls/SliderUI.h"

#include <oleacc.h>

#include <cstdio>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/LayoutMath.h"
#include "ui/controls/ButtonUI.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

const wchar_t* CSliderUI::GetClass() const
{
    return L"Slider";
}

void* CSliderUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Slider") == 0)
        return this;
    return CProgressUI::CastTo(name);
}

UINT CSliderUI::ControlFlagBits() const
{
    return IsEnabled() ? static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0u;
}

void CSliderUI::SetEnabled(bool enabled)
{
    CProgressUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

const ControlAttributeTable& CSliderUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CSliderUI> kRows[] = {
        {L"thumbimage", kImage, L"none", L"Image of the thumb",
         [](CSliderUI& s, const wchar_t* v) { s.SetThumbImage(v); }},
        {L"thumbhotimage", kImage, L"none", L"Thumb image while the mouse is over it",
         [](CSliderUI& s, const wchar_t* v) { s.SetThumbHotImage(v); }},
        {L"thumbpushedimage", kImage, L"none", L"Thumb image while it is dragged",
         [](CSliderUI& s, const wchar_t* v) { s.SetThumbPushedImage(v); }},
        {L"thumbsize", kSize, L"10,10", L"Size of the thumb", [](CSliderUI& s, const wchar_t* v) { s.SetThumbSize(ParseSize(v)); }},
        {L"step", kInteger, L"1", L"Change of the value per turn of the mouse wheel",
         [](CSliderUI& s, const wchar_t* v) { s.SetChangeStep(ParseInt(v)); }},
        {L"imm", kBool, L"false", L"Report the value while dragging, not only at the release",
         [](CSliderUI& s, const wchar_t* v) { s.SetSendWhileDragging(ParseBool(v)); }},
    };
    static const ControlAttributeTable kTable(L"CSliderUI", &CProgressUI::GetAttributeTable(), kRows);
    return kTable;
}

// ---- Geometry -----------------------------------------------------------------------------

CUIRect CSliderUI::GetThumbRect() const
{
    const long long left = m_itemRect.left;
    const long long top = m_itemRect.top;
    const long long right = m_itemRect.right;
    const long long bottom = m_itemRect.bottom;
    const long long w = m_thumbSize.cx;
    const long long h = m_thumbSize.cy;
    const long long range = static_cast<long long>(GetMaxValue()) - GetMinValue();
    const long long track = IsHorizontal() ? right - left - w : bottom - top - h;
    // Events may come before the first paint repairs an empty range, and a
    // control no larger than its thumb has no track: the thumb then stays
    // at the minimum's end.
    const long long along =
        range > 0 && track > 0 ? track * (static_cast<long long>(GetValue()) - GetMinValue()) / range : 0;
    long long x = 0;
    long long y = 0;
    if (IsHorizontal())
    {
        x = left + along;
        y = (bottom + top - h) / 2;
    }
    else
    {
        x = (right + left - w) / 2;
        y = bottom - h - along;
    }
    return CUIRect(ClampToInt(x), ClampToInt(y), ClampToInt(x + w), ClampToInt(y + h));
}

int CSliderUI::ValueAtPoint(POINT point) const
{
    const long long minimum = GetMinValue();
    const long long range = static_cast<long long>(GetMaxValue()) - minimum;
    const long long w = m_thumbSize.cx;
    const long long h = m_thumbSize.cy;
    if (IsHorizontal())
    {
        const long long track = static_cast<long long>(m_itemRect.right) - m_itemRect.left - w;
        if (range <= 0 || track <= 0)
            return GetMinValue();
        const long long half = w / 2;
        if (point.x >= m_itemRect.right - half)
            return GetMaxValue();
        if (point.x > m_itemRect.left + half)
            return ClampToInt(range * (static_cast<long long>(point.x) - m_itemRect.left - half) / track + minimum);
        return GetMinValue();
    }
    const long long track = static_cast<long long>(m_itemRect.bottom) - m_itemRect.top - h;
    if (range <= 0 || track <= 0)
        return GetMinValue();
    const long long half = h / 2;
    if (point.y >= m_itemRect.bottom - half)
        return GetMinValue();
    if (point.y > m_itemRect.top + half)
        return ClampToInt(range * (static_cast<long long>(m_itemRect.bottom) - point.y - half) / track + minimum);
    return GetMaxValue();
}

// ---- Input --------------------------------------------------------------------------------

void CSliderUI::Notify(const wchar_t* type)
{
    if (m_manager != nullptr)
        m_manager->RaiseNotify(this, type);
}

void CSliderUI::HandleEvent(UIEvent& event)
{
    if (PassOnWhileMouseOff(event))
        return;
    switch (event.type)
    {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled())
        {
            m_buttonState |= UISTATE_CAPTURED;
            const int value = ValueAtPoint(event.mousePoint);
            if (value != GetValue() && value >= GetMinValue() && value <= GetMaxValue())
                SetValue(value);
            // The pushed thumb shows even when the value stays.
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_buttonState & UISTATE_CAPTURED) == 0)
            return;
        // The state is settled before the listeners run: they may remove
        // or disable the slider.
        m_buttonState &= ~UISTATE_CAPTURED;
        SetValue(ValueAtPoint(event.mousePoint));
        Notify(L"valuechanged");
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_buttonState & UISTATE_CAPTURED) == 0)
            return;
        SetValue(ValueAtPoint(event.mousePoint));
        if (m_sendWhileDragging)
            Notify(L"valuechanged");
        return;
    case UIEVENT_SCROLLWHEEL:
        if (event.wParam > 1)
            break;
    {
        // 64-bit sum: a huge step must not wrap around before the clamp.
        const long long step = event.wParam == 0 ? m_step : -static_cast<long long>(m_step);
        SetValue(ClampToInt(GetValue() + step));
        Notify(L"valuechanged");
        return;
    }
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_SETCURSOR:
    {
        const CUIRect thumb = GetThumbRect();
        if (IsEnabled() && PtInRect(&thumb, event.mousePoint))
        {
            ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return;
        }
        break;
    }
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        if (FollowHover(event, m_buttonState))
            return;
        break;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

// ---- Painting -----------------------------------------------------------------------------

bool CSliderUI::PaintThumb(HDC dc, ImageDrawSpec& spec, const CUIRect& thumb)
{
    spec.destOffset = thumb;
    return PaintImage(dc, spec);
}

void CSliderUI::PaintStateImage(HDC dc)
{
    CProgressUI::PaintStateImage(dc);
    CUIRect thumb = GetThumbRect();
    thumb.Offset(-m_itemRect.left, -m_itemRect.top);
    // A state without an image of its own shows the normal thumb, not the
    // image of another state.
    if ((m_buttonState & UISTATE_CAPTURED) != 0)
    {
        if (PaintThumb(dc, m_thumbPushedImage, thumb))
            return;
    }
    else if ((m_buttonState & UISTATE_HOT) != 0)
    {
        if (PaintThumb(dc, m_thumbHotImage, thumb))
            return;
    }
    PaintThumb(dc, m_thumbImage, thumb);
}

void CSliderUI::DescribeAccess(int part, AccessDescription& description) const
{
    CProgressUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_SLIDER;
    description.state &= ~STATE_SYSTEM_READONLY;
    if ((m_buttonState & UISTATE_HOT) != 0)
        description.state |= STATE_SYSTEM_HOTTRACKED;
    wchar_t number[16] = {};
    std::swprintf(number, 16, L"%d", GetValue());
    description.value = number;
}

}  // namespace DuiLib
