// CSkinSettings: the process's skin settings (module instance, resource
// module, skin folder, archive name, the archive kept open and its password).
// SkinLocation::Current() reads them; CUIManager's statics of the same names
// forward here. Invariant: the first archive installed stays for the process.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"

namespace DuiLib {

class CSkinArchive;

class CSkinSettings
{
public:
    CSkinSettings() = delete;

    static void SetModuleInstance(HINSTANCE instance);
    static HINSTANCE GetModuleInstance();
    // The module resources are looked up in: the module instance, since
    // nothing sets a separate resource module.
    static HINSTANCE GetResourceModule();

    // The folder skin files are read from while no archive is installed;
    // empty (files named relative to the current directory) unless
    // SetSkinFolder gave one.
    static const CUIString& GetSkinFolder();
    // Sets the skin folder, ending it with a backslash when it has none; null
    // or "" clears it.
    static void SetSkinFolder(const wchar_t* folder);
    // "membuffer" once the archive lies in memory; empty before.
    static const CUIString& GetSkinZipName();
    static bool IsSkinZipKeptOpen();
    // The archive kept open, or null when none could be opened.
    static CSkinArchive* GetSkinZipHandle();
    // The stored password, or null when it is empty.
    static const char* GetSkinZipPassword();
    // Stores password (cut to 64 bytes; null or "" clears it). The first call
    // installs the archive in buffer, which the caller keeps alive for the
    // life of the process; later calls only change the password. A buffer
    // that is not a readable archive leaves the handle null.
    static void SetSkinZipFromMemory(const void* buffer, unsigned length, const char* password);
};

}  // namespace DuiLib
