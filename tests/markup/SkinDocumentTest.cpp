// Skin documents as authors write them: a layered window skin with fonts,
// images, default attribute lists, language texts, an include and nested
// layouts, in the line endings and encodings editors save; then the same skin
// with the mistakes authors make, each failing with its exact message and
// location, or loading where the reader is lenient.
#include "ui/markup/XmlDocument.h"

#include "tests/markup/MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace DuiLib;
using test::LoadSummary;
using test::ReadSample;

namespace {

// Written out from data/skin/main.xml by hand.
const wchar_t kMainTree[] =
    L"Window(size=\"560,380\",mininfo=\"560,380\",caption=\"0,0,0,40\",roundcorner=\"6,6\","
    L"sizebox=\"4,4,4,4\",showdirty=\"false\"){"
    L"Font(id=\"0\",name=\"微软雅黑\",size=\"12\",default=\"true\");"
    L"Font(id=\"1\",name=\"微软雅黑\",size=\"14\",bold=\"true\");"
    L"Font(id=\"2\",name=\"Tahoma\",size=\"11\",underline=\"true\",shared=\"true\");"
    L"Image(name=\"bk/main_bk.png\",mask=\"#FFFF00FF\");"
    L"Image(name=\"102\",restype=\"PNG\",shared=\"true\");"
    L"Default(name=\"Button\",value=\"font=\"0\" textcolor=\"#FF333333\" hottextcolor=\"#FF0078D7\"\");"
    L"Default(name=\"Label\",value=\"font=\"1\"\",shared=\"true\");"
    L"MultiLanguage(id=\"12\",value=\"卸载完成\");"
    L"VerticalLayout(bkimage=\"file='bk/main_bk.png' corner='10,40,10,10'\"){"
    L"HorizontalLayout(height=\"40\"){Control(width=\"12\");"
    L"Label(name=\"title\",text=\"卸载 velko\",textcolor=\"#FFFFFFFF\");"
    L"Button(name=\"close_btn\",width=\"30\",height=\"30\","
    L"normalimage=\"file='btn/close_btn.png' source='0,0,30,30'\","
    L"hotimage=\"file='btn/close_btn.png' source='30,0,60,30'\",tooltip=\"关闭\")};"
    L"TabLayout(name=\"pages\",selectedid=\"0\"){"
    L"VerticalLayout(name=\"confirm_page\",inset=\"20,10,20,10\"){"
    L"Text(text=\"确定要卸载吗？&#10;数据 <不会> 保留\",showhtml=\"true\",height=\"60\");"
    L"Include(source=\"sub\\Item.xml\",count=\"2\");"
    L"Progress(name=\"unins_pro\",visible=\"false\",height=\"9\","
    L"bkimage=\"file='bk/unins_pro_bk.png' dest='0,0,0,9' corner='0,0,5,0'\");"
    L"HorizontalLayout(height=\"48\",childpadding=\"20\"){Control();"
    L"Button(name=\"unins_btn\",text=\"卸载\",width=\"120\",normalimage=\"btn/nor_btn.png\","
    L"hotimage=\"btn/hot_btn.png\");"
    L"Button(name=\"keep_btn\",text=\"保留\",width=\"120\");Control()}};"
    L"VerticalLayout(name=\"finished_page\"){"
    L"Label(bkimage=\"file='bk/unins_end_lab.png' fade='200'\",height=\"120\");"
    L"Button(name=\"download_btn\",text=\"{u}下载新版{/u}\",showhtml=\"true\","
    L"normalimage=\"btn/download_new_version_btn.png\")}}}}";

const wchar_t kItemTree[] =
    L"Window(){HorizontalLayout(height=\"24\",bkimage=\"color='FFF0F0F0'\"){"
    L"CheckBox(name=\"keep_config\",text=\"保留配置 & 存档\",selected=\"true\","
    L"normalimage=\"file='btn/check.png' dest='0,4,16,20'\")}}";

std::wstring Wide(const std::vector<unsigned char>& utf8)
{
    const int units = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(utf8.data()),
                                          static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(utf8.data()), static_cast<int>(utf8.size()),
                        &text[0], units);
    return text;
}

// The skin with the first occurrence of from replaced by to.
std::wstring Edited(const std::wstring& skin, const std::wstring& from, const std::wstring& to)
{
    std::wstring text = skin;
    const size_t at = text.find(from);
    EXPECT_NE(std::wstring::npos, at) << testing::PrintToString(from);
    return at == std::wstring::npos ? text : text.replace(at, from.size(), to);
}

class SkinDocument : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(skin.empty()); }

    const std::wstring skin = Wide(ReadSample("skin\\main.xml"));
};

}  // namespace

TEST_F(SkinDocument, LayeredSkinGivesItsWholeTree)
{
    EXPECT_EQ(kMainTree, LoadSummary(skin.c_str()));
    EXPECT_EQ(kItemTree, LoadSummary(ReadSample("skin\\sub\\Item.xml"), EncodingUtf8));
}

TEST_F(SkinDocument, WindowsLineEndingsAndUtf16WithMarkGiveTheSameTree)
{
    std::wstring crlf;
    for (wchar_t ch : skin)
        crlf += ch == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, ch);
    EXPECT_EQ(kMainTree, LoadSummary(crlf.c_str()));

    std::vector<unsigned char> utf16 = {0xFF, 0xFE};
    for (wchar_t ch : crlf) {
        utf16.push_back(static_cast<unsigned char>(ch & 0xFF));
        utf16.push_back(static_cast<unsigned char>(ch >> 8));
    }
    EXPECT_EQ(kMainTree, LoadSummary(utf16, EncodingUtf16));
}

// What the layout builder asks of the tree: resource elements by name among
// the root's children, and attribute values looked up by exact name.
TEST_F(SkinDocument, BuilderLookupsFindResourcesAndNestedAttributes)
{
    CXmlDocument document(skin.c_str());
    int fonts = 0;
    CXmlNode layout;
    for (CXmlNode node = document.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
        fonts += std::wstring(node.GetName()) == L"Font";
        if (std::wstring(node.GetName()) == L"VerticalLayout")
            layout = node;
    }
    EXPECT_EQ(3, fonts);
    ASSERT_TRUE(layout.IsValid());

    const CXmlNode confirm = layout.GetChild().GetSibling().GetChild();
    const CXmlNode include = confirm.GetChild().GetSibling();
    wchar_t source[500] = {};
    ASSERT_TRUE(include.GetAttributeValue(L"source", source, 499));
    EXPECT_STREQ(L"sub\\Item.xml", source);
    wchar_t count[500] = {};
    ASSERT_TRUE(include.GetAttributeValue(L"count", count, 499));
    EXPECT_STREQ(L"2", count);
    EXPECT_FALSE(include.GetAttributeValue(L"Source", source, 499));

    const CXmlNode progress = include.GetSibling();
    wchar_t image[257] = {};
    ASSERT_TRUE(progress.GetAttributeValue(L"bkimage", image, 256));
    EXPECT_STREQ(L"file='bk/unins_pro_bk.png' dest='0,0,0,9' corner='0,0,5,0'", image);
}

TEST_F(SkinDocument, AuthorMistakesFailWithTheirMessageAndLocation)
{
    const struct
    {
        const wchar_t* mistake;
        std::wstring text;
        const wchar_t* expected;
    } cases[] = {
        {L"single quotes around a window attribute", Edited(skin, L"size=\"560,380\"", L"size='560,380'"),
         L"Expected attribute value @560,380' mininfo=\"560,380\" caption=\"0,0,0,40\" rou"},
        {L"title bar end tag forgotten", Edited(skin, L"</HorizontalLayout>", L""),
         L"Unmatched closing tag @VerticalLayout>\n</Window>\n"},
        {L"tab layout end tag forgotten", Edited(skin, L"</TabLayout>", L""),
         L"Unmatched closing tag @VerticalLayout>\n</Window>\n"},
        {L"end tag in other letter case", Edited(skin, L"</Progress>", L"</progress>"),
         L"Unmatched closing tag @progress>\n        <HorizontalLayout height=\"48\" c"},
        {L"empty-element slash forgotten", Edited(skin, L"text=\"保留\" width=\"120\"/>", L"text=\"保留\" width=\"120\">"),
         L"Unmatched closing tag @HorizontalLayout>\n      </VerticalLayout>\n      <"},
        {L"unescaped quote inside a value", Edited(skin, L"tooltip=\"关闭\"", L"tooltip=\"say \"hi\"\""),
         L"Error while parsing attributes @\"\"/>\n    </HorizontalLayout>\n    <TabLayout name="},
        {L"attribute without a value", Edited(skin, L"showhtml=\"true\" height", L"showhtml height"),
         L"Error while parsing attributes @height=\"60\"/>\n        <Include source=\"sub\\Item.x"},
        {L"stray character behind an element", Edited(skin, L"<Control width=\"12\"/>", L"<Control width=\"12\"/>x"),
         L"Expected start tag @x\n      <Label name=\"title\" text=\"卸载 velko\" textc"},
        {L"file saved half way", skin.substr(0, skin.find(L"visible=\"fa") + 11),
         L"Error while parsing attribute string @"},
        {L"file cut inside a deep element", skin.substr(0, skin.find(L"<Control/>") + 10),
         L"Expected start tag @"},
        {L"text behind the root", skin + L"oops", L"Expected start tag @oops"},
        {L"hyphen in an attribute name", Edited(skin, L"selectedid=", L"selected-id="),
         L"Error while parsing attributes @-id=\"0\">\n      <VerticalLayout name=\"confirm_page"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, LoadSummary(c.text.c_str())) << testing::PrintToString(std::wstring(c.mistake));
}

TEST_F(SkinDocument, LenientReadingOfCommonSlipsKeepsTheSkinUsable)
{
    // A bare '&' stays as written; a '<' inside a value is just a character;
    // the root's end tag may be missing; a second top-level element follows
    // the root as its sibling.
    CXmlDocument document;
    EXPECT_TRUE(document.Load(Edited(skin, L"</Window>", L"").c_str()));
    EXPECT_STREQ(L"Window", document.GetRoot().GetName());
    ASSERT_TRUE(document.Load((skin + L"<Window size=\"1,1\"/>").c_str()));
    EXPECT_STREQ(L"Window", document.GetRoot().GetSibling().GetName());

    const std::wstring slips = Edited(skin, L"{u}下载新版{/u}", L"下载 & <安装>");
    ASSERT_TRUE(document.Load(slips.c_str()));
    CXmlNode download = document.GetRoot().GetChild();
    while (download.IsValid() && std::wstring(download.GetName()) != L"VerticalLayout")
        download = download.GetSibling();
    download = download.GetChild().GetSibling().GetChild().GetSibling().GetChild().GetSibling();
    wchar_t text[64] = {};
    ASSERT_TRUE(download.GetAttributeValue(L"text", text, 63));
    EXPECT_STREQ(L"下载 & <安装>", text);
}

TEST_F(SkinDocument, Utf16FileReadAsUtf8StopsAtItsFirstZeroByte)
{
    // FF and FE are no UTF-8: each becomes U+FFFD, and the zero byte behind
    // '<' ends the converted text.
    std::vector<unsigned char> utf16 = {0xFF, 0xFE};
    for (wchar_t ch : skin) {
        utf16.push_back(static_cast<unsigned char>(ch & 0xFF));
        utf16.push_back(static_cast<unsigned char>(ch >> 8));
    }
    EXPECT_EQ(L"Expected start tag @\xFFFD\xFFFD<", LoadSummary(utf16, EncodingUtf8));
}
