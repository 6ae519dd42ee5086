// AccessDescription: what a control tells a screen reader about itself or
// one of its sub-elements (a link of a text, a page of a tab layout). The
// control fills it; the manager's accessible tree turns it into Active
// Accessibility answers. Plain data: no window, COM or platform call here.
#pragma once

#include <windows.h>

#include "ui/core/UIRect.h"
#include "ui/core/UIString.h"

namespace DuiLib {

class IControlUI;

struct AccessDescription
{
    // An Active Accessibility role (ROLE_SYSTEM_*); 0 means the control has
    // no role of its own: the tree skips it and takes up its children.
    long role = 0;
    CUIString name;
    // The value, when hasValue; a protected value is never given out.
    CUIString value;
    bool hasValue = false;
    bool valueProtected = false;
    // STATE_SYSTEM_* bits the control knows of (checked, pressed, hot,
    // focusable, unavailable...); the tree adds visibility.
    DWORD state = 0;
    // The default action's name; empty when there is none.
    CUIString action;
    // Item rectangle in client coordinates.
    CUIRect rect;
    // Sub-elements, numbered 1..parts (part 0 is the control itself).
    int parts = 0;
    // A sub-element only: the control whose children the sub-element holds
    // (a tab layout's page), or null.
    IControlUI* content = nullptr;
};

}  // namespace DuiLib
