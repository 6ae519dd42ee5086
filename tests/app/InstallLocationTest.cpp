#include "app/InstallLocation.h"
#include "app/PathRules.h"

#include <gtest/gtest.h>

using kalvex::InstallDirectoryFromUninstallString;
using kalvex::IsAbsoluteDirectory;
using kalvex::IsContainedRelativePath;

TEST(InstallDirectory, UnquotedValueKeepsEverythingUpToTheLastBackslash)
{
    EXPECT_EQ(L"C:\\Program Files (x86)\\velko\\",
              InstallDirectoryFromUninstallString(L"C:\\Program Files (x86)\\velko\\kalvex.exe"));
    EXPECT_EQ(L"D:\\", InstallDirectoryFromUninstallString(L"D:\\kalvex.exe"));
    EXPECT_EQ(L"\\\\server\\share\\velko\\",
              InstallDirectoryFromUninstallString(L"\\\\server\\share\\velko\\kalvex.exe"));
}

TEST(InstallDirectory, QuotesAndTrailingArgumentsAreStripped)
{
    EXPECT_EQ(L"C:\\Program Files\\velko\\",
              InstallDirectoryFromUninstallString(L"\"C:\\Program Files\\velko\\kalvex.exe\""));
    EXPECT_EQ(L"C:\\Program Files\\velko\\",
              InstallDirectoryFromUninstallString(L"\"C:\\Program Files\\velko\\kalvex.exe\" /S /uninstall"));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"\"C:\\Program Files\\velko\\kalvex.exe"));
}

TEST(InstallDirectory, ValuesWithoutAUsableDirectoryGiveNothing)
{
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L""));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"\"\""));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"kalvex.exe"));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"velko\\kalvex.exe"));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"\\velko\\kalvex.exe"));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"C:velko\\kalvex.exe"));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"\\\\?\\C:\\velko\\kalvex.exe"));
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"C:\\Program Files\\..\\kalvex.exe"));
    // A trailing backslash leaves no file name to take off.
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(L"C:\\velko\\"));
}

TEST(InstallDirectory, DirectoryLongerThanThePathBufferIsMissingNotCut)
{
    const std::wstring fits = L"C:\\" + std::wstring(1019, L'd') + L"\\";  // 1,023 characters
    EXPECT_EQ(fits, InstallDirectoryFromUninstallString(fits + L"kalvex.exe"));
    const std::wstring tooLong = L"C:\\" + std::wstring(1020, L'd') + L"\\";  // 1,024 characters
    EXPECT_EQ(L"", InstallDirectoryFromUninstallString(tooLong + L"kalvex.exe"));
}

TEST(PathRules, AbsoluteDirectoriesAreDriveOrShareRootedAndEndInABackslash)
{
    EXPECT_TRUE(IsAbsoluteDirectory(L"c:\\velko\\"));
    EXPECT_TRUE(IsAbsoluteDirectory(L"\\\\host\\share\\"));
    EXPECT_FALSE(IsAbsoluteDirectory(L"c:\\velko"));
    EXPECT_FALSE(IsAbsoluteDirectory(L""));
    EXPECT_FALSE(IsAbsoluteDirectory(L"\\\\host\\"));
    EXPECT_FALSE(IsAbsoluteDirectory(L"\\\\.\\C:\\"));
    EXPECT_FALSE(IsAbsoluteDirectory(L"C:\\a\\.. \\"));
    EXPECT_FALSE(IsAbsoluteDirectory(L"C:\\a\\b:stream\\"));
}

TEST(PathRules, ManifestNamesMustStayStrictlyInside)
{
    for (const wchar_t* inside : {L"a.dll", L"sub", L"sub\\deeper\\file.txt", L"sub/file", L"..name", L"a..b",
                                  L"*.log", L"sub\\\\x", L"\u6570\u636e"})
        EXPECT_TRUE(IsContainedRelativePath(inside)) << inside;
    for (const wchar_t* outside : {L"", L".", L"..", L"...", L". ", L".. ", L"sub\\..", L"sub\\.",
                                   L"sub\\..\\..\\x", L"a/../..", L"\\Windows", L"/etc", L"C:\\Windows",
                                   L"C:x", L"\\\\server\\share", L"file.txt:stream", L"a\tb", L"a\nb"})
        EXPECT_FALSE(IsContainedRelativePath(outside)) << outside;
    EXPECT_FALSE(IsContainedRelativePath(std::wstring(L"a\0b", 3)));
}
