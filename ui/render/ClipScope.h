// CClipScope: a device context's clip region narrowed to a rectangle (or a
// rounded rectangle) for the life of the object, as containers use around
// their children. Destruction puts the outer clip back.
#pragma once

#include <windows.h>

namespace DuiLib {

class CClipScope
{
public:
    // Clips dc to rect within its current clip box.
    CClipScope(HDC dc, const RECT& rect);
    // As above, further cut to the rounded rectangle round (its right and
    // bottom edges included) with the given ellipse width and height.
    CClipScope(HDC dc, const RECT& rect, const RECT& round, int ellipseWidth, int ellipseHeight);
    CClipScope(const CClipScope&) = delete;
    CClipScope& operator=(const CClipScope&) = delete;
    // Selects the outer clip and deletes both regions.
    ~CClipScope();

    // The clip as it was before the scope, to paint outside rect.
    void UseOuterClip();
    // The scope's own clip again.
    void UseInnerClip();

    const RECT& GetRect() const { return m_rect; }

private:
    void Begin(HRGN shape);

    HDC m_dc;
    RECT m_rect;
    HRGN m_outer = nullptr;
    HRGN m_inner = nullptr;
};

}  // namespace DuiLib
