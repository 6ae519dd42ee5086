// CControlRegistry: binding subtrees to the manager, their names and renames.
// Invariant: a name never holds a control of another manager or one that
// only borrows the manager's resources.
#include "ui/core/ControlRegistry.h"

#include "ui/control/ControlInterface.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace {

IControlUI* RegisterNameProc(IControlUI* control, void* data)
{
    const CUIString name = control->GetName();
    if (!name.IsEmpty())
        static_cast<CControlNames*>(data)->Set(name.GetData(), control);
    return nullptr;
}

}  // namespace

bool CControlRegistry::RegisterControlTree(IControlUI* control, IControlUI* parent)
{
    if (control == nullptr)
        return false;
    control->BindManager(&m_manager, parent != nullptr ? parent : control->GetParent(), true);
    control->LocateControl(RegisterNameProc, &m_names, UIFIND_ALL);
    return true;
}

bool CControlRegistry::RenameControl(IControlUI* control, const wchar_t* name)
{
    if (control == nullptr || control->GetManager() != &m_manager || name == nullptr || name[0] == L'\0')
        return false;
    // A control bound only for its attributes takes the name without
    // registering it: attaching its tree registers it.
    if (IsBorrower(control))
    {
        control->SetName(name);
        return true;
    }
    IControlUI* holder = m_names.Find(name);
    if (control->GetName() == name)
    {
        // A control that stored its new name before telling the manager is
        // registered under it now; its old name is no longer known here.
        if (holder == nullptr)
        {
            m_names.RemoveEvery(control);
            m_names.Insert(name, control);
        }
        return true;
    }
    if (holder != nullptr)
        return false;
    m_names.Remove(control->GetName().GetData(), control);
    if (!m_names.Insert(name, control))
        return false;
    control->SetName(name);
    return true;
}

void CControlRegistry::Forget(IControlUI* control)
{
    if (control != nullptr)
        m_names.Remove(control->GetName().GetData(), control);
}

}  // namespace DuiLib
