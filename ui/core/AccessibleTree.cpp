// CAccessibleTree: ids and their controls, the element tree derived from the
// control tree on every call, hit testing and focus through the manager's
// own lookups, posted requests and win events.
//
// [SECTIONS] lifetime and ids · descriptions · structure · requests and events
#include "ui/core/AccessibleTree.h"

#include <oleacc.h>

#include "ui/control/ContainerInterface.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

UINT AccessRequestMessage()
{
    static const UINT message = RegisterWindowMessageW(L"DuiLibAccessRequest");
    return message;
}

// ---- Lifetime and ids -------------------------------------------------------

CAccessibleTree::CAccessibleTree(CUIManager* manager) : m_manager(manager)
{
}

void CAccessibleTree::Release()
{
    if (--m_references == 0)
        delete this;
}

void CAccessibleTree::Detach()
{
    m_manager = nullptr;
    m_nodes.clear();
    m_ids.clear();
    m_pendingShows.clear();
}

HWND CAccessibleTree::Window() const
{
    return m_manager != nullptr ? m_manager->GetPaintWindow() : nullptr;
}

void CAccessibleTree::Forget(IControlUI* control)
{
    if (control == nullptr)
        return;
    for (auto it = m_ids.lower_bound({control, 0}); it != m_ids.end() && it->first.first == control;)
    {
        m_nodes.erase(it->second);
        it = m_ids.erase(it);
    }
}

AccessId CAccessibleTree::IdOf(IControlUI* control, int part)
{
    const auto found = m_ids.find({control, part});
    if (found != m_ids.end())
        return found->second;
    const AccessId id = m_nextId++;
    m_ids[{control, part}] = id;
    m_nodes[id] = Node{control, part};
    return id;
}

bool CAccessibleTree::Exists(AccessId id) const
{
    if (m_manager == nullptr)
        return false;
    if (id == kClientElement)
        return true;
    const auto node = m_nodes.find(id);
    if (node == m_nodes.end())
        return false;
    if (node->second.part == 0)
        return true;
    AccessDescription whole;
    node->second.control->DescribeAccess(0, whole);
    return node->second.part <= whole.parts;
}

// ---- Descriptions -----------------------------------------------------------

bool CAccessibleTree::Describe(AccessId id, AccessDescription& description) const
{
    if (!Exists(id))
        return false;
    HWND window = Window();
    HWND focus = GetFocus();
    const bool windowFocused = focus != nullptr && (focus == window || IsChild(window, focus));
    if (id == kClientElement)
    {
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);
        description.name = title;
        description.role = ROLE_SYSTEM_CLIENT;
        GetClientRect(window, &description.rect);
        description.state = STATE_SYSTEM_FOCUSABLE;
        if (focus == window && m_manager->GetFocus() == nullptr)
            description.state |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(window))
            description.state |= STATE_SYSTEM_INVISIBLE;
        return true;
    }
    const Node& node = m_nodes.at(id);
    node.control->DescribeAccess(node.part, description);
    if (node.part == 0 && !node.control->IsVisible())
        description.state |= STATE_SYSTEM_INVISIBLE;
    // A control keeps its focus mark while the window is in the background,
    // but the keyboard is elsewhere then.
    if (!windowFocused)
        description.state &= ~STATE_SYSTEM_FOCUSED;
    return true;
}

wchar_t CAccessibleTree::ShortcutOf(AccessId id) const
{
    const auto node = m_manager != nullptr ? m_nodes.find(id) : m_nodes.end();
    return node != m_nodes.end() && node->second.part == 0 ? node->second.control->GetShortcut() : 0;
}

// ---- Structure --------------------------------------------------------------

void CAccessibleTree::CollectElements(IControlUI* control, SelfCheck check, std::vector<AccessId>& out)
{
    if (control == nullptr || (check == SelfCheck::Visible && !control->IsVisible()))
        return;
    AccessDescription description;
    control->DescribeAccess(0, description);
    if (description.role != 0)
        out.push_back(IdOf(control, 0));
    else
        CollectChildren(control, out);
}

void CAccessibleTree::CollectChildren(IControlUI* container, std::vector<AccessId>& out)
{
    auto* children = container != nullptr ? static_cast<IContainerUI*>(container->CastTo(L"IContainer")) : nullptr;
    for (int i = 0; children != nullptr && i < children->GetCount(); ++i)
        CollectElements(children->ChildAt(i), SelfCheck::Visible, out);
}

void CAccessibleTree::SortVisually(std::vector<AccessId>& elements)
{
    std::vector<CUIRect> rects;
    for (AccessId id : elements)
    {
        AccessDescription description;
        Describe(id, description);
        rects.push_back(description.rect);
    }
    // b goes before a when it lies wholly above a, or beside it on its left
    // within the same row. Not a strict order for overlapping rectangles, so
    // an insertion sort (never undefined, stable for equals) applies it.
    const auto before = [](const CUIRect& b, const CUIRect& a) {
        if (b.bottom <= a.top)
            return true;
        const bool sameRow = b.top < a.bottom && a.top < b.bottom;
        return sameRow && b.right <= a.left;
    };
    for (size_t i = 1; i < elements.size(); ++i)
    {
        for (size_t j = i; j > 0 && before(rects[j], rects[j - 1]); --j)
        {
            std::swap(rects[j], rects[j - 1]);
            std::swap(elements[j], elements[j - 1]);
        }
    }
}

std::vector<AccessId> CAccessibleTree::Children(AccessId id)
{
    std::vector<AccessId> children;
    if (!Exists(id))
        return children;
    if (id == kClientElement)
    {
        CollectElements(m_manager->GetRoot(), SelfCheck::Visible, children);
        return children;
    }
    const Node node = m_nodes.at(id);
    AccessDescription description;
    node.control->DescribeAccess(node.part, description);
    if (node.part == 0 && description.parts > 0)
    {
        // Parts keep the control's own order (links as written, pages as added).
        for (int part = 1; part <= description.parts; ++part)
            children.push_back(IdOf(node.control, part));
        return children;
    }
    CollectChildren(node.part == 0 ? node.control : description.content, children);
    SortVisually(children);
    return children;
}

AccessId CAccessibleTree::HolderOf(IControlUI* control)
{
    IControlUI* child = control;
    for (IControlUI* parent = control->GetParent(); parent != nullptr; parent = parent->GetParent())
    {
        AccessDescription description;
        parent->DescribeAccess(0, description);
        for (int part = 1; part <= description.parts; ++part)
        {
            AccessDescription partDescription;
            parent->DescribeAccess(part, partDescription);
            if (partDescription.content == child)
                return IdOf(parent, part);
        }
        if (description.role != 0)
            return IdOf(parent, 0);
        child = parent;
    }
    return kClientElement;
}

AccessId CAccessibleTree::ElementOf(IControlUI* control)
{
    AccessDescription description;
    control->DescribeAccess(0, description);
    return description.role != 0 ? IdOf(control, 0) : HolderOf(control);
}

AccessId CAccessibleTree::Parent(AccessId id)
{
    if (id == kClientElement || !Exists(id))
        return kClientElement;
    const Node node = m_nodes.at(id);
    return node.part > 0 ? IdOf(node.control, 0) : HolderOf(node.control);
}

bool CAccessibleTree::IsWithin(AccessId id, AccessId ancestor)
{
    for (;;)
    {
        if (id == ancestor)
            return true;
        if (id == kClientElement)
            return false;
        id = Parent(id);
    }
}

AccessId CAccessibleTree::HitTest(POINT point)
{
    IControlUI* control = m_manager != nullptr ? m_manager->LocateControl(point) : nullptr;
    if (control == nullptr)
        return kClientElement;
    AccessDescription description;
    control->DescribeAccess(0, description);
    for (int part = 1; part <= description.parts; ++part)
    {
        AccessDescription partDescription;
        control->DescribeAccess(part, partDescription);
        if ((partDescription.state & STATE_SYSTEM_INVISIBLE) == 0 && PtInRect(&partDescription.rect, point))
            return IdOf(control, part);
    }
    return ElementOf(control);
}

AccessId CAccessibleTree::Focus()
{
    HWND window = Window();
    HWND focus = GetFocus();
    if (window == nullptr || focus == nullptr || (focus != window && !IsChild(window, focus)))
        return -1;
    IControlUI* control = m_manager->GetFocus();
    return control != nullptr ? ElementOf(control) : kClientElement;
}

// ---- Requests and events ----------------------------------------------------

bool CAccessibleTree::PostRequest(AccessId id, AccessRequest request)
{
    HWND window = Window();
    return window != nullptr &&
           PostMessageW(window, AccessRequestMessage(), static_cast<WPARAM>(id), static_cast<LPARAM>(request));
}

void CAccessibleTree::RunRequest(AccessId id, AccessRequest request)
{
    if (id == kClientElement || !Exists(id))
        return;
    const Node node = m_nodes.at(id);
    if (request == AccessRequest::DefaultAction)
        node.control->DoAccessAction(node.part);
    else if (request == AccessRequest::TakeFocus)
        node.control->SetFocus();
}

bool CAccessibleTree::IsAttached(IControlUI* control) const
{
    IControlUI* root = m_manager != nullptr ? m_manager->GetRoot() : nullptr;
    for (IControlUI* at = control; at != nullptr; at = at->GetParent())
    {
        if (at == root)
            return true;
    }
    return false;
}

void CAccessibleTree::Fire(DWORD event, AccessId id) const
{
    NotifyWinEvent(event, Window(), OBJID_CLIENT, id == kClientElement ? CHILDID_SELF : EventChildId(id));
}

void CAccessibleTree::RaiseEvent(DWORD event, IControlUI* control)
{
    if (control == nullptr || !IsWindow(Window()) || !IsAttached(control))
        return;
    if (event == EVENT_OBJECT_SHOW)
    {
        const AccessId id = IdOf(control, 0);
        for (AccessId pending : m_pendingShows)
        {
            if (pending == id)
                return;
        }
        m_pendingShows.push_back(id);
        return;
    }
    if (event == EVENT_OBJECT_HIDE)
    {
        std::vector<AccessId> hidden;
        CollectElements(control, SelfCheck::Ignored, hidden);
        for (AccessId id : hidden)
            Fire(event, id);
        return;
    }
    Fire(event, ElementOf(control));
}

void CAccessibleTree::FlushEvents()
{
    if (m_pendingShows.empty() || !IsWindow(Window()))
        return;
    std::vector<AccessId> shown;
    for (AccessId id : m_pendingShows)
    {
        const auto node = m_nodes.find(id);
        if (node != m_nodes.end() && IsAttached(node->second.control))
            CollectElements(node->second.control, SelfCheck::Visible, shown);
    }
    m_pendingShows.clear();
    for (AccessId id : shown)
        Fire(EVENT_OBJECT_SHOW, id);
}

}  // namespace DuiLib
