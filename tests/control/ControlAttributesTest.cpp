// The base attribute table of CControlUI, the name="value" list reader and
// custom attributes, on controls without a manager.
#include "ui/control/ControlUI.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace DuiLib;

namespace {

struct ControlDeleter
{
    void operator()(CControlUI* control) const { control->Delete(); }
};
using ControlPtr = std::unique_ptr<CControlUI, ControlDeleter>;

ControlPtr MakeControl()
{
    return ControlPtr(new CControlUI());
}

}  // namespace

TEST(ControlAttributes, EachNameReachesItsSetter)
{
    const struct
    {
        const wchar_t* name;
        const wchar_t* value;
        std::function<bool(CControlUI&)> check;
    } table[] = {
        {L"padding", L"1,2,3,4",
         [](CControlUI& c) {
             const CUIRect p = c.GetPadding();
             return p.left == 1 && p.top == 2 && p.right == 3 && p.bottom == 4;
         }},
        {L"bkcolor", L"#FF3366CC", [](CControlUI& c) { return c.GetBkColor() == 0xFF3366CC; }},
        {L"bkcolor1", L"FF112233", [](CControlUI& c) { return c.GetBkColor() == 0xFF112233; }},
        {L"bkcolor2", L" #FF445566", [](CControlUI& c) { return c.GetBkColor2() == 0xFF445566; }},
        {L"bkcolor3", L"#80778899", [](CControlUI& c) { return c.GetBkColor3() == 0x80778899; }},
        {L"bordercolor", L"#FF0000FF", [](CControlUI& c) { return c.GetBorderColor() == 0xFF0000FF; }},
        {L"focusbordercolor", L"FF00FF00", [](CControlUI& c) { return c.GetFocusBorderColor() == 0xFF00FF00; }},
        {L"colorhsl", L"true", [](CControlUI& c) { return c.IsColorHsl(); }},
        {L"borderstyle", L"2", [](CControlUI& c) { return c.GetBorderStyle() == 2; }},
        {L"borderround", L"6,4",
         [](CControlUI& c) { return c.GetBorderRound().cx == 6 && c.GetBorderRound().cy == 4; }},
        {L"bkimage", L"file='bk/main_bk.png'",
         [](CControlUI& c) { return std::wstring(c.GetBkImage()) == L"file='bk/main_bk.png'"; }},
        {L"foreimage", L"fore.png", [](CControlUI& c) { return std::wstring(c.GetForeImage()) == L"fore.png"; }},
        {L"width", L"60", [](CControlUI& c) { return c.GetFixedWidth() == 60; }},
        {L"height", L"24", [](CControlUI& c) { return c.GetFixedHeight() == 24; }},
        {L"minwidth", L"10", [](CControlUI& c) { return c.GetMinWidth() == 10; }},
        {L"minheight", L"11", [](CControlUI& c) { return c.GetMinHeight() == 11; }},
        {L"maxwidth", L"300", [](CControlUI& c) { return c.GetMaxWidth() == 300; }},
        {L"maxheight", L"200", [](CControlUI& c) { return c.GetMaxHeight() == 200; }},
        {L"name", L"unins_btn", [](CControlUI& c) { return c.GetName() == L"unins_btn"; }},
        {L"text", L"OK", [](CControlUI& c) { return c.GetText() == L"OK"; }},
        {L"tooltip", L"Tip", [](CControlUI& c) { return c.GetToolTip() == L"Tip"; }},
        {L"userdata", L"free text", [](CControlUI& c) { return c.GetUserData() == L"free text"; }},
        {L"tag", L"1234", [](CControlUI& c) { return c.GetTag() == 1234u; }},
        {L"enabled", L"false", [](CControlUI& c) { return !c.IsEnabled(); }},
        {L"mouse", L"false", [](CControlUI& c) { return !c.IsMouseEnabled(); }},
        {L"keyboard", L"false", [](CControlUI& c) { return !c.IsKeyboardEnabled(); }},
        {L"visible", L"false", [](CControlUI& c) { return !c.IsVisible(); }},
        {L"float", L"true", [](CControlUI& c) { return c.IsFloat(); }},
        {L"shortcut", L"Kx", [](CControlUI& c) { return c.GetShortcut() == L'K'; }},
        {L"menu", L"true", [](CControlUI& c) { return c.IsContextMenuUsed(); }},
        {L"virtualwnd", L"page1", [](CControlUI& c) { return c.VirtualWindowName() == L"page1"; }},
    };
    for (const auto& row : table)
    {
        ControlPtr control = MakeControl();
        control->ApplyAttribute(row.name, row.value);
        EXPECT_TRUE(row.check(*control)) << row.name << L"=" << row.value;
        // A known name never lands among the custom attributes.
        EXPECT_EQ(nullptr, control->GetCustomAttribute(row.name)) << row.name;
    }
}

TEST(ControlAttributes, PosSetsFixedPlaceAndSize)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"pos", L"10,20,110,60");
    EXPECT_EQ(10, control->GetFixedXY().cx);
    EXPECT_EQ(20, control->GetFixedXY().cy);
    EXPECT_EQ(100, control->GetFixedWidth());
    EXPECT_EQ(40, control->GetFixedHeight());
}

TEST(ControlAttributes, PosWithANegativeWidthKeepsTheWidth)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"pos", L"10,20,110,60");
    control->ApplyAttribute(L"pos", L"10,20,5,70");
    EXPECT_EQ(100, control->GetFixedWidth());
    EXPECT_EQ(50, control->GetFixedHeight());
    EXPECT_EQ(10, control->GetFixedXY().cx);
}

TEST(ControlAttributes, PosWithHugeNumbersStaysWithinTheLayoutBound)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"pos", L"-99999999999,0,99999999999,5");
    EXPECT_EQ(-(1 << 24), control->GetFixedXY().cx);
    EXPECT_EQ(2 * (1 << 24), control->GetFixedWidth());
    control->ApplyAttribute(L"width", L"99999999999");
    EXPECT_EQ(1 << 24, control->GetFixedWidth());
}

TEST(ControlAttributes, TruncatedPosReadsMissingNumbersAsZero)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"pos", L"10,20");
    EXPECT_EQ(10, control->GetFixedXY().cx);
    EXPECT_EQ(20, control->GetFixedXY().cy);
    // right 0 - left 10 is negative: the width stays 0.
    EXPECT_EQ(0, control->GetFixedWidth());
    EXPECT_EQ(0, control->GetFixedHeight());
}

TEST(ControlAttributes, BackgroundColourSpellingsAgree)
{
    for (const wchar_t* text : {L"#FF3366CC", L"FF3366CC", L" #FF3366CC", L"0xFF3366CC"})
    {
        ControlPtr control = MakeControl();
        control->ApplyAttribute(L"bkcolor", text);
        EXPECT_EQ(0xFF3366CCu, control->GetBkColor()) << text;
    }
}

TEST(ControlAttributes, BorderColourWithALeadingBlankIsNoColour)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"bordercolor", L" #FF3366CC");
    EXPECT_EQ(0u, control->GetBorderColor());
    control->ApplyAttribute(L"focusbordercolor", L" FF3366CC");
    EXPECT_EQ(0u, control->GetFocusBorderColor());
}

TEST(ControlAttributes, SixDigitColourHasAlphaZero)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"bkcolor", L"#3366CC");
    EXPECT_EQ(0x003366CCu, control->GetBkColor());
}

TEST(ControlAttributes, MalformedColoursReadAsFarAsTheyGo)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"bkcolor", L"#FFZZ");
    EXPECT_EQ(0xFFu, control->GetBkColor());
    control->ApplyAttribute(L"bkcolor", L"#");
    EXPECT_EQ(0u, control->GetBkColor());
    control->ApplyAttribute(L"bkcolor", L"#FFFFFFFFFFFFFFFFFFFFFFFF");
    EXPECT_EQ(0xFFFFFFFFu, control->GetBkColor());
}

TEST(ControlAttributes, OnlyExactTrueIsTrue)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"visible", L"True");
    EXPECT_FALSE(control->IsVisible());
    control->ApplyAttribute(L"visible", L"true");
    EXPECT_TRUE(control->IsVisible());
    control->ApplyAttribute(L"enabled", L"1");
    EXPECT_FALSE(control->IsEnabled());
    control->ApplyAttribute(L"menu", L"TRUE");
    EXPECT_FALSE(control->IsContextMenuUsed());
}

TEST(ControlAttributes, BorderSizeTakesOneValueOrFour)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"bordersize", L"2");
    CUIRect sizes = control->GetBorderSize();
    EXPECT_EQ(2, sizes.left);
    EXPECT_EQ(2, sizes.top);
    EXPECT_EQ(2, sizes.right);
    EXPECT_EQ(2, sizes.bottom);

    control->ApplyAttribute(L"bordersize", L"1,0,1,0");
    sizes = control->GetBorderSize();
    EXPECT_EQ(1, sizes.left);
    EXPECT_EQ(0, sizes.top);
    EXPECT_EQ(1, sizes.right);
    EXPECT_EQ(0, sizes.bottom);

    control->ApplyAttribute(L"bordersize", L"3,");
    sizes = control->GetBorderSize();
    EXPECT_EQ(3, sizes.left);
    EXPECT_EQ(0, sizes.top);
}

TEST(ControlAttributes, FloatTakesABooleanOrAnchors)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"float", L"0.5,0,0.5,0");
    EXPECT_TRUE(control->IsFloat());
    const FloatPercent anchors = control->GetFloatPercent();
    EXPECT_DOUBLE_EQ(0.5, anchors.left);
    EXPECT_DOUBLE_EQ(0.0, anchors.top);
    EXPECT_DOUBLE_EQ(0.5, anchors.right);
    EXPECT_DOUBLE_EQ(0.0, anchors.bottom);

    control->ApplyAttribute(L"float", L"false");
    EXPECT_FALSE(control->IsFloat());
    EXPECT_DOUBLE_EQ(0.5, control->GetFloatPercent().left);
}

TEST(ControlAttributes, EmptyShortcutClearsIt)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"shortcut", L"Q");
    control->ApplyAttribute(L"shortcut", L"");
    EXPECT_EQ(L'\0', control->GetShortcut());
}

TEST(ControlAttributes, NegativeTagWrapsToTheUnsignedWord)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"tag", L"-1");
    EXPECT_EQ(static_cast<UINT_PTR>(-1), control->GetTag());
}

TEST(ControlAttributes, NamesAreCaseSensitive)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"Width", L"60");
    control->ApplyAttribute(L"BKCOLOR", L"#FF000000");
    EXPECT_EQ(0, control->GetFixedWidth());
    EXPECT_EQ(0u, control->GetBkColor());
    EXPECT_STREQ(L"60", control->GetCustomAttribute(L"Width"));
    EXPECT_STREQ(L"#FF000000", control->GetCustomAttribute(L"BKCOLOR"));
}

TEST(ControlAttributes, NullNameIsIgnoredAndNullValueCountsAsEmpty)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(nullptr, L"1");
    control->ApplyAttribute(L"width", L"30");
    control->ApplyAttribute(L"width", nullptr);
    EXPECT_EQ(0, control->GetFixedWidth());
    control->ApplyAttribute(L"text", nullptr);
    EXPECT_TRUE(control->GetText().IsEmpty());
}

TEST(ControlAttributes, BaseKeepsNoReadableAttributeList)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"width", L"30");
    EXPECT_TRUE(control->GetAttribute(L"width").IsEmpty());
    EXPECT_TRUE(control->AttributeListText(false).IsEmpty());
    EXPECT_TRUE(control->AttributeListText(true).IsEmpty());
}

TEST(ControlCustomAttributes, UnknownNamesAreKeptAndTheFirstValueStays)
{
    ControlPtr control = MakeControl();
    control->ApplyAttribute(L"skinid", L"first");
    control->ApplyAttribute(L"skinid", L"second");
    EXPECT_STREQ(L"first", control->GetCustomAttribute(L"skinid"));
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L"other"));
    EXPECT_EQ(nullptr, control->GetCustomAttribute(nullptr));
}

TEST(ControlCustomAttributes, EmptyNameOrValueIsNotStored)
{
    ControlPtr control = MakeControl();
    control->AddCustomAttribute(L"", L"x");
    control->AddCustomAttribute(nullptr, L"x");
    control->AddCustomAttribute(L"a", L"");
    control->AddCustomAttribute(L"b", nullptr);
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L""));
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L"a"));
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L"b"));
    // An empty value keeps the name free for a later value.
    control->AddCustomAttribute(L"a", L"later");
    EXPECT_STREQ(L"later", control->GetCustomAttribute(L"a"));
}

TEST(ControlCustomAttributes, RemoveAllEmptiesTheTable)
{
    ControlPtr control = MakeControl();
    for (int i = 0; i < 200; ++i)
        control->AddCustomAttribute((L"k" + std::to_wstring(i)).c_str(), L"v");
    EXPECT_STREQ(L"v", control->GetCustomAttribute(L"k199"));
    control->RemoveAllCustomAttributes();
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L"k0"));
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L"k199"));
    control->AddCustomAttribute(L"k0", L"again");
    EXPECT_STREQ(L"again", control->GetCustomAttribute(L"k0"));
}

TEST(ControlAttributeText, AppliesEveryItemOfAWellFormedList)
{
    ControlPtr control = MakeControl();
    control->ApplyAttributeText(L"width=\"60\" text=\"OK\" bkcolor=\"#FF102030\"");
    EXPECT_EQ(60, control->GetFixedWidth());
    EXPECT_EQ(L"OK", control->GetText());
    EXPECT_EQ(0xFF102030u, control->GetBkColor());
}

TEST(ControlAttributeText, TwoBlanksMakeTheNextNameStartWithABlank)
{
    ControlPtr control = MakeControl();
    control->ApplyAttributeText(L"width=\"1\"  height=\"2\"");
    EXPECT_EQ(1, control->GetFixedWidth());
    EXPECT_EQ(0, control->GetFixedHeight());
    // The name collected is " height", which the table does not know.
    EXPECT_STREQ(L"2", control->GetCustomAttribute(L" height"));
}

TEST(ControlAttributeText, AnythingButOneBlankAfterAValueEndsTheList)
{
    ControlPtr control = MakeControl();
    control->ApplyAttributeText(L"width=\"1\",height=\"2\"");
    EXPECT_EQ(1, control->GetFixedWidth());
    EXPECT_EQ(0, control->GetFixedHeight());
    EXPECT_EQ(nullptr, control->GetCustomAttribute(L",height"));
}

TEST(ControlAttributeText, MalformedItemsStopTheListKeepingEarlierOnes)
{
    const struct
    {
        const wchar_t* list;
        int width;
        int height;
    } table[] = {
        {L"width=\"5\" height", 5, 0},            // no '='
        {L"width=\"5\" height=7", 5, 0},          // no opening quote
        {L"width=\"5\" height=\"7", 5, 0},        // no closing quote
        {L"width=\"5\" height='7'", 5, 0},        // single quotes are not quotes here
        {L"width=\"5\" ", 5, 0},                  // a trailing blank and nothing after
        {L"", 0, 0},
        {L"=\"5\" height=\"9\"", 0, 9},           // an empty name is applied (and ignored)
        {L"width=\"\" height=\"3\"", 0, 3},       // an empty value reads 0
    };
    for (const auto& row : table)
    {
        ControlPtr control = MakeControl();
        control->ApplyAttributeText(row.list);
        EXPECT_EQ(row.width, control->GetFixedWidth()) << row.list;
        EXPECT_EQ(row.height, control->GetFixedHeight()) << row.list;
    }
    ControlPtr control = MakeControl();
    control->ApplyAttributeText(nullptr);
    EXPECT_EQ(0, control->GetFixedWidth());
}

TEST(ControlAttributeText, EntitiesAreNotDecoded)
{
    ControlPtr control = MakeControl();
    control->ApplyAttributeText(L"text=\"a&amp;b\"");
    EXPECT_EQ(L"a&amp;b", control->GetText());
}

TEST(ControlToolTip, LineTagsBecomeLineBreaks)
{
    ControlPtr control = MakeControl();
    control->SetToolTip(L"line1<n>line2");
    EXPECT_EQ(L"line1\r\nline2", control->GetToolTip());
    control->ApplyAttribute(L"tooltip", L"<n><n>x<n");
    EXPECT_EQ(L"\r\n\r\nx<n", control->GetToolTip());
    control->SetToolTip(nullptr);
    EXPECT_TRUE(control->GetToolTip().IsEmpty());
}
