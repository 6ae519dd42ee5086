// CContainerUI scrolling: positions and steps, the scroll bars' creation,
// and UpdateScrollBars, which the layouts call with the size they need. The
// bars clamp positions themselves; this file moves the children to match.
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

void CContainerUI::UpdateScrollBars(const RECT& given, int requiredWidth, int requiredHeight)
{
    CUIRect rect(given);
    bool horizontalChanged = false;
    if (m_horizontalBar != nullptr)
    {
        CScrollBarUI* bar = m_horizontalBar;
        const long long width = rect.GetWidth();
        const long long range = requiredWidth - width;
        if (m_verticalBar == nullptr)
        {
            // Only a horizontal bar.
            if (requiredWidth > width && !bar->IsVisible())
            {
                bar->SetVisible(true);
                bar->SetScrollRange(ClampToInt(range));
                bar->SetScrollOffset(0, true);
                m_scrollProcessing = true;
                Relayout(true);
                m_scrollProcessing = false;
            }
            else if (bar->IsVisible())
            {
                if (range < 1 && !m_scrollProcessing)
                {
                    bar->SetVisible(false);
                    bar->SetScrollOffset(0, false);
                    bar->SetScrollRange(0);
                    Relayout(true);
                }
                else
                {
                    bar->PlaceAt(RECT{rect.left, rect.bottom, rect.right,
                                      AddClamped(rect.bottom, bar->GetFixedHeight())},
                                 false);
                    if (bar->GetScrollRange() != range)
                    {
                        const int before = bar->GetScrollOffset();
                        bar->SetScrollRange(ClampToInt(std::llabs(range)));
                        if (bar->GetScrollRange() == 0)
                        {
                            bar->SetVisible(false);
                            bar->SetScrollOffset(0, false);
                        }
                        if (bar->GetScrollOffset() < before)
                            Relayout(false);
                    }
                }
            }
            return;
        }
        // Both bars: the horizontal one first.
        if (requiredWidth > width)
        {
            // The layouts hand over their rectangle without the room of the
            // bars already shown: only a bar that appears now takes its
            // height off it. Taking it again from a shown bar would put the
            // bar over the children and scroll the content a bar too far.
            if (!bar->IsVisible())
            {
                bar->SetVisible(true);
                bar->SetScrollOffset(0, true);
                rect.bottom = AddClamped(rect.bottom, -static_cast<long long>(bar->GetFixedHeight()));
            }
            bar->PlaceAt(RECT{rect.left, rect.bottom, rect.right, AddClamped(rect.bottom, bar->GetFixedHeight())},
                         false);
            if (bar->GetScrollRange() != range)
            {
                bar->SetScrollRange(ClampToInt(range));
                horizontalChanged = true;
            }
        }
        else if (bar->IsVisible())
        {
            bar->SetVisible(false);
            bar->SetScrollOffset(0, false);
            rect.bottom = AddClamped(rect.bottom, bar->GetFixedHeight());
            horizontalChanged = true;
        }
    }
    if (m_verticalBar == nullptr)
        return;
    CScrollBarUI* bar = m_verticalBar;
    const long long height = rect.GetHeight();
    const long long range = requiredHeight - height;
    // When the vertical bar appears or goes, the horizontal bar's width and
    // range follow its new room.
    const auto refitHorizontal = [&](long long rightEdge) {
        if (!IsShown(m_horizontalBar))
            return;
        m_horizontalBar->PlaceAt(RECT{rect.left, rect.bottom, ClampToInt(rightEdge),
                                      AddClamped(rect.bottom, m_horizontalBar->GetFixedHeight())},
                                 false);
        m_horizontalBar->SetScrollRange(ClampToInt(requiredWidth - (rightEdge - rect.left)));
    };
    if (requiredHeight > height && !bar->IsVisible())
    {
        bar->SetVisible(true);
        bar->SetScrollRange(ClampToInt(range));
        bar->SetScrollOffset(0, true);
        refitHorizontal(static_cast<long long>(rect.right) - bar->GetFixedWidth());
        m_scrollProcessing = true;
        Relayout(true);
        m_scrollProcessing = false;
        return;
    }
    if (!bar->IsVisible())
    {
        if (horizontalChanged)
            Relayout(true);
        return;
    }
    if (range < 1 && !m_scrollProcessing)
    {
        bar->SetVisible(false);
        bar->SetScrollOffset(0, false);
        bar->SetScrollRange(0);
        refitHorizontal(static_cast<long long>(rect.right) + bar->GetFixedWidth());
        Relayout(true);
        return;
    }
    bar->PlaceAt(RECT{rect.right, rect.top, AddClamped(rect.right, bar->GetFixedWidth()), rect.bottom}, false);
    bool shrank = false;
    if (bar->GetScrollRange() != range)
    {
        const int before = bar->GetScrollOffset();
        bar->SetScrollRange(ClampToInt(std::llabs(range)));
        if (bar->GetScrollRange() == 0)
        {
            bar->SetVisible(false);
            bar->SetScrollOffset(0, false);
        }
        shrank = bar->GetScrollOffset() < before;
    }
    if (shrank || horizontalChanged)
        Relayout(false);
}

}  // namespace DuiLib
