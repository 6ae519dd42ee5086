// Registry access for the application: read one value as text (with a retry
// in the 64-bit view), write one value, delete a key tree, and the browser
// emulation setting. Failures are reported by the result only.
#pragma once

#include <windows.h>

#include <string>

namespace kalvex {

// Reads `valueName` under `root`\`subkey` into `out` (cleared first in every
// case). The caller's `expectedType` decides the text: REG_SZ gives the stored
// string, REG_DWORD and REG_BINARY the first 32 bits as a signed decimal, any
// other type "". A value missing in the default view is looked up once more in
// the 64-bit view; a key that cannot be opened is not. False on any failure.
bool ReadRegistryString(HKEY root, const wchar_t* subkey, const wchar_t* valueName, DWORD expectedType,
                        std::wstring& out);

// Sets a value, creating the key when it cannot be opened. True when set.
bool WriteRegistryValue(HKEY root, const wchar_t* subkey, const wchar_t* valueName, DWORD type, const void* data,
                        DWORD byteCount);

// Deletes the key with every subkey and value. True on success.
bool DeleteRegistryTree(HKEY root, const wchar_t* subkey);

// Asks the embedded browser control to emulate the given engine version for
// this executable, for the current user and the machine. Failures are ignored.
void SetBrowserEmulation(int mode);

}  // namespace kalvex
