// Fetching skin XML from real files: the skin folder and its 4 MiB limit,
// the password-protected archive made by Info-ZIP (held open, or opened for
// one load), module resources, and the manager's own settings. Each failure
// has its exact message and no location.
#include "ui/markup/XmlDocument.h"

#include "tests/markup/MarkupTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ui/markup/SkinArchive.h"
#include "ui/markup/SkinLocation.h"
#include "ui/core/UIManager.h"

using namespace DuiLib;
using test::DataFolder;
using test::LoadSummary;
using test::ReadSample;
using test::Summary;

namespace {

const char kPassword[] = "Skin-7Pw";

// "Window" (the root's name) after a successful load, else the message; a
// location, or a document left behind, shows in the text.
std::wstring Outcome(const CXmlDocument& document, bool loaded)
{
    if (loaded)
        return document.GetRoot().IsValid() ? document.GetRoot().GetName() : L"<empty>";
    return Summary(document, false);
}

std::wstring LoadSkinFile(const SkinLocation& location, const wchar_t* name)
{
    CXmlDocument document(L"<before/>");
    const bool loaded = document.LoadFromSkinFile(name, EncodingUtf8, location);
    return Outcome(document, loaded);
}

SkinLocation Folder(const std::wstring& folder)
{
    SkinLocation location;
    location.folder = folder.c_str();
    return location;
}

SkinLocation ZipFile(const wchar_t* zipName, const char* password)
{
    SkinLocation location = Folder(DataFolder());
    location.zipName = zipName;
    if (password != nullptr)
        std::strcpy(location.zipPassword, password);
    return location;
}

// The tree of main.xml as read straight from its file.
std::wstring MainTree()
{
    return LoadSummary(ReadSample("skin\\main.xml"), EncodingUtf8);
}

class SkinArchiveFile : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(zip.empty()); }

    // The archive held open, as the manager holds its in-memory skin.
    SkinLocation Held(const char* password)
    {
        archive.reset(CSkinArchive::OpenFromMemory(zip.data(), static_cast<unsigned>(zip.size()), password));
        SkinLocation location;
        location.zipName = L"membuffer";
        location.openZip = archive.get();
        return location;
    }

    std::vector<unsigned char> zip = ReadSample("skin.zip");
    std::unique_ptr<CSkinArchive> archive;
};

}  // namespace

TEST(SkinFolder, FilesAreReadFromTheFolderPlusTheName)
{
    const SkinLocation skin = Folder(DataFolder() + L"skin\\");
    const struct
    {
        const wchar_t* name;
        const wchar_t* expected;
    } cases[] = {
        {L"main.xml", L"Window"},
        {L"sub\\Item.xml", L"Window"},
        {L"sub/item.XML", L"Window"},
        {L"missing.xml", L"Error opening file @"},
        {L"sub", L"Error opening file @"},
        {nullptr, L"Error opening file @"},
        {L"empty.xml", L"File is empty @"},
        {L"big_over.xml", L"File too large @"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, LoadSkinFile(skin, c.name)) << (c.name != nullptr ? c.name : L"(null)");

    // Without a folder the name is a path of its own.
    EXPECT_EQ(L"Window", LoadSkinFile(SkinLocation(), (DataFolder() + L"skin\\main.xml").c_str()));
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromSkinFile(L"main.xml", EncodingUtf8, skin));
    EXPECT_EQ(MainTree(), Summary(document, true));
}

// Regression: the document was released before the file was read, so a name
// taken from the document itself (as an include's source is) was read after
// it was freed. A text of megabytes lives in a block of its own, which the
// heap unmaps when it is freed.
TEST(SkinFolder, NameTakenFromTheDocumentItselfLoads)
{
    const SkinLocation skin = Folder(DataFolder() + L"skin\\");
    CXmlDocument document((L"<i s=\"main.xml\"/>" + std::wstring(1 << 20, L' ')).c_str());
    ASSERT_STREQ(L"main.xml", document.GetRoot().GetAttributeValue(0));
    ASSERT_TRUE(document.LoadFromSkinFile(document.GetRoot().GetAttributeValue(0), EncodingUtf8, skin));
    EXPECT_EQ(MainTree(), Summary(document, true));
    EXPECT_FALSE(document.LoadFromSkinFile(document.GetRoot().GetName(), EncodingUtf8, skin));
    EXPECT_EQ(L"Error opening file @", Summary(document, false));
}

TEST(SkinFolder, FileOfExactlyFourMebibytesLoadsAndOneByteMoreIsTooLarge)
{
    const std::wstring folder = DataFolder() + L"sized\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string exact = "<Window>" + std::string(4194304 - 17, ' ') + "</Window>";
    ASSERT_EQ(4194304u, exact.size());
    ASSERT_TRUE(test::WriteBytes(folder + L"exact.xml", exact));
    ASSERT_TRUE(test::WriteBytes(folder + L"over.xml", exact + " "));
    EXPECT_EQ(L"Window", LoadSkinFile(Folder(folder), L"exact.xml"));
    EXPECT_EQ(L"File too large @", LoadSkinFile(Folder(folder), L"over.xml"));
    DeleteFileW((folder + L"exact.xml").c_str());
    DeleteFileW((folder + L"over.xml").c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(SkinArchiveFile, EntryIsFoundWhateverTheCaseAndLeadingSeparators)
{
    const SkinLocation held = Held(kPassword);
    ASSERT_NE(nullptr, held.openZip);
    for (const wchar_t* name : {L"main.xml", L"MAIN.XML", L"\\main.xml", L"/Main.xml", L"\\\\main.xml"}) {
        CXmlDocument document;
        EXPECT_TRUE(document.LoadFromSkinFile(name, EncodingUtf8, held)) << name;
        EXPECT_EQ(MainTree(), Summary(document, true)) << name;
    }
    for (const wchar_t* name : {L"sub\\Item.xml", L"SUB/item.xml", L"sub//Item.xml", L"sub\\\\/ITEM.xml"})
        EXPECT_EQ(L"Window", LoadSkinFile(held, name)) << name;
}

TEST_F(SkinArchiveFile, MissingEmptyAndOversizedEntriesFailWithTheirMessages)
{
    const SkinLocation held = Held(kPassword);
    const struct
    {
        const wchar_t* name;
        const wchar_t* expected;
    } cases[] = {
        {L"absent.xml", L"Could not find ziped file @"},
        {L"main.xml.bak", L"Could not find ziped file @"},
        {L"sub", L"Could not find ziped file @"},
        {L"", L"Could not find ziped file @"},
        {L"\\", L"Could not find ziped file @"},
        {nullptr, L"Could not find ziped file @"},
        {L"empty.xml", L"File is empty @"},
        {L"big_over.xml", L"File too large @"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, LoadSkinFile(held, c.name)) << (c.name != nullptr ? c.name : L"(null)");
    // Separators in front count for nothing, however many.
    EXPECT_EQ(L"Window", LoadSkinFile(held, (std::wstring(300, L'\\') + L"main.xml").c_str()));
}

// The one rule from a skin file name to an entry name, shared by layouts
// and images: slashes for backslashes, none in front, no doubles, at most
// 260 bytes in the ANSI code page.
TEST(SkinEntryName, SeparatorsAreTidiedAndTheLengthIsBounded)
{
    char entry[CSkinArchive::kMaxEntryNameBytes + 1];
    const struct
    {
        const wchar_t* name;
        const char* expected;
    } cases[] = {
        {L"main.xml", "main.xml"},
        {L"\\main.xml", "main.xml"},
        {L"\\\\bk\\\\/Main_BK.png", "bk/Main_BK.png"},
        {L"bk/", "bk/"},
        {L"a\\b\\c", "a/b/c"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(CSkinArchive::EntryName(c.name, entry)) << c.name;
        EXPECT_STREQ(c.expected, entry) << c.name;
    }
    const std::wstring longest = L"/" + std::wstring(256, L'x') + L".xml";
    ASSERT_TRUE(CSkinArchive::EntryName(longest.c_str(), entry));
    EXPECT_EQ(260u, std::strlen(entry));
    for (const std::wstring& refused : {L"x" + longest, std::wstring(L"\\/\\"), std::wstring()}) {
        EXPECT_FALSE(CSkinArchive::EntryName(refused.c_str(), entry)) << refused.size();
        EXPECT_STREQ("", entry);
    }
    EXPECT_FALSE(CSkinArchive::EntryName(nullptr, entry));
}

TEST_F(SkinArchiveFile, WrongOrMissingPasswordCannotUnzip)
{
    for (const char* password : {"skin-7pw", "Skin-7P", "", static_cast<const char*>(nullptr)}) {
        const SkinLocation held = Held(password);
        ASSERT_NE(nullptr, held.openZip);
        EXPECT_EQ(L"Could not unzip file @", LoadSkinFile(held, L"main.xml"));
        EXPECT_EQ(L"Could not unzip file @", LoadSkinFile(held, L"sub/Item.xml"));
        // Size and presence come from the archive's directory, which is not
        // enciphered.
        EXPECT_EQ(L"File is empty @", LoadSkinFile(held, L"empty.xml"));
        EXPECT_EQ(L"Could not find ziped file @", LoadSkinFile(held, L"absent.xml"));
    }
}

TEST_F(SkinArchiveFile, ArchiveFileIsOpenedForOneLoadAndClosedOnEveryPath)
{
    EXPECT_EQ(L"Window", LoadSkinFile(ZipFile(L"skin.zip", kPassword), L"\\MAIN.xml"));
    EXPECT_EQ(L"Could not unzip file @", LoadSkinFile(ZipFile(L"skin.zip", "wrong"), L"main.xml"));
    EXPECT_EQ(L"File is empty @", LoadSkinFile(ZipFile(L"skin.zip", kPassword), L"empty.xml"));
    EXPECT_EQ(L"Error opening zip file @", LoadSkinFile(ZipFile(L"missing.zip", kPassword), L"main.xml"));
    EXPECT_EQ(L"Error opening zip file @", LoadSkinFile(ZipFile(L"skin\\main.xml", kPassword), L"main.xml"));
    EXPECT_EQ(L"Error opening zip file @", LoadSkinFile(ZipFile(L"skin\\empty.xml", kPassword), L"main.xml"));
    // "membuffer" names the archive held open; without one there is none.
    EXPECT_EQ(L"Error opening zip file @", LoadSkinFile(ZipFile(L"membuffer", kPassword), L"main.xml"));

    // Whatever the outcome, nothing keeps the archive file open afterwards.
    const std::wstring copy = DataFolder() + L"copy.zip";
    ASSERT_TRUE(CopyFileW((DataFolder() + L"skin.zip").c_str(), copy.c_str(), FALSE));
    const SkinLocation copied = ZipFile(L"copy.zip", kPassword);
    EXPECT_EQ(L"Window", LoadSkinFile(copied, L"main.xml"));
    EXPECT_EQ(L"Could not find ziped file @", LoadSkinFile(copied, L"absent.xml"));
    EXPECT_EQ(L"File too large @", LoadSkinFile(copied, L"big_over.xml"));
    EXPECT_TRUE(DeleteFileW(copy.c_str()));
}

TEST(SkinResource, LayoutsLoadFromModuleResourcesAsUtf8)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromResource(MAKEINTRESOURCEW(201), L"SKINXML", SkinLocation()));
    EXPECT_EQ(MainTree(), Summary(document, true));
    ASSERT_TRUE(document.LoadFromResource(L"ITEM_XML", L"SKINXML", SkinLocation()));
    EXPECT_STREQ(L"HorizontalLayout", document.GetRoot().GetChild().GetName());

    EXPECT_FALSE(document.LoadFromResource(MAKEINTRESOURCEW(202), L"SKINXML", SkinLocation()));
    EXPECT_EQ(L"Error opening file @", Summary(document, false));
    EXPECT_FALSE(document.LoadFromResource(MAKEINTRESOURCEW(201), L"PNG", SkinLocation()));
    EXPECT_FALSE(document.LoadFromResource(nullptr, L"SKINXML", SkinLocation()));
    EXPECT_FALSE(document.LoadFromResource(L"ITEM_XML", nullptr, SkinLocation()));
    EXPECT_EQ(L"Error opening file @", Summary(document, false));
}

// The overloads without a location read the manager's process-wide skin: the
// archive it holds in memory, and the module's resources.
TEST(SkinManager, LayoutsComeFromTheArchiveTheManagerHolds)
{
    static const std::vector<unsigned char> zip = ReadSample("skin.zip");
    ASSERT_FALSE(zip.empty());
    CUIManager::SetSkinZipFromMemory(zip.data(), static_cast<unsigned>(zip.size()), kPassword);
    CXmlDocument document;
    ASSERT_TRUE(document.LoadFromSkinFile(L"\\MAIN.XML"));
    EXPECT_EQ(MainTree(), Summary(document, true));
    EXPECT_FALSE(document.LoadFromSkinFile(L"empty.xml", EncodingUtf8));
    EXPECT_EQ(L"File is empty @", Summary(document, false));
    EXPECT_TRUE(document.LoadFromResource(MAKEINTRESOURCEW(201), L"SKINXML"));
    EXPECT_STREQ(L"Window", document.GetRoot().GetName());
}
