// CHorizontalLayoutUI: the names and the "sepwidth" attribute; the
// placement and the separator drag are CLinearLayoutUI's.
#include "ui/control/HorizontalLayoutUI.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"

namespace DuiLib {

const wchar_t* CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayout";
}

void* CHorizontalLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"HorizontalLayout") == 0)
        return this;
    return CLinearLayoutUI::CastTo(name);
}

void CHorizontalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name != nullptr && std::wcscmp(name, L"sepwidth") == 0)
        SetSepWidth(ParseInt(value != nullptr ? value : L""));
    else
        CLinearLayoutUI::ApplyAttribute(name, value);
}

}  // namespace DuiLib
