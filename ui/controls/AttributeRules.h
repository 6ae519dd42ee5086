// AttributeRule: one row of a control's attribute table (a name and what it
// does with the value) and the lookup that every standard control's
// ApplyAttribute runs before handing unknown names to its base.
#pragma once

#include <cstddef>
#include <cwchar>

namespace DuiLib {

template <class Control>
struct AttributeRule
{
    const wchar_t* name;
    void (*apply)(Control& control, const wchar_t* value);
};

// Runs the rule named name (compared case-sensitively) with value (null
// counts as ""); false when no rule has the name or name is null.
template <class Control, std::size_t N>
bool ApplyAttributeRule(const AttributeRule<Control> (&rules)[N], Control& control, const wchar_t* name,
                        const wchar_t* value)
{
    if (name == nullptr)
        return false;
    for (const AttributeRule<Control>& rule : rules)
    {
        if (std::wcscmp(name, rule.name) == 0)
        {
            rule.apply(control, value != nullptr ? value : L"");
            return true;
        }
    }
    return false;
}

}  // namespace DuiLib
