#include "app/PathRules.h"

#include <windows.h>

namespace kalvex {
namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Windows strips trailing dots and spaces from each component, so "...",
// ". " or ".. " become "" or "..": such a component never names a child.
bool IsDotsAndSpacesOnly(const std::wstring& text, std::wstring::size_type begin, std::wstring::size_type end)
{
    for (std::wstring::size_type i = begin; i < end; ++i) {
        if (text[i] != L'.' && text[i] != L' ')
            return false;
    }
    return true;
}

// Every separator-delimited component from `begin` on must be a real name;
// empty components (doubled separators) are harmless and skipped.
bool ComponentsAreNames(const std::wstring& path, std::wstring::size_type begin)
{
    std::wstring::size_type start = begin;
    for (std::wstring::size_type i = begin; i <= path.size(); ++i) {
        if (i < path.size() && path[i] < 0x20)
            return false;
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start && IsDotsAndSpacesOnly(path, start, i))
                return false;
            start = i + 1;
        }
    }
    return true;
}

// Lower-cased and without trailing separators, so "C:\Users\" and
// "c:/users" compare equal, as the file system treats them.
std::wstring FolderKey(const std::wstring& path)
{
    std::wstring key = path;
    while (!key.empty() && IsSeparator(key.back()))
        key.pop_back();
    for (wchar_t& c : key) {
        if (c == L'/')
            c = L'\\';
    }
    if (!key.empty())
        CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

}  // namespace

bool IsAbsoluteDirectory(const std::wstring& directory)
{
    if (directory.empty() || directory.back() != L'\\')
        return false;
    if (directory.size() >= 3 && IsAsciiLetter(directory[0]) && directory[1] == L':' && directory[2] == L'\\')
        return directory.find(L':', 2) == std::wstring::npos && ComponentsAreNames(directory, 3);

    if (directory.compare(0, 2, L"\\\\") != 0 || directory.size() < 3 || directory[2] == L'?' ||
        directory[2] == L'.')
        return false;
    const std::wstring::size_type serverEnd = directory.find(L'\\', 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2)
        return false;
    const std::wstring::size_type shareEnd = directory.find(L'\\', serverEnd + 1);
    return shareEnd != std::wstring::npos && shareEnd > serverEnd + 1 &&
           directory.find(L':') == std::wstring::npos && ComponentsAreNames(directory, 2);
}

bool IsContainedRelativePath(const std::wstring& name)
{
    if (name.empty() || IsSeparator(name[0]) || name.find(L':') != std::wstring::npos)
        return false;
    return ComponentsAreNames(name, 0);
}

bool IsUnsafeDeletionTarget(const std::wstring& path, const std::vector<std::wstring>& protectedFolders)
{
    if (path.find_first_of(L"*?") != std::wstring::npos)
        return true;
    const std::wstring key = FolderKey(path);
    if (!IsAbsoluteDirectory(key + L'\\'))
        return true;
    // Root forms: "x:" and "\\server\share".
    const bool driveRoot = key.size() == 2;
    const bool shareRoot = key.compare(0, 2, L"\\\\") == 0 && key.find(L'\\', key.find(L'\\', 2) + 1) == std::wstring::npos;
    if (driveRoot || shareRoot)
        return true;
    for (const std::wstring& folder : protectedFolders) {
        const std::wstring guarded = FolderKey(folder);
        if (guarded.empty())
            continue;
        if (guarded == key || (guarded.size() > key.size() && guarded.compare(0, key.size(), key) == 0 &&
                               guarded[key.size()] == L'\\'))
            return true;
    }
    return false;
}

}  // namespace kalvex
