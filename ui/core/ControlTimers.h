// CControlTimers: a manager's control timers, one platform timer per
// (control, key) on the manager's window, ids cycling through 0..254, killed
// timers kept for a restart, and WM_TIMER turned into timer events. Owned by
// CUIManager, which forwards here. Invariant: no two records of one window
// share a platform id.
#pragma once

#include <windows.h>

#include "ui/core/ControlRef.h"
#include "ui/core/PtrList.h"

namespace DuiLib {

class CNotifier;
class CUIManager;
class IControlUI;

class CControlTimers
{
public:
    // manager lends its window and mouse point; notifier counts each tick's
    // delivery.
    CControlTimers(CUIManager& manager, CNotifier& notifier) : m_manager(manager), m_notifier(notifier) {}
    CControlTimers(const CControlTimers&) = delete;
    CControlTimers& operator=(const CControlTimers&) = delete;
    ~CControlTimers() { RemoveAllTimers(); }

    // Each tick reaches the control as a UIEVENT_TIMER event with wParam = key.

    // Starts a timer of milliseconds for (control, key). False for null, a
    // running timer of that key, no window, or a platform refusal; a killed
    // timer is restarted with its old platform id.
    bool SetTimer(IControlUI* control, UINT key, UINT milliseconds);
    // Stops the timer and keeps its record for a restart; false when no
    // running timer has that control and key.
    bool KillTimer(IControlUI* control, UINT key);
    // Stops and frees every timer of control; null is ignored.
    void KillTimers(IControlUI* control);
    // Stops every platform timer and frees the records.
    void RemoveAllTimers();
    // WM_TIMER: delivers the tick to the control of the live record with
    // that platform id; a tick of a killed timer is dropped.
    void OnTimer(WPARAM wParam, LPARAM lParam);

private:
    // One control timer; killed records stay for a later restart.
    struct TimerRecord
    {
        CControlRef control;
        UINT key;
        HWND window;
        UINT platformId;
        bool killed;
    };

    CUIManager& m_manager;
    CNotifier& m_notifier;
    CPtrList m_timers;  // owned TimerRecord
    UINT m_timerIdCounter = 4096;
};

}  // namespace DuiLib
