// CLinearLayoutUI: one placement routine for both axes, instantiated once
// per axis so the choice of edges costs nothing per child. The arithmetic
// runs in 64 bits and is held to the int range only where a rectangle is
// made. The separator drag itself is CLayoutSeparator's.
#include "ui/control/LinearLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/LinearLayoutMath.h"
#include "ui/control/ScrollBarUI.h"

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

// The edges, sizes and child extents of axis A: "main" is the direction the
// children follow one another, "cross" the one they are aligned on.
template <LayoutAxis A>
struct AxisView
{
    static constexpr bool kHorizontal = A == LayoutAxis::Horizontal;

    static long long MainLow(const RECT& r) { return kHorizontal ? r.left : r.top; }
    static long long MainHigh(const RECT& r) { return kHorizontal ? r.right : r.bottom; }
    static long long CrossLow(const RECT& r) { return kHorizontal ? r.top : r.left; }
    static long long CrossHigh(const RECT& r) { return kHorizontal ? r.bottom : r.right; }
    static long long MainExtent(const CUIRect& r) { return kHorizontal ? r.GetWidth() : r.GetHeight(); }
    static long long CrossExtent(const CUIRect& r) { return kHorizontal ? r.GetHeight() : r.GetWidth(); }
    static long long Main(const SIZE& s) { return kHorizontal ? s.cx : s.cy; }
    static long long Cross(const SIZE& s) { return kHorizontal ? s.cy : s.cx; }
    static SIZE Size(int main, int cross) { return kHorizontal ? SIZE{main, cross} : SIZE{cross, main}; }
    static RECT Rect(long long mainLow, long long crossLow, long long main, long long cross)
    {
        const int mainFrom = ClampToInt(mainLow);
        const int mainTo = ClampToInt(mainLow + main);
        const int crossFrom = ClampToInt(crossLow);
        const int crossTo = ClampToInt(crossLow + cross);
        return kHorizontal ? RECT{mainFrom, crossFrom, mainTo, crossTo} : RECT{crossFrom, mainFrom, crossTo, mainTo};
    }

    static int FixedMain(const IControlUI* c) { return kHorizontal ? c->GetFixedWidth() : c->GetFixedHeight(); }
    static int MinMain(const IControlUI* c) { return kHorizontal ? c->GetMinWidth() : c->GetMinHeight(); }
    static int MaxMain(const IControlUI* c) { return kHorizontal ? c->GetMaxWidth() : c->GetMaxHeight(); }
    static int FixedCross(const IControlUI* c) { return kHorizontal ? c->GetFixedHeight() : c->GetFixedWidth(); }
    static int MinCross(const IControlUI* c) { return kHorizontal ? c->GetMinHeight() : c->GetMinWidth(); }
    static int MaxCross(const IControlUI* c) { return kHorizontal ? c->GetMaxHeight() : c->GetMaxWidth(); }
};

}  // namespace

UINT CLinearLayoutUI::ControlFlagBits() const
{
    return IsEnabled() && m_separator.GetSize() != 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CLinearLayoutUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CUIRect rc;
    if (!PlaceSelf(rect, invalidate, rc))
        return;
    if (m_axis == LayoutAxis::Horizontal)
        PlaceAlong<LayoutAxis::Horizontal>(rc);
    else
        PlaceAlong<LayoutAxis::Vertical>(rc);
}

template <LayoutAxis A>
void CLinearLayoutUI::PlaceAlong(const CUIRect& rc)
{
    using Axis = AxisView<A>;
    // The horizontal layout has always taken a child without a fixed width
    // as stretchable, whatever the child would measure; the vertical one
    // goes by the measured height alone. Skins are laid out by both rules.
    constexpr bool kFixedExtentDecides = Axis::kHorizontal;
    // Children are aligned by the valign of a horizontal layout and by the
    // align of a vertical one.
    const int crossAlign = Axis::kHorizontal ? m_childVAlign : m_childAlign;
    const int alignCentre = Axis::kHorizontal ? DT_VCENTER : DT_CENTER;
    const int alignFar = Axis::kHorizontal ? DT_BOTTOM : DT_RIGHT;

    const CScrollBarUI* mainBar = Axis::kHorizontal ? m_horizontalBar : m_verticalBar;
    const CScrollBarUI* crossBar = Axis::kHorizontal ? m_verticalBar : m_horizontalBar;
    const bool mainShown = IsShown(mainBar);
    const bool crossShown = IsShown(crossBar);
    const long long availableMain =
        Axis::MainExtent(rc) + (mainShown ? mainBar->GetScrollRange() : 0);
    const long long availableCross =
        Axis::CrossExtent(rc) + (crossShown ? crossBar->GetScrollRange() : 0);

    // Pass 1: estimate the fixed extents and count the stretchable children.
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
        const long long padMain = Axis::MainLow(pad) + Axis::MainHigh(pad);
        const long long padCross = Axis::CrossLow(pad) + Axis::CrossHigh(pad);
        long long main = 0;
        long long cross = 0;
        if (kFixedExtentDecides && Axis::FixedMain(child) == 0)
        {
            ++stretchable;
            cross = Axis::FixedCross(child);
        }
        else
        {
            const SIZE room =
                Axis::Size(ClampToInt(RoomFor(availableMain, Axis::FixedMain(child), Axis::MaxMain(child))),
                           ClampToInt(RoomFor(availableCross - padCross, Axis::FixedCross(child),
                                              Axis::MaxCross(child))));
            const CUISize desired = child->MeasureDesired(room);
            cross = Axis::Cross(desired);
            if (Axis::Main(desired) == 0)
                ++stretchable;
            else
                main = HoldBetween(Axis::Main(desired), Axis::MinMain(child), Axis::MaxMain(child));
        }
        fixedTotal += main + padMain;
        cross = HoldBetween(cross < 1 ? 0 : cross, Axis::MinCross(child), Axis::MaxCross(child));
        crossMaximum = std::max(crossMaximum, cross + padCross);
        ++estimated;
    }
    fixedTotal += GapsBetween(estimated, m_childPadding);
    const int share = StretchShare(availableMain, fixedTotal, stretchable);

    // Pass 2: place the children.
    long long remainingMain = availableMain;
    const long long remainingCross = availableCross;
    long long position = Axis::MainLow(rc) - (mainShown ? mainBar->GetScrollOffset() : 0);
    long long fixedRemaining = fixedTotal;
    int placed = 0;
    int stretchIndex = 0;
    long long needed = 0;
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
        const long long padMain = Axis::MainLow(pad) + Axis::MainHigh(pad);
        const long long padCross = Axis::CrossLow(pad) + Axis::CrossHigh(pad);
        remainingMain -= Axis::MainLow(pad);
        const SIZE room =
            Axis::Size(ClampToInt(RoomFor(remainingMain, Axis::FixedMain(child), Axis::MaxMain(child))),
                       ClampToInt(RoomFor(remainingCross - padCross, Axis::FixedCross(child), Axis::MaxCross(child))));
        fixedRemaining -= padMain;
        if (placed > 1)
            fixedRemaining -= m_childPadding;

        const CUISize desired = child->MeasureDesired(room);
        long long main = 0;
        if ((!kFixedExtentDecides || Axis::FixedMain(child) != 0) && Axis::Main(desired) != 0)
        {
            main = HoldBetween(Axis::Main(desired), Axis::MinMain(child), Axis::MaxMain(child));
            fixedRemaining -= main;
        }
        else
        {
            ++stretchIndex;
            main = share;
            if (stretchIndex == stretchable)
                main = std::max<long long>(remainingMain - Axis::MainHigh(pad) - fixedRemaining, 0);
            main = HoldBetween(main, Axis::MinMain(child), Axis::MaxMain(child));
        }

        long long cross = Axis::MaxCross(child);
        if (cross == 0)
            cross = availableCross - padCross;
        cross = std::max<long long>(cross, 0);
        cross = std::min<long long>(cross, Axis::Cross(room));
        cross = std::max<long long>(cross, Axis::MinCross(child));

        long long crossLow = 0;
        if (crossAlign == alignCentre)
        {
            long long centre = (Axis::CrossLow(rc) + Axis::CrossHigh(rc)) / 2;
            if (crossShown)
                centre += crossBar->GetScrollRange() / 2 - crossBar->GetScrollOffset();
            crossLow = centre - cross / 2;
        }
        else if (crossAlign == alignFar)
        {
            long long base = Axis::CrossHigh(rc);
            if (crossShown)
                base += crossBar->GetScrollRange() - crossBar->GetScrollOffset();
            crossLow = base - Axis::CrossHigh(pad) - cross;
        }
        else
        {
            long long base = Axis::CrossLow(rc);
            if (crossShown)
                base -= crossBar->GetScrollOffset();
            crossLow = base + Axis::CrossLow(pad);
        }
        child->PlaceAt(Axis::Rect(position + Axis::MainLow(pad), crossLow, main, cross), false);

        position += main + m_childPadding + padMain;
        needed += main + padMain;
        remainingMain -= main + m_childPadding + Axis::MainHigh(pad);
    }
    needed += GapsBetween(estimated, m_childPadding);
    const int neededExtent = ClampToInt(needed);
    const int crossExtent = ClampToInt(crossMaximum);
    UpdateScrollBars(rc, Axis::kHorizontal ? neededExtent : crossExtent, Axis::kHorizontal ? crossExtent : neededExtent);
}

void CLinearLayoutUI::HandleEvent(UIEvent& event)
{
    LONG& fixedExtent = m_axis == LayoutAxis::Horizontal ? m_fixedSize.cx : m_fixedSize.cy;
    if (!m_separator.HandleEvent(event, *this, m_itemRect, fixedExtent))
        CContainerUI::HandleEvent(event);
}

const ControlAttributeTable& CLinearLayoutUI::GetAttributeTable() const
{
    static const AttributeRow<CLinearLayoutUI> kRows[] = {
        {L"sepimm", AttributeGrammar::kBool, L"false",
         L"Dragging the separator resizes at once instead of showing a preview bar",
         [](CLinearLayoutUI& l, const wchar_t* v) { l.SetSepImmMode(ParseBool(v)); }},
    };
    static const ControlAttributeTable kTable(L"CLinearLayoutUI", &CContainerUI::GetAttributeTable(), kRows);
    return kTable;
}

void CLinearLayoutUI::PaintOverlay(HDC dc, const RECT& paintRect)
{
    m_separator.PaintPreview(dc, m_itemRect);
    CContainerUI::PaintOverlay(dc, paintRect);
}

}  // namespace DuiLib
