// CContainerUI: a control that owns an ordered list of children, stacks them
// in its client area, paints them clipped, routes hit tests through them and
// scrolls them with its two optional scroll bars. The linear and other
// layouts derive from it and replace PlaceAt; the bars draw themselves.
// Invariant: a child leaves the list only after it was deleted, queued for
// deletion or released, so the list never holds a freed control.
#pragma once

#include <windows.h>

#include "ui/control/ContainerInterface.h"
#include "ui/control/ControlUI.h"
#include "ui/core/PtrList.h"

namespace DuiLib {

class CScrollBarUI;

// Which bars ShowScrollBars wants.
enum class ScrollBarChoice
{
    Hidden,
    Shown,
};

class CContainerUI : public CControlUI, public IContainerUI
{
public:
    CContainerUI();
    // Leaves post-painting, deletes every child at once (never deferred) and
    // both scroll bars.
    ~CContainerUI() override;

    // ==== IContainerUI ======================================================
    IControlUI* ChildAt(int index) const override;
    int IndexOfChild(IControlUI* control) const override;
    bool MoveChildTo(IControlUI* control, int index) override;
    bool MoveChildrenTo(IControlUI* control, int count, int index) override;
    int GetCount() const override;
    bool Add(IControlUI* control) override;
    bool InsertChildAt(IControlUI* control, int index) override;
    bool Remove(IControlUI* control, ChildDisposal disposal) override;
    bool RemoveChildAt(int index, ChildDisposal disposal) override;
    void RemoveAll() override;

    // ==== Replaced control operations =======================================
    // "Container".
    const wchar_t* GetClass() const override;
    // The IContainerUI part for "IContainer", this for "Container", else the base.
    void* CastTo(const wchar_t* name) override;
    // Binds every child and both bars with the container as parent, then itself.
    void BindManager(CUIManager* manager, IControlUI* parent, bool init) override;
    // The item rectangle less the inset and the visible bars.
    CUIRect ClientRect() const override;
    // Stacks every visible child at the scrolled child area's top-left.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    void Move(int dx, int dy, bool invalidate) override;
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    void SetMouseEnabled(bool enabled) override;
    // Searches the cover, the bars and then the children; a hit test finds a
    // non-float child only inside the child area.
    IControlUI* LocateControl(LocateControlProc proc, void* data, UINT flags) override;
    // Scrolling keys and the wheel; the rest goes to the base.
    void HandleEvent(UIEvent& event) override;
    // Inset, child spacing and alignment, and the scroll bars.
    const ControlAttributeTable& GetAttributeTable() const override;
    // The base painting clipped to the item rectangle, then the children
    // clipped to the child area, then the bars; false at stopControl.
    bool PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    // Serves a pending ScrollToBottom, then the base.
    void PaintOverlay(HDC dc, const RECT& paintRect) override;
    // A container with a name (text or tool tip) is a grouping; one without
    // has no role of its own, so its children stand for it.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // ==== Container operations ==============================================
    virtual CUIRect GetInset() const;
    virtual void SetInset(const RECT& inset);
    virtual int GetChildPadding() const;
    // Negative becomes 0.
    virtual void SetChildPadding(int padding);
    // 0 left, 1 centre, 2 right.
    virtual int GetChildAlign() const;
    virtual void SetChildAlign(int align);
    // 0 top, 4 vcentre, 8 bottom.
    virtual int GetChildVAlign() const;
    virtual void SetChildVAlign(int align);
    virtual bool OwnsChildren() const;
    virtual void SetOwnsChildren(bool owns);
    virtual bool DefersDelete() const;
    virtual void SetDeferredDelete(bool defers);
    virtual bool ChildMouseEnabled() const;
    virtual void SetChildMouseEnabled(bool enabled);
    // The first visible, enabled list item from index (clamped) in the
    // direction asked; backward falls back to the first forward; -1 if none.
    virtual int FindSelectable(int index, bool forward) const;
    // Positions and ranges (cx horizontal, cy vertical); 0 for a missing or
    // hidden bar.
    virtual CUISize ScrollOffset() const;
    virtual CUISize ScrollExtent() const;
    // Sets both bars (each clamps) and moves the non-float children by the
    // change; nothing when neither position changed.
    virtual void SetScrollOffset(const SIZE& offset, bool notify);
    virtual void ScrollLineUp();
    virtual void ScrollLineDown();
    virtual void ScrollPageUp();
    virtual void ScrollPageDown();
    virtual void ScrollToTop();
    // Scrolls to the end after the next paint, once the layout it waits for
    // has set the range.
    virtual void ScrollToBottom();
    virtual void ScrollLineLeft();
    virtual void ScrollLineRight();
    virtual void ScrollPageLeft();
    virtual void ScrollPageRight();
    virtual void ScrollToLeft();
    virtual void ScrollToRight();
    // Creates or deletes each bar as asked.
    virtual void ShowScrollBars(ScrollBarChoice vertical, ScrollBarChoice horizontal);
    // Null when the container has no such bar.
    virtual CScrollBarUI* VerticalBar() const;
    virtual CScrollBarUI* HorizontalBar() const;
    // Places the float child at index from its fixed XY, size and anchors;
    // nothing for a bad index or a hidden or non-float child.
    virtual void PlaceFloating(int index);
    // Shows, hides, places and sizes the bars so that required fits in rect
    // (the children's rectangle before scrolling, without the room of the
    // bars already shown), relaying out as needed.
    virtual void UpdateScrollBars(const RECT& rect, int requiredWidth, int requiredHeight);

protected:
    // The item rectangle less the inset and the visible bars.
    CUIRect ChildArea() const;
    // Before a PlaceAt at rect: a visible bar whose direction changes size
    // goes back to position 0.
    void ResetScrollOnResize(const RECT& rect);
    // The start that the layouts' PlaceAt share: the scroll reset above, the
    // base placement, and area set to the child area. With no children the
    // bars are updated for an empty content and the answer is false.
    bool PlaceSelf(const RECT& rect, bool invalidate, CUIRect& area);
    // Unlinks or disposes of one child as Remove does.
    void DisposeChild(IControlUI* control);
    // PlaceAt again with the container's own rectangle.
    void Relayout(bool invalidate);
    // What one fitting pass of the bars asks of the layout: nothing, a
    // relayout without or with invalidation, or an invalidating one with
    // scroll processing set because a bar has just appeared.
    enum class ScrollRelayout
    {
        None,
        Quiet,
        Invalidating,
        AfterNewBar,
    };
    // Shows, hides, places and sizes the bars for one layout pass.
    ScrollRelayout FitScrollBars(const RECT& rect, int requiredWidth, int requiredHeight);
    int VerticalLineStep() const;
    int HorizontalLineStep() const;

    CPtrList m_items;
    CUIRect m_inset;
    int m_childPadding = 0;
    int m_childAlign = 0;
    int m_childVAlign = 0;
    bool m_autoDestroy = true;
    bool m_delayedDestroy = false;
    bool m_mouseChildEnabled = true;
    bool m_scrollProcessing = false;
    // Set while UpdateScrollBars relays out; the layout's nested call leaves
    // its request in m_nestedRelayout instead of relaying out itself.
    bool m_scrollRelayoutRunning = false;
    ScrollRelayout m_nestedRelayout = ScrollRelayout::None;
    bool m_scrollToEndPending = false;
    CScrollBarUI* m_verticalBar = nullptr;    // owned
    CScrollBarUI* m_horizontalBar = nullptr;  // owned
};

}  // namespace DuiLib
