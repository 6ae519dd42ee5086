#include "ui/core/UIString.h"

#include <malloc.h>

#include <gtest/gtest.h>
#include <string>

using DuiLib::CUIString;

namespace {

bool IsInline(const CUIString& s)
{
    const auto* first = reinterpret_cast<const char*>(&s);
    const auto* text = reinterpret_cast<const char*>(s.GetData());
    return text >= first && text < first + sizeof(CUIString);
}

// Bytes of the heap block holding the text, as the runtime recorded them.
size_t HeapBlockBytes(const CUIString& s)
{
    return _msize(const_cast<wchar_t*>(s.GetData()));
}

std::wstring Repeat(wchar_t ch, int count)
{
    return std::wstring(static_cast<size_t>(count), ch);
}

}  // namespace

TEST(UIStringStorage, TextOf62UnitsStaysInlineAnd63MovesToAnExactHeapBlock)
{
    CUIString s(Repeat(L'x', 62).c_str());
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(62, s.GetLength());

    EXPECT_EQ(63, s.Assign(Repeat(L'y', 63).c_str()));
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(64u * sizeof(wchar_t), HeapBlockBytes(s));
    EXPECT_EQ(Repeat(L'y', 63), s.GetData());
}

TEST(UIStringStorage, ShortAssignmentAfterLongReturnsToInlineBuffer)
{
    CUIString s(Repeat(L'a', 100).c_str());
    ASSERT_FALSE(IsInline(s));
    EXPECT_EQ(3, s.Assign(L"abc"));
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"abc", s.GetData());
}

TEST(UIStringStorage, ShorterLongTextReusesBlockAndLongerThanCurrentReallocatesExactly)
{
    CUIString s(Repeat(L'a', 100).c_str());
    const wchar_t* block = s.GetData();
    EXPECT_EQ(101u * sizeof(wchar_t), HeapBlockBytes(s));

    s.Assign(Repeat(L'b', 70).c_str());
    EXPECT_EQ(block, s.GetData());
    EXPECT_EQ(101u * sizeof(wchar_t), HeapBlockBytes(s));
    EXPECT_EQ(Repeat(L'b', 70), s.GetData());

    // 80 fits the old block, but exceeds the current length of 70.
    s.Assign(Repeat(L'c', 80).c_str());
    EXPECT_EQ(81u * sizeof(wchar_t), HeapBlockBytes(s));
    EXPECT_EQ(Repeat(L'c', 80), s.GetData());
}

TEST(UIStringStorage, AppendingThreeUnitsTo60InlineGives63UnitHeapText)
{
    const std::wstring start = Repeat(L'q', 59) + L"z";
    CUIString s(start.c_str());
    ASSERT_TRUE(IsInline(s));
    s.Append(L"123");
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(64u * sizeof(wchar_t), HeapBlockBytes(s));
    EXPECT_EQ(start + L"123", s.GetData());
}

TEST(UIStringStorage, EveryAppendOnTheHeapReallocatesToTheExactSize)
{
    CUIString s(Repeat(L'a', 63).c_str());
    s.Append(L'b');
    EXPECT_EQ(65u * sizeof(wchar_t), HeapBlockBytes(s));
    s += L"cd";
    EXPECT_EQ(67u * sizeof(wchar_t), HeapBlockBytes(s));
    EXPECT_EQ(Repeat(L'a', 63) + L"bcd", s.GetData());
}

TEST(UIStringStorage, AppendUpTo62UnitsStaysInline)
{
    CUIString s(Repeat(L'a', 60).c_str());
    s.Append(L"bc");
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(62, s.GetLength());
}

TEST(UIStringStorage, CopyHasItsOwnText)
{
    CUIString original(Repeat(L'm', 80).c_str());
    CUIString copy(original);
    EXPECT_NE(original.GetData(), copy.GetData());
    original.Assign(L"changed");
    EXPECT_EQ(Repeat(L'm', 80), copy.GetData());

    CUIString assigned;
    assigned = copy;
    EXPECT_EQ(Repeat(L'm', 80), assigned.GetData());
}

TEST(UIStringStorage, EmptyReleasesHeapAndReturnsToInline)
{
    CUIString s(Repeat(L'a', 70).c_str());
    s.Empty();
    EXPECT_TRUE(IsInline(s));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(0, s.GetLength());
}

TEST(UIStringAssign, NullTextEmptiesAndNegativeLengthMeansToTheTerminator)
{
    CUIString s(L"abc");
    EXPECT_EQ(0, s.Assign(nullptr, 5));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(5, s.Assign(L"hello", -7));
    EXPECT_STREQ(L"hello", s.GetData());
    EXPECT_EQ(2, s.Assign(L"hello", 2));
    EXPECT_STREQ(L"he", s.GetData());
    s = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(CUIString(nullptr).IsEmpty());
    EXPECT_STREQ(L"abc", CUIString(L"abcdef", 3).GetData());
}

TEST(UIStringAssign, AppendingNullChangesNothing)
{
    CUIString s(L"abc");
    s.Append(static_cast<const wchar_t*>(nullptr));
    EXPECT_STREQ(L"abc", s.GetData());
}

// Regression: a source inside the string's own heap block was freed (or
// moved by the reallocation) before it was copied.
TEST(UIStringAssign, SourceInsideOwnHeapBlockIsCopiedBeforeTheBlockChanges)
{
    const std::wstring text = Repeat(L'a', 40) + Repeat(L'b', 60);
    CUIString s(text.c_str());
    s.Assign(s.GetData() + 40);
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(Repeat(L'b', 60), s.GetData());

    CUIString grow(text.c_str());
    grow.Append(grow.GetData());
    EXPECT_EQ(text + text, grow.GetData());

    CUIString self(text.c_str());
    self = self;
    EXPECT_EQ(text, self.GetData());
}

TEST(UIStringAssign, AppendingAnInlineStringToItself)
{
    CUIString s(L"abc");
    s += s;
    EXPECT_STREQ(L"abcabc", s.GetData());
    CUIString wide(Repeat(L'z', 40).c_str());
    wide += wide;
    EXPECT_EQ(Repeat(L'z', 80), wide.GetData());
}

TEST(UIStringAccess, CharacterAtIndexAndOperators)
{
    CUIString s(L"kal");
    EXPECT_EQ(L'k', s.GetAt(0));
    EXPECT_EQ(L'l', s[2]);
    EXPECT_EQ(L'\0', s[3]);
    EXPECT_TRUE(s == L"kal");
    EXPECT_TRUE(s != L"Kal");
    EXPECT_TRUE(s == CUIString(L"kal"));
    EXPECT_STREQ(L"kalvex", (s + L"vex").GetData());
    EXPECT_STREQ(L"kalkal", (s + s).GetData());
}

TEST(UIStringSlices, LeftClampsToTheText)
{
    const CUIString s(L"abcdef");
    EXPECT_STREQ(L"abc", s.Left(3).GetData());
    EXPECT_STREQ(L"", s.Left(-1).GetData());
    EXPECT_STREQ(L"abcdef", s.Left(99).GetData());
}

TEST(UIStringSlices, MidClampsAtTheEndAndRejectsStartsOutsideTheText)
{
    const CUIString s(L"abcdef");
    EXPECT_STREQ(L"cdef", s.Mid(2, -1).GetData());
    EXPECT_STREQ(L"cdef", s.Mid(2).GetData());
    EXPECT_STREQ(L"cd", s.Mid(2, 2).GetData());
    EXPECT_STREQ(L"ef", s.Mid(4, 10).GetData());
    EXPECT_STREQ(L"", s.Mid(6, 1).GetData());
    EXPECT_STREQ(L"", s.Mid(2, 0).GetData());
    EXPECT_STREQ(L"", s.Mid(7).GetData());
    EXPECT_STREQ(L"", s.Mid(-1, 2).GetData());
}

TEST(UIStringFind, CharacterSearchNeedsStartZeroOrInsideTheText)
{
    const CUIString s(L"abcabc");
    EXPECT_EQ(1, s.Find(L'b'));
    EXPECT_EQ(4, s.Find(L'b', 2));
    EXPECT_EQ(5, s.Find(L'c', 5));
    EXPECT_EQ(-1, s.Find(L'c', 6));
    EXPECT_EQ(-1, s.Find(L'a', -1));
    EXPECT_EQ(-1, s.Find(L'z'));
    EXPECT_EQ(-1, CUIString().Find(L'a', 0));
}

TEST(UIStringFind, TextSearchAcceptsStartEqualToTheLength)
{
    const CUIString s(L"abcabc");
    EXPECT_EQ(0, s.Find(L"abc"));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(-1, s.Find(L"abc", 4));
    EXPECT_EQ(6, s.Find(L"", 6));
    EXPECT_EQ(-1, s.Find(L"c", 6));
    EXPECT_EQ(-1, s.Find(L"a", 7));
    EXPECT_EQ(-1, s.Find(L"a", -1));
    EXPECT_EQ(-1, s.Find(static_cast<const wchar_t*>(nullptr)));
}

TEST(UIStringReplace, SearchResumesBehindEachInsertedText)
{
    CUIString s(L"aaa");
    EXPECT_EQ(3, s.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaaaaa", s.GetData());
}

TEST(UIStringReplace, CountsReplacementsAndHandlesShrinkingAndAbsentPatterns)
{
    CUIString s(L"line1<n>line2<n>");
    EXPECT_EQ(2, s.Replace(L"<n>", L"\r\n"));
    EXPECT_STREQ(L"line1\r\nline2\r\n", s.GetData());
    EXPECT_EQ(0, s.Replace(L"zz", L"y"));
    EXPECT_STREQ(L"line1\r\nline2\r\n", s.GetData());
    EXPECT_EQ(2, s.Replace(L"\r\n", nullptr));
    EXPECT_STREQ(L"line1line2", s.GetData());
}

TEST(UIStringReplace, GrowsAcrossTheInlineThreshold)
{
    CUIString s(Repeat(L'.', 31).c_str());
    EXPECT_EQ(31, s.Replace(L".", L"ab"));
    EXPECT_EQ(62, s.GetLength());
    EXPECT_TRUE(IsInline(s));
    EXPECT_EQ(31, s.Replace(L"ab", L"abc"));
    EXPECT_EQ(93, s.GetLength());
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(94u * sizeof(wchar_t), HeapBlockBytes(s));
}

// Regression: an empty pattern is found again behind every insertion, so the
// replacement loop never ended.
TEST(UIStringReplace, EmptyOrNullPatternReplacesNothing)
{
    CUIString s(L"ab");
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(0, s.Replace(nullptr, L"x"));
    EXPECT_STREQ(L"ab", s.GetData());
}

TEST(UIStringReplace, ReplacementTakenFromTheStringItself)
{
    CUIString s(L"a-b");
    EXPECT_EQ(1, s.Replace(L"-", s.GetData()));
    EXPECT_STREQ(L"aa-bb", s.GetData());
}

TEST(UIStringCompare, CompareNoCaseFoldsAsciiLetters)
{
    const CUIString s(L"Velko");
    EXPECT_EQ(0, s.CompareNoCase(L"VELKO"));
    EXPECT_EQ(0, s.CompareNoCase(L"velko"));
    EXPECT_LT(s.CompareNoCase(L"VELKOX"), 0);
    EXPECT_GT(s.CompareNoCase(L"ab"), 0);
    // 'Z' folds to 'z', which sorts after '_'; unfolded 'Z' would sort before it.
    EXPECT_GT(CUIString(L"Z").CompareNoCase(L"_"), 0);
    EXPECT_GT(s.CompareNoCase(nullptr), 0);
    EXPECT_EQ(0, CUIString().CompareNoCase(nullptr));
}

TEST(UIStringCompare, CompareIsCaseSensitive)
{
    const CUIString s(L"abc");
    EXPECT_EQ(0, s.Compare(L"abc"));
    EXPECT_NE(0, s.Compare(L"ABC"));
    EXPECT_LT(s.Compare(L"abd"), 0);
}

TEST(UIStringCompare, MakeLowerMapsTheAsciiLettersInPlace)
{
    CUIString s(L"Main.XML 123_@[`");
    s.MakeLower();
    EXPECT_STREQ(L"main.xml 123_@[`", s.GetData());
}

TEST(UIStringFormat, FollowsTheWvsprintfRules)
{
    CUIString s;
    EXPECT_EQ(10, s.Format(L"%d|%s|%c|%u", -42, L"ab", L'Z', 7u));
    EXPECT_STREQ(L"-42|ab|Z|7", s.GetData());
    EXPECT_EQ(11, s.Format(L"%05x %-4s!", 255u, L"ab"));
    EXPECT_STREQ(L"000ff ab  !", s.GetData());
    EXPECT_EQ(3, s.Format(L"%.3s", L"abcdef"));
    EXPECT_STREQ(L"abc", s.GetData());
}

TEST(UIStringFormat, ResultIsCutOffAt63Units)
{
    const std::wstring longText = Repeat(L'w', 100);
    CUIString s;
    EXPECT_EQ(63, s.Format(L"%s", longText.c_str()));
    EXPECT_EQ(Repeat(L'w', 63), s.GetData());
    EXPECT_EQ(63, s.Format(L"<%s>", longText.c_str()));
    EXPECT_EQ(L"<" + Repeat(L'w', 62), s.GetData());
    EXPECT_EQ(62, s.Format(L"%s", Repeat(L'v', 62).c_str()));
    EXPECT_TRUE(IsInline(s));
}

TEST(UIStringFormat, OutputBeyondThePlatformFormattersOwnLimitIsStillCutAt63Units)
{
    // wvsprintfW itself stops at 1,024 units; twice that must neither run
    // past a buffer nor change the 63-unit result.
    const std::wstring half = Repeat(L'h', 1000);
    CUIString s(L"short");
    EXPECT_EQ(63, s.Format(L"%s%s%s", half.c_str(), half.c_str(), half.c_str()));
    EXPECT_EQ(Repeat(L'h', 63), s.GetData());
    EXPECT_FALSE(IsInline(s));
    EXPECT_EQ(64u * sizeof(wchar_t), HeapBlockBytes(s));
}

TEST(UIStringFormat, NullFormatEmpties)
{
    CUIString s(L"abc");
    EXPECT_EQ(0, s.Format(nullptr));
    EXPECT_TRUE(s.IsEmpty());
}
