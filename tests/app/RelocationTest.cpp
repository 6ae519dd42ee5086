#include "app/Relocation.h"
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
