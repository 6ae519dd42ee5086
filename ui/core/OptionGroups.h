// COptionGroups: a manager's option groups, the named sets of options of
// which one at a time is selected. Owned by CUIManager, which forwards here.
// Invariant: a group exists only while it has members; a member that was
// deleted without leaving reads null and is dropped on the next read.
#pragma once

#include <vector>

#include "ui/core/ControlRef.h"
#include "ui/core/NameMap.h"
#include "ui/core/PtrList.h"

namespace DuiLib {

class IControlUI;

class COptionGroups
{
public:
    COptionGroups() = default;
    COptionGroups(const COptionGroups&) = delete;
    COptionGroups& operator=(const COptionGroups&) = delete;
    ~COptionGroups() { Clear(); }

    // False for a null or empty group, a null option or an option already in
    // the group; otherwise appends it (creating the group) and answers true.
    bool Join(const wchar_t* group, IControlUI* option);
    // The group's options in order of joining, or null for an unknown group.
    const CPtrList* Members(const wchar_t* group);
    // Removes the option's first occurrence; a group left empty disappears.
    void Leave(const wchar_t* group, IControlUI* option);
    void Clear();

private:
    // The members of one group, and the list Members answers with, made from
    // the members still alive.
    struct OptionGroup
    {
        std::vector<CControlRef> members;
        CPtrList alive;
    };

    CNameMap m_groups;  // group -> owned OptionGroup
};

}  // namespace DuiLib
