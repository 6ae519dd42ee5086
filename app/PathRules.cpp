#include "app/PathRules.h"

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

}  // namespace kalvex
