#include "app/FileHelpers.h"

#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

using kalvex::test::CScratchDir;
using kalvex::test::PathExists;
using kalvex::test::WriteFileBytes;

TEST(FileExists, SeesFilesAndFoldersAndRefusesNullOrEmpty)
{
    CScratchDir dir(L"exists");
    WriteFileBytes(dir / L"file.txt", "x");
    EXPECT_TRUE(kalvex::FileExists((dir / L"file.txt").c_str()));
    EXPECT_TRUE(kalvex::FileExists(dir.Path().c_str()));
    EXPECT_FALSE(kalvex::FileExists((dir / L"missing.txt").c_str()));
    EXPECT_FALSE(kalvex::FileExists(L""));
    EXPECT_FALSE(kalvex::FileExists(nullptr));
}

TEST(ReadWholeFile, StopsAtTheFirstZeroByte)
{
    CScratchDir dir(L"read");
    WriteFileBytes(dir / L"zero.bin", std::string("[1,2]\0tail", 10));
    EXPECT_EQ("[1,2]", kalvex::ReadWholeFile((dir / L"zero.bin").c_str()));
    WriteFileBytes(dir / L"whole.json", "[{\"name\":\"a\"}]");
    EXPECT_EQ("[{\"name\":\"a\"}]", kalvex::ReadWholeFile((dir / L"whole.json").c_str()));
    WriteFileBytes(dir / L"empty", "");
    EXPECT_EQ("", kalvex::ReadWholeFile((dir / L"empty").c_str()));
}

TEST(ReadWholeFile, MissingOrLockedFileGivesEmptyText)
{
    CScratchDir dir(L"readfail");
    EXPECT_EQ("", kalvex::ReadWholeFile((dir / L"missing").c_str()));
    WriteFileBytes(dir / L"locked", "secret");
    HANDLE exclusive = CreateFileW((dir / L"locked").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
    EXPECT_EQ("", kalvex::ReadWholeFile((dir / L"locked").c_str()));
    CloseHandle(exclusive);
}

TEST(ShellDelete, RemovesAWholeTreeOrOneFileWithoutADialog)
{
    CScratchDir dir(L"shell");
    WriteFileBytes(dir / L"tree\\a.txt", "a");
    WriteFileBytes(dir / L"tree\\sub\\deeper\\b.txt", "b");
    WriteFileBytes(dir / L"single.dll", "c");
    WriteFileBytes(dir / L"neighbour.txt", "d");

    EXPECT_EQ(0, kalvex::ShellDelete(dir / L"tree"));
    EXPECT_EQ(0, kalvex::ShellDelete(dir / L"single.dll"));
    EXPECT_FALSE(PathExists(dir / L"tree"));
    EXPECT_FALSE(PathExists(dir / L"single.dll"));
    EXPECT_TRUE(PathExists(dir / L"neighbour.txt"));
    EXPECT_NE(0, kalvex::ShellDelete(dir / L"never-there"));
}

TEST(GetModuleFileTitle, KeepsNameAndExtensionOnly)
{
    EXPECT_EQ(L"kalvex.exe", kalvex::GetModuleFileTitle(L"C:\\Users\\me\\AppData\\Local\\Temp\\kalvex.exe"));
    EXPECT_EQ(L"name", kalvex::GetModuleFileTitle(L"D:\\dir.with.dots\\name"));
    EXPECT_EQ(L"", kalvex::GetModuleFileTitle(L"C:\\folder\\"));
    EXPECT_EQ(L"", kalvex::GetModuleFileTitle(nullptr));
}

TEST(FinalPaths, PlainFormsAndInUseErrors)
{
    EXPECT_EQ(L"\\\\server\\share\\velko", kalvex::PlainFormOfFinalPath(L"\\\\?\\UNC\\server\\share\\velko"));
    EXPECT_EQ(L"C:\\Program Files\\velko", kalvex::PlainFormOfFinalPath(L"\\\\?\\C:\\Program Files\\velko"));
    EXPECT_EQ(L"C:\\velko", kalvex::PlainFormOfFinalPath(L"C:\\velko"));
    // Only the errors of an item someone holds open wait for a restart.
    for (DWORD error : {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_ACCESS_DENIED, ERROR_USER_MAPPED_FILE})
        EXPECT_TRUE(kalvex::IsInUseError(error)) << error;
    for (DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_DIR_NOT_EMPTY, ERROR_SUCCESS})
        EXPECT_FALSE(kalvex::IsInUseError(error)) << error;
}
