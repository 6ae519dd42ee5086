#include "app/PathRules.h"
#include "app/ProductCleanup.h"
#include "app/ProductNames.h"

#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

using kalvex::DeleteUninstallKey;
using kalvex::IsUnsafeDeletionTarget;
using kalvex::KillClientProcesses;
using kalvex::KillProductProcesses;
using kalvex::kUninstallKey;
using kalvex::ProtectedShellFolders;
using kalvex::RemoveShortcut;
using kalvex::test::CScratchDir;
using kalvex::test::CSleeperProcesses;
using kalvex::test::PathExists;
using kalvex::test::WriteFileBytes;

namespace {

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The product's uninstall key as the installer leaves it, removed again
// whatever the test did to it.
class UninstallKeyTest : public ::testing::Test {
protected:
    UninstallKeyTest() : m_dir(L"cleanup") { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey); }
    ~UninstallKeyTest() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey); }

    static void SetShortcutValue(const std::wstring& value)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        RegSetValueExW(key, kalvex::kDisplayShortcutValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    static bool KeyExists(const wchar_t* path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    CScratchDir m_dir;
};

}  // namespace

TEST(DeletionTargetTest, RootsWildcardsAndRelativePathsAreUnsafe)
{
    const std::vector<std::wstring> none;
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"\\\\server\\share\\", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"velko.lnk", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"\\velko.lnk", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:velko.lnk", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\Users\\Public\\Desktop\\*", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\Users\\Public\\Desktop\\velko?.lnk", none));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\Games\\..\\Windows", none));
    EXPECT_FALSE(IsUnsafeDeletionTarget(L"C:\\Users\\Public\\Desktop\\Velko加速器.lnk", none));
    EXPECT_FALSE(IsUnsafeDeletionTarget(L"\\\\server\\share\\velko.lnk", none));
}

TEST(DeletionTargetTest, ShellFoldersAndTheirAncestorsAreUnsafeInAnyLetterCase)
{
    const std::vector<std::wstring> folders = {L"C:\\Users\\Public\\Desktop", L"C:\\ProgramData\\Microsoft\\Windows\\"
                                                                              L"Start Menu\\Programs\\"};
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\Users\\Public\\Desktop", folders));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"c:/users/public/desktop/", folders));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\Users", folders));
    EXPECT_TRUE(IsUnsafeDeletionTarget(L"C:\\PROGRAMDATA\\Microsoft\\Windows\\Start Menu", folders));
    EXPECT_FALSE(IsUnsafeDeletionTarget(L"C:\\Users\\Public\\Desktop\\velko.lnk", folders));
    EXPECT_FALSE(IsUnsafeDeletionTarget(L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Velko",
                                        folders));
    // A sibling whose name merely begins like a protected folder.
    EXPECT_FALSE(IsUnsafeDeletionTarget(L"C:\\Users\\Public\\Desktop2", folders));
}

TEST(DeletionTargetTest, TheSystemNamesTheFoldersToProtect)
{
    const std::vector<std::wstring> folders = ProtectedShellFolders();
    const std::wstring desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    const std::wstring windows = ShellFolder(CSIDL_WINDOWS);
    ASSERT_FALSE(desktop.empty());
    EXPECT_NE(folders.end(), std::find(folders.begin(), folders.end(), desktop));
    EXPECT_NE(folders.end(), std::find(folders.begin(), folders.end(), windows));
    EXPECT_TRUE(IsUnsafeDeletionTarget(desktop, folders));
    EXPECT_FALSE(IsUnsafeDeletionTarget(desktop + L"\\Velko加速器.lnk", folders));
}

TEST_F(UninstallKeyTest, ShortcutNamedByTheKeyIsDeletedAndAMissingOneIsNoFailure)
{
    const std::wstring shortcut = m_dir / L"Velko加速器.lnk";
    WriteFileBytes(shortcut, "shortcut");
    const std::wstring neighbour = m_dir / L"other.lnk";
    WriteFileBytes(neighbour, "other");
    SetShortcutValue(shortcut);

    EXPECT_TRUE(RemoveShortcut());
    EXPECT_FALSE(PathExists(shortcut));
    EXPECT_TRUE(PathExists(neighbour));
    // Already gone: the shell fails, silently.
    EXPECT_TRUE(RemoveShortcut());
    EXPECT_TRUE(PathExists(neighbour));

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
    EXPECT_TRUE(RemoveShortcut());
}

TEST_F(UninstallKeyTest, ShortcutValueNamingTheDesktopDeletesNothing)
{
    const std::wstring desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    CreateDirectoryW(desktop.c_str(), nullptr);
    const std::wstring keep = desktop + L"\\kalvex_cleanup_keep.txt";
    WriteFileBytes(keep, "user data");

    for (const std::wstring& value : {desktop, desktop + L"\\", desktop + L"\\*", desktop.substr(0, 3),
                                      ShellFolder(CSIDL_PROFILE)}) {
        SetShortcutValue(value);
        EXPECT_TRUE(RemoveShortcut());
        EXPECT_TRUE(PathExists(keep)) << "deleted through " << std::string(value.begin(), value.end());
    }
    DeleteFileW(keep.c_str());
}

TEST_F(UninstallKeyTest, KeyIsDeletedWithItsSubkeysOnce)
{
    SetShortcutValue(L"C:\\nothing.lnk");
    const std::wstring subkey = std::wstring(kUninstallKey) + L"\\Extra";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    RegCloseKey(key);

    EXPECT_TRUE(DeleteUninstallKey());
    EXPECT_FALSE(KeyExists(kUninstallKey));
    EXPECT_FALSE(DeleteUninstallKey());
}

TEST(ProductProcessTest, TerminationListEndsListedProcessesOnlyInTheirExactCase)
{
    CSleeperProcesses sleepers(L"products");
    HANDLE quivA = sleepers.Start(L"a", L"quiv.exe");
    HANDLE quivB = sleepers.Start(L"b", L"quiv.exe");
    HANDLE tunnel = sleepers.Start(L"c", L"openvpn.exe");
    HANDLE client = sleepers.Start(L"d", L"velko.exe");
    HANDLE shouting = sleepers.Start(L"e", L"VELKO.EXE");
    HANDLE bystander = sleepers.Start(L"f", L"velko_helper.exe");
    ASSERT_TRUE(quivA && quivB && tunnel && client && shouting && bystander);
    EXPECT_TRUE(kalvex::IsClientRunning());

    KillClientProcesses();
    EXPECT_TRUE(CSleeperProcesses::EndsWithin(client, 5000));
    EXPECT_TRUE(CSleeperProcesses::EndsWithin(tunnel, 5000));
    EXPECT_FALSE(CSleeperProcesses::EndsWithin(quivA, 0));

    KillProductProcesses();
    EXPECT_TRUE(CSleeperProcesses::EndsWithin(quivA, 5000));
    EXPECT_TRUE(CSleeperProcesses::EndsWithin(quivB, 5000));
    EXPECT_FALSE(CSleeperProcesses::EndsWithin(shouting, 200));
    EXPECT_FALSE(CSleeperProcesses::EndsWithin(bystander, 0));
    // The running check ignores letter case, so the survivor still counts.
    EXPECT_TRUE(kalvex::IsClientRunning());
}
