// The markup tokenizer and tag argument readers on their own: token kinds
// and lengths, escapes, raw runs, and texts cut off in the middle of a tag.
#include <gtest/gtest.h>

#include <string>

#include "ui/render/MarkupTokenizer.h"

namespace DuiLib {
namespace {

MarkupToken At(const wchar_t* text, bool raw = false)
{
    return ReadMarkupToken(text, raw);
}

TEST(MarkupTokenizerTest, SplitsTextIntoRunsSpacesTagsAndBreaks)
{
    const wchar_t* text = L"ab cd<b>x</b> \n{c #ff}";
    MarkupToken t = At(text);
    EXPECT_EQ(MarkupTokenKind::Run, t.kind);
    EXPECT_EQ(5, t.length);  // "ab cd": spaces inside a run stay in it
    t = At(text + 5);
    EXPECT_EQ(MarkupTokenKind::OpenTag, t.kind);
    EXPECT_EQ(L'b', t.letter);
    EXPECT_EQ(3, t.length);
    EXPECT_EQ(0, t.argumentLength);
    t = At(text + 9);
    EXPECT_EQ(MarkupTokenKind::CloseTag, t.kind);
    EXPECT_EQ(L'b', t.letter);
    EXPECT_EQ(4, t.length);
    EXPECT_EQ(MarkupTokenKind::Space, At(text + 13).kind);
    EXPECT_EQ(MarkupTokenKind::Newline, At(text + 14).kind);
    t = At(text + 15);
    EXPECT_EQ(MarkupTokenKind::OpenTag, t.kind);
    EXPECT_EQ(L'c', t.letter);
    EXPECT_EQ(L"#ff", std::wstring(t.argument, t.argumentLength));
    EXPECT_EQ(7, t.length);
    EXPECT_EQ(MarkupTokenKind::End, At(text + 22).kind);
    EXPECT_EQ(MarkupTokenKind::End, At(nullptr).kind);
}

TEST(MarkupTokenizerTest, BracketsThatStartNoTagAreText)
{
    // "a < b": the bracket is followed by a space, so it begins a run.
    MarkupToken t = At(L"< b");
    EXPECT_EQ(MarkupTokenKind::Run, t.kind);
    EXPECT_EQ(3, t.length);
    // Upper-case and two-letter names are not tags either.
    EXPECT_EQ(MarkupTokenKind::Run, At(L"<B>").kind);
    EXPECT_EQ(MarkupTokenKind::Run, At(L"<ab>").kind);
    // The run stops before the next bracket.
    EXPECT_EQ(2, At(L"<1<b>").length);
}

TEST(MarkupTokenizerTest, EscapesDrawTheirBracket)
{
    const wchar_t* cases[][2] = {{L"<{>", L"{"}, {L"<}>", L"}"}, {L"{<}", L"<"}, {L"{>}", L">"}};
    for (const auto& c : cases)
    {
        const MarkupToken t = At(c[0]);
        EXPECT_EQ(MarkupTokenKind::Escape, t.kind) << c[0];
        EXPECT_EQ(3, t.length);
        EXPECT_EQ(c[1][0], t.escaped);
    }
}

TEST(MarkupTokenizerTest, RawRunEndsOnlyAtItsClosingTag)
{
    const wchar_t* text = L"<b>{i}</r>";
    MarkupToken t = At(text, true);
    EXPECT_EQ(MarkupTokenKind::Run, t.kind);
    EXPECT_EQ(6, t.length);
    t = At(text + 6, true);
    EXPECT_EQ(MarkupTokenKind::CloseTag, t.kind);
    EXPECT_EQ(L'r', t.letter);
    EXPECT_EQ(4, t.length);
}

TEST(MarkupTokenizerTest, TagsCutOffAtTheEndTakeTheRestOfTheText)
{
    // Each length stays within the text: nothing past the terminator.
    const wchar_t* texts[] = {L"<a help", L"{c #12", L"</b", L"<x", L"<", L"{/", L"</", L"<r", L"<a "};
    for (const wchar_t* text : texts)
    {
        const MarkupToken t = At(text);
        EXPECT_LE(t.length, static_cast<int>(std::wstring(text).size())) << text;
        EXPECT_GT(t.length, 0) << text;
        if (t.kind == MarkupTokenKind::OpenTag)
        {
            EXPECT_LE(t.argumentLength + 3, t.length) << text;
        }
    }
    const MarkupToken link = At(L"<a help");
    EXPECT_EQ(MarkupTokenKind::OpenTag, link.kind);
    EXPECT_EQ(L"help", std::wstring(link.argument, link.argumentLength));
    EXPECT_EQ(MarkupTokenKind::Run, At(L"<x").kind);
}

TEST(MarkupTokenizerTest, ArgumentReadersHoldHugeAndOddValues)
{
    EXPECT_EQ(0xFF0000u, ReadMarkupColor(L"#FF0000", 7));
    EXPECT_EQ(0x7FFFFFFFu, ReadMarkupColor(L"#80FF0000", 9));
    EXPECT_EQ(0x7FFFFFFFu, ReadMarkupColor(L"FFFFFFFFFFFFFFFFFFFF", 20));
    EXPECT_EQ(0u, ReadMarkupColor(L"#", 1));
    EXPECT_EQ(20, ReadMarkupNumber(L"20", 2));
    EXPECT_EQ(-5, ReadMarkupNumber(L" -5", 3));
    EXPECT_EQ(kMaxMarkupNumber, ReadMarkupNumber(L"99999999999999999999", 20));
    EXPECT_EQ(0, ReadMarkupNumber(L"px", 2));
    EXPECT_EQ(MARKUP_VALIGN_CENTER, ReadMarkupVAlign(L"CENTER", 6));
    EXPECT_EQ(MARKUP_VALIGN_TOP, ReadMarkupVAlign(L"top", 3));
    EXPECT_EQ(MARKUP_VALIGN_BOTTOM, ReadMarkupVAlign(L"middle", 6));
    EXPECT_EQ(2, LastMarkupBreak(L"a bc", 4));
    EXPECT_EQ(0, LastMarkupBreak(L"abc", 3));
    EXPECT_EQ(3, LastMarkupBreak(L"ab-cd", 4));
}

TEST(MarkupTokenizerTest, FontArgumentIsAnIndexOrFaceSizeAndStyles)
{
    MarkupFontRequest font = ReadMarkupFont(L"3", 1);
    EXPECT_TRUE(font.byIndex);
    EXPECT_EQ(3, font.index);
    font = ReadMarkupFont(L"Tahoma 14 Bold Italic", 21);
    EXPECT_FALSE(font.byIndex);
    EXPECT_EQ(L"Tahoma", std::wstring(font.faceName.GetData()));
    EXPECT_EQ(14, font.size);
    EXPECT_EQ(0x05u, font.styles);  // bold | italic
    font = ReadMarkupFont(L"Arial", 5);
    EXPECT_EQ(10, font.size);
    EXPECT_EQ(0u, font.styles);
}

TEST(MarkupTokenizerTest, ImageArgumentHasNameFramesAndFrame)
{
    MarkupImageRequest image = ReadMarkupImage(L"icon.png 4 2", 12);
    EXPECT_EQ(L"icon.png", std::wstring(image.name.GetData()));
    EXPECT_EQ(4, image.frames);
    EXPECT_EQ(2, image.frame);
    image = ReadMarkupImage(L"icon.png 0 7", 12);
    EXPECT_EQ(1, image.frames);
    EXPECT_EQ(0, image.frame);
    image = ReadMarkupImage(L"file='a.png' restype='PNG'", 26);
    EXPECT_EQ(L"a.png", std::wstring(image.name.GetData()));
    EXPECT_FALSE(image.useResType);
    image = ReadMarkupImage(L"res='7' restype='PNG'", 21);
    EXPECT_EQ(L"7", std::wstring(image.name.GetData()));
    EXPECT_TRUE(image.useResType);
    EXPECT_EQ(L"PNG", std::wstring(image.resType.GetData()));
}

TEST(MarkupTokenizerTest, PlainTextKeepsWhatIsShownAndEachLinksText)
{
    CUIString links[2];
    int count = -1;
    // Tags, an image and formatting leave nothing; <n> and a newline become
    // spaces; escapes and raw runs show their characters; a third link finds
    // no slot, and one left open at the end still counts.
    const CUIString plain = MarkupPlainText(
        L"<b>Bold</b> {c #FF0000}red{/c}<n>a <a one>first link</a><i pic.png 3 1>\nand <a two><u>second</u></a>"
        L" <{><r><b>raw</b></r> <a three>third</a>",
        links, 2, &count);
    EXPECT_STREQ(L"Bold red a first link and second {<b>raw</b> third", plain.GetData());
    EXPECT_EQ(2, count);
    EXPECT_STREQ(L"first link", links[0].GetData());
    EXPECT_STREQ(L"second", links[1].GetData());

    EXPECT_STREQ(L"open", MarkupPlainText(L"<a x>open", links, 2, &count).GetData());
    EXPECT_EQ(1, count);
    EXPECT_STREQ(L"open", links[0].GetData());
    EXPECT_STREQ(L"", MarkupPlainText(nullptr).GetData());
}

}  // namespace
}  // namespace DuiLib
