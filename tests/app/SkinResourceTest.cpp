// Tests of the resources built into kalvex.exe: the enciphered skin archive
// with main.xml and its images, the icon and the manifest. The executable is
// mapped as a data file, so none of its code runs; the archive is read with
// the toolkit's own archive, image and XML readers, as start-up reads it.
#include "resources/ResourceIds.h"
#include "tests/app/TestSupport.h"
#include "ui/markup/SkinArchive.h"
#include "ui/markup/XmlDocument.h"
#include "ui/render/RenderKit.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using DuiLib::CSkinArchive;
using DuiLib::CXmlDocument;
using DuiLib::CXmlNode;
using DuiLib::SkinArchiveStatus;

// The password start-up hands to the toolkit with the archive.
constexpr char kSkinPassword[] = "kTfWqR4m";

struct SkinImage
{
    const wchar_t* entry;
    int width;
    int height;
};

// Every image entry and the size the skin lays it out at: the window
// background is the window itself, the message box background is the box,
// the bar is 600 x 9 and the two button strips hold three 150 x 42 states.
constexpr SkinImage kSkinImages[] = {
    {L"bk/child_wnd_bk.png", 335, 255},
    {L"bk/main_bk.png", 680, 420},
    {L"bk/title_logo.png", 132, 24},
    {L"bk/unins_end_lab.png", 64, 64},
    {L"bk/unins_pro_bk.png", 600, 9},
    {L"bkimage/WarningIcon.png", 64, 64},
    {L"btn/chat_official_btn.png", 100, 30},
    {L"btn/close_btn.png", 20, 20},
    {L"btn/download_new_version_btn.png", 100, 30},
    {L"btn/hot_btn.png", 150, 126},
    {L"btn/nor_btn.png", 150, 126},
};

struct Bytes
{
    std::unique_ptr<BYTE[]> data;
    unsigned size = 0;
};

class SkinResourceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The build tree keeps the executable in app/, two levels above the
        // test program in tests/app/.
        const std::wstring exe = kalvex::test::BesideTestProgram(L"..\\..\\app\\kalvex.exe");
        s_module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }

    static void TearDownTestSuite()
    {
        if (s_module != nullptr)
            FreeLibrary(s_module);
        s_module = nullptr;
    }

    void SetUp() override { ASSERT_NE(nullptr, s_module) << "kalvex.exe not loadable as data"; }

    // The bytes of resource id of type; empty when it is missing.
    static std::string Resource(const wchar_t* type, int id)
    {
        HRSRC found = FindResourceW(s_module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr)
            return {};
        HGLOBAL loaded = LoadResource(s_module, found);
        const DWORD size = SizeofResource(s_module, found);
        const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
        return bytes != nullptr ? std::string(static_cast<const char*>(bytes), size) : std::string();
    }

    // The archive over a copy of the skin resource (the archive borrows it).
    CSkinArchive* OpenSkin(const char* password)
    {
        m_zip = Resource(L"ZIPRES", KALVEX_SKIN_ID);
        return CSkinArchive::OpenFromMemory(m_zip.data(), static_cast<unsigned>(m_zip.size()), password);
    }

    // Parses main.xml, read from the archive with the password, into document.
    ::testing::AssertionResult LoadMainXml(CXmlDocument& document)
    {
        std::unique_ptr<CSkinArchive> skin(OpenSkin(kSkinPassword));
        if (skin == nullptr)
            return ::testing::AssertionFailure() << "the skin archive does not open";
        Bytes bytes;
        if (Read(*skin, L"main.xml", bytes) != SkinArchiveStatus::Ok)
            return ::testing::AssertionFailure() << "main.xml does not read";
        if (!document.LoadFromBytes(bytes.data.get(), bytes.size))
            return ::testing::AssertionFailure() << document.GetLastErrorMessage();
        return ::testing::AssertionSuccess();
    }

    static SkinArchiveStatus Read(CSkinArchive& archive, const wchar_t* entry, Bytes& out)
    {
        BYTE* bytes = nullptr;
        const SkinArchiveStatus status = archive.ReadEntry(entry, bytes, out.size);
        out.data.reset(bytes);
        return status;
    }

    static HMODULE s_module;
    std::string m_zip;
};

HMODULE SkinResourceTest::s_module = nullptr;

// The number of entries the zip's end-of-central-directory record counts; -1
// when there is no such record.
int ZipEntryCount(const std::string& zip)
{
    static const char kEnd[] = "PK\x05\x06";
    const size_t at = zip.rfind(kEnd, std::string::npos, 4);
    if (at == std::string::npos || at + 22 > zip.size())
        return -1;
    return static_cast<unsigned char>(zip[at + 10]) | static_cast<unsigned char>(zip[at + 11]) << 8;
}

TEST_F(SkinResourceTest, SkinArchiveIsZipResource102WithExactlyTheSkinFiles)
{
    const std::string zip = Resource(L"ZIPRES", KALVEX_SKIN_ID);
    ASSERT_GT(zip.size(), 30u);
    EXPECT_EQ(0, std::memcmp(zip.data(), "PK\x03\x04", 4));
    // main.xml and the eleven images; no directory entries.
    EXPECT_EQ(12, ZipEntryCount(zip));
}

TEST_F(SkinResourceTest, EntriesAreEncipheredAndReadOnlyWithThePassword)
{
    std::unique_ptr<CSkinArchive> open(OpenSkin(nullptr));
    ASSERT_NE(nullptr, open);
    std::unique_ptr<CSkinArchive> wrong(CSkinArchive::OpenFromMemory(m_zip.data(), static_cast<unsigned>(m_zip.size()),
                                                                       "kTfWqR4M"));
    ASSERT_NE(nullptr, wrong);
    std::vector<const wchar_t*> entries = {L"main.xml"};
    for (const SkinImage& image : kSkinImages)
        entries.push_back(image.entry);
    for (const wchar_t* entry : entries)
    {
        Bytes bytes;
        EXPECT_EQ(SkinArchiveStatus::WrongPassword, Read(*open, entry, bytes)) << entry;
        EXPECT_EQ(nullptr, bytes.data) << entry;
        // ZipCrypto cannot tell a wrong password from damage.
        EXPECT_EQ(SkinArchiveStatus::Damaged, Read(*wrong, entry, bytes)) << entry;
    }
}

TEST_F(SkinResourceTest, EveryImageDecodesAtItsLayoutSize)
{
    std::unique_ptr<CSkinArchive> skin(OpenSkin(kSkinPassword));
    ASSERT_NE(nullptr, skin);
    for (const SkinImage& image : kSkinImages)
    {
        Bytes bytes;
        ASSERT_EQ(SkinArchiveStatus::Ok, Read(*skin, image.entry, bytes)) << image.entry;
        DuiLib::ImageEntry* decoded = DuiLib::CRenderKit::DecodeImageEntry(bytes.data.get(), bytes.size, 0);
        ASSERT_NE(nullptr, decoded) << image.entry;
        EXPECT_EQ(image.width, decoded->width) << image.entry;
        EXPECT_EQ(image.height, decoded->height) << image.entry;
        // Every image has rounded or cut-out parts that the window must
        // show through, except the window background, which is opaque.
        EXPECT_EQ(std::wstring(image.entry) != L"bk/main_bk.png", decoded->hasAlpha) << image.entry;
        DuiLib::ReleaseImageEntry(decoded, true);
    }
}

// The elements of main.xml by their "name" attribute, with their parents.
struct NamedElement
{
    CXmlNode node;
    CXmlNode parent;
};

void CollectNamed(const CXmlNode& parent, std::map<std::wstring, NamedElement>& named)
{
    for (CXmlNode child = parent.GetChild(); child.IsValid(); child = child.GetSibling())
    {
        wchar_t name[64] = {};
        if (child.GetAttributeValue(L"name", name, 64))
            named[name] = {child, parent};
        CollectNamed(child, named);
    }
}

std::wstring Attribute(const CXmlNode& node, const wchar_t* name)
{
    wchar_t value[256] = {};
    return node.GetAttributeValue(name, value, 256) ? value : L"";
}

// Four comma-separated numbers, as "pos" and "source" hold them; zeros when
// the text holds fewer.
RECT Rectangle(const wchar_t* text)
{
    RECT rect = {};
    if (swscanf(text, L"%ld,%ld,%ld,%ld", &rect.left, &rect.top, &rect.right, &rect.bottom) != 4)
        rect = {};
    return rect;
}

TEST_F(SkinResourceTest, MainXmlHoldsThePagesAndControlsTheWindowSwitches)
{
    CXmlDocument document;
    ASSERT_TRUE(LoadMainXml(document));
    const CXmlNode window = document.GetRoot();
    ASSERT_TRUE(window.IsValid());
    EXPECT_STREQ(L"Window", window.GetName());
    // The background is drawn unscaled: the window has main_bk.png's size.
    EXPECT_EQ(L"680,420", Attribute(window, L"size"));
    EXPECT_FALSE(Attribute(window, L"roundcorner").empty());

    std::map<std::wstring, NamedElement> named;
    CollectNamed(window, named);
    const struct
    {
        const wchar_t* name;
        const wchar_t* tag;
    } controls[] = {{L"no_unins_btn", L"Button"}, {L"unins_btn", L"Button"}, {L"pro_unins_lab", L"Label"},
                    {L"ins_new_client_btn", L"Button"}, {L"close_btn", L"Button"}};
    for (const auto& control : controls)
    {
        ASSERT_EQ(1u, named.count(control.name)) << control.name;
        EXPECT_STREQ(control.tag, named[control.name].node.GetName()) << control.name;
    }

    // The keep button's page shows first; the download button's page is a
    // different container, hidden until the uninstall ends.
    const CXmlNode confirmPage = named[L"no_unins_btn"].parent;
    const CXmlNode finishedPage = named[L"ins_new_client_btn"].parent;
    EXPECT_STREQ(L"VerticalLayout", confirmPage.GetName());
    EXPECT_STREQ(L"VerticalLayout", finishedPage.GetName());
    EXPECT_NE(Attribute(confirmPage, L"name"), Attribute(finishedPage, L"name"));
    EXPECT_NE(L"false", Attribute(confirmPage, L"visible"));
    EXPECT_EQ(L"false", Attribute(finishedPage, L"visible"));

    // The progress label waits hidden on the confirmation page, and is as
    // wide as the bar's full run (600) and at least its 9 rows high.
    const CXmlNode progress = named[L"pro_unins_lab"].node;
    EXPECT_EQ(Attribute(confirmPage, L"name"), Attribute(named[L"pro_unins_lab"].parent, L"name"));
    EXPECT_EQ(L"false", Attribute(progress, L"visible"));
    const RECT pos = Rectangle(Attribute(progress, L"pos").c_str());
    EXPECT_EQ(600, pos.right - pos.left);
    EXPECT_GE(pos.bottom - pos.top, 9);
}

// "source='l,t,r,b'" of an image description, all zeros when absent.
RECT SourcePart(const std::wstring& description)
{
    const size_t at = description.find(L"source='");
    return at != std::wstring::npos ? Rectangle(description.c_str() + at + 8) : RECT{};
}

// Calls check(node, attribute name, value) for every attribute of the
// elements below parent whose name ends in "image".
template <typename Check>
void ForEachImageAttribute(const CXmlNode& parent, Check check)
{
    for (CXmlNode child = parent.GetChild(); child.IsValid(); child = child.GetSibling())
    {
        for (int i = 0; i < child.GetAttributeCount(); ++i)
        {
            const std::wstring name = child.GetAttributeName(i);
            if (name.size() >= 5 && name.compare(name.size() - 5, 5, L"image") == 0)
                check(child, name, std::wstring(child.GetAttributeValue(i)));
        }
        ForEachImageAttribute(child, check);
    }
}

TEST_F(SkinResourceTest, EveryImageMainXmlNamesIsInTheArchiveAndSourcesFitInside)
{
    CXmlDocument document;
    ASSERT_TRUE(LoadMainXml(document));
    int checked = 0;
    ForEachImageAttribute(document.GetRoot(), [&](const CXmlNode& node, const std::wstring& attribute,
                                                  const std::wstring& description) {
        // A colour image names no file; a plain description is the name.
        if (description.find(L"color='") != std::wstring::npos)
            return;
        std::wstring entry = description;
        const size_t file = description.find(L"file='");
        if (file != std::wstring::npos)
            entry = description.substr(file + 6, description.find(L'\'', file + 6) - file - 6);
        const SkinImage* image = nullptr;
        for (const SkinImage& candidate : kSkinImages)
            if (entry == candidate.entry)
                image = &candidate;
        ASSERT_NE(nullptr, image) << node.GetName() << L" " << attribute << L": " << entry;
        const RECT part = SourcePart(description);
        EXPECT_TRUE(part.left >= 0 && part.top >= 0 && part.right <= image->width && part.bottom <= image->height)
            << node.GetName() << L" " << attribute << L": " << description;
        ++checked;
    });
    // Background, logo, close glyph, three states of each of the two
    // buttons, badge and download button.
    EXPECT_EQ(11, checked);
}

TEST_F(SkinResourceTest, ButtonStatesAddressWholeFramesOfTheirStrips)
{
    CXmlDocument document;
    ASSERT_TRUE(LoadMainXml(document));
    std::map<std::wstring, NamedElement> named;
    CollectNamed(document.GetRoot(), named);

    // Normal, hot and pushed are the top, middle and bottom 150 x 42 frames.
    const struct
    {
        const wchar_t* button;
        const wchar_t* strip;
    } buttons[] = {{L"unins_btn", L"file='btn/nor_btn.png'"}, {L"no_unins_btn", L"file='btn/hot_btn.png'"}};
    const struct
    {
        const wchar_t* attribute;
        RECT frame;
    } states[] = {{L"normalimage", {0, 0, 150, 42}}, {L"hotimage", {0, 42, 150, 84}}, {L"pushedimage", {0, 84, 150, 126}}};
    for (const auto& button : buttons)
    {
        const CXmlNode node = named[button.button].node;
        for (const auto& state : states)
        {
            const std::wstring description = Attribute(node, state.attribute);
            EXPECT_NE(std::wstring::npos, description.find(button.strip)) << button.button << L" " << state.attribute;
            const RECT part = SourcePart(description);
            EXPECT_TRUE(EqualRect(&state.frame, &part)) << button.button << L" " << state.attribute;
        }
        // The button is exactly one frame large, so the frame is not scaled.
        const RECT pos = Rectangle(Attribute(node, L"pos").c_str());
        EXPECT_EQ(150, pos.right - pos.left) << button.button;
        EXPECT_EQ(42, pos.bottom - pos.top) << button.button;
    }
}

TEST_F(SkinResourceTest, IconHasTheShellSizesAndManifestRequestsAdministrator)
{
    // A group icon directory: 6 header bytes, then 14-byte entries whose
    // first byte is the width (0 for 256).
    const std::string group = Resource(RT_GROUP_ICON, KALVEX_ICON_ID);
    ASSERT_GE(group.size(), 6u);
    const int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5]) << 8;
    ASSERT_EQ(group.size(), 6u + 14u * count);
    std::vector<int> widths;
    for (int i = 0; i < count; ++i)
    {
        const int width = static_cast<unsigned char>(group[6 + 14 * i]);
        widths.push_back(width == 0 ? 256 : width);
    }
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ((std::vector<int>{16, 24, 32, 48, 256}), widths);

    const std::string manifest = Resource(RT_MANIFEST, 1);
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
}

}  // namespace
