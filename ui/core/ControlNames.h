// CControlNames: a manager's table of control names. Each name holds a
// CControlRef, so a control that goes without unregistering (or was renamed
// behind the table's back) leaves an entry that reads as absent, and nothing
// has to search the table when a control is deleted.
#pragma once

#include <string>
#include <unordered_map>

#include "ui/core/ControlRef.h"

namespace DuiLib {

class CControlNames
{
public:
    // The control registered under name, or null (for a null name too).
    IControlUI* Find(const wchar_t* name) const;
    // Registers control under name, replacing whatever the name held. A null
    // or empty name is ignored.
    void Set(const wchar_t* name, IControlUI* control);
    // Registers control under name unless a live control holds it; false then.
    bool Insert(const wchar_t* name, IControlUI* control);
    // Removes the entry of name when it holds control or a control that has
    // gone.
    void Remove(const wchar_t* name, IControlUI* control);
    // Removes every name that holds control: a walk of the whole table, for
    // a control whose old name is not known any more.
    void RemoveEvery(const IControlUI* control);
    void Clear() { m_names.clear(); }

private:
    std::unordered_map<std::wstring, CControlRef> m_names;
};

}  // namespace DuiLib
