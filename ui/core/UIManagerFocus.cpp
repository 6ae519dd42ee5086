// CUIManager focus and the control tree: the focus control with its focus
// events and notifications, the tab order with wrap-around, attaching and
// registering the tree, control names and the queue of controls deleted later.
// Invariant: a control is never used after a call that may have deleted it;
// such calls hold it in a CControlRef.
//
// [SECTIONS] focus · tab order · control tree and names
#include "ui/core/UIManager.h"

#include "ui/core/Notify.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::Deliver;

namespace {

// Visible, enabled controls, each container before its children.
constexpr UINT kTabStopSearch = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;

// Focus events carry only their type, sender and time.
UIEvent FocusEvent(UIEventType type, IControlUI* sender)
{
    UIEvent event = {};
    event.type = type;
    event.sender = sender;
    event.timestamp = GetTickCount();
    return event;
}

}  // namespace

// ---- Focus ------------------------------------------------------------------

void CUIManager::SetFocus(IControlUI* control, bool setNativeFocus)
{
    // Without a window, SetFocus(null) would take the focus from every window.
    if (setNativeFocus && m_window != nullptr && ::GetFocus() != m_window && control != m_focus && !m_noActivate)
        ::SetFocus(m_window);
    if (control == m_focus)
        return;
    CDeliveryScope busy(*this);
    const CControlRef next(control);
    if (m_focus != nullptr)
    {
        // Cleared before the old control hears of it, so that a handler
        // which moves the focus itself does not meet the old control again.
        const CControlRef old(m_focus);
        m_focus = nullptr;
        Deliver(old.Get(), FocusEvent(UIEVENT_KILLFOCUS, next.Get()));
        if (old.Get() != nullptr)
            RaiseNotify(old.Get(), L"killfocus");
        // A handler that moved the focus elsewhere has the last word.
        if (m_focus != nullptr)
            return;
    }
    IControlUI* target = next.Get();
    if (target == nullptr || target->GetManager() != this || !target->IsVisible() || !target->IsEnabled())
        return;
    m_focus = target;
    Deliver(target, FocusEvent(UIEVENT_SETFOCUS, target));
    if (next.Get() != nullptr && m_focus == next.Get())
        RaiseAccessEvent(EVENT_OBJECT_FOCUS, next.Get());
    if (next.Get() != nullptr)
        RaiseNotify(next.Get(), L"setfocus");
}

void CUIManager::RequestFocusSoon(IControlUI* control)
{
    if (!m_noActivate && m_window != nullptr)
        ::SetFocus(m_window);
    if (control == nullptr)
    {
        m_focusNeeded = false;
        return;
    }
    CDeliveryScope busy(*this);
    const CControlRef wanted(control);
    if (m_focus != nullptr)
    {
        const CControlRef old(m_focus);
        m_focus = nullptr;
        Deliver(old.Get(), FocusEvent(UIEVENT_KILLFOCUS, wanted.Get()));
        if (old.Get() != nullptr)
            RaiseNotify(old.Get(), L"killfocus");
    }
    if (wanted.Get() == nullptr || m_root == nullptr)
        return;
    // The focus stands just before the control without being told, so the
    // forward move of the next paint lands on the control when it is a tab
    // stop, and on the next one after it otherwise.
    m_focus = PrecedingTabStop(wanted.Get());
    m_focusNeeded = true;
    m_root->RequestLayout();
}

// ---- Tab order --------------------------------------------------------------

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

IControlUI* CUIManager::PrecedingTabStop(IControlUI* control) const
{
    TabStopSearch search = {control, nullptr, false, false};
    return m_root != nullptr ? m_root->LocateControl(TabStopProc, &search, kTabStopSearch) : nullptr;
}

bool CUIManager::SetTabSuccessor(bool forward)
{
    if (m_layoutNeeded && forward)
    {
        // Tab stops are only known where they will be after the layout.
        m_focusNeeded = true;
        Invalidate();
        return true;
    }
    IControlUI* found = nullptr;
    if (m_root != nullptr)
    {
        // Without a focus control either direction starts at the first tab
        // stop, so the search runs forward from the start.
        TabStopSearch search = {m_focus, nullptr, forward || m_focus == nullptr, m_focus == nullptr};
        found = m_root->LocateControl(TabStopProc, &search, kTabStopSearch);
        if (found == nullptr && !forward)
        {
            // The walk went on past the focus to the end of the tree.
            found = search.last;
        }
        else if (found == nullptr)
        {
            search = TabStopSearch{nullptr, nullptr, true, true};
            found = m_root->LocateControl(TabStopProc, &search, kTabStopSearch);
        }
    }
    if (found != nullptr)
        SetFocus(found, true);
    m_focusNeeded = false;
    return true;
}

// ---- Control tree and names -------------------------------------------------

bool CUIManager::AttachRootControl(IControlUI* root)
{
    SetFocus(nullptr, true);
    m_keyPress = nullptr;
    m_hover = nullptr;
    m_click = nullptr;
    m_lastTooltipControl = nullptr;
    if (m_root != nullptr)
    {
        DeleteQueuedControls(0);
        DropQueuedNotifications();
        m_controlNames.Clear();
        m_overlayPainters.clear();
        m_hostedWindows.clear();
        // The old tree's own code may be running (a page switch made from a
        // click handler), so it goes later.
        IControlUI* old = m_root;
        m_root = nullptr;
        QueueForDeletion(old);
    }
    m_root = root;
    m_layoutNeeded = true;
    m_firstLayoutPending = true;
    m_focusNeeded = true;
    return RegisterControlTree(root, nullptr);
}

namespace {

IControlUI* RegisterNameProc(IControlUI* control, void* data)
{
    const CUIString name = control->GetName();
    if (!name.IsEmpty())
        static_cast<CControlNames*>(data)->Set(name.GetData(), control);
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

IControlUI* CUIManager::LocateControl(const wchar_t* name)
{
    return m_controlNames.Find(name);
}

bool CUIManager::RenameControl(IControlUI* control, const wchar_t* name)
{
    if (control == nullptr || control->GetManager() != this || name == nullptr || name[0] == L'\0')
        return false;
    // A control bound only for its attributes takes the name without
    // registering it: attaching its tree registers it.
    if (IsBorrower(control))
    {
        control->SetName(name);
        return true;
    }
    IControlUI* holder = m_controlNames.Find(name);
    if (control->GetName() == name)
    {
        // A control that stored its new name before telling the manager is
        // registered under it now; its old name is no longer known here.
        if (holder == nullptr)
        {
            m_controlNames.RemoveEvery(control);
            m_controlNames.Insert(name, control);
        }
        return true;
    }
    if (holder != nullptr)
        return false;
    m_controlNames.Remove(control->GetName().GetData(), control);
    if (!m_controlNames.Insert(name, control))
        return false;
    control->SetName(name);
    return true;
}

void CUIManager::QueueForDeletion(IControlUI* control)
{
    if (control == nullptr)
        return;
    for (const CControlRef& queued : m_delayedDeletions)
    {
        if (queued.Get() == control)
            return;
    }
    control->BindManager(this, nullptr, false);
    m_delayedDeletions.push_back(control);
    PostPump();
}

}  // namespace DuiLib
