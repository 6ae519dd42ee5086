// CHorizontalLayoutUI: the two-pass horizontal placement (estimate, then
// place); the separator drag is CLayoutSeparator's. The arithmetic runs in
// 64 bits and is held to the int range only where a rectangle is made.
#include "ui/control/HorizontalLayoutUI.h"

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

// The child's room clamped down to its fixed extent, or to its maximum when
// it has no fixed extent.
long long RoomFor(long long room, int fixed, int maximum)
{
    return std::min<long long>(room, fixed >= 1 ? fixed : maximum);
}

}  // namespace

const wchar_t* CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayout";
}

void* CHorizontalLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"HorizontalLayout") == 0)
        return this;
    return CContainerUI::CastTo(name);
}

UINT CHorizontalLayoutUI::ControlFlagBits() const
{
    return IsEnabled() && m_separator.GetSize() != 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CHorizontalLayoutUI::PlaceAt(const RECT& rect, bool invalidate)
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

    // Pass 1: estimate the fixed widths and count the stretchable children.
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
        const SIZE room = {ClampToInt(RoomFor(availableWidth, child->GetFixedWidth(), child->GetMaxWidth())),
                           ClampToInt(RoomFor(availableHeight - pad.top - pad.bottom, child->GetFixedHeight(),
                                              child->GetMaxHeight()))};
        long long width = 0;
        long long height = child->GetFixedHeight();
        if (child->GetFixedWidth() == 0)
        {
            ++stretchable;
        }
        else
        {
            const CUISize desired = child->MeasureDesired(room);
            height = desired.cy;
            if (desired.cx == 0)
                ++stretchable;
            else
                width = HoldBetween(desired.cx, child->GetMinWidth(), child->GetMaxWidth());
        }
        fixedTotal += width + pad.left + pad.right;
        height = HoldBetween(height < 1 ? 0 : height, child->GetMinHeight(), child->GetMaxHeight());
        crossMaximum = std::max(crossMaximum, height + pad.top + pad.bottom);
        ++estimated;
    }
    fixedTotal += GapsBetween(estimated, m_childPadding);
    const int share = StretchShare(availableWidth, fixedTotal, stretchable);

    // Pass 2: place the children.
    long long remainingWidth = availableWidth;
    const long long remainingHeight = availableHeight;
    long long x = static_cast<long long>(rc.left) - (horizontalBar ? m_horizontalBar->GetScrollOffset() : 0);
    long long fixedRemaining = fixedTotal;
    int placed = 0;
    int stretchIndex = 0;
    long long neededWidth = 0;
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
        remainingWidth -= pad.left;
        const SIZE room = {ClampToInt(RoomFor(remainingWidth, child->GetFixedWidth(), child->GetMaxWidth())),
                           ClampToInt(RoomFor(remainingHeight - pad.top - pad.bottom, child->GetFixedHeight(),
                                              child->GetMaxHeight()))};
        fixedRemaining -= pad.left + pad.right;
        if (placed > 1)
            fixedRemaining -= m_childPadding;

        const CUISize desired = child->MeasureDesired(room);
        long long width = 0;
        if (child->GetFixedWidth() != 0 && desired.cx != 0)
        {
            width = HoldBetween(desired.cx, child->GetMinWidth(), child->GetMaxWidth());
            fixedRemaining -= width;
        }
        else
        {
            ++stretchIndex;
            width = share;
            if (stretchIndex == stretchable)
                width = std::max<long long>(remainingWidth - pad.right - fixedRemaining, 0);
            width = HoldBetween(width, child->GetMinWidth(), child->GetMaxWidth());
        }

        long long height = child->GetMaxHeight();
        if (height == 0)
            height = availableHeight - pad.top - pad.bottom;
        height = std::max<long long>(height, 0);
        height = std::min<long long>(height, room.cy);
        height = std::max<long long>(height, child->GetMinHeight());

        long long top = 0;
        if (m_childVAlign == DT_VCENTER)
        {
            long long centre = (static_cast<long long>(rc.top) + rc.bottom) / 2;
            if (verticalBar)
                centre += m_verticalBar->GetScrollRange() / 2 - m_verticalBar->GetScrollOffset();
            top = centre - height / 2;
        }
        else if (m_childVAlign == DT_BOTTOM)
        {
            long long base = rc.bottom;
            if (verticalBar)
                base += m_verticalBar->GetScrollRange() - m_verticalBar->GetScrollOffset();
            top = base - pad.bottom - height;
        }
        else
        {
            long long base = rc.top;
            if (verticalBar)
                base -= m_verticalBar->GetScrollOffset();
            top = base + pad.top;
        }
        const long long left = x + pad.left;
        child->PlaceAt(RECT{ClampToInt(left), ClampToInt(top), ClampToInt(left + width), ClampToInt(top + height)},
                       false);

        x += width + m_childPadding + pad.left + pad.right;
        neededWidth += width + pad.left + pad.right;
        remainingWidth -= width + m_childPadding + pad.right;
    }
    neededWidth += GapsBetween(estimated, m_childPadding);
    UpdateScrollBars(rc, ClampToInt(neededWidth), ClampToInt(crossMaximum));
}

void CHorizontalLayoutUI::HandleEvent(UIEvent& event)
{
    if (!m_separator.HandleEvent(event, *this, m_itemRect, m_fixedSize.cx))
        CContainerUI::HandleEvent(event);
}

void CHorizontalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name != nullptr && std::wcscmp(name, L"sepwidth") == 0)
        SetSepWidth(ParseInt(value != nullptr ? value : L""));
    else if (name != nullptr && std::wcscmp(name, L"sepimm") == 0)
        SetSepImmMode(ParseBool(value != nullptr ? value : L""));
    else
        CContainerUI::ApplyAttribute(name, value);
}

void CHorizontalLayoutUI::PaintOverlay(HDC dc, const RECT& paintRect)
{
    m_separator.PaintPreview(dc, m_itemRect);
    CContainerUI::PaintOverlay(dc, paintRect);
}

}  // namespace DuiLib
