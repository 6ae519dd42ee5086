// CToolTip: the tool tip of a manager's window, one platform
// "tooltips_class32" window made on first use with the manager's window as
// its one tool, tracked at the mouse with the hovered control's text, width
// and rectangle. Owned by CInputDispatch, which decides when it shows.
// Invariant: the tool record is built afresh from the kept text and
// rectangle each time it is sent.
#pragma once

#include <windows.h>

#include "ui/core/ControlRef.h"
#include "ui/core/UIString.h"

namespace DuiLib {

class CUIManager;
class IControlUI;

class CToolTip
{
public:
    // manager lends its window.
    explicit CToolTip(CUIManager& manager) : m_manager(manager) {}
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;
    ~CToolTip() { Destroy(); }

    // Shows control's tool tip text (language tokens expanded) at the screen
    // point lParam carries; nothing for a control without text, or when the
    // platform window cannot be made.
    void Show(IControlUI* control, LPARAM lParam);
    // Takes the tip off the screen; the window stays for the next one.
    void Hide();
    // Destroys the platform window; the next Show makes it again.
    void Destroy();
    // The hover delay in milliseconds: the tip window's initial delay, so
    // that hover and tip agree, else 1000.
    UINT HoverTime() const;
    // Forgets the control the width was last set for.
    void ForgetControl() { m_lastControl = nullptr; }

private:
    LRESULT SendToolRecord(UINT message, WPARAM wParam);

    CUIManager& m_manager;
    HWND m_window = nullptr;
    CControlRef m_lastControl;
    // What the platform tool record is built from each time it is sent.
    CUIString m_text;
    RECT m_rect = {0, 0, 0, 0};
    int m_lastWidth = -1;
    UINT m_hoverTime = 1000;  // ms, while no tool tip window exists
};

}  // namespace DuiLib
