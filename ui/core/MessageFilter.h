// IMessageFilterUI and ITranslateAccelerator: the two hooks through which code
// outside the control tree sees a window's messages before the manager does.
// The manager keeps them in lists it never owns; whoever adds one removes it.
#pragma once

#include <windows.h>

namespace DuiLib {

class IMessageFilterUI
{
public:
    virtual ~IMessageFilterUI() = default;
    // Sees a message before the manager's own handling. Setting handled to
    // true claims it: the manager then does nothing more and the window
    // procedure answers the returned value.
    virtual LRESULT RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

class ITranslateAccelerator
{
public:
    virtual ~ITranslateAccelerator() = default;
    // Answers 0 when it consumed the queued message, which the message loop
    // then neither translates nor dispatches.
    virtual LRESULT TranslateKey(const MSG& message) = 0;
};

}  // namespace DuiLib
