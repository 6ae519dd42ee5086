// Loading text and bytes: the trees that well-formed and oddly formed input
// gives, each failure's exact message and location, the encodings, and the
// document's lifetime.
#include "ui/markup/XmlDocument.h"

#include "tests/markup/MarkupTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace DuiLib;
using test::LoadSummary;
using test::ReadSample;
using test::Summary;

namespace {

using Bytes = std::vector<unsigned char>;

void ExpectSummaries(const std::vector<std::pair<const wchar_t*, const wchar_t*>>& cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(c.second, LoadSummary(c.first)) << "input: " << testing::PrintToString(std::wstring(c.first));
}

Bytes B(const char* text)
{
    return Bytes(text, text + std::char_traits<char>::length(text));
}

}  // namespace

TEST(XmlDocumentLoad, SampleSkinGivesTheWholeTreeInEveryUnicodeForm)
{
    // Written out from data/main.xml by hand.
    const std::wstring expected =
        L"Window(size=\"560,380\",caption=\"0,0,0,40\",roundcorner=\"4,4\",mininfo=\"560,380\"){"
        L"Font(id=\"0\",name=\"微软雅黑\",size=\"12\",default=\"true\");"
        L"Font(id=\"1\",name=\"微软雅黑\",size=\"14\",bold=\"true\");"
        L"Image(name=\"bk/main_bk.png\",restype=\"\",mask=\"#FFFF00FF\",shared=\"false\");"
        L"Default(name=\"Button\",value=\"textcolor=\"#FF333333\" font=\"0\"\");"
        L"VerticalLayout(bkimage=\"bk/main_bk.png\"){HorizontalLayout(height=\"40\"){"
        L"Label(name=\"title\",text=\"卸载 velko & 清理\",textcolor=\"#FFFFFFFF\",padding=\"12,0,0,0\");Control();"
        L"Button(name=\"close_btn\",width=\"40\",height=\"40\","
        L"normalimage=\"file='btn/close_btn.png' source='0,0,40,40'\",tooltip=\"关闭 <Esc>\")};"
        L"TabLayout(name=\"pages\"){VerticalLayout(name=\"confirm_page\"){"
        L"Text(text=\"确定要卸载吗？ It's quick.\",height=\"60\");"
        L"Progress(name=\"unins_pro\",visible=\"false\",bkimage=\"bk/unins_pro_bk.png\",value=\"0\");"
        L"HorizontalLayout(height=\"48\",childpadding=\"20\"){"
        L"Button(name=\"unins_btn\",text=\"卸载\",normalimage=\"btn/nor_btn.png\",hotimage=\"btn/hot_btn.png\");"
        L"Button(name=\"keep_btn\",text=\"保留\")}};VerticalLayout(name=\"finished_page\"){"
        L"Label(bkimage=\"bk/unins_end_lab.png\",height=\"120\");"
        L"Button(name=\"download_btn\",normalimage=\"btn/download_new_version_btn.png\")}}}}";
    EXPECT_EQ(expected, LoadSummary(ReadSample("main.xml"), EncodingUtf8));
    EXPECT_EQ(expected, LoadSummary(ReadSample("main_utf8_bom.xml"), EncodingUtf8));
    EXPECT_EQ(expected, LoadSummary(ReadSample("main_utf16le.xml"), EncodingUtf16));
    EXPECT_EQ(expected, LoadSummary(ReadSample("main_utf16be.xml"), EncodingUtf16));
}

TEST(XmlDocumentLoad, TreeShapesCommentsAndEntities)
{
    ExpectSummaries({
        {L"", L"<empty>"},
        {L"  \r\n\t <!-- only --> <?xml version=\"1.0\"?>", L"<empty>"},
        {L"<a/>\n<b x=\"1\"></b> <c><d/></c>", L"a();b(x=\"1\");c(){d()}"},
        {L"<r><Item/><Item /><Item\t/></r>", L"r(){Item();Item();Item()}"},
        {L"< a  t = \"1\"\r\n u=\"2\" ></ a >", L"a(t=\"1\",u=\"2\")"},
        {L"<ns:Item_2 x:y_1=\"v\"></ns:Item_2>", L"ns:Item_2(x:y_1=\"v\")"},
        {L"<r a=\"1\" b=\"2\" >  text  <c d=\"3\">x</c></r>", L"r(a=\"1\",b=\"2\"){c(d=\"3\")}"},
        {L"<a/></b><c/>", L"a()"},  // an end tag at the top level ends the document
        {L"<?xml version=\"1.0\"?><!-- a > b --><r><!--x--><a/><?pi?><b/></r>", L"r(){a();b()}"},
        {L"<?><r/>", L"r()"},  // the scan for "?>" starts at the '?' itself
        {L"<!DOCTYPE skin -><r/>", L"r()"},
        {L"<!DOCTYPE skin><r/>", L"<empty>"},
        {L"<r><a/><!-- never closed <b/>", L"r(){a()}"},
        {L"<a t=\"a &amp; b &lt;c&gt; &quot;q&quot; &apos;s&apos; &copy;\"/>",
         L"a(t=\"a & b <c> \"q\" 's' &copy;\")"},
        {L"<a n=\"&#65;\" x=\"&x\" d=\"&&amp;\" e=\"end&\" l=\"&lt\"/>",
         L"a(n=\"&#65;\",x=\"&x\",d=\"&&\",e=\"end&\",l=\"&lt\")"},
        // A shrunk value leaves spaces in the buffer; what follows is found.
        {L"<a t=\"&amp;&lt;\" u=\"v\"><b w=\"&quot;\"/></a>", L"a(t=\"&<\",u=\"v\"){b(w=\"\"\")}"},
        {L"<a e=\"\" s=\" x \t y \" q=\"it's\"/>", L"a(e=\"\",s=\" x \t y \",q=\"it's\")"},
    });
}

TEST(XmlDocumentLoad, UnclosedElementsAreAcceptedAtTheTopTwoLevelsOnly)
{
    ExpectSummaries({
        {L"<Window><Font name=\"a\"/>", L"Window(){Font(name=\"a\")}"},
        {L"<a><b><c/></b>", L"a(){b(){c()}}"},
        {L"<Window><A><Font name=\"a\"/>", L"Expected start tag @"},
        {L"<a><b><c>text", L"Expected end-tag start @"},
        {L"<r><a><!-- never closed", L"Expected start tag @"},
        // A second top-level element has an index above 1: its children are
        // held to the rule of the third level.
        {L"<a/><b><c/>", L"Expected start tag @"},
    });
}

// Regression: an element left open at the end of the text was accepted, but
// its name ran on into its text ("Window>abc").
TEST(XmlDocumentLoad, UnclosedElementNameDoesNotRunIntoItsText)
{
    ExpectSummaries({{L"<Window>abc", L"Window()"}, {L"<Window><Label>text", L"Window(){Label()}"}});
}

TEST(XmlDocumentErrors, EachFailureHasItsMessageAndLocation)
{
    ExpectSummaries({
        {L"text<a/>", L"Expected start tag @text<a/>"},
        {L"<a>x<b/>y</a>", L"Expected start tag @y</a>"},
        {L"<!-- a -> b --><r/>", L"Expected start tag @b --><r/>"},
        {L"<a", L"Error parsing element name @"},
        {L"<a ", L"Expected start-tag closing @"},
        {L"<a x=\"1\"/", L"Expected start-tag closing @/"},
        {L"<a/x>", L"Expected start-tag closing @/x>"},
        {L"<a><b><c>", L"Expected end-tag start @"},
        {L"<a></b>", L"Unmatched closing tag @b>"},
        {L"<ab></a>", L"Unmatched closing tag @a>"},
        {L"<A></a>", L"Unmatched closing tag @a>"},
        {L"<a></ab>", L"Unmatched closing tag @>"},  // reported behind the 'b' found instead of '>'
        {L"<a t='x'/>", L"Expected attribute value @x'/>"},
        {L"<a t u=\"1\"/>", L"Error while parsing attributes @u=\"1\"/>"},
        {L"<a-b/>", L"Error while parsing attributes @/>"},  // whatever ends the name starts the attributes
        {L"<a t=\"&am", L"Error while parsing attribute string @"},
    });
    const std::wstring longTail = L"<a><b/>" + std::wstring(60, L'y');
    EXPECT_EQ(L"Expected start tag @" + std::wstring(49, L'y'), LoadSummary(longTail.c_str()));
}

// Regression: a missing '>' after an end tag's name, or a missing value
// quote, at the end of the text was reported from behind the terminating
// NUL, copying the location from outside the buffer.
TEST(XmlDocumentErrors, FailureAtTheEndOfTheTextHasAnEmptyLocation)
{
    ExpectSummaries({
        {L"<a></a", L"Unmatched closing tag @"},
        {L"<a></a  ", L"Unmatched closing tag @"},
        {L"<a t=", L"Expected attribute value @"},
        {L"<a t = ", L"Expected attribute value @"},
    });
}

TEST(XmlDocumentBytes, EncodingsAndTheirMarks)
{
    // U+4E2D is E4 B8 AD, U+1F600 is F0 9F 98 80.
    EXPECT_EQ(L"a(t=\"\x4E2D\xD83D\xDE00\")", LoadSummary(B("<a t=\"\xE4\xB8\xAD\xF0\x9F\x98\x80\"/>"), EncodingUtf8));
    EXPECT_EQ(L"a()", LoadSummary(B("\xEF\xBB\xBF<a/>"), EncodingUtf8));
    EXPECT_EQ(L"<empty>", LoadSummary(B("\xEF\xBB\xBF"), EncodingUtf8));
    EXPECT_EQ(L"<empty>", LoadSummary(Bytes{}, EncodingUtf8));
    // Two bytes cannot hold the mark, so they are text: a cut-off sequence,
    // which the platform turns into one U+FFFD like every bad sequence.
    EXPECT_EQ(L"Expected start tag @\xFFFD", LoadSummary(B("\xEF\xBB"), EncodingUtf8));
    EXPECT_EQ(L"a(b=\"\xFFFD\",c=\"\xFFFD\")", LoadSummary(B("<a b=\"\xFF\" c=\"\xE4\xB8\"/>"), EncodingUtf8));
    EXPECT_EQ(L"a()", LoadSummary(Bytes{'<', 'a', '/', '>', 0, '<', 'b', '/', '>'}, EncodingUtf8));

    const Bytes little = {0xFF, 0xFE, '<', 0, 'a', 0, ' ', 0, 't', 0, '=', 0, '"', 0, 0x2D, 0x4E, '"', 0, '/', 0, '>', 0};
    const Bytes big = {0xFE, 0xFF, 0, '<', 0, 'a', 0, ' ', 0, 't', 0, '=', 0, '"', 0x4E, 0x2D, 0, '"', 0, '/', 0, '>'};
    EXPECT_EQ(L"a(t=\"\x4E2D\")", LoadSummary(little, EncodingUtf16));
    EXPECT_EQ(L"a(t=\"\x4E2D\")", LoadSummary(big, EncodingUtf16));
    EXPECT_EQ(L"a()", LoadSummary(Bytes{0xFF, 0xFE, '<', 0, 'a', 0, '/', 0, '>', 0, '<'}, EncodingUtf16));
    EXPECT_EQ(L"<empty>", LoadSummary(Bytes{0xFE, 0xFF, 0x3C}, EncodingUtf16));
    EXPECT_EQ(L"Could not read file @", LoadSummary(Bytes(little.begin() + 2, little.end()), EncodingUtf16));
    EXPECT_EQ(L"Could not read file @", LoadSummary(Bytes{0xFF}, EncodingUtf16));
    EXPECT_EQ(L"Could not read file @", LoadSummary(B("<a/>"), static_cast<XmlEncoding>(3)));

    EXPECT_EQ(L"a(t=\"Tahoma\")", LoadSummary(B("<a t=\"Tahoma\"/>"), EncodingAnsi));
    if (GetACP() == 1252) {
        EXPECT_EQ(L"a(t=\"\x00E9\x20AC\")", LoadSummary(B("<a t=\"\xE9\x80\"/>"), EncodingAnsi));
    }
}

// ASCII is widened in blocks of four bytes. A sequence, a cut sequence or a
// stray byte at any place of a block, with any number of ASCII bytes behind
// it up to the end of the input, must come out as it does on its own.
TEST(XmlDocumentBytes, NonAsciiAtEveryPlaceOfAnAsciiRunIsWidened)
{
    const struct
    {
        const char* bytes;
        const wchar_t* units;
    } kOthers[] = {{"\xC3\xA9", L"\x00E9"},
                   {"\xE4\xB8\xAD", L"\x4E2D"},
                   {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},
                   {"\xE4\xB8", L"\xFFFD"},
                   {"\xFF", L"\xFFFD"}};
    for (const auto& other : kOthers) {
        for (int before = 0; before < 18; ++before) {
            for (int after = 0; after < 10; ++after) {
                const std::string head(static_cast<size_t>(before), 'x');
                const std::string tail = std::string("0123456789").substr(0, static_cast<size_t>(after));
                const std::wstring expected = L"a(t=\"" + std::wstring(head.begin(), head.end()) + other.units +
                                              std::wstring(tail.begin(), tail.end()) + L"\")";
                const std::string text = "<a t=\"" + head + other.bytes + tail + "\"/>";
                ASSERT_EQ(expected, LoadSummary(B(text.c_str()), EncodingUtf8)) << testing::PrintToString(text);
            }
        }
    }
}

TEST(XmlDocumentLifetime, EachLoadReplacesTheDocumentAndTheError)
{
    CXmlDocument document(L"<first><x/></first>");
    EXPECT_FALSE(document.LoadFromBytes("\x01", 1, EncodingUtf16));
    EXPECT_FALSE(document.IsValid());
    EXPECT_TRUE(document.LoadFromBytes(nullptr, 12, EncodingUtf8));
    EXPECT_EQ(L"<empty>", Summary(document, true));
    EXPECT_FALSE(document.Load(L"<a t=x/>"));
    document.Release();
    EXPECT_EQ(L"Expected attribute value @/>", Summary(document, false));
    EXPECT_TRUE(document.Load(L"<second y=\"2\"/>"));
    EXPECT_EQ(L"second(y=\"2\")", Summary(document, true));
    document.Release();
    EXPECT_FALSE(document.IsValid() || document.GetRoot().IsValid());
}

// Regression: Load freed the old buffer before copying the new text, so a
// text taken from the document itself was read after it was freed. A name
// starts near the buffer's head, where a freed block keeps heap bookkeeping.
TEST(XmlDocumentLifetime, TextFromTheDocumentsOwnBufferLoads)
{
    CXmlDocument document(L"<abcdefgh t=\"&lt;Label/&gt;\"/>");
    EXPECT_TRUE(document.Load(document.GetRoot().GetAttributeValue(0)));
    EXPECT_EQ(L"Label()", Summary(document, true));
    EXPECT_TRUE(document.Load(L"<abcdefgh/>"));
    EXPECT_FALSE(document.Load(document.GetRoot().GetName()));
    EXPECT_EQ(L"Expected start tag @abcdefgh", Summary(document, false));
}

// A load writes over the buffer and table of the previous one when its text
// fits them; nothing of the previous text or tree may show through.
TEST(XmlDocumentLifetime, ReloadsShowNothingOfTheTextBefore)
{
    CXmlDocument document;
    ASSERT_TRUE(document.Load(L"<Window><x t=\"1234567890\"/><y/></Window>"));
    ASSERT_TRUE(document.Load(L"<Window><x t=\"12345\"/>"));
    EXPECT_EQ(L"Window(){x(t=\"12345\")}", Summary(document, true));
    EXPECT_FALSE(document.Load(L"<Window><x t=\"1\"></y>"));
    EXPECT_EQ(L"Unmatched closing tag @y>", Summary(document, false));
    ASSERT_TRUE(document.Load(L"<b/>"));
    EXPECT_EQ(L"b()", Summary(document, true));
    const std::wstring longer = L"<Window>" + std::wstring(300, L' ') + L"<z u=\"1\"/></Window>";
    ASSERT_TRUE(document.Load(longer.c_str()));
    EXPECT_EQ(L"Window(){z(u=\"1\")}", Summary(document, true));
}

// A reload must not write over its own input: bytes that lie in the
// document's buffer, and that the buffer could hold once widened, go to a
// new block.
TEST(XmlDocumentLifetime, BytesFromTheDocumentsOwnBufferLoad)
{
    // 200 bytes of UTF-8, carried as 100 units of an attribute value: each
    // unit holds two of the bytes, low byte first.
    std::string inner = "<q t=\"";
    while (inner.size() < 197)
        inner += static_cast<char>('0' + inner.size() % 10);
    inner += "\"/>";
    ASSERT_EQ(200u, inner.size());
    std::wstring carried;
    for (size_t i = 0; i < inner.size(); i += 2)
        carried += static_cast<wchar_t>(static_cast<unsigned char>(inner[i]) |
                                        (static_cast<unsigned char>(inner[i + 1]) << 8));

    CXmlDocument document;
    // A buffer of 201 units first, so that the carrying text and then the
    // widened bytes both fit it.
    ASSERT_TRUE(document.Load((L"<a/>" + std::wstring(196, L' ')).c_str()));
    ASSERT_TRUE(document.Load((L"<a v=\"" + carried + L"\"/>").c_str()));
    const wchar_t* bytes = document.GetRoot().GetAttributeValue(0);
    ASSERT_EQ(carried, bytes);
    ASSERT_TRUE(document.LoadFromBytes(bytes, 200, EncodingUtf8));
    const std::string digits = inner.substr(6, 191);
    EXPECT_EQ(L"q(t=\"" + std::wstring(digits.begin(), digits.end()) + L"\")", Summary(document, true));
}

TEST(XmlDocumentLines, NumberedLoadsNameTheLinesOfElementsAttributesAndFailures)
{
    // The name's end and an attribute's '=' are rewritten by the parser; the
    // lines still count the line feeds as written. CR LF counts once.
    const wchar_t* text = L"<Window\r\n  size=\"1,1\">\r\n  <Button\nname=\"a\"/>\n</Window>";
    CXmlDocument plain(text);
    ASSERT_TRUE(plain.IsValid());
    EXPECT_EQ(0, plain.GetRoot().GetLine());

    CXmlDocument numbered;
    numbered.SetLineNumbering(true);
    ASSERT_TRUE(numbered.Load(text));
    const CXmlNode root = numbered.GetRoot();
    EXPECT_EQ(1, root.GetLine());
    EXPECT_EQ(2, root.GetAttributeLine(0));
    EXPECT_EQ(0, root.GetAttributeLine(1));
    EXPECT_EQ(3, root.GetChild().GetLine());
    EXPECT_EQ(4, root.GetChild().GetAttributeLine(0));

    EXPECT_FALSE(numbered.Load(L"<a>\n<b>\n<c t='x'/></b></a>"));
    EXPECT_STREQ(L"Expected attribute value", numbered.GetLastErrorMessage());
    EXPECT_EQ(3, numbered.GetLastErrorLine());
    EXPECT_FALSE(numbered.LoadFromBytes(nullptr, 0, EncodingUtf16));
    EXPECT_EQ(0, numbered.GetLastErrorLine());
}
