// CControlUI layout: placement (PlaceAt with float anchors and the cover,
// Move), the layout properties whose setters ask for a new layout, and the
// invalidation that turns changes into repaints and layout passes. The
// arithmetic is held to the int range (LayoutMath.h).
#include "ui/control/ControlUI.h"

#include "ui/control/LayoutMath.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace {

bool IsEmptyArea(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// Intersects area with bound in place; false when nothing is left.
bool CutBy(CUIRect& area, const RECT& bound)
{
    RECT cut = {};
    const bool left = IntersectRect(&cut, &area, &bound) != FALSE;
    area = cut;
    return left;
}

// value raised to low, then lowered to high (so high wins a crossed range).
int ClampMinThenMax(int value, int low, int high)
{
    if (value < low)
        value = low;
    if (value > high)
        value = high;
    return value;
}

}  // namespace

// ---- Placement ------------------------------------------------------------------------

CUIRect CControlUI::GetPos() const
{
    return m_itemRect;
}

CUIRect CControlUI::RelativeRect() const
{
    if (m_parent == nullptr)
        return CUIRect();
    const CUIRect parent = m_parent->GetPos();
    CUIRect relative = m_itemRect;
    relative.Offset(-parent.left, -parent.top);
    return relative;
}

CUIRect CControlUI::ClientRect() const
{
    return m_itemRect;
}

bool CControlUI::ClipToAncestors(CUIRect& area, AncestorCheck check) const
{
    for (IControlUI* ancestor = m_parent; ancestor != nullptr; ancestor = ancestor->GetParent())
    {
        if (check == AncestorCheck::Visibility && !ancestor->IsVisible())
            return false;
        if (!CutBy(area, ancestor->GetPos()))
            return false;
    }
    return true;
}

void CControlUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CUIRect given = rect;
    if (given.right < given.left)
        given.right = given.left;
    if (given.bottom < given.top)
        given.bottom = given.top;

    const CUIRect old = m_itemRect;
    if (m_float)
    {
        if (m_parent != nullptr)
        {
            const CUIRect parent = m_parent->GetPos();
            m_itemRect = CUIRect(AddClamped(given.left, parent.left), AddClamped(given.top, parent.top),
                                 AddClamped(given.right, parent.left), AddClamped(given.bottom, parent.top));
            const int width = ExtentBetween(parent.left, parent.right);
            const int height = ExtentBetween(parent.top, parent.bottom);
            const long long anchorLeft = ScaleTruncated(width, m_floatPercent.left);
            const long long anchorTop = ScaleTruncated(height, m_floatPercent.top);
            const long long anchorRight = ScaleTruncated(width, m_floatPercent.right);
            const long long anchorBottom = ScaleTruncated(height, m_floatPercent.bottom);
            m_fixedXY.cx = ClampToInt(given.left - anchorLeft);
            m_fixedXY.cy = ClampToInt(given.top - anchorTop);
            m_fixedSize.cx = ClampToInt(given.right - anchorRight - m_fixedXY.cx);
            m_fixedSize.cy = ClampToInt(given.bottom - anchorBottom - m_fixedXY.cy);
        }
    }
    else
    {
        m_itemRect = given;
    }
    // The old area is repainted too, unless there was none: then only the new
    // one (joining an empty rectangle would pull the area to the origin).
    CUIRect invalid = IsEmptyArea(old) ? m_itemRect : old;

    if (m_manager == nullptr)
        return;

    if (!m_inSizeEvent)
    {
        m_inSizeEvent = true;
        if (m_sizeHub)
            m_sizeHub(this);
        m_inSizeEvent = false;
    }
    m_updateNeeded = false;

    if (invalidate && IsVisible())
    {
        invalid.Join(m_itemRect);
        // A hidden ancestor or an empty cut ends the whole placement here:
        // whatever lies inside would not be seen until that ancestor asks
        // for a new layout, which places this control (and its cover) again.
        if (!ClipToAncestors(invalid, AncestorCheck::Visibility))
            return;
        m_manager->Invalidate(invalid);
    }
    PlaceCover(given);
}

void CControlUI::PlaceCover(const CUIRect& given)
{
    if (m_cover == nullptr || !m_cover->IsVisible())
        return;
    if (m_cover->IsFloat())
    {
        const int width = ExtentBetween(m_itemRect.left, m_itemRect.right);
        const int height = ExtentBetween(m_itemRect.top, m_itemRect.bottom);
        const CUISize xy = m_cover->GetFixedXY();
        const FloatPercent anchors = m_cover->GetFloatPercent();
        const long long left = ScaleTruncated(width, anchors.left);
        const long long top = ScaleTruncated(height, anchors.top);
        const long long right = ScaleTruncated(width, anchors.right);
        const long long bottom = ScaleTruncated(height, anchors.bottom);
        const RECT place = {ClampToInt(left + xy.cx), ClampToInt(top + xy.cy),
                            ClampToInt(right + xy.cx + m_cover->GetFixedWidth()),
                            ClampToInt(bottom + xy.cy + m_cover->GetFixedHeight())};
        m_cover->PlaceAt(place, false);
        return;
    }
    const int width =
        ClampMinThenMax(ExtentBetween(given.left, given.right), m_cover->GetMinWidth(), m_cover->GetMaxWidth());
    const int height =
        ClampMinThenMax(ExtentBetween(given.top, given.bottom), m_cover->GetMinHeight(), m_cover->GetMaxHeight());
    const RECT place = {given.left, given.top, AddClamped(given.left, width), AddClamped(given.top, height)};
    m_cover->PlaceAt(place, false);
}

void CControlUI::Move(int dx, int dy, bool invalidate)
{
    const CUIRect old = m_itemRect;
    m_itemRect = CUIRect(AddClamped(old.left, dx), AddClamped(old.top, dy), AddClamped(old.right, dx),
                         AddClamped(old.bottom, dy));
    if (invalidate && m_manager != nullptr && IsVisible())
    {
        CUIRect invalid = old;
        invalid.Join(m_itemRect);
        if (!ClipToAncestors(invalid, AncestorCheck::Visibility))
            return;
        m_manager->Invalidate(invalid);
    }
    if (m_cover != nullptr && m_cover->IsVisible())
        m_cover->Move(dx, dy, false);
}

int CControlUI::GetWidth() const
{
    return ExtentBetween(m_itemRect.left, m_itemRect.right);
}

int CControlUI::GetHeight() const
{
    return ExtentBetween(m_itemRect.top, m_itemRect.bottom);
}

int CControlUI::GetX() const
{
    return m_itemRect.left;
}

int CControlUI::GetY() const
{
    return m_itemRect.top;
}

CUISize CControlUI::MeasureDesired(const SIZE&)
{
    return m_fixedSize;
}

// ---- Layout properties ---------------------------------------------------------------

CUIRect CControlUI::GetPadding() const
{
    return m_padding;
}

void CControlUI::SetPadding(const RECT& padding)
{
    m_padding = padding;
    RequestParentLayout();
}

CUISize CControlUI::GetFixedXY() const
{
    return m_fixedXY;
}

void CControlUI::SetFixedXY(const SIZE& xy)
{
    m_fixedXY = xy;
    RequestParentLayout();
}

FloatPercent CControlUI::GetFloatPercent() const
{
    return m_floatPercent;
}

void CControlUI::SetFloatPercent(double left, double top, double right, double bottom)
{
    m_floatPercent = FloatPercent{left, top, right, bottom};
    RequestParentLayout();
}

int CControlUI::GetFixedWidth() const
{
    return m_fixedSize.cx;
}

void CControlUI::SetFixedWidth(int width)
{
    if (width < 0)
        return;
    m_fixedSize.cx = width;
    RequestParentLayout();
}

int CControlUI::GetFixedHeight() const
{
    return m_fixedSize.cy;
}

void CControlUI::SetFixedHeight(int height)
{
    if (height < 0)
        return;
    m_fixedSize.cy = height;
    RequestParentLayout();
}

int CControlUI::GetMinWidth() const
{
    return m_minSize.cx;
}

void CControlUI::SetMinWidth(int width)
{
    if (width < 0 || width == m_minSize.cx)
        return;
    m_minSize.cx = width;
    RequestParentLayout();
}

int CControlUI::GetMaxWidth() const
{
    return m_maxSize.cx > m_minSize.cx ? m_maxSize.cx : m_minSize.cx;
}

void CControlUI::SetMaxWidth(int width)
{
    if (width < 0 || width == m_maxSize.cx)
        return;
    m_maxSize.cx = width;
    RequestParentLayout();
}

int CControlUI::GetMinHeight() const
{
    return m_minSize.cy;
}

void CControlUI::SetMinHeight(int height)
{
    if (height < 0 || height == m_minSize.cy)
        return;
    m_minSize.cy = height;
    RequestParentLayout();
}

int CControlUI::GetMaxHeight() const
{
    return m_maxSize.cy > m_minSize.cy ? m_maxSize.cy : m_minSize.cy;
}

void CControlUI::SetMaxHeight(int height)
{
    if (height < 0 || height == m_maxSize.cy)
        return;
    m_maxSize.cy = height;
    RequestParentLayout();
}

// ---- Invalidation and layout requests ---------------------------------------------------

void CControlUI::Invalidate()
{
    if (!IsVisible() || m_manager == nullptr)
        return;
    CUIRect area = m_itemRect;
    if (!ClipToAncestors(area, AncestorCheck::None))
        return;
    m_manager->Invalidate(area);
}

void CControlUI::RequestLayout()
{
    if (!IsVisible())
        return;
    m_updateNeeded = true;
    Invalidate();
    if (m_manager != nullptr)
        m_manager->RequestLayout();
}

void CControlUI::RequestParentLayout()
{
    if (m_parent != nullptr)
    {
        m_parent->RequestLayout();
        m_parent->Invalidate();
    }
    else
    {
        RequestLayout();
    }
    if (m_manager != nullptr)
        m_manager->RequestLayout();
}

bool CControlUI::IsLayoutPending() const
{
    return m_updateNeeded;
}

}  // namespace DuiLib
