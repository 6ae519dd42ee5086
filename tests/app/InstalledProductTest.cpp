// The uninstall core against an installation made by a real installer: the
// sample product's NSIS setup, built from the packaging kit, lays out files,
// writes the uninstall entry and a desktop shortcut, and the core must remove
// exactly what the manifest lists; the kit's entry shows what Windows lists.
#include "app/FileHelpers.h"
#include "app/InstallLocation.h"
#include "app/ProductNames.h"
#include "app/RegistryHelpers.h"
#include "app/UninstallManifest.h"

#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

using kalvex::test::CScopedEnvironment;
using kalvex::test::CScratchDir;
using kalvex::test::PathExists;
using kalvex::test::RemoveTree;
using kalvex::test::WriteFileBytes;

namespace {

std::wstring ProgramFiles()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The names directly in `directory` (ending in a backslash) and the bytes of
// every file below it, leaving out the top-level name `left`.
void Survey(const std::wstring& directory, const std::wstring& left, std::vector<std::wstring>* names,
            unsigned long long& bytes)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((directory + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || name == left)
            continue;
        if (names != nullptr)
            names->push_back(name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Survey(directory + name + L"\\", std::wstring(), nullptr, bytes);
        else
            bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::wstring UninstallValue(const wchar_t* name, DWORD type)
{
    std::wstring value;
    kalvex::ReadRegistryString(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey, name, type, value);
    return value;
}

struct Variant {
    const wchar_t* installer;
    const wchar_t* folder;
    bool quoted;
};

class InstalledProductTest : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override
    {
        m_install = ProgramFiles() + L"\\" + GetParam().folder + L"\\";
        m_neighbour = ProgramFiles() + L"\\velko-kx-neighbour\\";
        RemoveTree(m_install);
        WriteFileBytes(m_neighbour + L"settings.ini", "the user's");
    }
    void TearDown() override
    {
        std::wstring shortcut;
        if (kalvex::ReadRegistryString(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey, kalvex::kDisplayShortcutValue,
                                       REG_SZ, shortcut))
            DeleteFileW(shortcut.c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey);
        RemoveTree(m_install);
        RemoveTree(m_neighbour);
    }

    std::wstring m_install;
    std::wstring m_neighbour;
};

}  // namespace

TEST_P(InstalledProductTest, RemovesEveryListedEntryAndNothingElse)
{
    const std::wstring installer = kalvex::test::BesideTestProgram(GetParam().installer);
    ASSERT_TRUE(PathExists(installer));
    std::wstring directoryArgument = m_install.substr(0, m_install.size() - 1);
    ASSERT_EQ(0, kalvex::test::RunProcess(installer, L"/S /D=" + directoryArgument, 60000));
    ASSERT_TRUE(PathExists(m_install + L"bin\\plugins\\deep\\b.dll"));
    ASSERT_TRUE(PathExists(m_install + L"\u6570\u636e\\\u7f13\u5b58\\\u8282\u70b9.json"));

    std::wstring uninstallString;
    ASSERT_TRUE(kalvex::ReadRegistryString(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey, kalvex::kUninstallStringValue,
                                           REG_SZ, uninstallString));
    EXPECT_EQ(GetParam().quoted, uninstallString[0] == L'"') << "installer wrote the other form";
    EXPECT_EQ(m_install, kalvex::ReadInstallDirectory());
    std::wstring shortcut;
    ASSERT_TRUE(kalvex::ReadRegistryString(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey, kalvex::kDisplayShortcutValue,
                                           REG_SZ, shortcut));
    ASSERT_TRUE(PathExists(shortcut));

    // Start-up leaves the manifest copy in TEMP for the worker to read.
    CScratchDir temp(L"installtemp");
    const std::wstring manifestCopy = temp / L"kalvex.dat";
    ASSERT_TRUE(CopyFileW((m_install + L"kalvex.dat").c_str(), manifestCopy.c_str(), FALSE));
    CScopedEnvironment environment(L"TEMP", temp.Path().substr(0, temp.Path().size() - 1));

    EXPECT_TRUE(kalvex::RemoveManifestFiles());

    for (const wchar_t* listed : {L"velko.exe", L"core.dll", L"\u8bf4\u660e.txt", L"bin", L"\u6570\u636e",
                                  L"kalvex.dat", L"kalvex.exe"})
        EXPECT_FALSE(PathExists(m_install + listed)) << "still there: " << listed;
    EXPECT_TRUE(PathExists(m_install + L"user_notes.txt"));
    EXPECT_TRUE(PathExists(m_neighbour + L"settings.ini"));
    EXPECT_TRUE(PathExists(shortcut));
    EXPECT_TRUE(PathExists(manifestCopy));
}

// What Apps & Features shows comes from the kit's values, the size is that of
// everything placed, and the generated manifest names exactly the top-level
// entries placed: removing it leaves only the user's file.
TEST_P(InstalledProductTest, KitRegistersTheProductAndListsExactlyWhatItPlaced)
{
    const std::wstring installer = kalvex::test::BesideTestProgram(GetParam().installer);
    ASSERT_TRUE(PathExists(installer));
    ASSERT_EQ(0, kalvex::test::RunProcess(installer, L"/S /D=" + m_install.substr(0, m_install.size() - 1), 60000));
    ASSERT_TRUE(PathExists(m_install + L"kalvex.dat"));

    const std::wstring uninstaller = m_install + L"kalvex.exe";
    EXPECT_EQ(GetParam().quoted ? L"\"" + uninstaller + L"\"" : uninstaller,
              UninstallValue(kalvex::kUninstallStringValue, REG_SZ));
    EXPECT_EQ(L"Velko\u52a0\u901f\u5668", UninstallValue(L"DisplayName", REG_SZ));
    EXPECT_EQ(m_install + L"velko.exe", UninstallValue(L"DisplayIcon", REG_SZ));
    EXPECT_EQ(L"3.2.1", UninstallValue(L"DisplayVersion", REG_SZ));
    EXPECT_EQ(L"Velko", UninstallValue(L"Publisher", REG_SZ));
    EXPECT_EQ(L"1", UninstallValue(L"NoModify", REG_DWORD));
    EXPECT_EQ(L"1", UninstallValue(L"NoRepair", REG_DWORD));
    EXPECT_TRUE(PathExists(UninstallValue(kalvex::kDisplayShortcutValue, REG_SZ)));

    // Everything but the user's file, made after the entry, in KiB rounded up.
    std::vector<std::wstring> placed;
    unsigned long long bytes = 0;
    Survey(m_install, L"user_notes.txt", &placed, bytes);
    ASSERT_GT(bytes, 100000u) << "kalvex.exe alone is larger";
    EXPECT_EQ(std::to_wstring((bytes + 1023) / 1024), UninstallValue(L"EstimatedSize", REG_DWORD));

    // Five product entries of the staging folder, kalvex.exe and kalvex.dat.
    ASSERT_EQ(7u, placed.size());
    const kalvex::ManifestRemoval removal =
        kalvex::RemoveManifestEntries(m_install, kalvex::test::ReadFileBytes(m_install + L"kalvex.dat"));
    EXPECT_TRUE(removal.parsed);
    EXPECT_EQ(7, removal.attempted);
    EXPECT_EQ(0, removal.skipped);
    EXPECT_EQ(0, removal.failed);
    std::vector<std::wstring> left;
    Survey(m_install, std::wstring(), &left, bytes);
    EXPECT_EQ(std::vector<std::wstring>{L"user_notes.txt"}, left);
}

INSTANTIATE_TEST_SUITE_P(UninstallString, InstalledProductTest,
                         ::testing::Values(Variant{L"velko_setup_quoted.exe", L"velko kx quoted", true},
                                           Variant{L"velko_setup_plain.exe", L"velko kx plain", false}),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                             return info.param.quoted ? "Quoted" : "Unquoted";
                         });
