#include "app/Relocation.h"
#include "app/FileHelpers.h"
#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

// The libraries a 32-bit program's import directory names (lower case): the
// ones the loader maps before the program's first instruction.
std::vector<std::string> ImportedLibraries(const std::string& image)
{
    std::vector<std::string> names;
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return names;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    if (dos->e_lfanew <= 0 || static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > image.size())
        return names;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(image.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    auto offsetOf = [&](DWORD rva) -> size_t {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return image.size();
    };
    const DWORD directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t at = offsetOf(directory); at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (entry->Name == 0)
            break;
        std::string name;
        for (size_t c = offsetOf(entry->Name); c < image.size() && image[c] != 0; ++c)
            name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(image[c]))));
        names.push_back(name);
    }
    return names;
}

}  // namespace

// Started from the installation folder, the uninstaller only copies itself
// and starts the copy: any window library the loader maps before its first
// instruction (user32 alone sets up the input method library and the
// thread's window state) would be paid for by that short process too.
TEST(RelocationStart, TheShippedProgramMapsNoWindowLibraryAtLoad)
{
    const std::vector<std::string> imports =
        ImportedLibraries(kalvex::test::ReadFileBytes(kalvex::test::BesideTestProgram(L"..\\..\\app\\kalvex.exe")));
    ASSERT_NE(imports.end(), std::find(imports.begin(), imports.end(), "kernel32.dll"))
        << "no import directory read from kalvex.exe";
    for (const char* window : {"user32.dll", "gdi32.dll", "comctl32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
                               "oleacc.dll", "shlwapi.dll", "gdiplus.dll", "imm32.dll", "msimg32.dll"})
        EXPECT_EQ(imports.end(), std::find(imports.begin(), imports.end(), window)) << window << " is mapped at load";
}

// Wine keeps no security descriptor on files, so the copies' protection is
// checked on the descriptor they are created with, as the system reads it.
TEST(RelocationCopies, OnlyAdministratorsAndSystemMayChangeOrDeleteThem)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(kalvex::kCopySecurity, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_NE(0, control & SE_DACL_PROTECTED) << "TEMP's own entries would be inherited";
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl != nullptr) << "a missing DACL lets everyone in";
    const ACCESS_MASK changes = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA | DELETE |
                                WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    int readers = 0;
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, index, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        ASSERT_EQ(ACCESS_ALLOWED_ACE_TYPE, allowed->Header.AceType);
        PSID who = &allowed->SidStart;
        const bool administrator = IsWellKnownSid(who, WinBuiltinAdministratorsSid) != FALSE ||
                                   IsWellKnownSid(who, WinLocalSystemSid) != FALSE;
        if (!administrator) {
            EXPECT_EQ(0u, allowed->Mask & changes) << "ace " << index << " lets someone else change the copy";
            readers += (allowed->Mask & GENERIC_EXECUTE) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(1, readers) << "everyone must still be able to read and run the copy";
    LocalFree(descriptor);
}

// The copy is written in chunks: a program several chunks long must arrive
// whole. What stands at the copy's name goes only when it resolves to the
// name expected; the finished copy is held against writing and deletion.
TEST(RelocationCopies, ArriveWholeAndReplaceOnlyTheExpectedFile)
{
    kalvex::test::CScratchDir dir(L"fresh_copy");
    std::string program(3 * 64 * 1024 + 123, '\0');
    for (size_t i = 0; i < program.size(); ++i)
        program[i] = static_cast<char>(i * 7 % 251);
    kalvex::test::WriteFileBytes(dir / L"kalvex.exe", program);
    kalvex::test::WriteFileBytes(dir / L"copy.exe", "an earlier copy");
    HANDLE folder = CreateFileW(dir.Path().c_str(), FILE_READ_ATTRIBUTES, kalvex::kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, folder);
    const std::wstring resolved = kalvex::FinalPathOf(folder);
    CloseHandle(folder);
    ASSERT_FALSE(resolved.empty());

    EXPECT_EQ(static_cast<unsigned long>(ERROR_CANT_RESOLVE_FILENAME),
              kalvex::WriteFreshCopy(dir / L"kalvex.exe", dir / L"copy.exe", resolved + L"\\other.exe", nullptr));
    EXPECT_EQ("an earlier copy", kalvex::test::ReadFileBytes(dir / L"copy.exe"));

    HANDLE held = INVALID_HANDLE_VALUE;
    ASSERT_EQ(static_cast<unsigned long>(ERROR_SUCCESS),
              kalvex::WriteFreshCopy(dir / L"kalvex.exe", dir / L"copy.exe", resolved + L"\\copy.exe", &held));
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_TRUE(kalvex::test::ReadFileBytes(dir / L"copy.exe") == program) << "the copy differs from the program";
    HANDLE writer = CreateFileW((dir / L"copy.exe").c_str(), GENERIC_WRITE, kalvex::kShareAll, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, writer) << "the held copy could be opened for writing";
    if (writer != INVALID_HANDLE_VALUE)
        CloseHandle(writer);
    EXPECT_FALSE(DeleteFileW((dir / L"copy.exe").c_str())) << "the held copy could be deleted";
    CloseHandle(held);
}
