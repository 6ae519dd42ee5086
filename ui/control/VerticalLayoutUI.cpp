// CVerticalLayoutUI: the names and the "sepheight" attribute; the
// placement and the separator drag are CLinearLayoutUI's.
#include "ui/control/VerticalLayoutUI.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"

namespace DuiLib {

const wchar_t* CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayout";
}

void* CVerticalLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"VerticalLayout") == 0)
        return this;
    return CLinearLayoutUI::CastTo(name);
}

void CVerticalLayoutUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name != nullptr && std::wcscmp(name, L"sepheight") == 0)
        SetSepHeight(ParseInt(value != nullptr ? value : L""));
    else
        CLinearLayoutUI::ApplyAttribute(name, value);
}

}  // namespace DuiLib
