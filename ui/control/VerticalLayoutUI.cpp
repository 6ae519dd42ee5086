// CVerticalLayoutUI: the mirror of the horizontal layout along y. It differs
// in that every child is measured in the first pass and a child counts as
// fixed by its measured height alone, and in that the cross size is held the
// same way as the horizontal layout's height.
#include "ui/control/VerticalLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/LinearLayoutMath.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

bool IsShown(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->IsVisible();
}

long long RoomFor(long long room, int fixed, int maximum)
{
    return std::min<long long>(room, fixed >= 1 ? fixed : maximum);
}

}  // namespace

const wchar_t* CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayout";
}

void* CVerticalLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"VerticalLayout") == 0)
        return this;
    return CContainerUI::CastTo(name);
}

UINT CVerticalLayoutUI::ControlFlagBits() const
{
    return IsEnabled() && m_separator != 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CVerticalLayoutUI::PlaceAt(const RECT& rect, bool invalidate)
{
    ResetScrollOnResize(rect);
    CControlUI::PlaceAt(rect, invalidate);
    const CUIRect rc = ChildArea();
    if (m_items.IsEmpty())
    {
        UpdateScrollBars(rc, 0, 0);
        return;
    }
    const bool horizontalBar = IsShown(m_horizontalBar);
    const bool verticalBar = IsShown(m_verticalBar);
    const long long availableWidth =
        static_cast<long long>(rc.GetWidth()) + (horizontalBar ? m_horizontalBar->GetScrollRange() : 0);
    const long long availableHeight =
        static_cast<long long>(rc.GetHeight()) + (verticalBar ? m_verticalBar->GetScrollRange() : 0);

    // Pass 1: estimate the fixed heights and count the stretchable children.
    int stretchable = 0;
    int estimated = 0;
    long long fixedTotal = 0;
    long long crossMaximum = 0;
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        IControlUI* child = ChildAt(i);
        if (!child->IsVisible() || child->IsFloat())
            continue;
        const CUIRect pad = child->GetPadding();
        const SIZE room = {ClampToInt(RoomFor(availableWidth - pad.left - pad.right, child->GetFixedWidth(),
                                              child->GetMaxWidth())),
                           ClampToInt(RoomFor(availableHeight, child->GetFixedHeight(), child->GetMaxHeight()))};
        const CUISize desired = child->MeasureDesired(room);
        long long height = 0;
        if (desired.cy == 0)
            ++stretchable;
        else
            height = HoldBetween(desired.cy, child->GetMinHeight(), child->GetMaxHeight());
        fixedTotal += height + pad.top + pad.bottom;
        const long long width =
            HoldBetween(desired.cx < 1 ? 0 : desired.cx, child->GetMinWidth(), child->GetMaxWidth());
        crossMaximum = std::max(crossMaximum, width + pad.left + pad.right);
        ++estimated;
    }
    fixedTotal += GapsBetween(estimated, m_childPadding);
    const int share = StretchShare(availableHeight, fixedTotal, stretchable);

    // Pass 2: place the children.
    const long long remainingWidth = availableWidth;
    long long remainingHeight = availableHeight;
    long long y = static_cast<long long>(rc.top) - (verticalBar ? m_verticalBar->GetScrollOffset() : 0);
    long long fixedRemaining = fixedTotal;
    int placed = 0;
    int stretchIndex = 0;
    long long neededHeight = 0;
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        IControlUI* child = ChildAt(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloat())
        {
            PlaceFloating(i);
            continue;
        }
        ++placed;
        const CUIRect pad = child->GetPadding();
        remainingHeight -= pad.top;
        const SIZE room = {ClampToInt(RoomFor(remainingWidth - pad.left - pad.right, child->GetFixedWidth(),
                                              child->GetMaxWidth())),
                           ClampToInt(RoomFor(remainingHeight, child->GetFixedHeight(), child->GetMaxHeight()))};
        fixedRemaining -= pad.top + pad.bottom;
        if (placed > 1)
            fixedRemaining -= m_childPadding;

        const CUISize desired = child->MeasureDesired(room);
        long long height = 0;
        if (desired.cy != 0)
        {
            height = HoldBetween(desired.cy, child->GetMinHeight(), child->GetMaxHeight());
            fixedRemaining -= height;
        }
        else
        {
            ++stretchIndex;
            height = share;
            if (stretchIndex == stretchable)
                height = std::max<long long>(remainingHeight - pad.bottom - fixedRemaining, 0);
            height = HoldBetween(height, child->GetMinHeight(), child->GetMaxHeight());
        }

        long long width = child->GetMaxWidth();
        if (width == 0)
            width = availableWidth - pad.left - pad.right;
        width = std::max<long long>(width, 0);
        width = std::min<long long>(width, room.cx);
        width = std::max<long long>(width, child->GetMinWidth());

        long long left = 0;
        if (m_childAlign == DT_CENTER)
        {
            long long centre = (static_cast<long long>(rc.left) + rc.right) / 2;
            if (horizontalBar)
                centre += m_horizontalBar->GetScrollRange() / 2 - m_horizontalBar->GetScrollOffset();
            left = centre - width / 2;
        }
        else if (m_childAlign == DT_RIGHT)
        {
            long long base = rc.right;
            if (horizontalBar)
                base += m_horizontalBar->GetScrollRange() - m_horizontalBar->GetScrollOffset();
            left = base - pad.right - width;
        }
        else
        {
            long long base = rc.left;
            if (horizontalBar)
                base -= m_horizontalBar->GetScrollOffset();
            left = base + pad.left;
        }
        const long long top = y + pad.top;
        child->PlaceAt(RECT{ClampToInt(left), ClampToInt(top), ClampToInt(left + width), ClampToInt(top + height)},
                       false);

        y += height + m_childPadding + pad.top + pad.bottom;
        neededHeight += height + pad.top + pad.bottom;
        remainingHeight -= height + m_childPadding + pad.bottom;
    }
    neededHeight += GapsBetween(estimated, m_childPadding);
    UpdateScrollBars(rc, ClampToInt(crossMaximum), ClampToInt(neededHeight));
}

CUIRect CVerticalLayoutUI::GetThumbRect(bool useNew) const
{
    const CUIRect base = (useNew && (m_buttonState & kSeparatorDragged) != 0) ? m_newPos : m_itemRect;
    if (m_separator >= 0)
        return CUIRect(base.left, std::max<LONG>(base.top, AddClamped(base.bottom, -static_cast<long long>(m_separator))),
                       base.right, base.bottom);
    return CUIRect(base.left, base.top, base.right,
                   std::min<LONG>(base.bottom, AddClamped(base.top, -static_cast<long long>(m_separator))));
}

void CVerticalLayoutUI::SetSepImmMode(bool immediate)
{
    if (m_immediate == immediate)
        return;
    if ((m_buttonState & kSeparatorDragged) != 0 && !m_immediate && m_manager != nullptr)
        m_manager->RemoveOverlayPainter(this);
    m_immediate = immediate;
}

void CVerticalLayoutUI::HandleEvent(UIEvent& event)
{
    if (m_separator == 0)
    {
        CContainerUI::HandleEvent(event);
        return;
    }
    const bool dragging = (m_buttonState & kSeparatorDragged) != 0;
    const POINT point = event.mousePoint;
    if (event.type == UIEVENT_BUTTONDOWN && IsEnabled())
    {
        const CUIRect thumb = GetThumbRect(false);
        if (PtInRect(&thumb, point))
        {
            m_buttonState |= kSeparatorDragged;
            m_lastMouse = point;
            m_newPos = m_itemRect;
            if (!m_immediate && m_manager != nullptr)
                m_manager->AddOverlayPainter(this);
            return;
        }
    }
    else if (event.type == UIEVENT_BUTTONUP && dragging)
    {
        m_buttonState &= ~kSeparatorDragged;
        m_itemRect = m_newPos;
        if (!m_immediate && m_manager != nullptr)
            m_manager->RemoveOverlayPainter(this);
        RequestParentLayout();
        return;
    }
    else if (event.type == UIEVENT_MOUSEMOVE && dragging)
    {
        const long long dy = static_cast<long long>(point.y) - m_lastMouse.y;
        m_lastMouse = point;
        CUIRect r = m_newPos;
        const int minHeight = GetMinHeight();
        const int maxHeight = GetMaxHeight();
        const long long newHeight = m_newPos.GetHeight();
        if (m_separator >= 0)
        {
            if ((dy > 0 && point.y < static_cast<long long>(m_newPos.bottom) - m_separator) ||
                (dy < 0 && point.y > m_newPos.bottom))
                return;
            r.bottom = AddClamped(r.bottom, dy);
            if (static_cast<long long>(r.bottom) - r.top <= minHeight)
            {
                if (newHeight <= minHeight)
                    return;
                r.bottom = AddClamped(r.top, minHeight);
            }
            if (static_cast<long long>(r.bottom) - r.top >= maxHeight)
            {
                if (newHeight >= maxHeight)
                    return;
                r.bottom = AddClamped(r.top, maxHeight);
            }
        }
        else
        {
            if ((dy > 0 && point.y < m_newPos.top) ||
                (dy < 0 && point.y > static_cast<long long>(m_newPos.top) - m_separator))
                return;
            r.top = AddClamped(r.top, dy);
            if (static_cast<long long>(r.bottom) - r.top <= minHeight)
            {
                if (newHeight <= minHeight)
                    return;
                r.top = AddClamped(r.bottom, -static_cast<long long>(minHeight));
            }
            if (static_cast<long long>(r.bottom) - r.top >= maxHeight)
            {
                if (newHeight >= maxHeight)
                    return;
                r.top = AddClamped(r.bottom, -static_cast<long long>(maxHeight));
            }
        }
        CUIRect dirty = GetThumbRect(true);
        m_newPos = r;
        m_fixedSize.cy = std::max(r.GetHeight(), 0);
        if (m_immediate)
        {
            m_itemRect = m_newPos;
            RequestParentLayout();
        }
        else if (m_manager != nullptr)
        {
            const CUIRect next = GetThumbRect(true);
            const CUIRect item = GetThumbRect(false);
            UnionRect(&dirty, &dirty, &next);
            UnionRect(&dirty, &dirty, &item);
            m_manager->Invalidate(dirty);
        }
        return;
    }
    else if (event.type == UIEVENT_SETCURSOR && IsEnabled())
    {
        const CUIRect thumb = GetThumbRect(false);
        if (PtInRect(&thumb, point))
        {
            ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
            return;
        }
    }
    CContainerUI::HandleEvent(event);
}

void CVerticalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name != nullptr && std::wcscmp(name, L"sepheight") == 0)
        SetSepHeight(ParseInt(value != nullptr ? value : L""));
    else if (name != nullptr && std::wcscmp(name, L"sepimm") == 0)
        SetSepImmMode(ParseBool(value != nullptr ? value : L""));
    else
        CContainerUI::ApplyAttribute(name, value);
}

void CVerticalLayoutUI::PaintOverlay(HDC dc, const RECT& paintRect)
{
    if ((m_buttonState & kSeparatorDragged) != 0 && !m_immediate)
        CRenderKit::FillColor(dc, GetThumbRect(true), 0xAA000000);
    CContainerUI::PaintOverlay(dc, paintRect);
}

}  // namespace DuiLib
