// NotifyEvent and INotifyUI: the notification record the manager delivers to
// the application's listeners, and the listener interface. The manager fills
// and queues records; what a type means is fixed by the control that sends it.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"

namespace DuiLib {

class IControlUI;

struct NotifyEvent
{
    CUIString type;               // "click", "windowinit", ...
    CUIString virtualWindowName;  // filled only when the manager uses them
    IControlUI* sender = nullptr; // null once the sender has been forgotten
    DWORD timestamp = 0;          // tick count
    POINT mousePoint = {0, 0};    // the manager's last mouse position
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI
{
public:
    virtual ~INotifyUI() = default;
    // Called for every notification of the managers the listener joined;
    // sender may be null.
    virtual void ReceiveNotify(NotifyEvent& notification) = 0;
};

}  // namespace DuiLib
