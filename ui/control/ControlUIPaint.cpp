// CControlUI painting: the stop-control contract of Paint, the fixed order of
// PaintInto (background colour, background image, state image, text, border)
// and the base's background and border steps. The fills, gradients and
// strokes themselves are the render kit's; only rectangles, colours, steps
// and pen widths are chosen here.
#include "ui/control/ControlUI.h"

#include "ui/control/LayoutMath.h"
#include "ui/core/UIManager.h"
#include "ui/render/ClipScope.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

bool CControlUI::Paint(HDC dc, const RECT& paintRect, IControlUI* stopControl)
{
    if (stopControl == this)
        return false;
    RECT cut = {};
    const bool overlaps = IntersectRect(&cut, &paintRect, &m_itemRect) != FALSE;
    m_paintRect = cut;
    if (!overlaps)
        return true;
    if (m_paintHub && !m_paintHub(this))
        return true;
    if (!PaintInto(dc, m_paintRect, stopControl))
        return false;
    if (m_cover != nullptr)
        return m_cover->Paint(dc, paintRect, nullptr);
    return true;
}

bool CControlUI::PaintInto(HDC dc, const RECT& paintRect, IControlUI*)
{
    const auto paintSteps = [this, dc] {
        PaintBackColor(dc);
        PaintBackImage(dc);
        PaintStateImage(dc);
        PaintText(dc);
        PaintFrame(dc);
    };
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
    {
        CClipScope clip(dc, paintRect, m_itemRect, m_borderRound.cx, m_borderRound.cy);
        paintSteps();
    }
    else
    {
        paintSteps();
    }
    return true;
}

void CControlUI::PaintBackColor(HDC dc)
{
    if (m_bkColor == 0)
        return;
    if (m_bkColor2 == 0)
    {
        // A translucent colour covers the whole item so that it blends the
        // same everywhere; an opaque one needs only the area being painted.
        const RECT& area = m_bkColor < 0xFF000000u ? m_itemRect : m_paintRect;
        CRenderKit::FillColor(dc, area, AdjustedColor(m_bkColor));
        return;
    }
    if (m_bkColor3 != 0)
    {
        const int middle = ClampToInt((static_cast<long long>(m_itemRect.top) + m_itemRect.bottom) / 2);
        const RECT upper = {m_itemRect.left, m_itemRect.top, m_itemRect.right, middle};
        const RECT lower = {m_itemRect.left, middle, m_itemRect.right, m_itemRect.bottom};
        CRenderKit::FillGradient(dc, upper, AdjustedColor(m_bkColor), AdjustedColor(m_bkColor2),
                                 GradientDirection::Vertical, 8);
        CRenderKit::FillGradient(dc, lower, AdjustedColor(m_bkColor2), AdjustedColor(m_bkColor3),
                                 GradientDirection::Vertical, 8);
        return;
    }
    CRenderKit::FillGradient(dc, m_itemRect, AdjustedColor(m_bkColor), AdjustedColor(m_bkColor2),
                             GradientDirection::Vertical, 16);
}

void CControlUI::PaintBackImage(HDC dc)
{
    PaintImage(dc, m_bkImage);
}

void CControlUI::PaintStateImage(HDC dc)
{
    PaintImage(dc, m_foreImage);
}

void CControlUI::PaintText(HDC)
{
}

void CControlUI::PaintFrame(HDC dc)
{
    const CUIRect& sizes = m_borderSize;
    if (sizes.left <= 0 && sizes.top <= 0 && sizes.right <= 0 && sizes.bottom <= 0)
        return;
    if (m_borderColor == 0 && m_focusBorderColor == 0)
        return;
    const DWORD color = AdjustedColor(m_focused && m_focusBorderColor != 0 ? m_focusBorderColor : m_borderColor);
    const CUIRect& item = m_itemRect;

    if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
    {
        CRenderKit::StrokeRoundRect(dc, item, sizes.left, m_borderRound.cx, m_borderRound.cy, color, m_borderStyle);
        return;
    }
    if (sizes.left == sizes.top && sizes.left == sizes.right && sizes.left == sizes.bottom)
    {
        CRenderKit::StrokeRect(dc, item, sizes.left, color, m_borderStyle);
        return;
    }

    // Each side is a line whose pen is centred on it: half the width inside
    // the item. An odd width on the right or bottom moves one pixel inwards,
    // since the item's right and bottom edges lie just outside it.
    const int innerLeft = AddClamped(item.left, sizes.left);
    const int innerRight = AddClamped(item.right, -static_cast<long long>(sizes.right));
    if (sizes.left > 0)
    {
        const int x = AddClamped(item.left, sizes.left / 2);
        CRenderKit::StrokeLine(dc, CUIRect(x, item.top, x, item.bottom), sizes.left, color, m_borderStyle);
    }
    if (sizes.top > 0)
    {
        const int y = AddClamped(item.top, sizes.top / 2);
        CRenderKit::StrokeLine(dc, CUIRect(innerLeft, y, innerRight, y), sizes.top, color, m_borderStyle);
    }
    if (sizes.right > 0)
    {
        const int x = ClampToInt(static_cast<long long>(item.right) - sizes.right / 2 - sizes.right % 2);
        CRenderKit::StrokeLine(dc, CUIRect(x, item.top, x, item.bottom), sizes.right, color, m_borderStyle);
    }
    if (sizes.bottom > 0)
    {
        const int y = ClampToInt(static_cast<long long>(item.bottom) - sizes.bottom / 2 - sizes.bottom % 2);
        CRenderKit::StrokeLine(dc, CUIRect(innerLeft, y, innerRight, y), sizes.bottom, color, m_borderStyle);
    }
}

void CControlUI::PaintOverlay(HDC, const RECT&)
{
    if (m_postPaintHub)
        m_postPaintHub(this);
}

bool CControlUI::PaintImage(HDC dc, ImageDrawSpec& spec)
{
    return CRenderKit::PaintImageSpec(dc, m_manager, m_itemRect, m_paintRect, spec);
}

}  // namespace DuiLib
