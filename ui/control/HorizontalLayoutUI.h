// CHorizontalLayoutUI: places the visible, non-float children left to right:
// fixed widths first, the rest shared equally among the stretchable ones,
// aligned by the child valign, and reports the needed size to the scroll
// bars. An optional separator strip lets the user drag the layout's width.
// Invariant: every extent handed to a child is held to the int range.
#pragma once

#include "ui/control/ContainerUI.h"
#include "ui/control/LayoutSeparator.h"

namespace DuiLib {

class CHorizontalLayoutUI : public CContainerUI
{
public:
    CHorizontalLayoutUI() = default;

    // "HorizontalLayout".
    const wchar_t* GetClass() const override;
    // This for "HorizontalLayout", else the container's names.
    void* CastTo(const wchar_t* name) override;
    // Set-cursor events when enabled with a separator.
    UINT ControlFlagBits() const override;
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // Separator dragging; everything else goes to the container.
    void HandleEvent(UIEvent& event) override;
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    // The preview bar of a running drag, then the container's overlay.
    void PaintOverlay(HDC dc, const RECT& paintRect) override;

    // Positive: a strip at the right edge; negative: at the left; 0: none.
    void SetSepWidth(int width) { m_separator.SetSize(width); }
    int GetSepWidth() const { return m_separator.GetSize(); }
    // Live resizing instead of a preview bar.
    void SetSepImmMode(bool immediate) { m_separator.SetImmediate(immediate, *this); }
    bool IsSepImmMode() const { return m_separator.IsImmediate(); }
    // The separator strip of the dragged rectangle (useNew during a drag)
    // or of the item rectangle.
    CUIRect GetThumbRect(bool useNew) const { return m_separator.ThumbRect(m_itemRect, useNew); }

private:
    CLayoutSeparator m_separator{LayoutAxis::Horizontal};
};

}  // namespace DuiLib
