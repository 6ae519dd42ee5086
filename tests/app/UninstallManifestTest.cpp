#include "app/UninstallManifest.h"

#include "app/ProductNames.h"
#include "app/WriteLogFile.h"
#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>

#include <shlobj.h>
#include <tlhelp32.h>

using kalvex::RemoveManifestEntries;
using kalvex::test::CLinks;
using kalvex::test::CPendingDeletes;
using kalvex::test::CScopedEnvironment;
using kalvex::test::CScratchDir;
using kalvex::test::PathExists;
using kalvex::test::ReadFileBytes;
using kalvex::test::WriteFileBytes;

namespace {

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

// True once another process holds `path` so that it cannot be deleted; false
// after twenty seconds without (a first start in a new Wine prefix is slow).
bool WaitUntilHeld(const std::wstring& path)
{
    for (int attempt = 0; attempt < 2000; ++attempt) {
        HANDLE probe = CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_SHARING_VIOLATION;
        CloseHandle(probe);
        Sleep(10);
    }
    return false;
}

// Counts the shell's folder-changed notices for one folder, as a shell view
// of it would receive them.
class CShellNotices {
public:
    explicit CShellNotices(const std::wstring& folder)
    {
        m_window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        // The shell may send the notice rather than post it: the window's own
        // procedure counts it either way.
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_count));
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc));
        m_folder = ILCreateFromPathW(folder.c_str());
        const SHChangeNotifyEntry entry = {m_folder, FALSE};
        if (m_window != nullptr && m_folder != nullptr)
            m_id = SHChangeNotifyRegister(m_window, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
                                          SHCNE_UPDATEDIR, kNotice, 1, &entry);
    }
    ~CShellNotices()
    {
        if (m_id != 0)
            SHChangeNotifyDeregister(m_id);
        ILFree(m_folder);
        DestroyWindow(m_window);
    }
    bool Registered() const { return m_id != 0; }
    // The notices that arrive within `milliseconds`.
    int Count(DWORD milliseconds)
    {
        const ULONGLONG end = GetTickCount64() + milliseconds;
        while (GetTickCount64() < end) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&message);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return m_count;
    }

private:
    static constexpr UINT kNotice = WM_APP + 7;
    static LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kNotice)
            ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    int m_count = 0;
    HWND m_window = nullptr;
    PIDLIST_ABSOLUTE m_folder = nullptr;
    ULONG m_id = 0;
};

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
    CShellNotices notices(m_install);
    ASSERT_TRUE(notices.Registered());
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "a.dll"}, {"name": "sub", "size": 3}])");
    EXPECT_EQ(1, notices.Count(500)) << "the shell's views of the folder hear of it once";
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(2, result.attempted);
    EXPECT_EQ(0, result.failed);
    EXPECT_FALSE(InInstall(L"a.dll"));
    EXPECT_FALSE(InInstall(L"sub"));
    EXPECT_TRUE(InInstall(L"b.dll"));
    EXPECT_TRUE(InInstall(L"keep.txt"));
    ExpectOutsideIntact();
    // No handle is left on the install directory: it can be renamed.
    const std::wstring folder = m_install.substr(0, m_install.size() - 1);
    EXPECT_TRUE(MoveFileW(folder.c_str(), (folder + L"_moved").c_str()));
    MoveFileW((folder + L"_moved").c_str(), folder.c_str());
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

TEST_F(ManifestTest, TreesGoWithReadOnlyFilesAndFoldersByTheWalkItself)
{
    WriteFileBytes(m_install + L"tree\\deep\\er\\ro.txt", "read only");
    SetFileAttributesW((m_install + L"tree\\deep\\er\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW((m_install + L"tree\\deep").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFileBytes(m_install + L"tree\\plain.txt", "plain");
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "tree"}, {"name": "sub\\"}])");
    EXPECT_EQ(2, result.attempted);
    EXPECT_EQ(0, result.failed);
    EXPECT_FALSE(InInstall(L"tree"));
    EXPECT_FALSE(InInstall(L"sub")) << "a trailing backslash names the folder itself";
    ExpectOutsideIntact();
}

TEST(ManifestTreeDepth, TreeNestedTwoThousandLevelsDeepGoes)
{
    // Far past MAX_PATH, and past what a recursive walk's stack would take;
    // the install folder is short so that Wine's Linux path still fits.
    const std::wstring install = L"C:\\kxd" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    ASSERT_TRUE(kalvex::test::MakeNestedFolders(install + L"deep", 2000)) << "the tree was not made";
    WriteFileBytes(install + L"deep\\d\\d\\middle.txt", "product");
    ASSERT_TRUE(PathExists(install + L"deep\\d\\d\\middle.txt"));
    const kalvex::ManifestRemoval result = RemoveManifestEntries(install, R"([{"name": "deep"}])");
    const bool gone = !PathExists(install + L"deep");
    kalvex::test::RemoveNestedFolders(install + L"deep");
    RemoveDirectoryW(install.c_str());
    EXPECT_EQ(0, result.failed);
    EXPECT_TRUE(gone);
}

// Links made from outside the program, as another program of the user could
// make them. Each target lies outside the install directory and must
// survive byte for byte.
class ManifestLinkTest : public ManifestTest {
protected:
    void SetUp() override
    {
        WriteFileBytes(m_outside + L"folder\\inside.txt", "user folder");
        WriteFileBytes(m_outside + L"target.txt", "user file");
        CreateDirectoryW((m_outside + L"empty").c_str(), nullptr);
        if (!CLinks::UnderWine() && !m_links.Make(m_root / L"probe", m_outside + L"folder", true))
            GTEST_SKIP() << "no link was made: this account may not create symbolic links";
    }
    bool Link(const std::wstring& name, const std::wstring& target, bool directory)
    {
        return m_links.Make(m_install + name, m_outside + target, directory);
    }
    void ExpectTargetsIntact() const
    {
        ExpectOutsideIntact();
        EXPECT_EQ("user folder", ReadFileBytes(m_outside + L"folder\\inside.txt"));
        EXPECT_EQ("user file", ReadFileBytes(m_outside + L"target.txt"));
        EXPECT_TRUE(PathExists(m_outside + L"empty"));
    }

    CLinks m_links;
};

TEST_F(ManifestLinkTest, ListedLinksAreNeverFollowed)
{
    ASSERT_TRUE(Link(L"to_folder", L"folder", true));
    ASSERT_TRUE(Link(L"to_file", L"target.txt", false));
    ASSERT_TRUE(Link(L"to_empty", L"empty", true));
    const kalvex::ManifestRemoval result =
        Remove(R"([{"name": "to_folder"}, {"name": "to_file"}, {"name": "to_empty"}, {"name": "a.dll"}])");
    EXPECT_EQ(4, result.attempted);
    EXPECT_FALSE(InInstall(L"a.dll"));
    ExpectTargetsIntact();
}

// A listed link to a user's file that another program holds is not the
// product's file in use: nothing is scheduled for the restart, under its
// name or the target's.
TEST_F(ManifestLinkTest, ALinkToAFileInUseElsewhereIsNotScheduledForTheRestart)
{
    ASSERT_TRUE(Link(L"to_file", L"target.txt", false));
    CPendingDeletes pending;
    HANDLE held = CreateFileW((m_outside + L"target.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "to_file"}])");
    CloseHandle(held);
    EXPECT_EQ(1, result.attempted);
    EXPECT_EQ(0, result.deferred);
    EXPECT_EQ(1, result.failed);
    EXPECT_FALSE(CPendingDeletes::Names(m_install + L"to_file"));
    EXPECT_FALSE(CPendingDeletes::Names(m_outside + L"target.txt"));
    ExpectTargetsIntact();
}

TEST_F(ManifestLinkTest, LinksInsideAListedTreeAreNotFollowedAndEveryPlainFileGoes)
{
    WriteFileBytes(m_install + L"tree\\plain.txt", "plain");
    WriteFileBytes(m_install + L"tree\\deep\\more.txt", "plain");
    ASSERT_TRUE(Link(L"tree\\to_folder", L"folder", true));
    ASSERT_TRUE(Link(L"tree\\deep\\to_file", L"target.txt", false));
    ASSERT_TRUE(Link(L"tree\\deep\\to_empty", L"empty", true));
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "tree"}])");
    EXPECT_EQ(1, result.attempted);
    EXPECT_FALSE(InInstall(L"tree\\plain.txt"));
    EXPECT_FALSE(InInstall(L"tree\\deep\\more.txt"));
    ExpectTargetsIntact();
    if (CLinks::UnderWine()) {
        EXPECT_EQ(1, result.failed) << "a tree kept by links that cannot go is unfinished";
    }
}

// One folder wide enough for both threads to share, with links to the
// user's files and a row of locked files among its plain ones: every plain
// file goes, every locked one is scheduled, and the links' targets survive
// and are never scheduled.
TEST_F(ManifestLinkTest, AWideFolderSharedByBothThreadsKeepsEveryRule)
{
    constexpr int kFiles = 200;
    CPendingDeletes pending;
    ASSERT_TRUE(CreateDirectoryW((m_install + L"wide").c_str(), nullptr));
    ASSERT_TRUE(Link(L"wide\\a_file_link", L"target.txt", false));
    ASSERT_TRUE(Link(L"wide\\a_folder_link", L"folder", true));
    std::vector<HANDLE> locked;
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring path = m_install + L"wide\\f" + std::to_wstring(i) + L".dat";
        WriteFileBytes(path, "product");
        if (i % 4 == 1) {
            locked.push_back(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_NE(INVALID_HANDLE_VALUE, locked.back());
        }
    }
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "wide"}])");
    for (HANDLE file : locked)
        CloseHandle(file);
    EXPECT_EQ(1, result.attempted);
    ExpectTargetsIntact();
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring name = L"wide\\f" + std::to_wstring(i) + L".dat";
        EXPECT_EQ(i % 4 == 1, InInstall(name)) << name;
        EXPECT_EQ(i % 4 == 1, CPendingDeletes::Names(m_install + name)) << name;
    }
    EXPECT_FALSE(CPendingDeletes::Names(m_outside + L"target.txt"));
}

TEST_F(ManifestLinkTest, ALinkAsAnIntermediateComponentIsNotFollowed)
{
    CreateDirectoryW((m_install + L"sub").c_str(), nullptr);
    ASSERT_TRUE(Link(L"sub\\hop", L"folder", true));
    const kalvex::ManifestRemoval result =
        Remove(R"([{"name": "sub\\hop\\inside.txt"}, {"name": "sub/hop/inside.txt"}, {"name": "b.dll"}])");
    EXPECT_EQ(3, result.attempted);
    EXPECT_EQ(2, result.failed);
    EXPECT_FALSE(InInstall(L"b.dll"));
    ExpectTargetsIntact();
}

TEST_F(ManifestTest, MissingOrLockedEntriesDoNotStopTheLoopAndTheLockedOneWaitsForTheRestart)
{
    CPendingDeletes pending;
    HANDLE locked = CreateFileW((m_install + L"a.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    const kalvex::ManifestRemoval result = Remove(R"([{"name": "gone.dll"}, {"name": "a.dll"}, {"name": "b.dll"}])");
    CloseHandle(locked);
    EXPECT_EQ(3, result.attempted);
    EXPECT_EQ(1, result.deferred);
    EXPECT_EQ(0, result.failed);
    EXPECT_TRUE(InInstall(L"a.dll"));
    EXPECT_TRUE(CPendingDeletes::Names(m_install + L"a.dll"));
    EXPECT_FALSE(InInstall(L"b.dll"));
}

// Hundreds of files listed one by one, with a wide folder, a repeated name, a
// missing one and a row of locked ones among them: every entry is counted
// once, every free file goes wherever it falls in the runs the removal shares
// out, and every locked one is scheduled for the restart, although the
// threads schedule them side by side into one registry value.
TEST_F(ManifestTest, ALongListOfSingleFilesIsRemovedInFullWithEachEntryCountedOnce)
{
    constexpr int kFiles = 600;
    constexpr int kFirstLocked = 400;
    constexpr int kLocked = 24;
    std::string manifest = "[";
    for (int i = 0; i < kFiles; ++i) {
        WriteFileBytes(m_install + L"many\\f" + std::to_wstring(i) + L".dat", "product");
        manifest += (i > 0 ? "," : "") + std::string(R"({"name": "many\\f)") + std::to_string(i) + R"(.dat"})";
        if (i == 300)
            manifest += R"(,{"name": "sub"},{"name": "sub\\one.txt"},{"name": "many\\f10.dat"})"
                        R"(,{"name": "MANY/F11.DAT"},{"name": "nothere.dll"})";
    }
    manifest += "]";
    // The folder between the runs is wide enough to be shared out itself.
    for (int i = 0; i < 6; ++i)
        WriteFileBytes(m_install + L"sub\\w" + std::to_wstring(i) + L".dat", "product");
    CPendingDeletes pending;
    std::vector<HANDLE> locked;
    for (int i = kFirstLocked; i < kFirstLocked + kLocked; ++i) {
        locked.push_back(CreateFileW((m_install + L"many\\f" + std::to_wstring(i) + L".dat").c_str(), GENERIC_READ,
                                     0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(INVALID_HANDLE_VALUE, locked.back());
    }
    const int threadsBefore = ThreadsOfThisProcess();
    ASSERT_GT(threadsBefore, 0);
    const kalvex::ManifestRemoval result = Remove(manifest);
    EXPECT_EQ(threadsBefore, ThreadsOfThisProcess()) << "the removal's helper thread outlived it";
    for (HANDLE file : locked)
        CloseHandle(file);
    EXPECT_EQ(kFiles + 5, result.attempted);
    EXPECT_EQ(0, result.failed);
    EXPECT_EQ(kLocked, result.deferred);
    EXPECT_FALSE(result.stopped);
    int left = 0;
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring name = L"many\\f" + std::to_wstring(i) + L".dat";
        left += InInstall(name) ? 1 : 0;
        if (i >= kFirstLocked && i < kFirstLocked + kLocked) {
            EXPECT_TRUE(CPendingDeletes::Names(m_install + name)) << "not scheduled: " << i;
        }
    }
    EXPECT_EQ(kLocked, left) << "only the locked files stay";
    EXPECT_FALSE(InInstall(L"sub"));
    EXPECT_TRUE(InInstall(L"keep.txt"));
    ExpectOutsideIntact();
}

TEST_F(ManifestTest, TreeWithAFileHeldByARunningProgramGoesAtTheRestart)
{
    CPendingDeletes pending;
    WriteFileBytes(m_install + L"tree\\locked.dat", "busy");
    WriteFileBytes(m_install + L"tree\\free.dat", "free");
    const std::wstring held = m_install + L"tree\\locked.dat";
    kalvex::test::CSleeperProcesses programs(L"holder");
    ASSERT_NE(nullptr, programs.Start(L"bin", L"holder.exe", L"\"" + held + L"\""));
    ASSERT_TRUE(WaitUntilHeld(held)) << "the stand-in never opened the file";

    const kalvex::ManifestRemoval result = Remove(R"([{"name": "tree"}, {"name": "b.dll"}])");
    EXPECT_EQ(2, result.attempted);
    EXPECT_EQ(1, result.deferred);
    EXPECT_EQ(0, result.failed);
    EXPECT_EQ("busy", ReadFileBytes(held));
    EXPECT_FALSE(InInstall(L"tree\\free.dat"));
    EXPECT_FALSE(InInstall(L"b.dll"));
    EXPECT_TRUE(CPendingDeletes::Names(held));
    EXPECT_TRUE(CPendingDeletes::Names(m_install + L"tree"));
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

TEST_F(RemoveManifestFilesTest, AnInstallAtADriveRootOrInProgramFilesDeletesNothingThere)
{
    CScratchDir temp(L"temp");
    CScopedEnvironment environment(L"TEMP", temp.Path().substr(0, temp.Path().size() - 1));
    kalvex::ProcessLog().Init(m_root / L"log2.log", kalvex::kLogLimitKb);
    const std::string canary = "kx_canary_" + std::to_string(GetCurrentProcessId()) + ".txt";
    WriteFileBytes(temp / L"kalvex.dat", "[{\"name\": \"" + canary + "\"}]");
    wchar_t programFiles[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"ProgramW6432", programFiles, MAX_PATH), 0u);
    for (const std::wstring& folder : {std::wstring(L"C:\\"), std::wstring(programFiles) + L"\\"}) {
        const std::wstring user = folder + std::wstring(canary.begin(), canary.end());
        WriteFileBytes(user, "user data");
        ASSERT_TRUE(PathExists(user));
        Register(folder + L"kalvex.exe");
        EXPECT_TRUE(kalvex::RemoveManifestFiles());
        EXPECT_EQ("user data", ReadFileBytes(user));
        DeleteFileW(user.c_str());
    }
    const std::string log = ReadFileBytes(m_root / L"log2.log");
    const std::wstring text(reinterpret_cast<const wchar_t*>(log.data()), log.size() / sizeof(wchar_t));
    EXPECT_NE(std::wstring::npos, text.find(L"nothing is deleted")) << "the log must say why";
}
