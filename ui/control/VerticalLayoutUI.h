// CVerticalLayoutUI: the linear layout that places its visible, non-float
// children top to bottom, aligned by the child align. An optional separator
// strip lets the user drag the layout's height.
#pragma once

#include "ui/control/LinearLayoutUI.h"

namespace DuiLib {

class CVerticalLayoutUI : public CLinearLayoutUI
{
public:
    CVerticalLayoutUI() : CLinearLayoutUI(LayoutAxis::Vertical) {}

    // "VerticalLayout".
    const wchar_t* GetClass() const override;
    // This for "VerticalLayout", else the container's names.
    void* CastTo(const wchar_t* name) override;
    // "sepheight", then the linear layout's attributes.
    const ControlAttributeTable& GetAttributeTable() const override;

    // Positive: a strip at the bottom edge; negative: at the top; 0: none.
    void SetSepHeight(int height) { m_separator.SetSize(height); }
    int GetSepHeight() const { return m_separator.GetSize(); }
};

}  // namespace DuiLib
