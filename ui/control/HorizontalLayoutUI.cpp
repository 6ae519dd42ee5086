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

const ControlAttributeTable& CHorizontalLayoutUI::GetAttributeTable() const
{
    static const AttributeRow<CHorizontalLayoutUI> kRows[] = {
        {L"sepwidth", AttributeGrammar::kInteger, L"0",
         L"Width of the strip that resizes the layout by dragging: at the right edge, or the left edge when "
         L"negative; 0 is none",
         [](CHorizontalLayoutUI& l, const wchar_t* v) { l.SetSepWidth(ParseInt(v)); }},
    };
    static const ControlAttributeTable kTable(L"CHorizontalLayoutUI", &CLinearLayoutUI::GetAttributeTable(), kRows);
    return kTable;
}

}  // namespace DuiLib
