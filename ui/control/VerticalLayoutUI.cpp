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
    return IsEnabled() && m_separator.GetSize() != 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
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

void CVerticalLayoutUI::HandleEvent(UIEvent& event)
{
    if (!m_separator.HandleEvent(event, *this, m_itemRect, m_fixedSize.cy))
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
    m_separator.PaintPreview(dc, m_itemRect);
    CContainerUI::PaintOverlay(dc, paintRect);
}

}  // namespace DuiLib
