// CTabLayoutUI: the child-list rules that keep exactly the selected page
// visible, page selection with its focus move and notification, and the
// placement of the selected page.
#include "ui/control/TabLayoutUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/LayoutMath.h"
#include "ui/control/LinearLayoutMath.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

const wchar_t* CTabLayoutUI::GetClass() const
{
    return L"TabLayout";
}

void* CTabLayoutUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"TabLayout") == 0)
        return this;
    return CContainerUI::CastTo(name);
}

bool CTabLayoutUI::Add(IControlUI* control)
{
    // The container's own insertion: its Add would come back through this
    // class's InsertChildAt and settle the new page twice.
    if (!CContainerUI::InsertChildAt(control, GetCount()))
        return false;
    if (m_selected == -1 && control->IsVisible())
        m_selected = IndexOfChild(control);
    else
        control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::InsertChildAt(IControlUI* control, int index)
{
    if (!CContainerUI::InsertChildAt(control, index))
        return false;
    if (m_selected == -1 && control->IsVisible())
    {
        m_selected = index;
        return true;
    }
    // Only the selected page may show, wherever the new one lands.
    control->SetVisible(false);
    if (m_selected != -1 && index <= m_selected)
        ++m_selected;
    return true;
}

bool CTabLayoutUI::Remove(IControlUI* control, ChildDisposal disposal)
{
    const int index = IndexOfChild(control);
    if (!CContainerUI::Remove(control, disposal))
        return false;
    if (index == m_selected)
    {
        if (GetCount() == 0)
        {
            m_selected = -1;
        }
        else
        {
            m_selected = 0;
            ChildAt(0)->SetVisible(true);
            RequestParentLayout();
        }
    }
    else if (index < m_selected)
    {
        --m_selected;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_selected = -1;
    CContainerUI::RemoveAll();
    RequestParentLayout();
}

bool CTabLayoutUI::SelectItem(int index, bool notify)
{
    if (index < 0 || index >= GetCount())
        return false;
    if (index == m_selected)
        return true;
    const int old = m_selected;
    m_selected = index;
    for (int i = 0; i < GetCount(); ++i)
    {
        IControlUI* page = ChildAt(i);
        if (i == index)
        {
            page->SetVisible(true);
            page->SetFocus();
        }
        else
        {
            page->SetVisible(false);
        }
    }
    RequestParentLayout();
    Invalidate();
    if (m_manager != nullptr)
    {
        m_manager->SetTabSuccessor(true);
        if (notify)
            m_manager->RaiseNotify(this, L"tabselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
    }
    return true;
}

const ControlAttributeTable& CTabLayoutUI::GetAttributeTable() const
{
    static const AttributeRow<CTabLayoutUI> kRows[] = {
        {L"selectedid", AttributeGrammar::kInteger, L"0", L"Index of the page shown, counted from 0",
         [](CTabLayoutUI& t, const wchar_t* v) {
             t.SelectItem(ParseInt(v), true);
             // The pair also goes on down the chain, where no row has it:
             // the application can read it back as a custom attribute.
             t.AddCustomAttribute(L"selectedid", v);
         }},
    };
    static const ControlAttributeTable kTable(L"CTabLayoutUI", &CContainerUI::GetAttributeTable(), kRows);
    return kTable;
}

void CTabLayoutUI::PlaceAt(const RECT& rect, bool invalidate)
{
    ResetScrollOnResize(rect);
    CControlUI::PlaceAt(rect, invalidate);
    CUIRect rc(AddClamped(m_itemRect.left, m_inset.left), AddClamped(m_itemRect.top, m_inset.top),
               AddClamped(m_itemRect.right, -static_cast<long long>(m_inset.right)),
               AddClamped(m_itemRect.bottom, -static_cast<long long>(m_inset.bottom)));
    for (int i = 0; i < GetCount(); ++i)
    {
        IControlUI* child = ChildAt(i);
        if (!child->IsVisible())
            continue;
        if (child->IsFloat())
        {
            PlaceFloating(i);
            continue;
        }
        if (i != m_selected)
            continue;
        const CUIRect pad = child->GetPadding();
        rc = CUIRect(AddClamped(rc.left, pad.left), AddClamped(rc.top, pad.top),
                     AddClamped(rc.right, -static_cast<long long>(pad.right)),
                     AddClamped(rc.bottom, -static_cast<long long>(pad.bottom)));
        const CUISize desired = child->MeasureDesired(SIZE{rc.GetWidth(), rc.GetHeight()});
        const long long width = desired.cx != 0 ? desired.cx : std::max(rc.GetWidth(), 0);
        const long long height = desired.cy != 0 ? desired.cy : std::max(rc.GetHeight(), 0);
        const int placedWidth = HoldBetween(width, child->GetMinWidth(), child->GetMaxWidth());
        const int placedHeight = HoldBetween(height, child->GetMinHeight(), child->GetMaxHeight());
        child->PlaceAt(RECT{rc.left, rc.top, AddClamped(rc.left, placedWidth), AddClamped(rc.top, placedHeight)},
                       false);
    }
}

void CTabLayoutUI::DescribeAccess(int part, AccessDescription& description) const
{
    if (part == 0)
    {
        CContainerUI::DescribeAccess(0, description);
        description.role = ROLE_SYSTEM_PAGETABLIST;
        description.parts = GetCount();
        return;
    }
    IControlUI* page = ChildAt(part - 1);
    if (page == nullptr)
        return;
    AccessDescription pageDescription;
    page->DescribeAccess(0, pageDescription);
    description.role = ROLE_SYSTEM_PAGETAB;
    description.name = pageDescription.name;
    description.content = page;
    description.action = AccessAction(L"Switch");
    description.state = STATE_SYSTEM_SELECTABLE;
    if (!page->IsEnabled())
        description.state |= STATE_SYSTEM_UNAVAILABLE;
    if (part - 1 == m_selected)
    {
        description.state |= STATE_SYSTEM_SELECTED;
        description.rect = page->GetPos();
    }
    else
    {
        description.state |= STATE_SYSTEM_INVISIBLE;
    }
}

bool CTabLayoutUI::DoAccessAction(int part)
{
    return part > 0 && IsVisible() && IsEnabled() && SelectItem(part - 1);
}

}  // namespace DuiLib
