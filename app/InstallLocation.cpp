#include "app/InstallLocation.h"

#include "app/PathRules.h"
#include "app/ProductNames.h"
#include "app/RegistryHelpers.h"
#include "app/StringHelpers.h"

#include <windows.h>

#include <vector>

namespace kalvex {
namespace {

std::wstring Unquote(const std::wstring& value)
{
    if (value.empty() || value[0] != L'"')
        return value;
    const std::wstring::size_type close = value.find(L'"', 1);
    if (close == std::wstring::npos)
        return std::wstring();
    return value.substr(1, close - 1);
}

}  // namespace

std::wstring InstallDirectoryFromUninstallString(const std::wstring& value)
{
    const std::wstring path = Unquote(value);
    std::vector<std::wstring> pieces;
    SplitString(path, L"\\", pieces);
    if (pieces.size() < 2)
        return std::wstring();
    const std::wstring::size_type directoryLength = path.size() - pieces.back().size();
    if (directoryLength >= kPathChars)
        return std::wstring();
    const std::wstring directory = path.substr(0, directoryLength);
    return IsAbsoluteDirectory(directory) ? directory : std::wstring();
}

std::wstring ReadInstallDirectory()
{
    std::wstring value;
    if (!ReadRegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, kUninstallStringValue, REG_SZ, value))
        return std::wstring();
    return InstallDirectoryFromUninstallString(value);
}

}  // namespace kalvex
