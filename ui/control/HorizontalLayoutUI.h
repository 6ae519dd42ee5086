// CHorizontalLayoutUI: the linear layout that places its visible, non-float
// children left to right, aligned by the child valign. An optional separator
// strip lets the user drag the layout's width.
#pragma once

#include "ui/control/LinearLayoutUI.h"

namespace DuiLib {

class CHorizontalLayoutUI : public CLinearLayoutUI
{
public:
    CHorizontalLayoutUI() : CLinearLayoutUI(LayoutAxis::Horizontal) {}

    // "HorizontalLayout".
    const wchar_t* GetClass() const override;
    // This for "HorizontalLayout", else the container's names.
    void* CastTo(const wchar_t* name) override;
    // "sepwidth", then the linear layout's attributes.
    const ControlAttributeTable& GetAttributeTable() const override;

    // Positive: a strip at the right edge; negative: at the left; 0: none.
    void SetSepWidth(int width) { m_separator.SetSize(width); }
    int GetSepWidth() const { return m_separator.GetSize(); }
};

}  // namespace DuiLib
