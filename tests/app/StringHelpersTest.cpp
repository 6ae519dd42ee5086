#include "app/StringHelpers.h"

#include <gtest/gtest.h>

using kalvex::SplitString;
using kalvex::Utf8ToWide;
using kalvex::WideToAnsi;

namespace {

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& delimiters = L"\\")
{
    std::vector<std::wstring> pieces;
    SplitString(text, delimiters, pieces);
    return pieces;
}

}  // namespace

TEST(SplitString, RunsOfDelimitersCountAsOneAndTrailingOneAddsNothing)
{
    EXPECT_EQ((std::vector<std::wstring>{L"C:", L"a", L"b"}), Split(L"C:\\a\\\\b\\"));
    EXPECT_EQ((std::vector<std::wstring>{L"C:", L"Program Files", L"velko", L"kalvex.exe"}),
              Split(L"C:\\Program Files\\velko\\kalvex.exe"));
}

TEST(SplitString, LeadingDelimiterGivesOneEmptyPiece)
{
    EXPECT_EQ((std::vector<std::wstring>{L"", L"x"}), Split(L"\\x"));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"x"}), Split(L"\\\\\\x"));
}

TEST(SplitString, AnyCharacterOfTheSetSplitsAndPiecesAreAppended)
{
    std::vector<std::wstring> pieces{L"kept"};
    SplitString(L"a/b\\c", L"/\\", pieces);
    EXPECT_EQ((std::vector<std::wstring>{L"kept", L"a", L"b", L"c"}), pieces);
    EXPECT_EQ((std::vector<std::wstring>{L"whole"}), Split(L"whole"));
    EXPECT_TRUE(Split(L"").empty());
}

TEST(Utf8ToWide, DecodesNonAsciiAndRefusesInvalidInput)
{
    EXPECT_EQ(std::wstring(L"\u8bf4\u660e.txt"), Utf8ToWide("\xE8\xAF\xB4\xE6\x98\x8E.txt"));
    EXPECT_EQ(std::wstring(L"\U0001F600"), Utf8ToWide("\xF0\x9F\x98\x80"));
    EXPECT_EQ(std::wstring(), Utf8ToWide("abc\xFF"));
    EXPECT_EQ(std::wstring(), Utf8ToWide("\xC3"));
    EXPECT_EQ(std::wstring(), Utf8ToWide(""));
}

TEST(WideToAnsi, ConvertsAsciiAndGivesEmptyForEmpty)
{
    EXPECT_EQ("log2.log", WideToAnsi(L"log2.log"));
    EXPECT_EQ("", WideToAnsi(L""));
}
