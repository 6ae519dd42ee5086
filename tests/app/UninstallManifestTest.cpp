#include "app/UninstallManifest.h"

#include "app/ProductNames.h"
#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

using kalvex::RemoveManifestEntries;
using kalvex::test::CScopedEnvironment;
using kalvex::test::CScratchDir;
using kalvex::test::PathExists;
using kalvex::test::WriteFileBytes;

namespace {

// An install directory with a few product files, beside a folder of the
// user's that no manifest may reach.
class ManifestTest : public ::testing::Test {
protected:
    ManifestTest() : m_root(L"manifest"), m_install(m_root / L"velko\\"), m_outside(m_root / L"outside\\")
    {
        for (const wchar_t* name : {L"a.dll", L"b.dll", L"x", L"y", L"keep.txt", L"sub\\one.txt",
                                    L"sub\\inner\\two.txt", L"\u8bf4\u660e.txt", L"\u6570\u636e\\\u914d\u7f6e.ini"})
            WriteFileBytes(m_install + name, "product");
        WriteFileBytes(m_outside + L"canary.txt", "user data");
        WriteFileBytes(m_root / L"canary-root.txt", "user data");
        GetCurrentDirectoryW(MAX_PATH, m_savedDirectory);
    }
    // Windows will not remove a folder that is some process's current one.
    ~ManifestTest() override { SetCurrentDirectoryW(m_savedDirectory); }

    kalvex::ManifestRemoval Remove(const std::string& manifest) { return RemoveManifestEntries(m_install, manifest); }
    bool InInstall(const std::wstring& name) const { return PathExists(m_install + name); }
    void ExpectOutsideIntact() const
    {
        EXPECT_TRUE(PathExists(m_install));
        EXPECT_TRUE(PathExists(m_outside + L"canary.txt"));
        EXPECT_TRUE(PathExists(m_root / L"canary-root.txt"));
    }

    CScratchDir m_root;
    std::wstring m_install;
    std::wstring m_outside;
    wchar_t m_savedDirectory[MAX_PATH + 1] = {};
};

}  // namespace

TEST_F(ManifestTest, DeletesListedFilesAndWholeTreesOnly)
{
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "a.dll"}, {"name": "sub", "size": 3}])");
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(2, result.attempted);
    EXPECT_EQ(0, result.failed);
    EXPECT_FALSE(InInstall(L"a.dll"));
    EXPECT_FALSE(InInstall(L"sub"));
    EXPECT_TRUE(InInstall(L"b.dll"));
    EXPECT_TRUE(InInstall(L"keep.txt"));
    ExpectOutsideIntact();
}

TEST_F(ManifestTest, StopRequestEndsTheLoopBeforeTheNextEntry)
{
    std::atomic<bool> stop{true};
    const kalvex::ManifestRemoval stopped = RemoveManifestEntries(m_install, R"([{"name": "a.dll"}])", &stop);
    EXPECT_TRUE(stopped.parsed);
    EXPECT_EQ(0, stopped.attempted);
    EXPECT_TRUE(InInstall(L"a.dll"));

    stop = false;
    const kalvex::ManifestRemoval running = RemoveManifestEntries(m_install, R"([{"name": "a.dll"}])", &stop);
    EXPECT_EQ(1, running.attempted);
    EXPECT_FALSE(InInstall(L"a.dll"));
}

TEST_F(ManifestTest, ListEndsAtTheFirstElementWithoutAName)
{
    EXPECT_EQ(1, Remove(R"([{"name": "x"}, {}, {"name": "y"}])").attempted);
    EXPECT_FALSE(InInstall(L"x"));
    EXPECT_TRUE(InInstall(L"y"));

    EXPECT_EQ(1, Remove(R"([{"name": "a.dll"}, {"name": ""}, {"name": "b.dll"}])").attempted);
    EXPECT_EQ(0, Remove(R"([{"name": null}, {"name": "b.dll"}])").attempted);
    EXPECT_TRUE(InInstall(L"b.dll"));
}

TEST_F(ManifestTest, EmptyArrayDeletesNothing)
{
    const kalvex::ManifestRemoval result = Remove("[]");
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(0, result.attempted);
    EXPECT_TRUE(InInstall(L"a.dll"));
}

TEST_F(ManifestTest, NonAsciiNamesAreDecodedFromUtf8AndBomIsIgnored)
{
    Remove("\xEF\xBB\xBF[{\"name\": \"\xE8\xAF\xB4\xE6\x98\x8E.txt\"}, {\"name\": \"\xE6\x95\xB0\xE6\x8D\xAE\"}]");
    EXPECT_FALSE(InInstall(L"\u8bf4\u660e.txt"));
    EXPECT_FALSE(InInstall(L"\u6570\u636e"));
    EXPECT_TRUE(InInstall(L"a.dll"));
}

TEST_F(ManifestTest, MissingOrLockedEntriesDoNotStopTheLoop)
{
    HANDLE locked = CreateFileW((m_install + L"a.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "gone.dll"}, {"name": "a.dll"}, {"name": "b.dll"}])");
    CloseHandle(locked);
    EXPECT_EQ(3, result.attempted);
    EXPECT_GE(result.failed, 1);
    EXPECT_FALSE(InInstall(L"b.dll"));
}

TEST_F(ManifestTest, DirectoryTreesGoWithReadOnlyFilesButLinksInsideAreNotFollowed)
{
    WriteFileBytes(m_install + L"tree\\deep\\er\\ro.txt", "read only");
    SetFileAttributesW((m_install + L"tree\\deep\\er\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFileBytes(m_install + L"tree\\plain.txt", "plain");
    // A link inside the tree that points at the user's folder: removing the
    // tree removes the link, never what it points at.
    const bool linked = CreateSymbolicLinkW((m_install + L"tree\\to_outside").c_str(), m_outside.c_str(),
                                            SYMBOLIC_LINK_FLAG_DIRECTORY) != FALSE;
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "tree"}])");
    EXPECT_EQ(1, result.attempted);
    EXPECT_EQ(0, result.failed);
    EXPECT_FALSE(InInstall(L"tree"));
    ExpectOutsideIntact();
    if (!linked)
        std::printf("note: symbolic links unavailable here; the link case was not exercised\n");
}

TEST_F(ManifestTest, TreeWithALockedFileKeepsItAndCountsAFailure)
{
    WriteFileBytes(m_install + L"tree\\locked.dat", "busy");
    WriteFileBytes(m_install + L"tree\\free.dat", "free");
    HANDLE locked =
        CreateFileW((m_install + L"tree\\locked.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "tree"}, {"name": "b.dll"}])");
    CloseHandle(locked);
    EXPECT_EQ(2, result.attempted);
    EXPECT_EQ(1, result.failed);
    EXPECT_TRUE(InInstall(L"tree\\locked.dat"));
    EXPECT_FALSE(InInstall(L"tree\\free.dat"));
    EXPECT_FALSE(InInstall(L"b.dll"));
}

TEST_F(ManifestTest, EntriesThatWouldLeaveTheInstallDirectoryAreSkipped)
{
    const std::string outsideAbsolute = std::string(m_outside.begin(), m_outside.end());  // ASCII scratch path
    std::string escaped;
    for (char c : outsideAbsolute)
        escaped += (c == '\\') ? std::string("\\\\") : std::string(1, c);
    // The current directory is the scratch root, so a drive-relative or bare
    // relative name would land on the user's files if it were ever used.
    SetCurrentDirectoryW(m_root.Path().c_str());
    const std::string manifest = "[{\"name\": \"..\\\\outside\\\\canary.txt\"},"
                                 " {\"name\": \"..\\\\outside\"},"
                                 " {\"name\": \"..\"},"
                                 " {\"name\": \"sub\\\\..\\\\..\\\\outside\"},"
                                 " {\"name\": \"sub/../../outside\"},"
                                 " {\"name\": \"" + escaped + "canary.txt\"},"
                                 " {\"name\": \"\\\\canary-root.txt\"},"
                                 " {\"name\": \"C:canary-root.txt\"},"
                                 " {\"name\": \"keep.txt:stream\"},"
                                 " {\"name\": \"b.dll\"}]";
    const kalvex::ManifestRemoval result = Remove(manifest);
    EXPECT_EQ(9, result.skipped);
    EXPECT_EQ(1, result.attempted);
    EXPECT_FALSE(InInstall(L"b.dll"));
    EXPECT_TRUE(InInstall(L"keep.txt"));
    ExpectOutsideIntact();
}

TEST_F(ManifestTest, NamesThatCollapseOntoTheInstallDirectoryAreSkipped)
{
    const std::string manifest = R"([{"name": "."}, {"name": "sub\\.."}, {"name": "..."}, {"name": ".. "},)"
                                 R"( {"name": "\u0000"}, {"name": "a.dll\u0000ignored"}, {"name": "tab\there"},)"
                                 "{\"name\": \"\xFF\xFE\"}, {\"name\": \"x\"}]";
    const kalvex::ManifestRemoval result = Remove(manifest);
    EXPECT_EQ(8, result.skipped);
    EXPECT_EQ(1, result.attempted);
    EXPECT_FALSE(InInstall(L"x"));
    EXPECT_TRUE(InInstall(L"a.dll"));
    EXPECT_TRUE(InInstall(L"sub\\one.txt"));
    ExpectOutsideIntact();
}

TEST_F(ManifestTest, JoinedPathThatWouldNotFitIsSkippedNotTruncated)
{
    const std::string longName(1100, 'n');
    const kalvex::ManifestRemoval result = Remove("[{\"name\": \"" + longName + "\"}, {\"name\": \"x\"}]");
    EXPECT_EQ(1, result.skipped);
    EXPECT_FALSE(InInstall(L"x"));
}

TEST_F(ManifestTest, ManifestsOfTheWrongShapeDeleteNothingAndNeverCrash)
{
    for (const char* manifest : {"", "not json", "[{\"name\": \"a.dll\"", "{\"name\": \"a.dll\"}",
                                 "\"a.dll\"", "42", "null"}) {
        const kalvex::ManifestRemoval result = Remove(manifest);
        EXPECT_FALSE(result.parsed) << manifest;
        EXPECT_EQ(0, result.attempted) << manifest;
    }
    EXPECT_EQ(0, Remove(R"(["a.dll", {"name": "b.dll"}])").attempted);
    EXPECT_EQ(1, Remove(R"([{"name": "x"}, ["b.dll"], {"name": "y"}])").attempted);
    EXPECT_EQ(0, Remove(R"([{"name": {"inner": "b.dll"}}])").attempted);
    EXPECT_EQ(0, Remove(R"([{"name": ["b.dll"]}])").attempted);
    EXPECT_EQ(0, Remove(std::string(100000, '[') + std::string(100000, ']')).attempted);
    EXPECT_TRUE(InInstall(L"a.dll"));
    EXPECT_TRUE(InInstall(L"b.dll"));
    EXPECT_TRUE(InInstall(L"y"));
}

TEST_F(ManifestTest, CommentsInTheManifestAreAccepted)
{
    EXPECT_EQ(1, Remove("// written by the installer\n[{\"name\": \"a.dll\" /* main module */}]").attempted);
    EXPECT_FALSE(InInstall(L"a.dll"));
}

TEST_F(ManifestTest, NoUsableInstallDirectoryDeletesNothingAnywhere)
{
    SetCurrentDirectoryW(m_install.c_str());
    for (const std::wstring& directory : {std::wstring(), std::wstring(L"velko\\"), std::wstring(L"C:"),
                                          m_install.substr(0, m_install.size() - 1)}) {
        const kalvex::ManifestRemoval result = RemoveManifestEntries(directory, R"([{"name": "a.dll"}])");
        EXPECT_EQ(0, result.attempted);
    }
    EXPECT_TRUE(InInstall(L"a.dll"));
}

// The whole step as the uninstall worker runs it: install directory from the
// product's uninstall key, manifest copy from TEMP.
class RemoveManifestFilesTest : public ManifestTest {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey); }

    void Register(const std::wstring& uninstallString)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExW(key, kalvex::kUninstallStringValue, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(uninstallString.c_str()),
                       static_cast<DWORD>((uninstallString.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
};

TEST_F(RemoveManifestFilesTest, RemovesWhatTheTempCopyListsAndKeepsTheCopy)
{
    Register(L"\"" + m_install + L"kalvex.exe\"");
    CScratchDir temp(L"temp");
    WriteFileBytes(temp / L"kalvex.dat", R"([{"name": "a.dll"}, {"name": "sub"}])");
    CScopedEnvironment environment(L"TEMP", temp.Path().substr(0, temp.Path().size() - 1));

    EXPECT_TRUE(kalvex::RemoveManifestFiles());
    EXPECT_FALSE(InInstall(L"a.dll"));
    EXPECT_FALSE(InInstall(L"sub"));
    EXPECT_TRUE(InInstall(L"keep.txt"));
    EXPECT_TRUE(PathExists(temp / L"kalvex.dat"));
}

TEST_F(RemoveManifestFilesTest, WithoutTheUninstallKeyNothingIsDeleted)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey);
    CScratchDir temp(L"temp");
    WriteFileBytes(temp / L"kalvex.dat", R"([{"name": "a.dll"}])");
    CScopedEnvironment environment(L"TEMP", temp.Path().substr(0, temp.Path().size() - 1));
    SetCurrentDirectoryW(m_install.c_str());

    EXPECT_TRUE(kalvex::RemoveManifestFiles());
    EXPECT_TRUE(InInstall(L"a.dll"));
}

TEST_F(RemoveManifestFilesTest, MissingManifestCopyDeletesNothing)
{
    Register(m_install + L"kalvex.exe");
    CScratchDir temp(L"temp");
    CScopedEnvironment environment(L"TEMP", temp.Path().substr(0, temp.Path().size() - 1));
    EXPECT_TRUE(kalvex::RemoveManifestFiles());
    EXPECT_TRUE(InInstall(L"a.dll"));
}
