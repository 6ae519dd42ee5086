// CLayoutSeparator: one drag routine for both axes. The axis picks which
// pair of rectangle edges moves and which pointer coordinate drives it; the
// rules for ignoring moves and for stopping at the minimum and maximum are
// the same either way.
#include "ui/control/LayoutSeparator.h"

#include <algorithm>

#include "ui/control/ControlUI.h"
#include "ui/control/LayoutMath.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

// The colour of the preview bar: black at alpha 0xAA.
constexpr DWORD kPreviewColor = 0xAA000000;

struct AxisEdges
{
    LONG RECT::*low;
    LONG RECT::*high;
};

AxisEdges EdgesOf(LayoutAxis axis)
{
    if (axis == LayoutAxis::Horizontal)
        return {&RECT::left, &RECT::right};
    return {&RECT::top, &RECT::bottom};
}

long long CoordinateOf(LayoutAxis axis, const POINT& point)
{
    return axis == LayoutAxis::Horizontal ? point.x : point.y;
}

}  // namespace

void CLayoutSeparator::SetImmediate(bool immediate, CControlUI& owner)
{
    if (m_immediate == immediate)
        return;
    if (IsDragging() && !m_immediate && owner.GetManager() != nullptr)
        owner.GetManager()->RemoveOverlayPainter(&owner);
    m_immediate = immediate;
}

CUIRect CLayoutSeparator::ThumbRect(const CUIRect& itemRect, bool useNew) const
{
    const CUIRect base = (useNew && IsDragging()) ? m_newPos : itemRect;
    const AxisEdges edges = EdgesOf(m_axis);
    CUIRect strip = base;
    if (m_size >= 0)
        strip.*edges.low = AddClamped(base.*edges.high, -static_cast<long long>(m_size));
    else
        strip.*edges.high = AddClamped(base.*edges.low, -static_cast<long long>(m_size));
    // The vertical strip has always been kept inside its layout; the
    // horizontal one may stick out, and callers see that rectangle.
    if (m_axis == LayoutAxis::Vertical)
    {
        strip.*edges.low = std::max(strip.*edges.low, base.*edges.low);
        strip.*edges.high = std::min(strip.*edges.high, base.*edges.high);
    }
    return strip;
}

bool CLayoutSeparator::DragEdge(long long delta, long long coordinate, int minimum, int maximum, CUIRect& moved) const
{
    const AxisEdges edges = EdgesOf(m_axis);
    const long long low = m_newPos.*edges.low;
    const long long high = m_newPos.*edges.high;
    const long long extent = high - low;
    moved = m_newPos;
    if (m_size >= 0)
    {
        // Only a pointer that has reached the strip moves the edge.
        if ((delta > 0 && coordinate < high - m_size) || (delta < 0 && coordinate > high))
            return false;
        moved.*edges.high = AddClamped(high, delta);
        if (static_cast<long long>(moved.*edges.high) - low <= minimum)
        {
            if (extent <= minimum)
                return false;
            moved.*edges.high = AddClamped(low, minimum);
        }
        if (static_cast<long long>(moved.*edges.high) - low >= maximum)
        {
            if (extent >= maximum)
                return false;
            moved.*edges.high = AddClamped(low, maximum);
        }
        return true;
    }
    if ((delta > 0 && coordinate < low) || (delta < 0 && coordinate > low - m_size))
        return false;
    moved.*edges.low = AddClamped(low, delta);
    if (high - moved.*edges.low <= minimum)
    {
        if (extent <= minimum)
            return false;
        moved.*edges.low = AddClamped(high, -static_cast<long long>(minimum));
    }
    if (high - moved.*edges.low >= maximum)
    {
        if (extent >= maximum)
            return false;
        moved.*edges.low = AddClamped(high, -static_cast<long long>(maximum));
    }
    return true;
}

bool CLayoutSeparator::HandleEvent(UIEvent& event, CControlUI& owner, CUIRect& itemRect, LONG& fixedExtent)
{
    if (m_size == 0)
        return false;
    CUIManager* manager = owner.GetManager();
    const POINT point = event.mousePoint;
    if (event.type == UIEVENT_BUTTONDOWN && owner.IsEnabled())
    {
        const CUIRect thumb = ThumbRect(itemRect, false);
        if (!PtInRect(&thumb, point))
            return false;
        m_buttonState |= kSeparatorDragged;
        m_lastMouse = point;
        m_newPos = itemRect;
        if (!m_immediate && manager != nullptr)
            manager->AddOverlayPainter(&owner);
        return true;
    }
    if (event.type == UIEVENT_BUTTONUP && IsDragging())
    {
        m_buttonState &= ~kSeparatorDragged;
        itemRect = m_newPos;
        if (!m_immediate && manager != nullptr)
            manager->RemoveOverlayPainter(&owner);
        owner.RequestParentLayout();
        return true;
    }
    if (event.type == UIEVENT_MOUSEMOVE && IsDragging())
    {
        const long long coordinate = CoordinateOf(m_axis, point);
        const long long delta = coordinate - CoordinateOf(m_axis, m_lastMouse);
        // The last point follows the pointer even when the move is ignored.
        m_lastMouse = point;
        const bool horizontal = m_axis == LayoutAxis::Horizontal;
        CUIRect moved;
        if (!DragEdge(delta, coordinate, horizontal ? owner.GetMinWidth() : owner.GetMinHeight(),
                      horizontal ? owner.GetMaxWidth() : owner.GetMaxHeight(), moved))
            return true;
        CUIRect dirty = ThumbRect(itemRect, true);
        m_newPos = moved;
        fixedExtent = std::max(horizontal ? moved.GetWidth() : moved.GetHeight(), 0);
        if (m_immediate)
        {
            itemRect = m_newPos;
            owner.RequestParentLayout();
        }
        else if (manager != nullptr)
        {
            const CUIRect next = ThumbRect(itemRect, true);
            const CUIRect item = ThumbRect(itemRect, false);
            UnionRect(&dirty, &dirty, &next);
            UnionRect(&dirty, &dirty, &item);
            manager->Invalidate(dirty);
        }
        return true;
    }
    if (event.type == UIEVENT_SETCURSOR && owner.IsEnabled())
    {
        const CUIRect thumb = ThumbRect(itemRect, false);
        if (!PtInRect(&thumb, point))
            return false;
        ::SetCursor(::LoadCursorW(nullptr, m_axis == LayoutAxis::Horizontal ? IDC_SIZEWE : IDC_SIZENS));
        return true;
    }
    return false;
}

void CLayoutSeparator::PaintPreview(HDC dc, const CUIRect& itemRect) const
{
    if (IsDragging() && !m_immediate)
        CRenderKit::FillColor(dc, ThumbRect(itemRect, true), kPreviewColor);
}

}  // namespace DuiLib
