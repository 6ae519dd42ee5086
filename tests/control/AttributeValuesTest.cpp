// The attribute value syntaxes alone: booleans, integers, colours, rectangle
// and size lists and fraction lists, with malformed, truncated and huge input.
#include "ui/control/AttributeValues.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace DuiLib;

TEST(AttributeBool, OnlyTheExactLowerCaseTrueIsTrue)
{
    const struct
    {
        const wchar_t* text;
        bool expected;
    } table[] = {
        {L"true", true}, {L"TRUE", false}, {L"True", false}, {L"1", false},     {L"yes", false},
        {L"", false},    {L" true", false}, {L"true ", false}, {L"truex", false}, {nullptr, false},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.expected, ParseBool(row.text)) << (row.text != nullptr ? row.text : L"(null)");
}

TEST(AttributeInt, ReadsDecimalWithBlanksAndSignUpToTheFirstNonDigit)
{
    const struct
    {
        const wchar_t* text;
        int expected;
    } table[] = {
        {L"42", 42},       {L"-17", -17},  {L"+8", 8},    {L"  12", 12}, {L"\t7", 7},   {L"12px", 12},
        {L"3.9", 3},       {L"", 0},       {L"abc", 0},   {L"-", 0},     {L"0x10", 0},  {nullptr, 0},
        {L"2147483647", INT_MAX},          {L"99999999999999999999", INT_MAX},
        {L"-2147483648", INT_MIN},         {L"-99999999999999999999", INT_MIN},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.expected, ParseInt(row.text)) << (row.text != nullptr ? row.text : L"(null)");
}

TEST(AttributeInt, CoordinatesAreHeldWithinTheLayoutBound)
{
    EXPECT_EQ(250, ParseCoordinate(L"250"));
    EXPECT_EQ(-250, ParseCoordinate(L"-250"));
    EXPECT_EQ(1 << 24, ParseCoordinate(L"16777216"));
    EXPECT_EQ(1 << 24, ParseCoordinate(L"16777217"));
    EXPECT_EQ(1 << 24, ParseCoordinate(L"99999999999999999999999999"));
    EXPECT_EQ(-(1 << 24), ParseCoordinate(L"-4000000000"));
    EXPECT_EQ(0, ParseCoordinate(nullptr));
}

TEST(AttributeColor, ReadsHexWordsWithOptionalHashAndPrefix)
{
    const struct
    {
        const wchar_t* text;
        DWORD skipping;  // background colours
        DWORD strict;    // border colours
    } table[] = {
        {L"#FF3366CC", 0xFF3366CC, 0xFF3366CC},
        {L"FF3366CC", 0xFF3366CC, 0xFF3366CC},
        {L" #FF3366CC", 0xFF3366CC, 0},  // only the background colours skip blanks
        {L"\tFF3366CC", 0xFF3366CC, 0},
        {L"#3366CC", 0x003366CC, 0x003366CC},  // six digits: alpha 0
        {L"0xFF102030", 0xFF102030, 0xFF102030},
        {L"#0XFF102030", 0xFF102030, 0xFF102030},
        {L"#ff3366cc", 0xFF3366CC, 0xFF3366CC},
        {L"#FF33GG00", 0xFF33, 0xFF33},  // stops at the first non-hex digit
        {L"#", 0, 0},
        {L"", 0, 0},
        {L"##FF000000", 0, 0},
        {L"#-1", 0, 0},  // no sign
        {L"# FF000000", 0, 0},
        {L"xyz", 0, 0},
        {L"#FFFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFF},  // too many digits saturate
        {L"#123456789ABCDEF0123", 0xFFFFFFFF, 0xFFFFFFFF},
        {L"00000000FF0000FF", 0xFF0000FF, 0xFF0000FF},  // leading zeros are not significant
        {nullptr, 0, 0},
    };
    for (const auto& row : table)
    {
        const std::wstring shown = row.text != nullptr ? row.text : L"(null)";
        EXPECT_EQ(row.skipping, ParseColor(row.text, ColorBlanks::Skip)) << shown;
        EXPECT_EQ(row.strict, ParseColor(row.text, ColorBlanks::Refuse)) << shown;
    }
}

TEST(AttributeRect, StepsOverExactlyOneSeparatorAfterEachNumber)
{
    const struct
    {
        const wchar_t* text;
        CUIRect expected;
    } table[] = {
        {L"10,20,110,60", CUIRect(10, 20, 110, 60)},
        {L"1;2;3;4", CUIRect(1, 2, 3, 4)},          // any separator character
        {L"-5,-6,7,8", CUIRect(-5, -6, 7, 8)},
        {L"1, 2, 3, 4", CUIRect(1, 2, 3, 4)},       // blanks before a number are skipped
        {L"1,,3,4", CUIRect(1, 0, 3, 4)},           // an empty item reads 0 and costs its separator
        {L"1,2", CUIRect(1, 2, 0, 0)},              // truncated: the rest read 0
        {L"1,2,", CUIRect(1, 2, 0, 0)},
        {L"7", CUIRect(7, 0, 0, 0)},
        {L"", CUIRect(0, 0, 0, 0)},
        {L"a,b,c,d", CUIRect(0, 0, 0, 0)},
        {L"1,2,3,4,5,6", CUIRect(1, 2, 3, 4)},
        {L"99999999999,2,-99999999999,4", CUIRect(1 << 24, 2, -(1 << 24), 4)},
        {nullptr, CUIRect(0, 0, 0, 0)},
    };
    for (const auto& row : table)
    {
        const CUIRect r = ParseRect(row.text);
        const std::wstring shown = row.text != nullptr ? row.text : L"(null)";
        EXPECT_EQ(row.expected.left, r.left) << shown;
        EXPECT_EQ(row.expected.top, r.top) << shown;
        EXPECT_EQ(row.expected.right, r.right) << shown;
        EXPECT_EQ(row.expected.bottom, r.bottom) << shown;
    }
}

TEST(AttributeRect, ATruncatedListNeverReadsPastItsEnd)
{
    // The list ends right after a separator, with text behind the terminator
    // that must not be read.
    const wchar_t buffer[] = {L'1', L',', L'2', L',', L'\0', L'9', L'9', L'\0'};
    const CUIRect r = ParseRect(buffer);
    EXPECT_EQ(1, r.left);
    EXPECT_EQ(2, r.top);
    EXPECT_EQ(0, r.right);
    EXPECT_EQ(0, r.bottom);
    const wchar_t single[] = {L'5', L'\0', L'7', L'\0'};
    const CUISize s = ParseSize(single);
    EXPECT_EQ(5, s.cx);
    EXPECT_EQ(0, s.cy);
}

TEST(AttributeSize, ReadsTwoNumbersSeparatedAsRectangles)
{
    EXPECT_EQ(CUISize(12, 8).cx, ParseSize(L"12,8").cx);
    EXPECT_EQ(8, ParseSize(L"12,8").cy);
    EXPECT_EQ(3, ParseSize(L"3x4").cx);
    EXPECT_EQ(4, ParseSize(L"3x4").cy);
    EXPECT_EQ(0, ParseSize(L"5").cy);
    EXPECT_EQ(0, ParseSize(nullptr).cx);
}

TEST(AttributeFraction, ReadsFourDecimalFractions)
{
    const struct
    {
        const wchar_t* text;
        double left, top, right, bottom;
    } table[] = {
        {L"0.5,0,0.5,0", 0.5, 0.0, 0.5, 0.0},
        {L"0.25,0.75,1,1", 0.25, 0.75, 1.0, 1.0},
        {L"1,0.5", 1.0, 0.5, 0.0, 0.0},
        {L"-0.5,2,3,4", -0.5, 2.0, 3.0, 4.0},
        // "x" yields no number, and one character (the x itself) is stepped
        // over: the comma after it then stands where the second number is.
        {L"x,0.5,y,1", 0.0, 0.0, 0.5, 0.0},
        {L"inf,nan,1e999,0.5", 0.0, 0.0, 0.0, 0.5},  // not finite: read as 0
        {L"", 0.0, 0.0, 0.0, 0.0},
        {nullptr, 0.0, 0.0, 0.0, 0.0},
    };
    for (const auto& row : table)
    {
        const FloatPercent f = ParseFractionRect(row.text);
        const std::wstring shown = row.text != nullptr ? row.text : L"(null)";
        EXPECT_DOUBLE_EQ(row.left, f.left) << shown;
        EXPECT_DOUBLE_EQ(row.top, f.top) << shown;
        EXPECT_DOUBLE_EQ(row.right, f.right) << shown;
        EXPECT_DOUBLE_EQ(row.bottom, f.bottom) << shown;
    }
}

TEST(AttributeComma, TellsListsFromSingleValues)
{
    EXPECT_TRUE(HasComma(L"1,0,1,0"));
    EXPECT_TRUE(HasComma(L","));
    EXPECT_FALSE(HasComma(L"2"));
    EXPECT_FALSE(HasComma(L""));
    EXPECT_FALSE(HasComma(nullptr));
}
