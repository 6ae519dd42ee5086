// Shared by the manager's parts that deliver events to controls (input,
// pre-translation, focus, timers, notifications): the helpers that make and
// deliver event records. Internal to ui/core; nothing outside includes it.
#pragma once

#include <windows.h>

#include "ui/control/ControlInterface.h"
#include "ui/core/MessageFilter.h"
#include "ui/core/PtrList.h"

namespace DuiLib {
namespace input {

// The modifier keys and buttons held now, as UIKeyState bits.
inline WORD CurrentKeyState()
{
    WORD state = 0;
    if (GetKeyState(VK_LBUTTON) < 0)
        state |= UIKEY_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0)
        state |= UIKEY_RBUTTON;
    if (GetKeyState(VK_SHIFT) < 0)
        state |= UIKEY_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        state |= UIKEY_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        state |= UIKEY_ALT;
    return state;
}

// An event record stamped with the current tick count.
inline UIEvent MakeEvent(UIEventType type, IControlUI* sender, POINT point, WORD keyState, WPARAM wParam,
                         LPARAM lParam, WCHAR key = 0)
{
    UIEvent event = {};
    event.type = type;
    event.sender = sender;
    event.timestamp = GetTickCount();
    event.mousePoint = point;
    event.key = key;
    event.keyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

// A null target (a control deleted meanwhile) receives nothing.
inline void Deliver(IControlUI* target, UIEvent event)
{
    if (target != nullptr)
        target->Event(event);
}

// Removes the first occurrence; false when there is none.
inline bool RemoveFirst(CPtrList& list, const void* element)
{
    const int index = list.Find(element);
    return index >= 0 && list.Remove(index);
}

// Offers the message to each filter of live in order until one handles it:
// true then, with result holding its answer. A copy is walked, because a
// filter may remove (and delete) filters while it runs; one that has left
// the live list is skipped.
inline bool OfferToFilters(const CPtrList& live, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const CPtrList filters(live);
    for (int i = 0; i < filters.GetSize(); ++i)
    {
        if (live.Find(filters[i]) < 0)
            continue;
        bool handled = false;
        const LRESULT answer =
            static_cast<IMessageFilterUI*>(filters[i])->RouteMessage(message, wParam, lParam, handled);
        if (handled)
        {
            result = answer;
            return true;
        }
    }
    return false;
}

}  // namespace input

}  // namespace DuiLib
