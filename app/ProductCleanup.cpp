#include "app/ProductCleanup.h"

#include "app/FileHelpers.h"
#include "app/PathRules.h"
#include "app/ProcessHelpers.h"
#include "app/ProductNames.h"
#include "app/RegistryHelpers.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace kalvex {

bool IsClientRunning()
{
    return FindProcessByName(kClientExecutable, NameMatch::IgnoreCase) != -1;
}

void KillClientProcesses()
{
    KillProcessesByName(kClientExecutable, KillScope::All);
    KillProcessesByName(L"openvpn.exe", KillScope::All);
}

void KillProductProcesses()
{
    for (const wchar_t* name : kTerminationList)
        KillProcessesByName(name, KillScope::All);
}

std::vector<std::wstring> ProtectedShellFolders()
{
    static const int kFolders[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL,
                                   CSIDL_COMMON_DOCUMENTS, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU,
                                   CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_PROFILE, CSIDL_WINDOWS,
                                   CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
                                   CSIDL_PROGRAM_FILES_COMMON, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                                   CSIDL_COMMON_APPDATA};
    std::vector<std::wstring> folders;
    for (int folder : kFolders) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0] != L'\0')
            folders.emplace_back(path);
    }
    // A 32-bit process is told the 32-bit Program Files; the 64-bit one is
    // only named by the environment.
    for (const wchar_t* variable : {L"ProgramW6432", L"CommonProgramW6432"}) {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(variable, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH)
            folders.emplace_back(path);
    }
    // The folder holding every user's profile.
    PWSTR profiles = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_UserProfiles, 0, nullptr, &profiles) == S_OK && profiles[0] != L'\0')
        folders.emplace_back(profiles);
    CoTaskMemFree(profiles);
    return folders;
}

bool RemoveShortcut()
{
    std::wstring shortcut;
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, kDisplayShortcutValue, REG_SZ, shortcut))
        return true;
    // The value is deleted as a tree, so a damaged or hostile value naming a
    // folder would take everything below it: such values are refused.
    if (IsUnsafeDeletionTarget(shortcut, ProtectedShellFolders()))
        return true;
    ShellDelete(shortcut);
    return true;
}

bool DeleteUninstallKey()
{
    return DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallKey);
}

}  // namespace kalvex
