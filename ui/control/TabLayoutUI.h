// CTabLayoutUI: a container that shows one child, the selected page, over
// its whole client area and keeps every other page hidden. Switching pages
// moves the focus and reports "tabselect"; the pages draw themselves.
// Invariant: the selection is -1 or the index of an existing child.
#pragma once

#include "ui/control/ContainerUI.h"

namespace DuiLib {

class CTabLayoutUI : public CContainerUI
{
public:
    // "TabLayout".
    const wchar_t* GetClass() const override;
    // This control for "TabLayout", else the container's names.
    void* CastTo(const wchar_t* name) override;
    // The first visible page added to a layout without a selection becomes
    // the selected page; every other page is hidden.
    bool Add(IControlUI* control) override;
    // As Add; a page inserted before the selected one keeps the same page
    // selected (and is hidden too).
    bool InsertChildAt(IControlUI* control, int index) override;
    // Removing the selected page selects page 0 (or nothing when none is
    // left); removing an earlier page keeps the same page selected.
    bool Remove(IControlUI* control, ChildDisposal disposal) override;
    // Clears the selection too.
    void RemoveAll() override;
    // The selected page over the client area less its padding, at the size it
    // asks for; the other pages are not placed. No scroll bars.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // "selectedid" selects that page (and is kept as a custom attribute
    // too); then the container's attributes.
    const ControlAttributeTable& GetAttributeTable() const override;

    // A page tab list whose parts are its pages, in order: each a page tab
    // (selected, or invisible while another page shows) holding the page's
    // children, named as the page would be.
    void DescribeAccess(int part, AccessDescription& description) const override;
    // A page's action selects it, as SelectItem with notification does.
    bool DoAccessAction(int part) override;

    // -1 when no page is selected.
    int GetCurrentSel() const { return m_selected; }
    // Shows page index, gives it the focus and hides the others, then moves
    // the focus to the next tab stop and, with notify, sends "tabselect"
    // (wParam the new index, lParam the old one). False for an index
    // outside 0..count-1; true at once when index is already selected.
    bool SelectItem(int index, bool notify = true);

private:
    int m_selected = -1;
};

}  // namespace DuiLib
