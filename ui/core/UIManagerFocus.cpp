// CUIManager focus and the control tree, as far as dispatch needs them: the
// focus control with its focus events, the tab order, attaching and
// registering the tree. What the notification and painting code still adds
// (notifications, deferred deletion, the layout wait) is marked FIXME.
#include "ui/core/UIManager.h"

#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::Deliver;

namespace {

// Visible, enabled controls, each container before its children.
constexpr UINT kTabStopSearch = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;

}  // namespace

void CUIManager::SetFocus(IControlUI* control, bool setNativeFocus)
{
    if (setNativeFocus && ::GetFocus() != m_window && control != m_focus && !m_noActivate)
        ::SetFocus(m_window);
    if (control == m_focus)
        return;
    CControlWatch next(*this, control);
    if (m_focus != nullptr)
    {
        // FIXME: followed by the "killfocus" notification once listeners exist.
        UIEvent event = {};
        event.type = UIEVENT_KILLFOCUS;
        event.sender = next.Get();
        event.timestamp = GetTickCount();
        Deliver(m_focus, event);
        m_focus = nullptr;
    }
    IControlUI* target = next.Get();
    if (target == nullptr || target->GetManager() != this || !target->IsVisible() || !target->IsEnabled())
        return;
    // FIXME: followed by the "setfocus" notification once listeners exist.
    m_focus = target;
    UIEvent event = {};
    event.type = UIEVENT_SETFOCUS;
    event.sender = target;
    event.timestamp = GetTickCount();
    Deliver(target, event);
}

namespace {

struct TabStopSearch
{
    IControlUI* focus;  // where the search starts; null for the first tab stop
    IControlUI* last;   // the last tab stop passed
    bool forward;
    bool pastFocus;     // forward: the focus control has been passed
};

IControlUI* TabStopProc(IControlUI* control, void* data)
{
    TabStopSearch& search = *static_cast<TabStopSearch*>(data);
    const bool tabStop = (control->ControlFlagBits() & UIFLAG_TABSTOP) != 0;
    if (search.forward)
    {
        if (control == search.focus)
        {
            search.pastFocus = true;
            return nullptr;
        }
        return search.pastFocus && tabStop ? control : nullptr;
    }
    if (control == search.focus)
        return search.last;
    if (tabStop)
        search.last = control;
    return nullptr;
}

}  // namespace

bool CUIManager::SetTabSuccessor(bool forward)
{
    // FIXME: with a layout pending, forward moves wait for the next paint.
    if (m_root == nullptr)
        return true;
    TabStopSearch search = {m_focus, nullptr, forward, m_focus == nullptr};
    IControlUI* found = m_root->LocateControl(TabStopProc, &search, kTabStopSearch);
    if (found == nullptr)
    {
        if (forward)
        {
            search = TabStopSearch{nullptr, nullptr, true, true};
            found = m_root->LocateControl(TabStopProc, &search, kTabStopSearch);
        }
        else
        {
            found = search.last;
        }
    }
    if (found != nullptr)
        SetFocus(found, true);
    return true;
}

bool CUIManager::AttachRootControl(IControlUI* root)
{
    SetFocus(nullptr, true);
    m_keyPress = nullptr;
    m_hover = nullptr;
    m_click = nullptr;
    m_lastTooltipControl = nullptr;
    if (m_root != nullptr)
    {
        // FIXME: the old root is queued for deletion by the notification
        // pump, since its own code may still be running.
        IControlUI* old = m_root;
        m_root = nullptr;
        m_controlNames.RemoveAll();
        old->Delete();
    }
    m_root = root;
    return RegisterControlTree(root, nullptr);
}

namespace {

IControlUI* RegisterNameProc(IControlUI* control, void* data)
{
    const CUIString name = control->GetName();
    if (!name.IsEmpty())
        static_cast<CNameMap*>(data)->Set(name.GetData(), control);
    return nullptr;
}

}  // namespace

bool CUIManager::RegisterControlTree(IControlUI* control, IControlUI* parent)
{
    if (control == nullptr)
        return false;
    control->BindManager(this, parent != nullptr ? parent : control->GetParent(), true);
    control->LocateControl(RegisterNameProc, &m_controlNames, UIFIND_ALL);
    return true;
}

}  // namespace DuiLib
