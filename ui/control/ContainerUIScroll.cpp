// CContainerUI scrolling: positions and steps, the scroll bars' creation,
// and UpdateScrollBars, which the layouts call with the size they need and
// which fits each bar to its axis. The bars clamp positions themselves; this
// file moves the children to match.
// Sections: Scrolling (positions and steps); Scroll bars (creation); Fitting
// the bars to the content (UpdateScrollBars and its per-axis helpers).
#include "ui/control/ContainerUI.h"

#include <cstdlib>

#include "ui/control/LayoutMath.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace {

bool IsShown(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->IsVisible();
}

}  // namespace

// ==== Scrolling =============================================================

CUISize CContainerUI::ScrollOffset() const
{
    return CUISize(IsShown(m_horizontalBar) ? m_horizontalBar->GetScrollOffset() : 0,
                   IsShown(m_verticalBar) ? m_verticalBar->GetScrollOffset() : 0);
}

CUISize CContainerUI::ScrollExtent() const
{
    return CUISize(IsShown(m_horizontalBar) ? m_horizontalBar->GetScrollRange() : 0,
                   IsShown(m_verticalBar) ? m_verticalBar->GetScrollRange() : 0);
}

void CContainerUI::SetScrollOffset(const SIZE& offset, bool notify)
{
    int dy = 0;
    if (IsShown(m_verticalBar))
    {
        const int before = m_verticalBar->GetScrollOffset();
        m_verticalBar->SetScrollOffset(offset.cy, notify);
        dy = m_verticalBar->GetScrollOffset() - before;
    }
    int dx = 0;
    if (IsShown(m_horizontalBar))
    {
        const int before = m_horizontalBar->GetScrollOffset();
        m_horizontalBar->SetScrollOffset(offset.cx, notify);
        dx = m_horizontalBar->GetScrollOffset() - before;
    }
    if (dx == 0 && dy == 0)
        return;
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        IControlUI* child = static_cast<IControlUI*>(m_items.GetAt(i));
        if (child->IsVisible() && !child->IsFloat())
            child->Move(-dx, -dy, false);
    }
    Invalidate();
}

int CContainerUI::VerticalLineStep() const
{
    int step = 8;
    if (m_manager != nullptr)
    {
        FontEntry* font = m_manager->GetDefaultFontEntry();
        if (font != nullptr)
        {
            // The metrics are measured on first use only.
            if (font->metrics.tmHeight == 0 && font->font != nullptr && m_manager->GetPaintDC() != nullptr)
            {
                const HGDIOBJ previous = ::SelectObject(m_manager->GetPaintDC(), font->font);
                ::GetTextMetricsW(m_manager->GetPaintDC(), &font->metrics);
                ::SelectObject(m_manager->GetPaintDC(), previous);
            }
            step = font->metrics.tmHeight + 8;
        }
    }
    if (m_verticalBar != nullptr && m_verticalBar->GetLineSize() > 1)
        step = m_verticalBar->GetLineSize();
    return step;
}

int CContainerUI::HorizontalLineStep() const
{
    if (m_horizontalBar != nullptr && m_horizontalBar->GetLineSize() > 1)
        return m_horizontalBar->GetLineSize();
    return 8;
}

void CContainerUI::ScrollLineUp()
{
    const CUISize at = ScrollOffset();
    SetScrollOffset(SIZE{at.cx, AddClamped(at.cy, -static_cast<long long>(VerticalLineStep()))}, true);
}

void CContainerUI::ScrollLineDown()
{
    const CUISize at = ScrollOffset();
    SetScrollOffset(SIZE{at.cx, AddClamped(at.cy, VerticalLineStep())}, true);
}

void CContainerUI::ScrollPageUp()
{
    const CUISize at = ScrollOffset();
    long long page = static_cast<long long>(m_itemRect.GetHeight()) - m_inset.top - m_inset.bottom;
    if (IsShown(m_horizontalBar))
        page -= m_horizontalBar->GetFixedHeight();
    SetScrollOffset(SIZE{at.cx, AddClamped(at.cy, -page)}, true);
}

void CContainerUI::ScrollPageDown()
{
    const CUISize at = ScrollOffset();
    long long page = static_cast<long long>(m_itemRect.GetHeight()) - m_inset.top - m_inset.bottom;
    if (IsShown(m_horizontalBar))
        page -= m_horizontalBar->GetFixedHeight();
    SetScrollOffset(SIZE{at.cx, AddClamped(at.cy, page)}, true);
}

void CContainerUI::ScrollToTop()
{
    SetScrollOffset(SIZE{ScrollOffset().cx, 0}, true);
}

void CContainerUI::ScrollToBottom()
{
    m_scrollToEndPending = true;
    if (m_manager != nullptr)
        m_manager->AddOverlayPainter(this);
}

void CContainerUI::ScrollLineLeft()
{
    const CUISize at = ScrollOffset();
    SetScrollOffset(SIZE{AddClamped(at.cx, -static_cast<long long>(HorizontalLineStep())), at.cy}, true);
}

void CContainerUI::ScrollLineRight()
{
    const CUISize at = ScrollOffset();
    SetScrollOffset(SIZE{AddClamped(at.cx, HorizontalLineStep()), at.cy}, true);
}

void CContainerUI::ScrollPageLeft()
{
    const CUISize at = ScrollOffset();
    long long page = static_cast<long long>(m_itemRect.GetWidth()) - m_inset.left - m_inset.right;
    if (IsShown(m_verticalBar))
        page -= m_verticalBar->GetFixedWidth();
    SetScrollOffset(SIZE{AddClamped(at.cx, -page), at.cy}, true);
}

void CContainerUI::ScrollPageRight()
{
    const CUISize at = ScrollOffset();
    long long page = static_cast<long long>(m_itemRect.GetWidth()) - m_inset.left - m_inset.right;
    if (IsShown(m_verticalBar))
        page -= m_verticalBar->GetFixedWidth();
    SetScrollOffset(SIZE{AddClamped(at.cx, page), at.cy}, true);
}

void CContainerUI::ScrollToLeft()
{
    SetScrollOffset(SIZE{0, ScrollOffset().cy}, true);
}

void CContainerUI::ScrollToRight()
{
    SetScrollOffset(SIZE{ScrollExtent().cx, ScrollOffset().cy}, true);
}

void CContainerUI::PaintOverlay(HDC dc, const RECT& paintRect)
{
    if (m_scrollToEndPending)
    {
        m_scrollToEndPending = false;
        SetScrollOffset(SIZE{ScrollOffset().cx, ScrollExtent().cy}, true);
        if (m_manager != nullptr)
            m_manager->RemoveOverlayPainter(this);
    }
    CControlUI::PaintOverlay(dc, paintRect);
}

// ==== Scroll bars ===========================================================

void CContainerUI::ShowScrollBars(ScrollBarChoice vertical, ScrollBarChoice horizontal)
{
    const auto make = [this](bool isHorizontal) {
        CScrollBarUI* bar = new CScrollBarUI();
        bar->SetScrollOffset(0, false);
        bar->SetOwner(this);
        bar->BindManager(m_manager, nullptr, false);
        if (isHorizontal)
            bar->SetHorizontal(true);
        if (m_manager != nullptr)
            bar->ApplyAttributeText(m_manager->GetDefaultAttributes(isHorizontal ? L"HScrollBar" : L"VScrollBar"));
        return bar;
    };
    if (vertical == ScrollBarChoice::Shown && m_verticalBar == nullptr)
        m_verticalBar = make(false);
    else if (vertical == ScrollBarChoice::Hidden && m_verticalBar != nullptr)
    {
        CScrollBarUI* bar = m_verticalBar;
        m_verticalBar = nullptr;
        bar->Delete();
    }
    if (horizontal == ScrollBarChoice::Shown && m_horizontalBar == nullptr)
        m_horizontalBar = make(true);
    else if (horizontal == ScrollBarChoice::Hidden && m_horizontalBar != nullptr)
    {
        CScrollBarUI* bar = m_horizontalBar;
        m_horizontalBar = nullptr;
        bar->Delete();
    }
    RequestLayout();
}

CScrollBarUI* CContainerUI::VerticalBar() const
{
    return m_verticalBar;
}

CScrollBarUI* CContainerUI::HorizontalBar() const
{
    return m_horizontalBar;
}

void CContainerUI::Relayout(bool invalidate)
{
    PlaceAt(IsFloat() ? RelativeRect() : GetPos(), invalidate);
}

// ==== Fitting the bars to the content =======================================

namespace {

// What fitting a bar to its axis did to it.
enum class BarChange
{
    StayedHidden,
    Appeared,
    Vanished,
    Kept,            // placed again; its range may have changed
    PositionShrank,  // a smaller range pulled its position back
};

// The slot of a horizontal bar: under rect, from its left edge to right.
RECT BelowSlot(const CUIRect& rect, int right, int height)
{
    return RECT{rect.left, rect.bottom, right, AddClamped(rect.bottom, height)};
}

void HideBar(CScrollBarUI& bar)
{
    bar.SetVisible(false);
    bar.SetScrollOffset(0, false);
}

// The rule of one bar along its own axis, given the room and the content's
// need along it. A hidden bar appears when the content does not fit. A
// visible one goes when nothing is left to scroll, unless scroll processing
// keeps it (a bar that has just appeared stays through the relayout it
// asked for); otherwise it takes slot and its range follows the need, as an
// absolute value, the bar hiding if that range is 0.
BarChange FitBar(CScrollBarUI& bar, long long room, long long need, bool processing, const RECT& slot)
{
    const long long range = need - room;
    if (!bar.IsVisible())
    {
        if (need <= room)
            return BarChange::StayedHidden;
        bar.SetVisible(true);
        bar.SetScrollRange(ClampToInt(range));
        bar.SetScrollOffset(0, true);
        return BarChange::Appeared;
    }
    if (range < 1 && !processing)
    {
        HideBar(bar);
        bar.SetScrollRange(0);
        return BarChange::Vanished;
    }
    bar.PlaceAt(slot, false);
    if (bar.GetScrollRange() == range)
        return BarChange::Kept;
    const int before = bar.GetScrollOffset();
    bar.SetScrollRange(ClampToInt(std::llabs(range)));
    if (bar.GetScrollRange() == 0)
        HideBar(bar);
    return bar.GetScrollOffset() < before ? BarChange::PositionShrank : BarChange::Kept;
}

// The horizontal bar when a vertical one follows it: shown, placed under
// rect and given its range while the content is wider than rect, hidden
// otherwise, whatever scroll processing says. A bar that appears takes its
// height off rect, one that goes gives it back. True when the bar went or
// its range changed (a bar that appears with its old range counts as
// unchanged).
bool FitHorizontalBeforeVertical(CScrollBarUI& bar, CUIRect& rect, long long requiredWidth)
{
    const long long width = rect.GetWidth();
    if (requiredWidth <= width)
    {
        if (!bar.IsVisible())
            return false;
        HideBar(bar);
        rect.bottom = AddClamped(rect.bottom, bar.GetFixedHeight());
        return true;
    }
    if (!bar.IsVisible())
    {
        bar.SetVisible(true);
        bar.SetScrollOffset(0, true);
        rect.bottom = AddClamped(rect.bottom, -static_cast<long long>(bar.GetFixedHeight()));
    }
    bar.PlaceAt(BelowSlot(rect, rect.right, bar.GetFixedHeight()), false);
    const long long range = requiredWidth - width;
    if (bar.GetScrollRange() == range)
        return false;
    bar.SetScrollRange(ClampToInt(range));
    return true;
}

// The vertical bar by the rule of FitBar, at the right of rect. When it
// appears or goes beside a visible horizontal bar, that bar's width and
// range follow its room, narrowed or widened by the vertical bar's width.
BarChange FitVerticalBar(CScrollBarUI& bar, CScrollBarUI* horizontal, const CUIRect& rect, long long requiredWidth,
                         long long requiredHeight, bool processing)
{
    const RECT slot{rect.right, rect.top, AddClamped(rect.right, bar.GetFixedWidth()), rect.bottom};
    const BarChange change = FitBar(bar, rect.GetHeight(), requiredHeight, processing, slot);
    if ((change == BarChange::Appeared || change == BarChange::Vanished) && IsShown(horizontal))
    {
        const long long barWidth = bar.GetFixedWidth();
        const long long right = rect.right + (change == BarChange::Appeared ? -barWidth : barWidth);
        horizontal->PlaceAt(BelowSlot(rect, ClampToInt(right), horizontal->GetFixedHeight()), false);
        horizontal->SetScrollRange(ClampToInt(requiredWidth - (right - rect.left)));
    }
    return change;
}

}  // namespace

void CContainerUI::UpdateScrollBars(const RECT& rect, int requiredWidth, int requiredHeight)
{
    ScrollRelayout next = FitScrollBars(rect, requiredWidth, requiredHeight);
    if (m_scrollRelayoutRunning)
    {
        // Called by the PlaceAt of the loop below, which does the relayout.
        m_nestedRelayout = next;
        return;
    }
    // Each relayout lays the children out in the room the bars now leave,
    // and the layout's own call back into this function fits the bars again
    // and leaves its request in m_nestedRelayout. Once a bar has appeared,
    // scroll processing stays set to the end, so no later pass of this run
    // takes a bar away again. A run usually ends after a relayout or two,
    // but a layout that gives its children the bar's range back as room
    // (stretched children held at their minimum width) may need one more
    // relayout per step of range growth: tens of them are seen. The bound
    // lies far above that and only keeps a layout that never settles from
    // relaying out without end.
    constexpr int kMaxRelayouts = 256;
    const bool wasProcessing = m_scrollProcessing;
    m_scrollRelayoutRunning = true;
    for (int done = 0; next != ScrollRelayout::None && done < kMaxRelayouts; ++done)
    {
        if (next == ScrollRelayout::AfterNewBar)
            m_scrollProcessing = true;
        m_nestedRelayout = ScrollRelayout::None;
        Relayout(next != ScrollRelayout::Quiet);
        next = m_nestedRelayout;
    }
    m_scrollRelayoutRunning = false;
    m_scrollProcessing = wasProcessing;
}

CContainerUI::ScrollRelayout CContainerUI::FitScrollBars(const RECT& given, int requiredWidth, int requiredHeight)
{
    // The layouts hand over their rectangle without the room of the bars
    // already shown: only a bar that appears now takes its room off it, and
    // one that goes gives it back.
    CUIRect rect(given);
    BarChange change = BarChange::StayedHidden;
    bool horizontalChanged = false;
    if (m_verticalBar != nullptr)
    {
        // The horizontal bar first: its height decides the vertical room.
        if (m_horizontalBar != nullptr)
            horizontalChanged = FitHorizontalBeforeVertical(*m_horizontalBar, rect, requiredWidth);
        change = FitVerticalBar(*m_verticalBar, m_horizontalBar, rect, requiredWidth, requiredHeight,
                                m_scrollProcessing);
    }
    else if (m_horizontalBar != nullptr)
    {
        change = FitBar(*m_horizontalBar, rect.GetWidth(), requiredWidth, m_scrollProcessing,
                        BelowSlot(rect, rect.right, m_horizontalBar->GetFixedHeight()));
    }
    switch (change)
    {
    case BarChange::Appeared:
        return ScrollRelayout::AfterNewBar;
    case BarChange::Vanished:
        return ScrollRelayout::Invalidating;
    case BarChange::PositionShrank:
        return ScrollRelayout::Quiet;
    // The last bar fitted is unchanged: a change of the horizontal bar
    // before it still asks for a relayout.
    case BarChange::StayedHidden:
        return horizontalChanged ? ScrollRelayout::Invalidating : ScrollRelayout::None;
    case BarChange::Kept:
        return horizontalChanged ? ScrollRelayout::Quiet : ScrollRelayout::None;
    }
    return ScrollRelayout::None;
}

}  // namespace DuiLib
