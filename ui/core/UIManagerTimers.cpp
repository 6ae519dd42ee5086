// CUIManager control timers: one platform timer per (control, key) on the
// manager's window, ids cycling through 0..254, killed timers kept for a
// restart, and WM_TIMER turned into timer events. Invariant: no two records
// of one window share a platform id.
#include "ui/core/UIManager.h"

#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::Deliver;
using input::MakeEvent;

namespace {

// Platform timer ids of control timers are below this.
constexpr UINT kTimerIdCycle = 255;

}  // namespace

bool CUIManager::SetTimer(IControlUI* control, UINT key, UINT milliseconds)
{
    if (control == nullptr || m_window == nullptr)
        return false;
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->control != control || timer->window != m_window || timer->key != key)
            continue;
        if (!timer->killed)
            return false;
        if (::SetTimer(m_window, timer->platformId, milliseconds, nullptr) == 0)
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
            free = timer->window != m_window || timer->platformId != id;
        }
    }
    if (!free || ::SetTimer(m_window, id, milliseconds, nullptr) == 0)
        return false;
    TimerRecord* timer = new TimerRecord{control, key, m_window, id, false};
    if (!m_timers.Add(timer))
    {
        ::KillTimer(m_window, id);
        delete timer;
        return false;
    }
    return true;
}

bool CUIManager::KillTimer(IControlUI* control, UINT key)
{
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->control != control || timer->window != m_window || timer->key != key || timer->killed)
            continue;
        if (IsWindow(m_window))
            ::KillTimer(m_window, timer->platformId);
        timer->killed = true;
        return true;
    }
    return false;
}

void CUIManager::KillTimers(IControlUI* control)
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

void CUIManager::OnTimer(WPARAM wParam, LPARAM lParam)
{
    if (wParam == kLayeredFrameTimer && m_layered)
    {
        OnLayeredFrame();
        return;
    }
    // A tick of a killed timer may still wait in the queue; it finds no
    // live record and is dropped.
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        const TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (timer->killed || timer->window != m_window || timer->platformId != LOWORD(wParam))
            continue;
        // The record may be gone once the control has run: read it first.
        IControlUI* control = timer->control;
        const UINT key = timer->key;
        CDeliveryScope busy(*this);
        Deliver(control, MakeEvent(UIEVENT_TIMER, control, m_lastMousePos, 0, key, lParam));
        return;
    }
}

}  // namespace DuiLib
