// CFocusKeeper: a manager's focus control with its focus events and
// notifications, the tab order with wrap-around, and the focus move that
// waits for the next paint. Owned by CUIManager, which forwards here.
// Invariant: a control is never used after a call that may have deleted it;
// such calls hold it in a CControlRef.
#pragma once

#include "ui/core/ControlRef.h"

namespace DuiLib {

class CNotifier;
class CUIManager;
class IControlUI;

class CFocusKeeper
{
public:
    // manager lends its window, tree and notifications; notifier counts the
    // focus deliveries.
    CFocusKeeper(CUIManager& manager, CNotifier& notifier) : m_manager(manager), m_notifier(notifier) {}
    CFocusKeeper(const CFocusKeeper&) = delete;
    CFocusKeeper& operator=(const CFocusKeeper&) = delete;

    // The control that receives keys; null when none.
    IControlUI* GetFocus() const { return m_focus; }
    // Moves the focus to control (null clears it), giving the window the
    // platform focus first when setNativeFocus asks. The old focus control
    // gets a kill-focus event and "killfocus", the new one a set-focus event
    // and "setfocus"; a control that is hidden, disabled or of another
    // manager leaves the focus cleared.
    void SetFocus(IControlUI* control, bool setNativeFocus);
    // Focuses the next (forward) or previous tab stop, wrapping around;
    // while a layout is pending a forward move waits for the next paint.
    // Always true.
    bool SetTabSuccessor(bool forward);
    // Gives the window the platform focus (unless no-activate), takes the
    // focus from its control and has the next paint focus control, or the
    // next tab stop after where it stands. Null only cancels a pending move.
    void RequestFocusSoon(IControlUI* control);

    // Whether the next paint moves the focus forward (SetTabSuccessor);
    // a newly attached tree asks for it.
    bool IsFocusPending() const { return m_focusNeeded; }
    void SetFocusPending() { m_focusNeeded = true; }

private:
    // The last tab stop before control in tree order; null when none.
    IControlUI* PrecedingTabStop(IControlUI* control) const;

    CUIManager& m_manager;
    CNotifier& m_notifier;
    CControlRef m_focus;
    bool m_focusNeeded = false;
};

}  // namespace DuiLib
