// CChildLayoutUI: building the content from its skin file through the
// installed build function, with the nesting held to kMaxNesting.
#include "ui/control/ChildLayoutUI.h"

#include <cwchar>

namespace DuiLib {

ChildSkinBuilder CChildLayoutUI::s_builder = nullptr;
int CChildLayoutUI::s_nesting = 0;

void CChildLayoutUI::SetSkinBuilder(ChildSkinBuilder builder)
{
    s_builder = builder;
}

const wchar_t* CChildLayoutUI::GetClass() const
{
    return L"ChildLayout";
}

void* CChildLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"ChildLayout") == 0)
        return this;
    return CControlUI::CastTo(name);
}

const ControlAttributeTable& CChildLayoutUI::GetAttributeTable() const
{
    static const AttributeRow<CChildLayoutUI> kRows[] = {
        {L"xmlfile", AttributeGrammar::kSkinFile, L"none",
         L"Skin file whose controls become the layout's content when the window starts",
         [](CChildLayoutUI& c, const wchar_t* v) { c.SetChildLayoutXML(v); }},
    };
    static const ControlAttributeTable kTable(L"CChildLayoutUI", &CContainerUI::GetAttributeTable(), kRows);
    return kTable;
}

void CChildLayoutUI::Init()
{
    if (m_xmlFile.IsEmpty())
        return;
    // A layout initialised again (its tree registered anew) builds afresh
    // instead of holding two copies of its content.
    RemoveAll();
    if (s_builder == nullptr || s_nesting >= kMaxNesting)
        return;
    // Child layouts inside the content initialise while it is added, so the
    // count covers the Add too.
    ++s_nesting;
    IControlUI* content = s_builder(m_xmlFile.GetData(), m_manager);
    if (content != nullptr && !Add(content))
        content->Delete();
    --s_nesting;
}

}  // namespace DuiLib
