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

const ControlAttributeTable& CVerticalLayoutUI::GetAttributeTable() const
{
    static const AttributeRow<CVerticalLayoutUI> kRows[] = {
        {L"sepheight", AttributeGrammar::kInteger, L"0",
         L"Height of the strip that resizes the layout by dragging: at the bottom edge, or the top edge when "
         L"negative; 0 is none",
         [](CVerticalLayoutUI& l, const wchar_t* v) { l.SetSepHeight(ParseInt(v)); }},
    };
    static const ControlAttributeTable kTable(L"CVerticalLayoutUI", &CLinearLayoutUI::GetAttributeTable(), kRows);
    return kTable;
}

}  // namespace DuiLib
