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
        // Out of memory: assign changed nothing, so the text stays empty.
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

std::wstring FullPathOf(const std::wstring& path)
{
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), kPathChars, buffer.data(), nullptr);
    if (length == 0 || length >= kPathChars)
        return std::wstring();
    return std::wstring(buffer.data(), length);
}

HANDLE OpenWithoutFollowing(const std::wstring& path, DWORD access, DWORD share)
{
    return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::wstring FinalPathOf(HANDLE object)
{
    std::vector<wchar_t> buffer(kPathChars, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(object, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        // Too small: the length asked for includes the terminator.
        buffer.assign(length + 1, L'\0');
    }
}

std::wstring PlainFormOfFinalPath(const std::wstring& finalPath)
{
    if (finalPath.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\" + finalPath.substr(7);
    if (finalPath.compare(0, 4, L"\\\\?\\") == 0)
        return finalPath.substr(4);
    return finalPath;
}

bool SamePathText(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                                        static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool IsInUseError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_USER_MAPPED_FILE;
}

bool DeleteOpenedItem(HANDLE item, DWORD attributes)
{
    // A read-only item refuses the delete disposition, so that bit goes first.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        FILE_BASIC_INFO basic = {};
        basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
        if (basic.FileAttributes == 0)
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(item, FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO disposition = {};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(item, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

bool ScheduleDeleteAtRestart(const std::wstring& path)
{
    return MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
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
