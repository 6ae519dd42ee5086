// CClipScope: records the device context's clip box as the outer region,
// selects its intersection with the scope's shape as the inner one, and
// restores the outer region on destruction. The outer clip is the clip box,
// a rectangle, so a complex clip outside the scope comes back as its bounds.
#include "ui/render/ClipScope.h"

namespace DuiLib {

CClipScope::CClipScope(HDC dc, const RECT& rect) : m_dc(dc), m_rect(rect)
{
    Begin(nullptr);
}

CClipScope::CClipScope(HDC dc, const RECT& rect, const RECT& round, int ellipseWidth, int ellipseHeight)
    : m_dc(dc), m_rect(rect)
{
    // CreateRoundRectRgn leaves out the right and bottom edges; one more
    // pixel keeps the rounded border itself inside the clip.
    HRGN shape = CreateRoundRectRgn(round.left, round.top, round.right + 1, round.bottom + 1, ellipseWidth,
                                    ellipseHeight);
    Begin(shape);
    if (shape != nullptr)
        DeleteObject(shape);
}

void CClipScope::Begin(HRGN shape)
{
    RECT clipBox = {0, 0, 0, 0};
    GetClipBox(m_dc, &clipBox);
    m_outer = CreateRectRgnIndirect(&clipBox);
    m_inner = CreateRectRgnIndirect(&m_rect);
    if (m_inner == nullptr)
        return;
    if (shape != nullptr)
        CombineRgn(m_inner, m_inner, shape, RGN_AND);
    if (m_outer != nullptr)
        CombineRgn(m_inner, m_inner, m_outer, RGN_AND);
    SelectClipRgn(m_dc, m_inner);
}

CClipScope::~CClipScope()
{
    SelectClipRgn(m_dc, m_outer);
    if (m_inner != nullptr)
        DeleteObject(m_inner);
    if (m_outer != nullptr)
        DeleteObject(m_outer);
}

void CClipScope::UseOuterClip()
{
    SelectClipRgn(m_dc, m_outer);
}

void CClipScope::UseInnerClip()
{
    SelectClipRgn(m_dc, m_inner);
}

}  // namespace DuiLib
