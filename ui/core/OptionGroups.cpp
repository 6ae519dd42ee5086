// COptionGroups: joining, reading and leaving named option groups.
// Invariant: a group exists only while it has members.
#include "ui/core/OptionGroups.h"

#include <algorithm>

namespace DuiLib {

bool COptionGroups::Join(const wchar_t* group, IControlUI* option)
{
    if (group == nullptr || group[0] == L'\0' || option == nullptr)
        return false;
    OptionGroup* members = static_cast<OptionGroup*>(m_groups.Find(group));
    if (members != nullptr)
    {
        if (ListsControl(members->members, option))
            return false;
        members->members.push_back(option);
        return true;
    }
    members = new OptionGroup;
    members->members.push_back(option);
    if (!m_groups.Insert(group, members))
    {
        delete members;
        return false;
    }
    return true;
}

const CPtrList* COptionGroups::Members(const wchar_t* group)
{
    OptionGroup* members = static_cast<OptionGroup*>(m_groups.Find(group));
    if (members == nullptr)
        return nullptr;
    // Options that went without leaving are dropped here rather than searched
    // for when each control is deleted.
    members->alive.Empty();
    auto& list = members->members;
    list.erase(std::remove_if(list.begin(), list.end(), [](const CControlRef& member) { return !member; }),
               list.end());
    for (const CControlRef& member : list)
        members->alive.Add(member.Get());
    if (list.empty())
    {
        delete members;
        m_groups.Remove(group);
        return nullptr;
    }
    return &members->alive;
}

void COptionGroups::Leave(const wchar_t* group, IControlUI* option)
{
    OptionGroup* members = static_cast<OptionGroup*>(m_groups.Find(group));
    if (members == nullptr || !UnlistControl(members->members, option))
        return;
    if (members->members.empty())
    {
        delete members;
        m_groups.Remove(group);
    }
}

void COptionGroups::Clear()
{
    for (int i = 0; i < m_groups.GetSize(); ++i)
        delete static_cast<OptionGroup*>(m_groups.Find(m_groups.GetAt(i), false));
    m_groups.RemoveAll();
}

}  // namespace DuiLib
