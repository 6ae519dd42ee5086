// CLayoutSeparator: the draggable separator strip that lets the user resize
// a linear layout along its axis (width of a horizontal one, height of a
// vertical one), with a live or a preview drag. The layout owns one and
// forwards its events; the layout's own placement is not touched here.
// Invariant: edges are moved in 64 bits and held to the int range.
#pragma once

#include <windows.h>

#include "ui/control/UIEvent.h"
#include "ui/core/UIRect.h"

namespace DuiLib {

class CControlUI;

// Bit of the separator's button state while it is dragged.
constexpr UINT kSeparatorDragged = 0x40;

// The axis along which a linear layout places its children.
enum class LayoutAxis
{
    Horizontal,  // x, widths, left/right
    Vertical,    // y, heights, top/bottom
};

class CLayoutSeparator
{
public:
    explicit CLayoutSeparator(LayoutAxis axis) : m_axis(axis) {}

    // Positive: a strip of that size at the high edge (right, bottom);
    // negative: of the absolute size at the low edge (left, top); 0: none.
    void SetSize(int size) { m_size = size; }
    int GetSize() const { return m_size; }
    bool IsDragging() const { return (m_buttonState & kSeparatorDragged) != 0; }
    bool IsImmediate() const { return m_immediate; }
    // Live resizing instead of a preview bar. A preview drag that is running
    // takes owner off its manager's post-paint list.
    void SetImmediate(bool immediate, CControlUI& owner);

    // The strip of the dragged rectangle (useNew during a drag) or of
    // itemRect. Only the vertical strip is clamped into its base rectangle.
    CUIRect ThumbRect(const CUIRect& itemRect, bool useNew) const;

    // One drag step of owner, whose item rectangle and fixed extent along
    // the axis are itemRect and fixedExtent: button down on the strip, mouse
    // moves while dragging, button up, and the sizing cursor over the strip.
    // True when the event was consumed; false sends it on to the container.
    bool HandleEvent(UIEvent& event, CControlUI& owner, CUIRect& itemRect, LONG& fixedExtent);

    // The translucent preview bar of a running preview drag; nothing else.
    void PaintPreview(HDC dc, const CUIRect& itemRect) const;

private:
    // m_newPos with its dragged edge moved by delta along the axis, held to
    // [minimum, maximum] in extent, into moved; false when the move is
    // ignored (the pointer at coordinate has not reached the strip, or the
    // extent already sits at the limit it would pass).
    bool DragEdge(long long delta, long long coordinate, int minimum, int maximum, CUIRect& moved) const;

    LayoutAxis m_axis;
    int m_size = 0;
    UINT m_buttonState = 0;
    POINT m_lastMouse = {0, 0};
    CUIRect m_newPos;
    bool m_immediate = false;
};

}  // namespace DuiLib
