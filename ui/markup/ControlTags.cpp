// The tag table behind CreateControlForTag. Each row names a tag as skins
// write it and the factory of its class; a row without a factory marks a tag
// the skins may use whose class the toolkit does not have yet.
#include "ui/markup/ControlTags.h"

#include <cwchar>

#include "ui/control/ChildLayoutUI.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/ControlUI.h"
#include "ui/control/HorizontalLayoutUI.h"
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
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/SliderUI.h"
#include "ui/controls/TextUI.h"

namespace DuiLib {

namespace {

template <class Control>
IControlUI* Make()
{
    return new Control();
}

enum class TagCase
{
    Any,    // compared without regard to case
    Exact,  // matches only in exactly this spelling
};

struct ControlTag
{
    const wchar_t* tag;
    TagCase tagCase;
    IControlUI* (*make)();  // null: no class yet
};

// FIXME: the rows with a null factory wait for their classes; until then the
// builder skips these elements with their children.
const ControlTag kControlTags[] = {
    {L"Control", TagCase::Any, &Make<CControlUI>},
    {L"Container", TagCase::Any, &Make<CContainerUI>},
    {L"VerticalLayout", TagCase::Any, &Make<CVerticalLayoutUI>},
    {L"VBox", TagCase::Any, &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", TagCase::Any, &Make<CHorizontalLayoutUI>},
    {L"HBox", TagCase::Any, &Make<CHorizontalLayoutUI>},
    {L"TileLayout", TagCase::Any, &Make<CTileLayoutUI>},
    {L"TabLayout", TagCase::Any, &Make<CTabLayoutUI>},
    {L"ChildLayout", TagCase::Any, &Make<CChildLayoutUI>},
    {L"Label", TagCase::Any, &Make<CLabelUI>},
    {L"Button", TagCase::Any, &Make<CButtonUI>},
    {L"Option", TagCase::Any, &Make<COptionUI>},
    {L"CheckBox", TagCase::Any, &Make<CCheckBoxUI>},
    {L"Text", TagCase::Any, &Make<CTextUI>},
    {L"Edit", TagCase::Any, &Make<CEditUI>},
    {L"RichEdit", TagCase::Any, nullptr},
    {L"Progress", TagCase::Any, &Make<CProgressUI>},
    {L"Slider", TagCase::Any, &Make<CSliderUI>},
    {L"ScrollBar", TagCase::Any, &Make<CScrollBarUI>},
    {L"Combo", TagCase::Any, nullptr},
    {L"ComboBox", TagCase::Any, nullptr},
    {L"List", TagCase::Any, nullptr},
    {L"ListHeader", TagCase::Any, nullptr},
    {L"ListHeaderItem", TagCase::Any, nullptr},
    {L"ListTextElement", TagCase::Any, nullptr},
    {L"ListLabelElement", TagCase::Any, nullptr},
    {L"ListHBoxElement", TagCase::Any, nullptr},
    {L"ListContainerElement", TagCase::Any, nullptr},
    {L"Tree", TagCase::Any, nullptr},
    {L"TreeView", TagCase::Any, nullptr},
    {L"DateTime", TagCase::Any, &Make<CDateTimeUI>},
    {L"ActiveX", TagCase::Any, nullptr},
    {L"WebBrowser", TagCase::Any, nullptr},
    {L"GifAnim", TagCase::Exact, &Make<CGifAnimUI>},
    {L"GifButton", TagCase::Any, &Make<CGifButtonUI>},
    {L"RotateImage", TagCase::Any, &Make<CRotateImageUI>},
    {L"ChrysanthemumLoading", TagCase::Any, &Make<CChrysanthemumLoadingUI>},
};

}  // namespace

IControlUI* CreateControlForTag(const wchar_t* tag)
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
            return row.make != nullptr ? row.make() : nullptr;
    }
    return nullptr;
}

}  // namespace DuiLib
