// CLinearLayoutUI: the part the horizontal and the vertical layout share:
// the two-pass placement along one axis (estimate, then place) and the
// separator strip that lets the user drag the layout's extent. The derived
// classes add their names and their separator attribute.
// Invariant: every extent handed to a child is held to the int range.
#pragma once

#include "ui/control/ContainerUI.h"
#include "ui/control/LayoutSeparator.h"

namespace DuiLib {

class CLinearLayoutUI : public CContainerUI
{
public:
    // Set-cursor events when enabled with a separator.
    UINT ControlFlagBits() const override;
    // Fixed extents first, the rest shared equally among the stretchable
    // children, aligned on the cross axis; the needed size goes to the
    // scroll bars.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // Separator dragging; everything else goes to the container.
    void HandleEvent(UIEvent& event) override;
    // "sepimm", then the container's attributes.
    const ControlAttributeTable& GetAttributeTable() const override;
    // The preview bar of a running drag, then the container's overlay.
    void PaintOverlay(HDC dc, const RECT& paintRect) override;

    // Live resizing instead of a preview bar.
    void SetSepImmMode(bool immediate) { m_separator.SetImmediate(immediate, *this); }
    bool IsSepImmMode() const { return m_separator.IsImmediate(); }
    // The separator strip of the dragged rectangle (useNew during a drag)
    // or of the item rectangle.
    CUIRect GetThumbRect(bool useNew) const { return m_separator.ThumbRect(m_itemRect, useNew); }

protected:
    explicit CLinearLayoutUI(LayoutAxis axis) : m_axis(axis), m_separator(axis) {}

    const LayoutAxis m_axis;
    CLayoutSeparator m_separator;

private:
    // The placement of the non-empty child list inside rc along A.
    template <LayoutAxis A>
    void PlaceAlong(const CUIRect& rc);
};

}  // namespace DuiLib
