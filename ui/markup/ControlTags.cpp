// The tag table behind CreateControlForTag. Each row names a tag as skins
// write it, its class and the class's factory; a row without a factory marks
// a tag the skins may use whose class the toolkit does not have yet.
#include "ui/markup/ControlTags.h"

#include <cwchar>

#include "ui/control/ChildLayoutUI.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/ControlUI.h"
#include "ui/control/HorizontalLayoutUI.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/control/TabLayoutUI.h"
#include "ui/control/TileLayoutUI.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/ChrysanthemumLoadingUI.h"
#include "ui/controls/DateTimeUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/GifAnimUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/RotateImageUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TextUI.h"

namespace DuiLib {

namespace {

template <class Control>
IControlUI* Make()
{
    return new Control();
}

// FIXME: the rows with a null factory wait for their classes; until then the
// builder skips these elements with their children.
const ControlTag kControlTags[] = {
    {L"Control", TagCase::Any, L"CControlUI", &Make<CControlUI>},
    {L"Container", TagCase::Any, L"CContainerUI", &Make<CContainerUI>},
    {L"VerticalLayout", TagCase::Any, L"CVerticalLayoutUI", &Make<CVerticalLayoutUI>},
    {L"VBox", TagCase::Any, L"CVerticalLayoutUI", &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", TagCase::Any, L"CHorizontalLayoutUI", &Make<CHorizontalLayoutUI>},
    {L"HBox", TagCase::Any, L"CHorizontalLayoutUI", &Make<CHorizontalLayoutUI>},
    {L"TileLayout", TagCase::Any, L"CTileLayoutUI", &Make<CTileLayoutUI>},
    {L"TabLayout", TagCase::Any, L"CTabLayoutUI", &Make<CTabLayoutUI>},
    {L"ChildLayout", TagCase::Any, L"CChildLayoutUI", &Make<CChildLayoutUI>},
    {L"Label", TagCase::Any, L"CLabelUI", &Make<CLabelUI>},
    {L"Button", TagCase::Any, L"CButtonUI", &Make<CButtonUI>},
    {L"Option", TagCase::Any, L"COptionUI", &Make<COptionUI>},
    {L"CheckBox", TagCase::Any, L"CCheckBoxUI", &Make<CCheckBoxUI>},
    {L"Text", TagCase::Any, L"CTextUI", &Make<CTextUI>},
    {L"Edit", TagCase::Any, L"CEditUI", &Make<CEditUI>},
    {L"RichEdit", TagCase::Any, L"CRichEditUI", nullptr},
    {L"Progress", TagCase::Any, L"CProgressUI", &Make<CProgressUI>},
    {L"Slider", TagCase::Any, L"CSliderUI", &Make<CSliderUI>},
    {L"ScrollBar", TagCase::Any, L"CScrollBarUI", &Make<CScrollBarUI>},
    {L"Combo", TagCase::Any, L"CComboUI", nullptr},
    {L"ComboBox", TagCase::Any, L"CComboUI", nullptr},
    {L"List", TagCase::Any, L"CListUI", nullptr},
    {L"ListHeader", TagCase::Any, L"CListHeaderUI", nullptr},
    {L"ListHeaderItem", TagCase::Any, L"CListHeaderItemUI", nullptr},
    {L"ListTextElement", TagCase::Any, L"CListTextElementUI", nullptr},
    {L"ListLabelElement", TagCase::Any, L"CListLabelElementUI", nullptr},
    {L"ListHBoxElement", TagCase::Any, L"CListHBoxElementUI", nullptr},
    {L"ListContainerElement", TagCase::Any, L"CListContainerElementUI", nullptr},
    {L"Tree", TagCase::Any, L"CTreeViewUI", nullptr},
    {L"TreeView", TagCase::Any, L"CTreeViewUI", nullptr},
    {L"TreeNode", TagCase::Any, L"CTreeNodeUI", nullptr},
    {L"DateTime", TagCase::Any, L"CDateTimeUI", &Make<CDateTimeUI>},
    {L"ActiveX", TagCase::Any, L"CActiveXUI", nullptr},
    {L"WebBrowser", TagCase::Any, L"CWebBrowserUI", nullptr},
    {L"GifAnim", TagCase::Exact, L"CGifAnimUI", &Make<CGifAnimUI>},
    {L"GifButton", TagCase::Any, L"CGifButtonUI", &Make<CGifButtonUI>},
    {L"RotateImage", TagCase::Any, L"CRotateImageUI", &Make<CRotateImageUI>},
    {L"ChrysanthemumLoading", TagCase::Any, L"CChrysanthemumLoadingUI", &Make<CChrysanthemumLoadingUI>},
};

}  // namespace

const ControlTag* GetControlTags(int& count)
{
    count = static_cast<int>(sizeof(kControlTags) / sizeof(kControlTags[0]));
    return kControlTags;
}

const ControlTag* FindControlTag(const wchar_t* tag)
{
    if (tag == nullptr)
        return nullptr;
    const size_t length = wcslen(tag);
    for (const ControlTag& row : kControlTags)
    {
        // Lengths first: most rows differ there and cost no comparison.
        if (wcslen(row.tag) != length)
            continue;
        const bool matches = row.tagCase == TagCase::Exact ? wcscmp(tag, row.tag) == 0 : _wcsicmp(tag, row.tag) == 0;
        if (matches)
            return &row;
    }
    return nullptr;
}

IControlUI* CreateControlForTag(const wchar_t* tag)
{
    const ControlTag* row = FindControlTag(tag);
    return row != nullptr && row->make != nullptr ? row->make() : nullptr;
}

}  // namespace DuiLib
