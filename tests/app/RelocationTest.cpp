#include "app/Relocation.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

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
