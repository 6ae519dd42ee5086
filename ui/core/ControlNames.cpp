// CControlNames: the name table over weak references.
#include "ui/core/ControlNames.h"

#include <iterator>

namespace DuiLib {

IControlUI* CControlNames::Find(const wchar_t* name) const
{
    if (name == nullptr)
        return nullptr;
    const auto found = m_names.find(name);
    return found != m_names.end() ? found->second.Get() : nullptr;
}

void CControlNames::Set(const wchar_t* name, IControlUI* control)
{
    if (name != nullptr && name[0] != L'\0')
        m_names[name] = control;
}

bool CControlNames::Insert(const wchar_t* name, IControlUI* control)
{
    if (name == nullptr || name[0] == L'\0' || Find(name) != nullptr)
        return false;
    m_names[name] = control;
    return true;
}

void CControlNames::Remove(const wchar_t* name, IControlUI* control)
{
    if (name == nullptr)
        return;
    const auto found = m_names.find(name);
    if (found == m_names.end())
        return;
    IControlUI* holder = found->second.Get();
    if (holder == nullptr || holder == control)
        m_names.erase(found);
}

void CControlNames::RemoveEvery(const IControlUI* control)
{
    for (auto entry = m_names.begin(); entry != m_names.end();)
        entry = entry->second.Get() == control ? m_names.erase(entry) : std::next(entry);
}

}  // namespace DuiLib
