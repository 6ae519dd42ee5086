// Attribute values of labels, buttons and progress bars, their size
// estimates and their range rules, on controls bound to a manager without a
// window, as the layout builder configures them.
#include <gtest/gtest.h>

#include <string>

#include "tests/controls/ControlsTestSupport.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ProgressUI.h"

namespace DuiLib {
namespace test {
namespace {

TEST(LabelAttributeTest, AlignmentColoursAndEffectsFollowTheirWords)
{
    CLabelUI label;
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_SINGLELINE), label.GetTextStyle());
    label.ApplyAttributeText(L"align=\"right\" valign=\"bottom\"");
    label.ApplyAttribute(L"align", L"center");
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_BOTTOM | DT_SINGLELINE), label.GetTextStyle());
    label.ApplyAttribute(L"multiline", L"true");
    EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_BOTTOM | DT_WORDBREAK), label.GetTextStyle());
    label.ApplyAttribute(L"endellipsis", L"true");
    EXPECT_NE(0u, label.GetTextStyle() & DT_END_ELLIPSIS);

    label.ApplyAttribute(L"textcolor", L"#336699");
    EXPECT_EQ(0xFF336699u, label.GetTextColor());
    label.ApplyAttribute(L"disabledtextcolor", L"#336699");
    EXPECT_EQ(0x00336699u, label.GetDisabledTextColor());

    label.ApplyAttribute(L"shadowoffset", L"2,45");
    EXPECT_FLOAT_EQ(-2.0f, label.GetShadowOffsetX());
    EXPECT_FLOAT_EQ(-2.0f, label.GetShadowOffsetY());
    label.ApplyAttribute(L"shadowoffset", L"2,-135");
    EXPECT_FLOAT_EQ(2.0f, label.GetShadowOffsetX());
    EXPECT_FLOAT_EQ(2.0f, label.GetShadowOffsetY());
    label.ApplyAttribute(L"shadowoffset", L"2,181");
    EXPECT_FLOAT_EQ(2.0f, label.GetShadowOffsetX());
    // Straight down: the top grows, the left stays; at -180 the reverse.
    label.ApplyAttribute(L"shadowoffset", L"2,-90");
    EXPECT_FLOAT_EQ(2.0f, label.GetShadowOffsetX());
    EXPECT_FLOAT_EQ(0.0f, label.GetShadowOffsetY());
    label.ApplyAttribute(L"shadowoffset", L"2,-180");
    EXPECT_FLOAT_EQ(0.0f, label.GetShadowOffsetX());
    EXPECT_FLOAT_EQ(2.0f, label.GetShadowOffsetY());

    label.ApplyAttribute(L"luminousfuzzy", L"0");
    EXPECT_FLOAT_EQ(3.0f, label.GetLuminousFuzzy());
    label.ApplyAttribute(L"luminousfuzzy", L"nan");
    EXPECT_FLOAT_EQ(3.0f, label.GetLuminousFuzzy());
    label.ApplyAttribute(L"luminousfuzzy", L"1.5");
    EXPECT_FLOAT_EQ(1.5f, label.GetLuminousFuzzy());
    // Unknown names go to the control base as custom attributes.
    label.ApplyAttribute(L"mykey", L"v");
    EXPECT_EQ(std::wstring(L"v"), label.GetCustomAttribute(L"mykey"));
}

TEST(LabelAttributeTest, SingleLineEstimateIsTextWidthAndFontHeightPlusPadding)
{
    CUIManager manager;
    CLabelUI label;
    label.BindManager(&manager, nullptr, false);
    label.ApplyAttributeText(L"text=\"abc\" textpadding=\"3,4,5,6\"");
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, manager.GetFont(-1));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    const CUISize size = label.MeasureDesired(SIZE{500, 500});
    EXPECT_EQ(TextWidth(manager, -1, L"abc") + 3 + 5, size.cx);
    EXPECT_EQ(metrics.tmHeight + 8 + 4 + 6, size.cy);

    // With the effect the width grows by 3 %, the same on every call.
    label.ApplyAttribute(L"enabledeffect", L"true");
    const LONG widened = static_cast<LONG>(size.cx * 1.03);
    EXPECT_EQ(widened, label.MeasureDesired(SIZE{500, 500}).cx);
    EXPECT_EQ(widened, label.MeasureDesired(SIZE{500, 500}).cx);

    // Multi-line: the width is the available width, the height grows with it.
    CLabelUI wrapped;
    wrapped.BindManager(&manager, nullptr, false);
    wrapped.ApplyAttributeText(L"multiline=\"true\" text=\"one two three four five six seven eight\"");
    const CUISize wide = wrapped.MeasureDesired(SIZE{1000, 500});
    const CUISize narrow = wrapped.MeasureDesired(SIZE{60, 500});
    EXPECT_EQ(1000, wide.cx);
    EXPECT_EQ(60, narrow.cx);
    EXPECT_GT(narrow.cy, wide.cy);
    label.BindManager(nullptr, nullptr, false);
    wrapped.BindManager(nullptr, nullptr, false);
}

TEST(ProgressAttributeTest, ValueIsClampedAndPaintingRepairsTheRange)
{
    CProgressUI progress;
    EXPECT_TRUE(progress.IsHorizontal());
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_CENTER), progress.GetTextStyle());
    progress.ApplyAttribute(L"value", L"150");
    EXPECT_EQ(100, progress.GetValue());
    progress.ApplyAttribute(L"max", L"50");
    EXPECT_EQ(100, progress.GetValue());
    progress.PaintStateImage(nullptr);
    EXPECT_EQ(50, progress.GetValue());

    progress.ApplyAttributeText(L"min=\"10\" max=\"10\"");
    progress.PaintStateImage(nullptr);
    EXPECT_EQ(11, progress.GetMaxValue());
    EXPECT_EQ(11, progress.GetValue());  // 50 lowered to the repaired maximum

    // Extreme ranges neither overflow nor leave an empty range.
    progress.ApplyAttributeText(L"min=\"2147483647\" max=\"2147483647\" value=\"5\"");
    progress.PaintStateImage(nullptr);
    EXPECT_LT(progress.GetMinValue(), progress.GetMaxValue());
    progress.ApplyAttributeText(L"min=\"-2147483648\" max=\"2147483647\" value=\"2147483647\" pos=\"0,0,16777216,10\"");
    progress.PaintStateImage(nullptr);
    EXPECT_EQ(2147483647, progress.GetValue());
    progress.ApplyAttribute(L"hor", L"no");
    EXPECT_FALSE(progress.IsHorizontal());
}

TEST(ButtonAttributeTest, FiveStatusImageCutsFifthsAndEstimateUsesFontHeight)
{
    CUIManager manager;
    CButtonUI button;
    button.BindManager(&manager, nullptr, false);
    const std::wstring image = SolidImage(L"kalvex_five.bmp", 0x112233, 500, 10);
    button.ApplyAttribute(L"fivestatusimage", image.c_str());
    const auto expectPart = [](const RECT& expected, const RECT& part) {
        EXPECT_TRUE(EqualRect(&expected, &part)) << part.left << "," << part.top << "," << part.right << ","
                                                 << part.bottom;
    };
    expectPart(RECT{0, 0, 100, 10}, button.GetNormalImage().sourcePart);
    expectPart(RECT{100, 0, 200, 10}, button.GetPushedImage().sourcePart);
    expectPart(RECT{200, 0, 300, 10}, button.GetHotImage().sourcePart);
    // A floating button without a size takes one fifth's; one with a width
    // keeps it.
    for (const wchar_t* width : {L"0", L"70"})
    {
        CButtonUI floating;
        floating.BindManager(&manager, nullptr, false);
        floating.ApplyAttribute(L"float", L"true");
        floating.ApplyAttribute(L"width", width);
        floating.ApplyAttribute(L"fivestatusimage", image.c_str());
        EXPECT_EQ(width[0] == L'0' ? 100 : 70, floating.GetFixedWidth());
        EXPECT_EQ(width[0] == L'0' ? 10 : 0, floating.GetFixedHeight());
    }

    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER), button.GetTextStyle());
    button.ApplyAttributeText(L"width=\"70\" text=\"a much longer text than seventy pixels\"");
    const CUISize size = button.MeasureDesired(SIZE{500, 500});
    EXPECT_EQ(70, size.cx);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, manager.GetFont(-1));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ASSERT_GT(metrics.tmHeight, 0);
    EXPECT_EQ(metrics.tmHeight + 8, size.cy);
    button.ApplyAttribute(L"height", L"33");
    EXPECT_EQ(33, button.MeasureDesired(SIZE{500, 500}).cy);

    button.ApplyAttributeText(L"fadedelta=\"300\" hottextcolor=\"#FF00FF00\" cursor=\"ibeam\"");
    EXPECT_EQ(static_cast<BYTE>(300 & 0xFF), button.GetFadeDelta());
    EXPECT_EQ(0xFF00FF00u, button.GetHotTextColor());
    EXPECT_EQ(std::wstring(L"ibeam"), button.GetCursorName().GetData());
    button.SetEnabled(false);
    EXPECT_EQ(0u, button.GetButtonState());
    button.BindManager(nullptr, nullptr, false);
}

TEST(OptionGroupTest, MembershipFollowsTheBuildersBindingAndEndsWithTheOption)
{
    CUIManager manager;
    // As the layout builder configures a control: bound for its attributes,
    // then unbound until the tree is registered.
    const auto build = [&manager](const wchar_t* attributes) {
        auto* option = new COptionUI();
        option->BindManager(&manager, nullptr, false);
        option->ApplyAttributeText(attributes);
        option->BindManager(nullptr, nullptr, false);
        return option;
    };
    COptionUI* first = build(L"group=\"g\" selected=\"true\"");
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"g"));
    first->BindManager(&manager, nullptr, false);
    COptionUI* second = build(L"group=\"g\"");
    second->BindManager(&manager, nullptr, false);
    const CPtrList* members = manager.OptionGroupMembers(L"g");
    ASSERT_NE(nullptr, members);
    EXPECT_EQ(2, members->GetSize());

    second->Select(true, false);
    EXPECT_FALSE(first->IsSelected());
    // Renaming the group moves the option; deleting it leaves the group.
    second->SetGroup(L"h");
    EXPECT_EQ(1, manager.OptionGroupMembers(L"g")->GetSize());
    EXPECT_EQ(1, manager.OptionGroupMembers(L"h")->GetSize());
    second->Delete();
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"h"));
    first->Delete();
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"g"));
}

TEST(OptionGroupTest, SelectedOptionsJoiningOneGroupLeaveTheLaterSelected)
{
    CUIManager manager;
    COptionUI first;
    COptionUI second;
    first.ApplyAttributeText(L"group=\"g\" selected=\"true\"");
    second.ApplyAttributeText(L"selected=\"true\" group=\"g\"");
    ASSERT_TRUE(first.IsSelected());
    ASSERT_TRUE(second.IsSelected());
    // As RegisterControlTree binds a tree, in tree order.
    first.BindManager(&manager, nullptr, true);
    second.BindManager(&manager, nullptr, true);
    ASSERT_NE(nullptr, manager.OptionGroupMembers(L"g"));
    EXPECT_EQ(2, manager.OptionGroupMembers(L"g")->GetSize());
    EXPECT_FALSE(first.IsSelected());
    EXPECT_TRUE(second.IsSelected());
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
