// Where the product is installed, as its uninstall registry entry says. Both
// start-up and file removal derive the directory here, so they always agree.
#pragma once

#include <string>

namespace kalvex {

// The directory part of an "UninstallString" value, with its trailing
// backslash: one pair of surrounding double quotes is removed first (with
// anything after the closing quote, such as arguments). "" when the value
// gives no usable directory: empty, no backslash, not an absolute drive or
// UNC path, or longer than the 1,024-character path buffer allows.
std::wstring InstallDirectoryFromUninstallString(const std::wstring& value);

// Reads "UninstallString" of the product's uninstall key under
// HKEY_LOCAL_MACHINE and returns its directory as above; "" when missing.
std::wstring ReadInstallDirectory();

}  // namespace kalvex
