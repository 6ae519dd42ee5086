// CControlTimers: one platform timer per (control, key) on the manager's
// window, ids cycling through 0..254, killed timers kept for a restart, and
// WM_TIMER turned into timer events. Invariant: no two records of one window
// share a platform id.
#include "ui/core/ControlTimers.h"

#include "ui/core/Notifier.h"
#include "ui/core/UIManager.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::Deliver;
using input::MakeEvent;

namespace {

// Platform timer ids of control timers are below this.
constexpr UINT kTimerIdCycle = 255;

}  // namespace

bool CControlTimers::SetTimer(IControlUI* control, UINT key, UINT milliseconds)
{
    HWND window = m_manager.GetPaintWindow();
    if (control == nullptr || window == nullptr)
        return false;
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->control != control || timer->window != window || timer->key != key)
            continue;
        if (!timer->killed)
            return false;
        if (::SetTimer(window, timer->platformId, milliseconds, nullptr) == 0)
            return false;
        timer->killed = false;
        return true;
    }

    // The next id of the cycle that no record of this window holds: two
    // records on one id would share one platform timer, and the later would
    // never tick. Killed records count, as they may be restarted.
    UINT id = 0;
    bool free = false;
    for (UINT tried = 0; tried < kTimerIdCycle && !free; ++tried)
    {
        m_timerIdCounter = (m_timerIdCounter + 1) % kTimerIdCycle;
        id = m_timerIdCounter;
        free = true;
        for (int i = 0; i < m_timers.GetSize() && free; ++i)
        {
            const TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
            free = timer->window != window || timer->platformId != id;
        }
    }
    if (!free || ::SetTimer(window, id, milliseconds, nullptr) == 0)
        return false;
    TimerRecord* timer = new TimerRecord{control, key, window, id, false};
    if (!m_timers.Add(timer))
    {
        ::KillTimer(window, id);
        delete timer;
        return false;
    }
    return true;
}

bool CControlTimers::KillTimer(IControlUI* control, UINT key)
{
    HWND window = m_manager.GetPaintWindow();
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->control != control || timer->window != window || timer->key != key || timer->killed)
            continue;
        if (IsWindow(window))
            ::KillTimer(window, timer->platformId);
        timer->killed = true;
        return true;
    }
    return false;
}

void CControlTimers::KillTimers(IControlUI* control)
{
    if (control == nullptr)
        return;
    for (int i = m_timers.GetSize() - 1; i >= 0; --i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->control != control)
            continue;
        if (!timer->killed && IsWindow(timer->window))
            ::KillTimer(timer->window, timer->platformId);
        delete timer;
        m_timers.Remove(i);
    }
}

void CControlTimers::RemoveAllTimers()
{
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (!timer->killed && IsWindow(timer->window))
            ::KillTimer(timer->window, timer->platformId);
        delete timer;
    }
    m_timers.Empty();
}

void CControlTimers::OnTimer(WPARAM wParam, LPARAM lParam)
{
    HWND window = m_manager.GetPaintWindow();
    // A tick of a killed timer may still wait in the queue; it finds no
    // live record and is dropped.
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        const TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->killed || timer->window != window || timer->platformId != LOWORD(wParam))
            continue;
        // The record may be gone once the control has run: read it first.
        IControlUI* control = timer->control;
        const UINT key = timer->key;
        CNotifier::CDeliveryScope busy(m_notifier);
        Deliver(control, MakeEvent(UIEVENT_TIMER, control, m_manager.GetMousePos(), 0, key, lParam));
        return;
    }
}

}  // namespace DuiLib
