// CFocusKeeper: the focus control with its focus events and notifications,
// and the tab order with wrap-around.
// Invariant: a control is never used after a call that may have deleted it;
// such calls hold it in a CControlRef.
#include "ui/core/FocusKeeper.h"

#include "ui/core/Notifier.h"
#include "ui/core/UIManager.h"
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

void CFocusKeeper::SetFocus(IControlUI* control, bool setNativeFocus)
{
    HWND window = m_manager.GetPaintWindow();
    // Without a window, SetFocus(null) would take the focus from every window.
    if (setNativeFocus && window != nullptr && ::GetFocus() != window && control != m_focus &&
        !m_manager.IsNoActivate())
        ::SetFocus(window);
    if (control == m_focus)
        return;
    CNotifier::CDeliveryScope busy(m_notifier);
    const CControlRef next(control);
    if (m_focus != nullptr)
    {
        // Cleared before the old control hears of it, so that a handler
        // which moves the focus itself does not meet the old control again.
        const CControlRef old(m_focus);
        m_focus = nullptr;
        Deliver(old.Get(), FocusEvent(UIEVENT_KILLFOCUS, next.Get()));
        if (old.Get() != nullptr)
            m_manager.RaiseNotify(old.Get(), L"killfocus");
        // A handler that moved the focus elsewhere has the last word.
        if (m_focus != nullptr)
            return;
    }
    IControlUI* target = next.Get();
    if (target == nullptr || target->GetManager() != &m_manager || !target->IsVisible() || !target->IsEnabled())
        return;
    m_focus = target;
    Deliver(target, FocusEvent(UIEVENT_SETFOCUS, target));
    if (next.Get() != nullptr && m_focus == next.Get())
        m_manager.RaiseAccessEvent(EVENT_OBJECT_FOCUS, next.Get());
    if (next.Get() != nullptr)
        m_manager.RaiseNotify(next.Get(), L"setfocus");
}

void CFocusKeeper::RequestFocusSoon(IControlUI* control)
{
    HWND window = m_manager.GetPaintWindow();
    if (!m_manager.IsNoActivate() && window != nullptr)
        ::SetFocus(window);
    if (control == nullptr)
    {
        m_focusNeeded = false;
        return;
    }
    CNotifier::CDeliveryScope busy(m_notifier);
    const CControlRef wanted(control);
    if (m_focus != nullptr)
    {
        const CControlRef old(m_focus);
        m_focus = nullptr;
        Deliver(old.Get(), FocusEvent(UIEVENT_KILLFOCUS, wanted.Get()));
        if (old.Get() != nullptr)
            m_manager.RaiseNotify(old.Get(), L"killfocus");
    }
    IControlUI* root = m_manager.GetRoot();
    if (wanted.Get() == nullptr || root == nullptr)
        return;
    // The focus stands just before the control without being told, so the
    // forward move of the next paint lands on the control when it is a tab
    // stop, and on the next one after it otherwise.
    m_focus = PrecedingTabStop(wanted.Get());
    m_focusNeeded = true;
    root->RequestLayout();
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

IControlUI* CFocusKeeper::PrecedingTabStop(IControlUI* control) const
{
    TabStopSearch search = {control, nullptr, false, false};
    IControlUI* root = m_manager.GetRoot();
    return root != nullptr ? root->LocateControl(TabStopProc, &search, kTabStopSearch) : nullptr;
}

bool CFocusKeeper::SetTabSuccessor(bool forward)
{
    if (m_manager.IsLayoutRequested() && forward)
    {
        // Tab stops are only known where they will be after the layout.
        m_focusNeeded = true;
        m_manager.Invalidate();
        return true;
    }
    IControlUI* found = nullptr;
    if (IControlUI* root = m_manager.GetRoot())
    {
        // Without a focus control either direction starts at the first tab
        // stop, so the search runs forward from the start.
        TabStopSearch search = {m_focus, nullptr, forward || m_focus == nullptr, m_focus == nullptr};
        found = root->LocateControl(TabStopProc, &search, kTabStopSearch);
        if (found == nullptr && !forward)
        {
            // The walk went on past the focus to the end of the tree.
            found = search.last;
        }
        else if (found == nullptr)
        {
            search = TabStopSearch{nullptr, nullptr, true, true};
            found = root->LocateControl(TabStopProc, &search, kTabStopSearch);
        }
    }
    if (found != nullptr)
        SetFocus(found, true);
    m_focusNeeded = false;
    return true;
}

}  // namespace DuiLib
