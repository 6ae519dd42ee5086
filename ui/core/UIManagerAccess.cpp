// CUIManager's side of accessibility: answering WM_GETOBJECT with the client
// area's element, raising win events for controls, and the tree's lifetime,
// which ends with the window or the manager, whichever goes first. The tree
// and its elements are in AccessibleTree.cpp and AccessibleElement.cpp.
#include "ui/core/UIManager.h"

#include <oleacc.h>

#include "ui/core/AccessibleElement.h"
#include "ui/core/AccessibleTree.h"

namespace DuiLib {

CAccessibleTree* CUIManager::AccessTree()
{
    if (m_accessTree == nullptr && !m_accessClosed && m_window != nullptr && IsWindow(m_window))
        m_accessTree = new CAccessibleTree(this);
    return m_accessTree;
}

void CUIManager::RaiseAccessEvent(DWORD event, IControlUI* control)
{
    if (control == nullptr)
        return;
    if (CAccessibleTree* tree = AccessTree())
        tree->RaiseEvent(event, control);
}

bool CUIManager::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // The object id travels as a 32-bit value, whatever the width of lParam.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    CAccessibleTree* tree = AccessTree();
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

void CUIManager::DetachAccessTree()
{
    m_accessClosed = true;
    if (m_accessTree == nullptr)
        return;
    m_accessTree->Detach();
    m_accessTree->Release();
    m_accessTree = nullptr;
}

}  // namespace DuiLib
