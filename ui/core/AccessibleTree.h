// CAccessibleTree: one manager's control tree as a screen reader sees it:
// elements addressed by ids that are resolved at every call, the element
// children in visual order, parents, hit testing, the focus, and the win
// events that tell readers of changes. The COM objects readers hold
// (CAccessibleElement) ask this tree for everything.
// Invariant: the tree never holds a control the manager has forgotten, and
// after Detach it holds no manager, window or control at all; nothing here
// lays out, paints, notifies or deletes.
#pragma once

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

#include "ui/control/AccessDescription.h"

namespace DuiLib {

class CUIManager;
class IControlUI;

// An element id: 0 is the window's client area, every other id one part of
// one control (part 0: the control itself).
using AccessId = int;
constexpr AccessId kClientElement = 0;

// What a posted request asks of an element.
enum class AccessRequest
{
    DefaultAction = 1,
    TakeFocus = 2,
};

class CAccessibleTree
{
public:
    // The manager holds the first reference; every element one more.
    explicit CAccessibleTree(CUIManager* manager);
    CAccessibleTree(const CAccessibleTree&) = delete;
    CAccessibleTree& operator=(const CAccessibleTree&) = delete;

    void AddRef() { ++m_references; }
    // Deletes the tree with its last reference.
    void Release();

    // The manager or its window is going: forgets both and every id, so
    // elements still held by readers answer that they are disconnected.
    void Detach();
    // The manager's window; null once detached.
    HWND Window() const;

    // Drops every id of control (all its parts); the manager calls it
    // before the control is destroyed or leaves it. Null is ignored.
    void Forget(IControlUI* control);

    // True when id names a live element: the client area, or a part of a
    // control the manager still knows (a part within the control's count).
    bool Exists(AccessId id) const;
    // The element's description: the client area's, or its control's for
    // its part, with the visibility and focus as they stand. False when the
    // element is gone.
    bool Describe(AccessId id, AccessDescription& description) const;
    // The shortcut character of the control of id as a whole; 0 for a part,
    // the client area, a control without one and a gone element.
    wchar_t ShortcutOf(AccessId id) const;
    // The element's children in visual order: visible controls with a role
    // of their own, those without taken up by their nearest such ancestor;
    // a control with parts has its parts as children, a part with content
    // the content's children. Empty for a gone element.
    std::vector<AccessId> Children(AccessId id);
    // The element holding id; the client area for a top element and for the
    // client area itself.
    AccessId Parent(AccessId id);
    // True when id is ancestor or lies below it.
    bool IsWithin(AccessId id, AccessId ancestor);
    // The element at point (client coordinates), found as the mouse finds
    // controls; the client area where no element is.
    AccessId HitTest(POINT point);
    // The element of the manager's focus control; the client area when the
    // window has the focus but no control does; -1 when the focus is not
    // in the window.
    AccessId Focus();

    // Posts request for id to the window, to run on the window's own turn
    // (RunRequest). False when the window is gone or refused the message.
    bool PostRequest(AccessId id, AccessRequest request);
    // Runs a posted request: the default action or the focus of the element
    // as it is now; nothing when it went away meanwhile.
    void RunRequest(AccessId id, AccessRequest request);

    // Raises event (EVENT_OBJECT_*) for the element of control; hide for
    // every element that control's subtree takes away. A show waits for
    // FlushEvents, so that readers find the new elements laid out. Nothing
    // for a control outside the manager's attached tree or without a live
    // window.
    void RaiseEvent(DWORD event, IControlUI* control);
    // Raises the waiting show events: one for every element that each
    // control still shown brings into the tree. The manager calls it after
    // painting.
    void FlushEvents();

    // The child id that names element id in an event and in get_accChild:
    // the id negated, so it never collides with a child's position.
    static long EventChildId(AccessId id) { return -static_cast<long>(id); }

private:
    struct Node
    {
        IControlUI* control;
        int part;
    };

    ~CAccessibleTree() = default;

    // The id of control's part, made on first use.
    AccessId IdOf(IControlUI* control, int part);
    // The element standing for control: its own when it has a role, else
    // the nearest element holding it.
    AccessId ElementOf(IControlUI* control);
    // The element holding control, which is not itself an element.
    AccessId HolderOf(IControlUI* control);
    // Appends the elements control brings into the tree: its own, or those
    // of its visible children. A hidden control brings none, unless its own
    // visibility is not asked (a hide event names what it took away).
    enum class SelfCheck
    {
        Visible,
        Ignored,
    };
    void CollectElements(IControlUI* control, SelfCheck check, std::vector<AccessId>& out);
    void CollectChildren(IControlUI* container, std::vector<AccessId>& out);
    // Orders elements top to bottom, and left to right within a row.
    void SortVisually(std::vector<AccessId>& elements);
    bool IsAttached(IControlUI* control) const;

    void Fire(DWORD event, AccessId id) const;

    int m_references = 1;
    CUIManager* m_manager;  // not owned; null once detached
    AccessId m_nextId = 1;
    std::map<AccessId, Node> m_nodes;
    std::map<std::pair<IControlUI*, int>, AccessId> m_ids;
    std::vector<AccessId> m_pendingShows;  // ids of part 0, resolved at the flush
};

// The registered message that carries a posted request to the window:
// wParam the element id, lParam the AccessRequest.
UINT AccessRequestMessage();

}  // namespace DuiLib
