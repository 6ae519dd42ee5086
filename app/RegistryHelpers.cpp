#include "app/RegistryHelpers.h"

#include "app/FileHelpers.h"
#include "app/ProductNames.h"

#include <shlwapi.h>

#include <cstring>
#include <vector>

namespace kalvex {
namespace {

// Queries into a zero-filled buffer of kRegistryValueChars wide characters,
// announcing only kRegistryValueChars bytes to the registry: half the buffer
// stays zero, so the text is terminated even when the stored string is not.
LONG QueryIntoBuffer(HKEY key, const wchar_t* valueName, std::vector<wchar_t>& buffer)
{
    buffer.assign(kRegistryValueChars, L'\0');
    DWORD size = kRegistryValueChars;
    DWORD type = 0;
    return RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
}

}  // namespace

bool ReadRegistryString(HKEY root, const wchar_t* subkey, const wchar_t* valueName, DWORD expectedType,
                        std::wstring& out)
{
    out.clear();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;

    std::vector<wchar_t> buffer;
    LONG status = QueryIntoBuffer(key, valueName, buffer);
    if (status == ERROR_FILE_NOT_FOUND) {
        // A 32-bit process is redirected to the 32-bit view; installers that
        // are 64-bit write the value where only the 64-bit view sees it.
        RegCloseKey(key);
        key = nullptr;
        if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
            return false;
        status = QueryIntoBuffer(key, valueName, buffer);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;

    if (expectedType == REG_SZ) {
        out.assign(buffer.data());
    } else if (expectedType == REG_DWORD || expectedType == REG_BINARY) {
        LONG number = 0;
        std::memcpy(&number, buffer.data(), sizeof number);
        out = std::to_wstring(number);
    }
    return true;
}

bool WriteRegistryValue(HKEY root, const wchar_t* subkey, const wchar_t* valueName, DWORD type, const void* data,
                        DWORD byteCount)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, &key) != ERROR_SUCCESS) {
        if (RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
    }
    const LONG status = RegSetValueExW(key, valueName, 0, type, static_cast<const BYTE*>(data), byteCount);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool DeleteRegistryTree(HKEY root, const wchar_t* subkey)
{
    return SHDeleteKeyW(root, subkey) == ERROR_SUCCESS;
}

void SetBrowserEmulation(int mode)
{
    wchar_t modulePath[kModulePathChars] = {};
    GetModuleFileNameW(nullptr, modulePath, kModulePathChars - 1);
    const std::wstring valueName = GetModuleFileTitle(modulePath);
    const DWORD value = static_cast<DWORD>(mode);
    WriteRegistryValue(HKEY_CURRENT_USER,
                       L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION",
                       valueName.c_str(), REG_DWORD, &value, sizeof value);
    WriteRegistryValue(HKEY_LOCAL_MACHINE,
                       L"SOFTWARE\\Microsoft\\Internet Explorer\\MAIN\\FeatureControl\\FEATURE_BROWSER_EMULATION",
                       valueName.c_str(), REG_DWORD, &value, sizeof value);
}

}  // namespace kalvex
