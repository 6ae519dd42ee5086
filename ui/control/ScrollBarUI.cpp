// CScrollBarUI: geometry, state, input and painting of the scroll bar. The
// owner container does the scrolling; the bar only asks for steps.
#include "ui/control/ScrollBarUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/LayoutMath.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

ScrollBarGeometry ComputeScrollBarGeometry(int length, int thickness, int range, int position,
                                           bool showButton1, bool showButton2)
{
    const long long w = std::max(length, 0);
    const long long t = std::max(thickness, 0);
    const long long available = w - (showButton1 ? t : 0) - (showButton2 ? t : 0);
    ScrollBarGeometry g = {};
    g.buttonAcross = ClampToInt(t);
    if (t < available)
    {
        g.button1End = showButton1 ? ClampToInt(t) : 0;
        g.button2Start = ClampToInt(showButton2 ? w - t : w);
        g.button2End = ClampToInt(w);
        if (range <= 0)
        {
            g.thumbStart = g.button1End;
            g.thumbEnd = g.button2Start;
            return g;
        }
        long long u = w * available / (w + range);
        u = std::max(u, t);
        const long long clampedPosition = std::min<long long>(std::max(position, 0), range);
        long long start = (available - u) * clampedPosition / range + g.button1End;
        if (start + u > g.button2Start)
            start = g.button2Start - u;
        g.thumbStart = ClampToInt(start);
        g.thumbEnd = ClampToInt(start + u);
        return g;
    }
    // No room for a thumb: the buttons share the length.
    const long long s = std::min(w / 2, t);
    g.button1End = showButton1 ? ClampToInt(s) : 0;
    g.button2Start = ClampToInt(showButton2 ? w - s : w);
    g.button2End = ClampToInt(w);
    g.thumbStart = 0;
    g.thumbEnd = 0;
    return g;
}

CScrollBarUI::CScrollBarUI()
{
    m_fixedSize.cx = 16;
}

const wchar_t* CScrollBarUI::GetClass() const
{
    return L"ScrollBar";
}

void* CScrollBarUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"ScrollBar") == 0)
        return this;
    return CControlUI::CastTo(name);
}

int CScrollBarUI::Thickness() const
{
    return m_horizontal ? m_fixedSize.cy : m_fixedSize.cx;
}

void CScrollBarUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CControlUI::PlaceAt(rect, invalidate);
    const CUIRect& r = m_itemRect;
    const int t = Thickness();
    const int length = m_horizontal ? ExtentBetween(r.left, r.right) : ExtentBetween(r.top, r.bottom);
    const ScrollBarGeometry g =
        ComputeScrollBarGeometry(length, t, m_range, m_position, m_button1Shown, m_button2Shown);
    const bool hasThumb = g.thumbEnd > g.thumbStart;
    const bool button2Hidden = g.button2Start == g.button2End;
    if (m_horizontal)
    {
        m_button1Rect = CUIRect(r.left, r.top, AddClamped(r.left, g.button1End),
                                g.button1End > 0 ? AddClamped(r.top, t) : r.top);
        m_button2Rect = button2Hidden ? CUIRect(r.right, r.top, r.right, r.top)
                                      : CUIRect(AddClamped(r.left, g.button2Start), r.top, r.right, AddClamped(r.top, t));
        m_thumbRect = hasThumb ? CUIRect(AddClamped(r.left, g.thumbStart), r.top, AddClamped(r.left, g.thumbEnd),
                                         AddClamped(r.top, t))
                               : CUIRect();
    }
    else
    {
        m_button1Rect = CUIRect(r.left, r.top, g.button1End > 0 ? AddClamped(r.left, t) : r.left,
                                AddClamped(r.top, g.button1End));
        m_button2Rect = button2Hidden ? CUIRect(r.left, r.bottom, r.left, r.bottom)
                                      : CUIRect(r.left, AddClamped(r.top, g.button2Start), AddClamped(r.left, t), r.bottom);
        m_thumbRect = hasThumb ? CUIRect(r.left, AddClamped(r.top, g.thumbStart), AddClamped(r.left, t),
                                         AddClamped(r.top, g.thumbEnd))
                               : CUIRect();
    }
}

void CScrollBarUI::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
}

void CScrollBarUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled())
    {
        m_button1State = 0;
        m_button2State = 0;
        m_thumbState = 0;
    }
}

void CScrollBarUI::SetFocus()
{
    if (m_owner != nullptr)
        m_owner->SetFocus();
    else
        CControlUI::SetFocus();
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal)
        return;
    m_horizontal = horizontal;
    if (horizontal && m_fixedSize.cy == 0)
    {
        m_fixedSize.cx = 0;
        m_fixedSize.cy = 16;
    }
    else if (!horizontal && m_fixedSize.cx == 0)
    {
        m_fixedSize.cx = 16;
        m_fixedSize.cy = 0;
    }
    if (m_owner != nullptr)
        m_owner->RequestLayout();
    else
        RequestParentLayout();
}

void CScrollBarUI::SetScrollRange(int range)
{
    if (m_range == range)
        return;
    m_range = std::max(range, 0);
    if (m_position > m_range)
        m_position = m_range;
    PlaceAt(m_itemRect, true);
}

void CScrollBarUI::SetScrollOffset(int position, bool notify)
{
    if (m_position == position)
        return;
    const int old = m_position;
    long long p = std::max(position, 0);
    if (m_scrollUnit > 1 && p % m_scrollUnit != 0)
        p = p + m_scrollUnit - p % m_scrollUnit;
    m_position = ClampToInt(std::min<long long>(p, m_range));
    PlaceAt(m_itemRect, true);
    // Posted without repeat: a burst of steps before the message loop turns
    // reaches the listeners as one "scroll" with the latest positions.
    if (notify && m_manager != nullptr)
        m_manager->RaiseNotify(this, L"scroll", static_cast<WPARAM>(m_position), static_cast<LPARAM>(old), true,
                               false);
}

int CScrollBarUI::GetLineSize() const
{
    return m_scrollUnit >= 2 ? m_scrollUnit : m_lineSize;
}

void CScrollBarUI::SetLineSize(int size)
{
    if (size >= 0)
        m_lineSize = size;
}

void CScrollBarUI::SetScrollUnit(int unit)
{
    if (unit >= 0)
        m_scrollUnit = unit;
}

void CScrollBarUI::SetShowButton1(bool show)
{
    m_button1Shown = show;
    PlaceAt(m_itemRect, true);
}

void CScrollBarUI::SetShowButton2(bool show)
{
    m_button2Shown = show;
    PlaceAt(m_itemRect, true);
}

void CScrollBarUI::SetButton1Color(DWORD color)
{
    if (m_button1Color == color)
        return;
    m_button1Color = color;
    Invalidate();
}

void CScrollBarUI::SetButton2Color(DWORD color)
{
    if (m_button2Color == color)
        return;
    m_button2Color = color;
    Invalidate();
}

void CScrollBarUI::SetThumbColor(DWORD color)
{
    if (m_thumbColor == color)
        return;
    m_thumbColor = color;
    Invalidate();
}

const wchar_t* CScrollBarUI::GetPartImage(ScrollPart part, ScrollImageState state) const
{
    if (part < 0 || part >= PART_COUNT || state < 0 || state >= IMAGE_STATE_COUNT)
        return L"";
    return m_images[part][state].drawString.GetData();
}

void CScrollBarUI::SetPartImage(ScrollPart part, ScrollImageState state, const wchar_t* description)
{
    if (part < 0 || part >= PART_COUNT || state < 0 || state >= IMAGE_STATE_COUNT)
        return;
    ImageDrawSpec& spec = m_images[part][state];
    const wchar_t* text = description != nullptr ? description : L"";
    if (spec.drawString == text && spec.image != nullptr)
        return;
    spec.Clear();
    spec.drawString = text;
    Invalidate();
}

const ControlAttributeTable& CScrollBarUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CScrollBarUI> kRows[] = {
        {L"button1normalimage", kImage, L"none", L"Button 1 (left or top) in the normal state",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON1, IMAGE_NORMAL, v); }},
        {L"button1hotimage", kImage, L"none", L"Button 1 (left or top) while the mouse is over it",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON1, IMAGE_HOT, v); }},
        {L"button1pushedimage", kImage, L"none", L"Button 1 (left or top) while pressed",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON1, IMAGE_PUSHED, v); }},
        {L"button1disabledimage", kImage, L"none", L"Button 1 (left or top) while disabled",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON1, IMAGE_DISABLED, v); }},
        {L"button2normalimage", kImage, L"none", L"Button 2 (right or bottom) in the normal state",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON2, IMAGE_NORMAL, v); }},
        {L"button2hotimage", kImage, L"none", L"Button 2 (right or bottom) while the mouse is over it",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON2, IMAGE_HOT, v); }},
        {L"button2pushedimage", kImage, L"none", L"Button 2 (right or bottom) while pressed",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON2, IMAGE_PUSHED, v); }},
        {L"button2disabledimage", kImage, L"none", L"Button 2 (right or bottom) while disabled",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BUTTON2, IMAGE_DISABLED, v); }},
        {L"thumbnormalimage", kImage, L"none", L"Thumb in the normal state",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_THUMB, IMAGE_NORMAL, v); }},
        {L"thumbhotimage", kImage, L"none", L"Thumb while the mouse is over it",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_THUMB, IMAGE_HOT, v); }},
        {L"thumbpushedimage", kImage, L"none", L"Thumb while pressed",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_THUMB, IMAGE_PUSHED, v); }},
        {L"thumbdisabledimage", kImage, L"none", L"Thumb while disabled",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_THUMB, IMAGE_DISABLED, v); }},
        {L"railnormalimage", kImage, L"none", L"Grip drawn in the middle of the thumb in the normal state",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_RAIL, IMAGE_NORMAL, v); }},
        {L"railhotimage", kImage, L"none", L"Grip drawn in the middle of the thumb while the mouse is over it",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_RAIL, IMAGE_HOT, v); }},
        {L"railpushedimage", kImage, L"none", L"Grip drawn in the middle of the thumb while pressed",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_RAIL, IMAGE_PUSHED, v); }},
        {L"raildisabledimage", kImage, L"none", L"Grip drawn in the middle of the thumb while disabled",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_RAIL, IMAGE_DISABLED, v); }},
        {L"bknormalimage", kImage, L"none", L"Background in the normal state",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BACKGROUND, IMAGE_NORMAL, v); }},
        {L"bkhotimage", kImage, L"none", L"Background while the mouse is over it",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BACKGROUND, IMAGE_HOT, v); }},
        {L"bkpushedimage", kImage, L"none", L"Background while pressed",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BACKGROUND, IMAGE_PUSHED, v); }},
        {L"bkdisabledimage", kImage, L"none", L"Background while disabled",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetPartImage(PART_BACKGROUND, IMAGE_DISABLED, v); }},
        {L"button1color", kColour, L"none", L"Flat colour under button 1's image",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetButton1Color(ParseColor(v, ColorBlanks::Skip)); }},
        {L"button2color", kColour, L"none", L"Flat colour under button 2's image",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetButton2Color(ParseColor(v, ColorBlanks::Skip)); }},
        {L"thumbcolor", kColour, L"none", L"Flat colour under the thumb's image",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetThumbColor(ParseColor(v, ColorBlanks::Skip)); }},
        {L"hor", kBool, L"false", L"Horizontal bar (16 high) instead of vertical (16 wide)",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetHorizontal(ParseBool(v)); }},
        {L"linesize", kInteger, L"8", L"Scroll step of the buttons", [](CScrollBarUI& s, const wchar_t* v) { s.SetLineSize(ParseInt(v)); }},
        {L"range", kInteger, L"100", L"Largest scroll position", [](CScrollBarUI& s, const wchar_t* v) { s.SetScrollRange(ParseInt(v)); }},
        {L"value", kInteger, L"0", L"Scroll position", [](CScrollBarUI& s, const wchar_t* v) { s.SetScrollOffset(ParseInt(v), true); }},
        {L"scrollunit", kInteger, L"1", L"Above 1: the buttons' step, and positions round up to multiples of it",
         [](CScrollBarUI& s, const wchar_t* v) { s.SetScrollUnit(ParseInt(v)); }},
        {L"showbutton1", kBool, L"true", L"Show button 1", [](CScrollBarUI& s, const wchar_t* v) { s.SetShowButton1(ParseBool(v)); }},
        {L"showbutton2", kBool, L"true", L"Show button 2", [](CScrollBarUI& s, const wchar_t* v) { s.SetShowButton2(ParseBool(v)); }},
    };
    static const ControlAttributeTable kTable(L"CScrollBarUI", &CControlUI::GetAttributeTable(), kRows);
    return kTable;
}

void CScrollBarUI::StepBack()
{
    if (m_owner != nullptr)
    {
        if (m_horizontal)
            m_owner->ScrollLineLeft();
        else
            m_owner->ScrollLineUp();
    }
    else
    {
        SetScrollOffset(AddClamped(m_position, -static_cast<long long>(GetLineSize())), true);
    }
}

void CScrollBarUI::StepForward()
{
    if (m_owner != nullptr)
    {
        if (m_horizontal)
            m_owner->ScrollLineRight();
        else
            m_owner->ScrollLineDown();
    }
    else
    {
        SetScrollOffset(AddClamped(m_position, GetLineSize()), true);
    }
}

void CScrollBarUI::PageBack()
{
    if (m_owner != nullptr)
    {
        if (m_horizontal)
            m_owner->ScrollPageLeft();
        else
            m_owner->ScrollPageUp();
    }
    else
    {
        SetScrollOffset(AddClamped(m_position, -static_cast<long long>(m_horizontal ? GetWidth() : GetHeight())), true);
    }
}

void CScrollBarUI::PageForward()
{
    if (m_owner != nullptr)
    {
        if (m_horizontal)
            m_owner->ScrollPageRight();
        else
            m_owner->ScrollPageDown();
    }
    else
    {
        SetScrollOffset(AddClamped(m_position, m_horizontal ? GetWidth() : GetHeight()), true);
    }
}

void CScrollBarUI::PassOn(UIEvent& event)
{
    if (m_owner != nullptr)
        m_owner->HandleEvent(event);
    else
        CControlUI::HandleEvent(event);
}

void CScrollBarUI::OnTimerTick()
{
    ++m_repeatTicks;
    if ((m_thumbState & SCROLLPART_DRAGGED) != 0)
    {
        const int position = AddClamped(m_dragStartPosition, m_dragOffset);
        if (m_owner != nullptr)
        {
            const CUISize current = m_owner->ScrollOffset();
            const SIZE target = m_horizontal ? SIZE{position, current.cy} : SIZE{current.cx, position};
            m_owner->SetScrollOffset(target, true);
        }
        else
        {
            SetScrollOffset(position, true);
        }
        Invalidate();
        return;
    }
    if (m_repeatTicks <= kRepeatDelayTicks)
        return;
    if ((m_button2State & SCROLLPART_PUSHED) != 0 && (m_button1State & SCROLLPART_PUSHED) == 0)
    {
        StepForward();
        return;
    }
    if ((m_button1State & SCROLLPART_PUSHED) != 0)
    {
        StepBack();
        return;
    }
    if (m_manager == nullptr)
        return;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_manager->GetPaintWindow(), &cursor);
    const bool before = m_horizontal ? cursor.x < m_thumbRect.left : cursor.y < m_thumbRect.top;
    const bool after = m_horizontal ? cursor.x > m_thumbRect.right : cursor.y > m_thumbRect.bottom;
    if (before)
        PageBack();
    else if (after)
        PageForward();
}

void CScrollBarUI::HandleEvent(UIEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type))
    {
        PassOn(event);
        return;
    }
    const POINT point = event.mousePoint;
    switch (event.type)
    {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (!IsEnabled())
            return;
        m_dragOffset = 0;
        m_repeatTicks = 0;
        if (m_manager != nullptr)
            m_manager->SetTimer(this, kRepeatTimer, kRepeatMs);
        if (PtInRect(&m_button1Rect, point))
        {
            m_button1State |= SCROLLPART_PUSHED;
            StepBack();
        }
        else if (PtInRect(&m_button2Rect, point))
        {
            m_button2State |= SCROLLPART_PUSHED;
            StepForward();
        }
        else if (m_horizontal ? point.x < m_thumbRect.left : point.y < m_thumbRect.top)
        {
            PageBack();
        }
        else if (m_horizontal ? point.x > m_thumbRect.right : point.y > m_thumbRect.bottom)
        {
            PageForward();
        }
        else if (PtInRect(&m_thumbRect, point))
        {
            m_thumbState |= SCROLLPART_PUSHED | SCROLLPART_DRAGGED;
            m_dragStartPoint = point;
            m_dragStartPosition = m_position;
        }
        return;
    case UIEVENT_BUTTONUP:
        m_repeatTicks = 0;
        m_dragOffset = 0;
        if (m_manager != nullptr)
            m_manager->KillTimer(this, kRepeatTimer);
        if ((m_thumbState & SCROLLPART_DRAGGED) != 0)
            m_thumbState &= ~static_cast<UINT>(SCROLLPART_PUSHED | SCROLLPART_DRAGGED);
        else if ((m_button1State & SCROLLPART_PUSHED) != 0)
            m_button1State &= ~static_cast<UINT>(SCROLLPART_PUSHED);
        else if ((m_button2State & SCROLLPART_PUSHED) != 0)
            m_button2State &= ~static_cast<UINT>(SCROLLPART_PUSHED);
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_thumbState & SCROLLPART_DRAGGED) != 0)
        {
            const int t = Thickness();
            long long track = m_horizontal ? static_cast<long long>(GetWidth()) - m_thumbRect.GetWidth()
                                           : static_cast<long long>(GetHeight()) - m_thumbRect.GetHeight();
            if (m_button1Shown)
                track -= t;
            if (m_button2Shown)
                track -= t;
            if (track != 0)
            {
                const long long moved = m_horizontal ? static_cast<long long>(point.x) - m_dragStartPoint.x
                                                     : static_cast<long long>(point.y) - m_dragStartPoint.y;
                m_dragOffset = ClampToInt(moved * m_range / track);
            }
        }
        else if ((m_thumbState & SCROLLPART_HOT) == 0)
        {
            if (IsEnabled() && PtInRect(&m_thumbRect, point))
            {
                m_thumbState |= SCROLLPART_HOT;
                Invalidate();
            }
        }
        else if (!PtInRect(&m_thumbRect, point))
        {
            m_thumbState &= ~static_cast<UINT>(SCROLLPART_HOT);
            Invalidate();
        }
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kRepeatTimer)
        {
            OnTimerTick();
            return;
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (PtInRect(&m_itemRect, point) && IsEnabled())
        {
            m_button1State |= SCROLLPART_HOT;
            m_button2State |= SCROLLPART_HOT;
            if (PtInRect(&m_thumbRect, point))
                m_thumbState |= SCROLLPART_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (PtInRect(&m_itemRect, point))
        {
            if (m_manager != nullptr)
                m_manager->AddLeaveWatcher(this);
            return;
        }
        if (IsEnabled())
        {
            m_button1State &= ~static_cast<UINT>(SCROLLPART_HOT);
            m_button2State &= ~static_cast<UINT>(SCROLLPART_HOT);
            m_thumbState &= ~static_cast<UINT>(SCROLLPART_HOT);
            Invalidate();
        }
        if (m_manager != nullptr)
            m_manager->RemoveLeaveWatcher(this);
        break;
    default:
        break;
    }
    PassOn(event);
}

void CScrollBarUI::PaintPart(HDC dc, ScrollPart part, UINT state, const CUIRect& rect)
{
    ImageDrawSpec* images = m_images[part];
    int chosen = IMAGE_NORMAL;
    if ((state & SCROLLPART_DISABLED) != 0)
        chosen = IMAGE_DISABLED;
    else if ((state & SCROLLPART_PUSHED) != 0)
        chosen = IMAGE_PUSHED;
    else if ((state & SCROLLPART_HOT) != 0)
        chosen = IMAGE_HOT;
    const CUIRect relative(rect.left - m_itemRect.left, rect.top - m_itemRect.top, rect.right - m_itemRect.left,
                           rect.bottom - m_itemRect.top);
    const auto draw = [&](ImageDrawSpec& spec) {
        if (spec.drawString.IsEmpty())
            return false;
        // The description's own destination is replaced by the part's place;
        // the first load parses the description, so it must come first.
        if (!spec.loaded)
            CRenderKit::PaintImageSpec(nullptr, m_manager, m_itemRect, m_paintRect, spec);
        spec.destOffset = relative;
        return CRenderKit::PaintImageSpec(dc, m_manager, m_itemRect, m_paintRect, spec);
    };
    if (chosen != IMAGE_NORMAL && draw(images[chosen]))
        return;
    draw(images[IMAGE_NORMAL]);
}

bool CScrollBarUI::PaintInto(HDC dc, const RECT&, IControlUI*)
{
    PaintBackColor(dc);
    PaintBackImage(dc);

    UINT backState = 0;
    if (!IsEnabled())
        backState = SCROLLPART_DISABLED;
    else
        backState = m_thumbState & (SCROLLPART_PUSHED | SCROLLPART_HOT);
    PaintPart(dc, PART_BACKGROUND, backState, m_itemRect);

    const auto paintButton = [&](bool shown, UINT& state, DWORD color, ScrollPart part, const CUIRect& rect) {
        if (!shown)
            return;
        if (IsEnabled())
            state &= ~static_cast<UINT>(SCROLLPART_DISABLED);
        else
            state |= SCROLLPART_DISABLED;
        if (color != 0)
            CRenderKit::FillColor(dc, rect, AdjustedColor(color));
        PaintPart(dc, part, state, rect);
    };
    paintButton(m_button1Shown, m_button1State, m_button1Color, PART_BUTTON1, m_button1Rect);
    paintButton(m_button2Shown, m_button2State, m_button2Color, PART_BUTTON2, m_button2Rect);
    if (::IsRectEmpty(&m_thumbRect) == FALSE)
    {
        paintButton(true, m_thumbState, m_thumbColor, PART_THUMB, m_thumbRect);
        const int t = Thickness();
        CUIRect rail = m_thumbRect;
        if (m_horizontal)
        {
            rail.left = m_thumbRect.left + m_thumbRect.GetWidth() / 2 - t / 2;
            rail.right = rail.left + t;
        }
        else
        {
            rail.top = m_thumbRect.top + m_thumbRect.GetHeight() / 2 - t / 2;
            rail.bottom = rail.top + t;
        }
        PaintPart(dc, PART_RAIL, m_thumbState, rail);
    }
    PaintFrame(dc);
    return true;
}

void CScrollBarUI::DescribeAccess(int part, AccessDescription& description) const
{
    CControlUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_SCROLLBAR;
    wchar_t number[16] = {};
    std::swprintf(number, 16, L"%d", m_position);
    description.value = number;
    description.hasValue = true;
}

}  // namespace DuiLib
