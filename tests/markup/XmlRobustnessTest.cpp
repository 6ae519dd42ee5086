// Input of any shape: the sample cut at every character and byte, deep
// nesting, a growing element table, huge attribute counts and random token
// soup each load, or fail with a documented message and a location taken
// from the text.
#include "ui/markup/XmlDocument.h"

#include "tests/markup/MarkupTestSupport.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>

using namespace DuiLib;
using test::ReadSample;

namespace {

// "" when the outcome of a load of text obeys the rules.
std::wstring Broken(const CXmlDocument& document, bool loaded, const std::wstring& text)
{
    const std::wstring message = document.GetLastErrorMessage();
    if (loaded)
        return message.empty() && document.IsValid() ? L"" : L"loaded with " + message;
    static const wchar_t* const kMessages[] = {
        L"Expected start tag",       L"Error parsing element name", L"Expected start-tag closing",
        L"Expected end-tag start",   L"Unmatched closing tag",      L"Error while parsing attributes",
        L"Expected attribute value", L"Error while parsing attribute string"};
    bool documented = false;
    for (const wchar_t* known : kMessages)
        documented = documented || message == known;
    if (!documented || document.IsValid())
        return L"undocumented failure " + message;
    // The location is the text from the failing point on, cut to 49
    // characters; anything else was read from outside the buffer.
    const std::wstring visible = text.substr(0, text.find(L'\0'));
    for (size_t at = 0; at <= visible.size(); ++at) {
        if (visible.compare(at, 49, document.GetLastErrorLocation()) == 0)
            return L"";
    }
    return L"location not from the text: " + std::wstring(document.GetLastErrorLocation());
}

std::wstring Repeat(const wchar_t* text, int count)
{
    std::wstring out;
    for (int i = 0; i < count; ++i)
        out += text;
    return out;
}

}  // namespace

TEST(XmlRobustness, SampleCutAtEveryCharacterAndByteLoadsOrFailsAsDocumented)
{
    const std::vector<unsigned char> utf8 = ReadSample("main.xml");
    const std::vector<unsigned char> utf16 = ReadSample("main_utf16le.xml");
    ASSERT_FALSE(utf8.empty() || utf16.empty());
    const std::wstring text(reinterpret_cast<const wchar_t*>(utf16.data() + 2), (utf16.size() - 2) / 2);
    int loaded = 0;
    CXmlDocument document;
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        const std::wstring prefix = text.substr(0, cut);
        const bool ok = document.Load(prefix.c_str());
        loaded += ok;
        EXPECT_EQ(L"", Broken(document, ok, prefix)) << "cut at character " << cut;
    }
    for (size_t cut = 0; cut <= utf8.size(); ++cut) {
        const bool ok = document.LoadFromBytes(utf8.data(), static_cast<unsigned>(cut), EncodingUtf8);
        wchar_t converted[4096] = {};
        MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(utf8.data()), static_cast<int>(cut), converted,
                            4095);
        EXPECT_EQ(L"", Broken(document, ok, converted)) << "cut at UTF-8 byte " << cut;
    }
    for (size_t cut = 2; cut <= utf16.size(); ++cut) {
        const bool ok = document.LoadFromBytes(utf16.data(), static_cast<unsigned>(cut), EncodingUtf16);
        EXPECT_EQ(L"", Broken(document, ok, text.substr(0, (cut - 2) / 2))) << "cut at UTF-16 byte " << cut;
    }
    // Cuts among the root's direct children load; deeper ones fail.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, static_cast<int>(text.size()) / 2);
}

TEST(XmlRobustness, DeepNestingParsesWithoutRecursion)
{
    const int depth = 200000;
    CXmlDocument document((Repeat(L"<a>", depth) + L"<leaf/>" + Repeat(L"</a>", depth)).c_str());
    int levels = 0;
    CXmlNode node = document.GetRoot();
    for (; node.HasChildren() && !node.GetSibling().IsValid(); node = node.GetChild())
        ++levels;
    EXPECT_EQ(depth, levels);
    EXPECT_STREQ(L"leaf", node.GetName());

    EXPECT_FALSE(document.Load(Repeat(L"<a>", depth).c_str()));
    EXPECT_STREQ(L"Expected end-tag start", document.GetLastErrorMessage());
    EXPECT_FALSE(document.Load((Repeat(L"<a>", depth) + Repeat(L"</a>", depth - 3) + L"</b>").c_str()));
    EXPECT_STREQ(L"Unmatched closing tag", document.GetLastErrorMessage());
}

// The table grows when it holds 500, 1250 and 2375 records: record 0 is the
// placeholder, 1 the root, then two per item. Links written around each move
// of the table must survive it.
TEST(XmlRobustness, ElementTableKeepsItsLinksAcrossGrowth)
{
    for (int items : {248, 249, 250, 623, 624, 625, 1185, 1186, 1187, 5000}) {
        std::wstring text = L"<r>";
        for (int i = 0; i < items; ++i)
            text += L"<i n=\"" + std::to_wstring(i) + L"\"><c/></i>";
        CXmlDocument document((text + L"</r>").c_str());
        int seen = 0;
        for (CXmlNode node = document.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling(), ++seen) {
            ASSERT_EQ(std::to_wstring(seen), node.GetAttributeValue(0)) << items;
            ASSERT_STREQ(L"c", node.GetChild().GetName()) << items;
        }
        EXPECT_EQ(items, seen);
    }
}

TEST(XmlRobustness, HugeAttributeCountsAndLongTextsAreHandled)
{
    std::wstring text = L"<r><many";
    for (int i = 0; i < 100000; ++i)
        text += L" a" + std::to_wstring(i) + L"=\"&lt;" + std::to_wstring(i) + L"&gt;\"";
    const std::wstring longName(70000, L'n');
    text += L"/><" + longName + L" v=\"" + Repeat(L"&amp;x", 50000) + L"\"></" + longName + L"></r>";
    CXmlDocument document(text.c_str());
    const CXmlNode many = document.GetRoot().GetChild();
    ASSERT_EQ(64, many.GetAttributeCount());
    EXPECT_STREQ(L"<63>", many.GetAttributeValue(63));
    EXPECT_EQ(longName, many.GetSibling().GetName());
    EXPECT_EQ(Repeat(L"&x", 50000), many.GetSibling().GetAttributeValue(0));
}

TEST(XmlRobustness, RandomTokenSoupLoadsOrFailsAsDocumented)
{
    static const wchar_t* const kTokens[] = {
        L"<", L">", L"/", L"</", L"/>", L"\"", L"=", L" ", L"a", L"bc", L"&amp;", L"&", L"&lt;", L"<!--", L"-->",
        L"->", L"<?", L"?>", L"'", L"x=\"1\"", L"<a>", L"</a>", L"<b/>", L"<r ", L"\x4E2D", L"<a t=\"", L"</ a >",
    };
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t bound) { return ((state = state * 1103515245u + 12345u) >> 8) % bound; };
    int loaded = 0;
    for (int round = 0; round < 30000; ++round) {
        std::wstring text;
        for (std::uint32_t i = 1 + next(40); i > 0; --i)
            text += kTokens[next(sizeof(kTokens) / sizeof(kTokens[0]))];
        CXmlDocument document;
        const bool ok = document.Load(text.c_str());
        loaded += ok;
        std::wstring broken = Broken(document, ok, text);
        for (CXmlNode node = document.GetRoot(); ok && node.IsValid(); node = node.GetChild()) {
            if (text.find(node.GetName()) == std::wstring::npos)
                broken = L"name not from the text";
        }
        ASSERT_EQ(L"", broken) << testing::PrintToString(text);
    }
    EXPECT_GT(loaded, 1000);
}

// The reader widens ASCII and well-formed UTF-8 itself and leaves damaged
// sequences to the platform; whatever the bytes, the text it parses must be
// the platform's conversion of the whole input. Values mix letters, every
// length of well-formed sequence (with the edges of each range), and stray
// bytes from 0x80 up, cut sequences included.
TEST(XmlRobustness, Utf8DecodingAgreesWithThePlatformOnAnyBytes)
{
    static const char* const kPieces[] = {
        "a", "Zq", " ", "\xC2\x80", "\xDF\xBF", "\xE0\xA0\x80", "\xE4\xB8\xAD", "\xED\x9F\xBF", "\xEE\x80\x80",
        "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", "\xE4\xB8", "\xF0\x9F\x98",
        "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\x80", "\xBF",
        "\xFE", "\xFF",
    };
    std::uint32_t state = 271828;
    auto next = [&state](std::uint32_t bound) { return ((state = state * 1103515245u + 12345u) >> 8) % bound; };
    for (int round = 0; round < 3000; ++round) {
        std::string value;
        for (std::uint32_t i = 1 + next(12); i > 0; --i)
            value += kPieces[next(sizeof(kPieces) / sizeof(kPieces[0]))];
        const std::string document = "<a t=\"" + value + "\"/>";
        wchar_t whole[256] = {};
        const int units = MultiByteToWideChar(CP_UTF8, 0, document.data(), static_cast<int>(document.size()), whole,
                                              255);
        ASSERT_GT(units, 9);
        // The platform's text between the quotes.
        const std::wstring expected(whole + 6, whole + units - 3);
        CXmlDocument parsed;
        ASSERT_TRUE(parsed.LoadFromBytes(document.data(), static_cast<unsigned>(document.size()), EncodingUtf8));
        ASSERT_EQ(expected, parsed.GetRoot().GetAttributeValue(0)) << testing::PrintToString(value);
    }
}
