// CAccessBridge: the accessible tree's lifetime, which ends with the window
// or the manager, whichever goes first; WM_GETOBJECT and win events. The
// tree and its elements are in AccessibleTree.cpp and AccessibleElement.cpp.
#include "ui/core/AccessBridge.h"

#include <oleacc.h>

#include "ui/core/AccessibleElement.h"
#include "ui/core/AccessibleTree.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

CAccessibleTree* CAccessBridge::Tree()
{
    HWND window = m_manager.GetPaintWindow();
    if (m_tree == nullptr && !m_closed && window != nullptr && IsWindow(window))
        m_tree = new CAccessibleTree(&m_manager);
    return m_tree;
}

void CAccessBridge::RaiseEvent(DWORD event, IControlUI* control)
{
    if (control == nullptr)
        return;
    if (CAccessibleTree* tree = Tree())
        tree->RaiseEvent(event, control);
}

bool CAccessBridge::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // The object id travels as a 32-bit value, whatever the width of lParam.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    CAccessibleTree* tree = Tree();
    if (tree == nullptr)
        return false;
    CAccessibleElement* client = CAccessibleElement::Create(tree, kClientElement);
    const LRESULT answer = LresultFromObject(IID_IAccessible, wParam, client);
    client->Release();
    // A failure comes back as a negative HRESULT; the platform's own object
    // then answers instead.
    if (answer < 0)
        return false;
    result = answer;
    return true;
}

void CAccessBridge::RunRequest(WPARAM wParam, LPARAM lParam)
{
    if (m_tree != nullptr)
        m_tree->RunRequest(static_cast<AccessId>(wParam), static_cast<AccessRequest>(lParam));
}

void CAccessBridge::FlushEvents()
{
    if (m_tree != nullptr)
        m_tree->FlushEvents();
}

void CAccessBridge::Forget(IControlUI* control)
{
    if (m_tree != nullptr)
        m_tree->Forget(control);
}

void CAccessBridge::Detach()
{
    m_closed = true;
    if (m_tree == nullptr)
        return;
    m_tree->Detach();
    m_tree->Release();
    m_tree = nullptr;
}

}  // namespace DuiLib
