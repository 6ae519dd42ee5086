#include "app/FileHelpers.h"

#include "app/ProductNames.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace kalvex {

bool FileExists(const wchar_t* path)
{
    if (path == nullptr || path[0] == L'\0')
        return false;
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        OutputDebugStringW(L"文件打开失败\n");
        return std::string();
    }
    std::string result;
    bool readFailed = true;
    try {
        LARGE_INTEGER size = {};
        // Sizes past 2 GiB are refused rather than wrapped into a short buffer.
        if (GetFileSizeEx(file, &size) && size.QuadPart <= 0x7FFFFFFB) {
            const DWORD capacity = static_cast<DWORD>(size.QuadPart) + 4;
            std::vector<char> bytes(capacity, '\0');
            DWORD read = 0;
            if (ReadFile(file, bytes.data(), capacity, &read, nullptr)) {
                // At least four zero bytes follow whatever was read.
                result.assign(bytes.data());
                readFailed = false;
            }
        }
    } catch (...) {
        result.clear();
    }
    if (readFailed)
        OutputDebugStringW(L"文件读写异常\n");
    CloseHandle(file);
    return result;
}

int ShellDelete(const std::wstring& path)
{
    // The source is a list of paths ended by an empty one: two extra zeros.
    std::wstring from = path;
    from.push_back(L'\0');
    from.push_back(L'\0');

    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.pTo = nullptr;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    operation.lpszProgressTitle = nullptr;
    return SHFileOperationW(&operation);
}

namespace {

// A path the file calls take at any length: drive paths get the "\\?\"
// prefix, which lifts the 260-character limit (the path is already full).
std::wstring LongPath(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}

bool RemoveTreeBelow(const std::wstring& directory)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileExW((directory + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool complete = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring child = directory + L"\\" + name;
        const DWORD attributes = found.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
            SetFileAttributesW(child.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            complete = DeleteFileW(child.c_str()) != FALSE && complete;
        else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            complete = RemoveDirectoryW(child.c_str()) != FALSE && complete;
        else
            complete = RemoveTreeBelow(child) && RemoveDirectoryW(child.c_str()) != FALSE && complete;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return complete;
}

}  // namespace

bool RemoveDirectoryTree(const std::wstring& directory)
{
    const std::wstring path = LongPath(directory);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return RemoveTreeBelow(path) && RemoveDirectoryW(path.c_str()) != FALSE;
}

std::wstring GetModuleFileTitle(const wchar_t* path)
{
    wchar_t drive[32] = {};
    wchar_t directory[512] = {};
    wchar_t name[512] = {};
    wchar_t extension[512] = {};
    if (path == nullptr || _wsplitpath_s(path, drive, 32, directory, 512, name, 512, extension, 512) != 0)
        return std::wstring();
    return std::wstring(name) + extension;
}

std::wstring ReadTempDirectory()
{
    std::vector<wchar_t> temp(kPathChars, L'\0');
    // A value too long for the buffer is reported by its needed size and
    // leaves the buffer unspecified.
    const DWORD length = GetEnvironmentVariableW(kTempVariable, temp.data(), kPathChars - 2);
    return length != 0 && length < kPathChars - 2 ? std::wstring(temp.data()) : std::wstring();
}

}  // namespace kalvex
