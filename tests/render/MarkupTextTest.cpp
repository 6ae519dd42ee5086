// DrawMarkupText and DrawPlainText against a memory device context:
// measured sizes computed from the font's own extents, link rectangles,
// colours on the surface, and damaged markup that must neither hang nor
// read past the text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/render/RenderTestSupport.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace test {
namespace {

class MarkupTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager.SetLinkFontColor(0xFF0000FF, ResourceScope::Own);
        manager.SetLinkHoverFontColor(0xFFFF0000, ResourceScope::Own);
        font = manager.GetDefaultFontEntry();
        SelectObject(surface.Dc(), font->font);
        GetTextMetricsW(surface.Dc(), &metrics);
        lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }

    int Width(const wchar_t* text, HFONT with = nullptr)
    {
        const HGDIOBJ previous = SelectObject(surface.Dc(), with != nullptr ? with : font->font);
        SIZE size = {};
        GetTextExtentPoint32W(surface.Dc(), text, static_cast<int>(std::wstring(text).size()), &size);
        SelectObject(surface.Dc(), previous);
        return size.cx;
    }

    RECT Measure(const wchar_t* text, RECT rect, UINT style = DT_SINGLELINE)
    {
        int none = 0;
        CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, text, 0xFF000000, nullptr, nullptr, none, -1,
                                   style | DT_CALCRECT);
        return rect;
    }

    HFONT Styled(UINT styles) { return manager.FindFont(font->faceName.GetData(), font->size, styles); }

    CUIManager manager;
    CSurface surface{400, 200, kWhite};
    FontEntry* font = nullptr;
    TEXTMETRICW metrics = {};
    int lineHeight = 0;
};

TEST_F(MarkupTextTest, MeasuringPlainWordsGivesTheirWidthAndOneLine)
{
    const RECT r = Measure(L"abc", RECT{0, 0, 9999, 100});
    EXPECT_EQ(Width(L"abc"), r.right);
    EXPECT_EQ(lineHeight, r.bottom);
    // "a < b": the bracket starts no tag; all five characters are measured.
    const RECT lt = Measure(L"a < b", RECT{0, 0, 9999, 100});
    EXPECT_NEAR(Width(L"a < b"), lt.right, 1);
}

TEST_F(MarkupTextTest, StyleTagsMeasureInTheirFontsAndBracesEqualAngles)
{
    const RECT angle = Measure(L"<b>bold</b>", RECT{0, 0, 9999, 100});
    const RECT brace = Measure(L"{b}bold{/b}", RECT{0, 0, 9999, 100});
    HFONT bold = Styled(UIFONT_BOLD);
    ASSERT_NE(nullptr, bold);
    EXPECT_EQ(Width(L"bold", bold), angle.right);
    EXPECT_EQ(angle.right, brace.right);
    // Raw runs draw tags literally; escapes draw their bracket.
    EXPECT_EQ(Width(L"<b>"), Measure(L"<r><b></r>", RECT{0, 0, 9999, 100}).right);
    EXPECT_EQ(Width(L"{") + Width(L"x") + Width(L"}"), Measure(L"<{>x<}>", RECT{0, 0, 9999, 100}).right);
    // <x 20> moves the next run 20 pixels.
    EXPECT_EQ(20 + Width(L"a"), Measure(L"<x 20>a", RECT{0, 0, 9999, 100}).right);
}

TEST_F(MarkupTextTest, LineBreaksParagraphsAndSingleLineMode)
{
    // <n> in single-line mode ends the text.
    EXPECT_EQ(Width(L"ab"), Measure(L"ab<n>cd", RECT{0, 0, 9999, 100}).right);
    const RECT two = Measure(L"ab<n>cd", RECT{0, 0, 300, 100}, 0);
    EXPECT_EQ(2 * lineHeight, two.bottom);
    // <p 6> after text ends the line; the spacing raises both lines.
    const RECT paragraph = Measure(L"ab<p 6>cd", RECT{0, 0, 300, 100}, 0);
    EXPECT_EQ(2 * (lineHeight + 6), paragraph.bottom);
}

TEST_F(MarkupTextTest, LinksReportRectanglesNamesAndWrapIntoTwo)
{
    RECT links[4] = {};
    CUIString names[4];
    int count = 4;
    RECT rect = {10, 5, 390, 100};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"see <a help>help</a>", 0xFF000000, links, names,
                               count, -1, DT_SINGLELINE);
    ASSERT_EQ(1, count);
    EXPECT_EQ(std::wstring(L"help"), names[0].GetData());
    const int start = 10 + Width(L"see ");
    EXPECT_EQ(start, links[0].left);
    EXPECT_EQ(start + Width(L"help", Styled(UIFONT_UNDERLINE)), links[0].right);
    EXPECT_EQ(5, links[0].top);
    EXPECT_EQ(5 + lineHeight, links[0].bottom);

    // Capacity 0: drawn but not reported, with no arrays at all.
    int none = 0;
    rect = RECT{10, 5, 390, 100};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a help>help</a>", 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE);
    EXPECT_EQ(0, none);

    // A link too long for one line yields one rectangle per line, same name.
    count = 4;
    const int narrow = Width(L"one two ") + 2;
    rect = RECT{0, 0, narrow, 200};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a go>one two three</a>", 0, links, names, count, -1,
                               DT_WORDBREAK);
    ASSERT_EQ(2, count);
    EXPECT_EQ(std::wstring(L"go"), names[0].GetData());
    EXPECT_EQ(std::wstring(L"go"), names[1].GetData());
    EXPECT_EQ(0, links[1].left);
    EXPECT_EQ(links[0].bottom, links[1].top);
}

TEST_F(MarkupTextTest, ColourTagPaintsItsColourAndLinkUsesLinkColour)
{
    RECT rect = {0, 0, 400, 40};
    int none = 0;
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<f Arial 30 bold><c #FF0000>MMM</c> <a x>MMM</a></f>",
                               0xFF000000, nullptr, nullptr, none, -1, DT_SINGLELINE);
    // Search each half for its ink colour.
    bool red = false;
    bool blue = false;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < 400; ++x)
        {
            const DWORD rgb = Rgb(surface.Pixel(x, y));
            red = red || rgb == 0xFF0000;
            blue = blue || rgb == 0x0000FF;
        }
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
}

TEST_F(MarkupTextTest, AlignmentMovesTheRectangleByTheMeasuredSizeEvenPastItsEdges)
{
    const int width = Width(L"abc");
    RECT centred = {0, 0, 200, 40};
    int none = 0;
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, centred, L"abc", 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE | DT_CENTER);
    EXPECT_EQ(100 - width / 2, centred.left);
    EXPECT_EQ(centred.left + width, centred.right);
    RECT right = {0, 0, 200, 40};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, right, L"abc", 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE | DT_RIGHT);
    EXPECT_EQ(200 - width, right.left);
    // Text wider or taller than the rectangle stays centred, right- or
    // bottom-aligned: the rectangle reaches past the edge it started from.
    const wchar_t* longText = L"a long line of text";
    const int longWidth = Width(longText);
    ASSERT_GT(longWidth, 30);
    RECT tooWide = {0, 0, 30, 40};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, tooWide, longText, 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS);
    EXPECT_EQ(15 - longWidth / 2, tooWide.left);
    EXPECT_EQ(15 - longWidth / 2 + longWidth, tooWide.right);
    RECT wideRight = {0, 0, 30, 40};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, wideRight, longText, 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE | DT_RIGHT);
    EXPECT_EQ(30 - longWidth, wideRight.left);
    ASSERT_GT(lineHeight, 6);
    RECT lowBottom = {0, 0, 200, 6};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, lowBottom, L"abc", 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(6 - lineHeight, lowBottom.top);
    RECT lowCentre = {0, 0, 200, 6};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, lowCentre, L"abc", 0, nullptr, nullptr, none, -1,
                               DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(3 - lineHeight / 2, lowCentre.top);
    EXPECT_EQ(3 - lineHeight / 2 + lineHeight, lowCentre.bottom);
}

TEST_F(MarkupTextTest, DamagedMarkupDrawsWhatItCanAndEnds)
{
    const wchar_t* texts[] = {
        L"</b></c></a></p></v></f>plain",  // closings with nothing open
        L"<b><c #FF0000><u><i>never closed",
        L"<q>unknown</q><z 1>tags",
        L"<c #FF0000",                 // cut off inside a tag
        L"<f 99999999>huge index",
        L"<f Arial 999999999 bold>huge size",
        L"<x 2147483647>far<x -2147483647>back",
        L"<y -50>negative<y 99999999>tall",
        L"<p -99999>odd spacing</p>",
        L"<i >",
        L"<i missing.png 3 9>no image",
        L"<a>empty target</a>",
        L"<s>selected",
        L"<r>raw never ends <b>",
        L"{",
        L"<",
        L"",
    };
    for (const wchar_t* text : texts)
    {
        RECT links[2] = {};
        CUIString names[2];
        int count = 2;
        RECT rect = {0, 0, 200, 100};
        CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, text, 0, links, names, count, -1, DT_WORDBREAK);
        EXPECT_GE(count, 0) << text;
        EXPECT_LE(count, 2) << text;
        RECT measured = {0, 0, 200, 100};
        int none = 0;
        CRenderKit::DrawMarkupText(surface.Dc(), &manager, measured, text, 0, nullptr, nullptr, none, -1,
                                   DT_WORDBREAK | DT_CALCRECT);
        EXPECT_LE(measured.right, 200) << text;
    }
    // The empty link target is still a link.
    RECT links[1] = {};
    CUIString names[1];
    int count = 1;
    RECT rect = {0, 0, 200, 40};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a>empty</a>", 0, links, names, count, -1,
                               DT_SINGLELINE);
    EXPECT_EQ(1, count);
    EXPECT_TRUE(names[0].IsEmpty());
}

TEST_F(MarkupTextTest, VeryLongWordsWrapWithoutEndingTheText)
{
    std::wstring word(3000, L'w');
    const std::wstring text = L"start " + word + L" end";
    const RECT measured = Measure(text.c_str(), RECT{0, 0, 100, 100}, DT_WORDBREAK);
    // Every line holds at most 100 pixels of w; the first holds "start".
    const int perLine = 100 / Width(L"w");
    const int wordLines = (3000 + perLine - 1) / perLine;
    EXPECT_GE(measured.bottom, (1 + wordLines) * lineHeight);
    EXPECT_LE(measured.right, 100);
    // A window narrower than one character still ends.
    const RECT thin = Measure(L"abc", RECT{0, 0, 1, 100}, DT_WORDBREAK | DT_END_ELLIPSIS);
    EXPECT_GE(thin.bottom, lineHeight);
}

TEST_F(MarkupTextTest, PlainTextDrawsAmpersandsAndMeasures)
{
    RECT rect = {0, 0, 9999, 100};
    CRenderKit::DrawPlainText(surface.Dc(), &manager, rect, L"a&b", 0, -1, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(Width(L"a&b"), rect.right);
    RECT untouched = {0, 0, 10, 10};
    CRenderKit::DrawPlainText(surface.Dc(), nullptr, untouched, L"x", 0, -1, DT_CALCRECT);
    EXPECT_EQ(10, untouched.right);
}

TEST_F(MarkupTextTest, MendedFaultsStayMended)
{
    // A stray </a> with no link open reports no link.
    RECT links[2] = {};
    CUIString names[2];
    int count = 2;
    RECT rect = {0, 0, 200, 40};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"x</a>y", 0, links, names, count, -1, DT_SINGLELINE);
    EXPECT_EQ(0, count);

    // Bold inside bold pushes no font: the first </b> pops the outer bold.
    Measure(L"<b>b</b>", RECT{0, 0, 9999, 100});
    const HFONT boldFont = Styled(UIFONT_BOLD);
    ASSERT_NE(nullptr, boldFont);
    const wchar_t* tail = L"BOLDWORDMMMM";
    ASSERT_NE(Width(tail, boldFont), Width(tail));
    const std::wstring nested = std::wstring(L"<b><b>ab</b>") + tail + L"</b>";
    EXPECT_EQ(Width(L"ab", boldFont) + Width(tail), Measure(nested.c_str(), RECT{0, 0, 9999, 100}).right);

    // A centred line of a multi-line text reports its link where it is drawn.
    count = 2;
    rect = RECT{0, 0, 200, 100};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a x>ab</a>", 0, links, names, count, -1, DT_CENTER);
    ASSERT_EQ(1, count);
    const int width = Width(L"ab", Styled(UIFONT_UNDERLINE));
    EXPECT_EQ((200 - width) / 2, links[0].left);
    EXPECT_EQ((200 - width) / 2 + width, links[0].right);
}

TEST_F(MarkupTextTest, CentredLinesCarryTheirLinksAndMultiLineTextMovesAsAWhole)
{
    Measure(L"<a x>x</a>", RECT{0, 0, 9999, 100});
    const HFONT underline = Styled(UIFONT_UNDERLINE);
    ASSERT_NE(nullptr, underline);

    // "one two" does not fit, "one " does: each line is centred on its own
    // and its part of the link moves with it.
    const int width = Width(L"one two", underline) - 1;
    const int first = Width(L"one ", underline);
    const int second = Width(L"two", underline);
    RECT links[3] = {};
    CUIString names[3];
    int count = 3;
    RECT rect = {0, 0, width, 200};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a go>one two</a>", 0, links, names, count, -1,
                               DT_CENTER | DT_WORDBREAK);
    ASSERT_EQ(2, count);
    EXPECT_EQ(std::wstring(L"go"), names[1].GetData());
    const int left1 = (width - first) / 2;
    const int left2 = (width - second) / 2;
    EXPECT_EQ(left1, links[0].left);
    EXPECT_EQ(left1 + first, links[0].right);
    EXPECT_EQ(0, links[0].top);
    EXPECT_EQ(left2, links[1].left);
    EXPECT_EQ(left2 + second, links[1].right);
    EXPECT_EQ(lineHeight, links[1].top);
    EXPECT_EQ(2 * lineHeight, links[1].bottom);
    // The second line is drawn where its link says: no ink left of it.
    int leftmostInk = width;
    for (int y = lineHeight; y < 2 * lineHeight; ++y)
        for (int x = 0; x < width; ++x)
            if (Rgb(surface.Pixel(x, y)) != Rgb(kWhite))
                leftmostInk = std::min(leftmostInk, x);
    ASSERT_LT(leftmostInk, width);
    EXPECT_GE(leftmostInk, left2 - 1);

    // Vertical centring moves the rectangle by the height of both lines,
    // and the link with it.
    count = 3;
    rect = RECT{0, 0, 200, 100};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a up>ab</a><n>cd", 0, links, names, count, -1,
                               DT_VCENTER);
    EXPECT_EQ(50 - lineHeight, rect.top);
    EXPECT_EQ(50 + lineHeight, rect.bottom);
    ASSERT_EQ(1, count);
    EXPECT_EQ(50 - lineHeight, links[0].top);
    EXPECT_EQ(50, links[0].bottom);
    EXPECT_EQ(Width(L"ab", underline), links[0].right);

    // A line starting below the bottom is neither drawn nor reported.
    count = 3;
    rect = RECT{0, 0, 200, lineHeight};
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"<a a>1</a><n><a b>2</a><n><a c>3</a>", 0, links,
                               names, count, -1, 0);
    EXPECT_EQ(2, count);
}

TEST_F(MarkupTextTest, LanguageTokensAreExpandedOnceForAlignmentAsForDrawing)
{
    // The text drawn is "%{7302}" as written by text 7301; expanding it a
    // second time for the measure would centre three lines instead of one.
    CUIManager::AddLanguageText(7301, L"%{7302}");
    CUIManager::AddLanguageText(7302, L"x<n>y<n>z");
    RECT rect = {0, 0, 200, 100};
    int none = 0;
    CRenderKit::DrawMarkupText(surface.Dc(), &manager, rect, L"%{7301}", 0, nullptr, nullptr, none, -1, DT_VCENTER);
    EXPECT_EQ(50 - lineHeight / 2, rect.top);
    EXPECT_EQ(50 - lineHeight / 2 + lineHeight, rect.bottom);
}

TEST_F(MarkupTextTest, TextJoinedIntoOneRunDrawsLikeSeparateRuns)
{
    // The same ink colour reached by the text colour and by a colour tag:
    // the tag splits the text into two runs, which must land where the one
    // run of the plain text does.
    CSurface joined(300, 60, kWhite);
    CSurface split(300, 60, kWhite);
    int none = 0;
    RECT rect = {0, 0, 300, 60};
    CRenderKit::DrawMarkupText(joined.Dc(), &manager, rect, L"<f Arial 20>Wave AVA</f>", 0xFF336699, nullptr,
                               nullptr, none, -1, DT_SINGLELINE);
    rect = RECT{0, 0, 300, 60};
    CRenderKit::DrawMarkupText(split.Dc(), &manager, rect, L"<f Arial 20>Wa<c #336699>ve A</c>VA</f>",
                               0xFF336699, nullptr, nullptr, none, -1, DT_SINGLELINE);
    int ink = 0;
    int different = 0;
    for (int y = 0; y < 60; ++y)
    {
        for (int x = 0; x < 300; ++x)
        {
            ink += Rgb(joined.Pixel(x, y)) != Rgb(kWhite) ? 1 : 0;
            different += joined.Pixel(x, y) != split.Pixel(x, y) ? 1 : 0;
        }
    }
    ASSERT_GT(ink, 20);
    EXPECT_EQ(0, different);
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
