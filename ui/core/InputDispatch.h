// CInputDispatch: a manager's mouse and keyboard. It turns native input into
// UIEvent records for the hovered, pressed, captured or focused control,
// keeps the last mouse position, mouse capture and hover tracking with the
// tool tip, and runs the window's message filters. Owned by CUIManager,
// whose RouteMessage hands it the input messages; the pre-translation of
// queued messages is CPreTranslator's.
// Invariant: a control is never used after a call that may have deleted it;
// such calls hold it in a CControlRef.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/ControlRef.h"
#include "ui/core/PtrList.h"
#include "ui/core/ToolTip.h"

namespace DuiLib {

class CUIManager;
class IControlUI;
class IMessageFilterUI;

class CInputDispatch
{
public:
    // manager lends its window, tree, focus and settings.
    explicit CInputDispatch(CUIManager& manager) : m_manager(manager), m_toolTip(manager) {}
    CInputDispatch(const CInputDispatch&) = delete;
    CInputDispatch& operator=(const CInputDispatch&) = delete;

    // ---- Lists, capture and the mouse ---------------------------------------

    // Filters, never owned, see every message of the window. Add ignores
    // null (false); Remove takes out the first occurrence and answers whether
    // there was one.
    bool AddFilter(IMessageFilterUI* filter);
    bool RemoveFilter(IMessageFilterUI* filter);
    // Controls told of every mouse leave of the hover control; false for
    // null or a control already listed.
    bool AddLeaveWatcher(IControlUI* control);
    bool RemoveLeaveWatcher(IControlUI* control);

    // Mouse capture for the window.
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_captured; }
    // The last mouse position in client coordinates; (-1, -1) before the
    // first mouse message.
    POINT GetMousePos() const { return m_lastMousePos; }
    // The topmost visible control whose rectangle holds point (client
    // coordinates); null without a root or where no control is.
    IControlUI* LocateControl(POINT point) const;
    // A new tree: the hovered, pressed, key-pressed and tool tip controls
    // are forgotten.
    void ForgetTreeControls();
    // Destroys the tool tip window.
    void DestroyToolTip() { m_toolTip.Destroy(); }

    // ---- Messages RouteMessage hands on --------------------------------------

    // Runs the window's filters; true when one claimed message, with result
    // holding its answer.
    bool RunFilters(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    // WM_MOUSEHOVER: the hover event and the tool tip; true when handled.
    bool OnMouseHover(WPARAM wParam, LPARAM lParam);
    void OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    // True when a control set the cursor.
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    // Another window (taker) took the mouse: capture is no longer this one's.
    void OnCaptureChanged(HWND taker);
    void OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSize(WPARAM wParam, LPARAM lParam);
    // WM_CLOSE: hover and press end, the focus is cleared and handed on.
    void OnClose(WPARAM wParam, LPARAM lParam);

private:
    // A filter that claims a mouse message still moves the mouse point.
    void RememberMousePoint(UINT message, LPARAM lParam);
    void DeliverMouseLeave(WPARAM wParam, LPARAM lParam, POINT point);

    CUIManager& m_manager;
    CToolTip m_toolTip;
    CControlRef m_hover;
    CControlRef m_click;
    CControlRef m_keyPress;
    POINT m_lastMousePos = {-1, -1};
    bool m_mouseTracking = false;
    bool m_captured = false;
    CPtrList m_filters;  // IMessageFilterUI
    std::vector<CControlRef> m_leaveWatchers;
};

}  // namespace DuiLib
