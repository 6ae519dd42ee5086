// CControlRegistry: how a manager knows the controls of its tree by name. It
// binds subtrees to the manager, registers and renames their names, and
// keeps the resource loan of the layout builder, under which a control is
// bound for its attributes alone. Owned by CUIManager, which forwards here.
// Invariant: a name never holds a control of another manager or one that
// only borrows the manager's resources.
#pragma once

#include "ui/core/ControlNames.h"
#include "ui/core/ControlRef.h"

namespace DuiLib {

class CUIManager;
class IControlUI;

class CControlRegistry
{
public:
    // manager is what registered controls are bound to.
    explicit CControlRegistry(CUIManager& manager) : m_manager(manager) {}
    CControlRegistry(const CControlRegistry&) = delete;
    CControlRegistry& operator=(const CControlRegistry&) = delete;

    // Binds control (with parent, else its own parent) and stores the names
    // of its subtree; false for null.
    bool RegisterControlTree(IControlUI* control, IControlUI* parent);
    // The control registered under name (the later of two with one name);
    // null for a null or unknown name.
    IControlUI* LocateControl(const wchar_t* name) const { return m_names.Find(name); }
    // Registers control under name and gives it that name. False for a null
    // control, one of another manager, an empty name or a name another
    // control holds (nothing changes then); true at once for its own name.
    // A control bound only for its attributes (IsBorrower) takes the name
    // unregistered: attaching its tree registers it.
    bool RenameControl(IControlUI* control, const wchar_t* name);
    // Drops control's name registration; null is ignored.
    void Forget(IControlUI* control);
    // Forgets every name.
    void Clear() { m_names.Clear(); }

    // While the layout builder applies a control's attributes, the control
    // is bound to the manager for its fonts, images and default lists only:
    // it registers no name, joins no option group and sends no notification,
    // so that its tree is attached once, with the values its skin gave.
    // Null ends the loan.
    void LendResources(IControlUI* control) { m_borrower = control; }
    bool IsBorrower(const IControlUI* control) const { return control != nullptr && m_borrower.Get() == control; }

private:
    CUIManager& m_manager;
    CControlNames m_names;
    CControlRef m_borrower;
};

}  // namespace DuiLib
