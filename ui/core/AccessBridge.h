// CAccessBridge: a manager's side of Active Accessibility. It makes the
// accessible tree (AccessibleTree.h) on first use while the window lives,
// answers WM_GETOBJECT for the client area, raises win events for controls,
// runs the requests readers post to the window, and ends the tree with the
// window or the manager, whichever goes first. Owned by CUIManager.
#pragma once

#include <windows.h>

namespace DuiLib {

class CAccessibleTree;
class CUIManager;
class IControlUI;

class CAccessBridge
{
public:
    // manager lends its window and is the tree's host.
    explicit CAccessBridge(CUIManager& manager) : m_manager(manager) {}
    CAccessBridge(const CAccessBridge&) = delete;
    CAccessBridge& operator=(const CAccessBridge&) = delete;
    ~CAccessBridge() { Detach(); }

    // Tells screen readers of a change to control (an EVENT_OBJECT_* win
    // event for its element). Nothing for null, a control outside the
    // attached tree, or once the window is gone.
    void RaiseEvent(DWORD event, IControlUI* control);
    // WM_GETOBJECT: for the client area, result holds the answer of
    // LresultFromObject and the answer is true; false for other objects.
    bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs a reader's request posted to the window; nothing without a tree.
    void RunRequest(WPARAM wParam, LPARAM lParam);
    // Announces the elements that appeared, once they have their places.
    void FlushEvents();
    // Drops the elements made for control.
    void Forget(IControlUI* control);
    // Disconnects every element readers still hold; no tree is made again
    // until Reopen.
    void Detach();
    // A new window: a tree may be made again.
    void Reopen() { m_closed = false; }

private:
    // The tree, made on first use while the window lives; null after Detach.
    CAccessibleTree* Tree();

    CUIManager& m_manager;
    CAccessibleTree* m_tree = nullptr;  // one reference held
    bool m_closed = false;
};

}  // namespace DuiLib
