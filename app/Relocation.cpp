#include "app/Relocation.h"

#include "app/FileHelpers.h"
#include "app/MessageBoxExWnd.h"
#include "app/ProductNames.h"
#include "app/StringHelpers.h"
#include "app/WriteLogFile.h"

#include <windows.h>
#include <sddl.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

namespace kalvex {
namespace {

constexpr DWORD kCopyChunkBytes = 64 * 1024;
// ERROR_ELEVATION_REQUIRED, which the toolchain's headers lack.
constexpr DWORD kElevationRequired = 740;

std::wstring ResolvedDirectory(const std::wstring& directory)
{
    HANDLE handle = CreateFileW(directory.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring resolved = FinalPathOf(handle);
    CloseHandle(handle);
    while (!resolved.empty() && resolved.back() == L'\\')
        resolved.pop_back();
    return resolved;
}

// TEMP is writable by every process of the user: whatever already stands at
// a copy's name may have been planted. It goes only when, opened without
// following links, it is that very name; a link (also one that looks like a
// plain file, as Wine shows links to files) is left alone and refused.
DWORD ClearEarlierCopy(const std::wstring& target, const std::wstring& expected)
{
    // Asking to write as well, as overwriting would: a copy that still runs
    // is refused with a sharing violation instead of being unlinked under
    // its process.
    HANDLE earlier = OpenWithoutFollowing(target, DELETE | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES |
                                                      FILE_WRITE_ATTRIBUTES);
    if (earlier == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    BY_HANDLE_FILE_INFORMATION information = {};
    DWORD error = ERROR_SUCCESS;
    if (!GetFileInformationByHandle(earlier, &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        !SamePathText(FinalPathOf(earlier), expected)) {
        ProcessLog().Write(0, L"%ls is a link or not a plain file; nothing is copied", target.c_str());
        error = ERROR_CANT_RESOLVE_FILENAME;
    } else if (!DeleteOpenedItem(earlier, information.dwFileAttributes)) {
        error = GetLastError();
    }
    CloseHandle(earlier);
    return error;
}

DWORD CopyBytes(HANDLE from, HANDLE to)
{
    std::vector<char> chunk(kCopyChunkBytes);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, chunk.data(), kCopyChunkBytes, &read, nullptr))
            return GetLastError();
        if (read == 0)
            return ERROR_SUCCESS;
        DWORD written = 0;
        if (!WriteFile(to, chunk.data(), read, &written, nullptr) || written != read)
            return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    }
}

}  // namespace

DWORD WriteFreshCopy(const std::wstring& source, const std::wstring& target, const std::wstring& expected,
                     HANDLE* held)
{
    DWORD error = ClearEarlierCopy(target, expected);
    if (error != ERROR_SUCCESS)
        return error;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kCopySecurity, SDDL_REVISION_1, &descriptor, nullptr))
        return GetLastError();
    SECURITY_ATTRIBUTES security = {sizeof security, descriptor, FALSE};
    HANDLE copy = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    error = copy == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    LocalFree(descriptor);
    if (copy == INVALID_HANDLE_VALUE)
        return error;
    HANDLE from = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    error = from == INVALID_HANDLE_VALUE ? GetLastError() : CopyBytes(from, copy);
    if (from != INVALID_HANDLE_VALUE)
        CloseHandle(from);
    // The hold is taken over from the writing handle in two steps, so the
    // copy is never without a handle that keeps its name from being swapped.
    HANDLE reader = INVALID_HANDLE_VALUE;
    if (error == ERROR_SUCCESS && held != nullptr) {
        reader = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        if (reader == INVALID_HANDLE_VALUE)
            error = GetLastError();
    }
    CloseHandle(copy);
    if (reader != INVALID_HANDLE_VALUE) {
        *held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (*held == INVALID_HANDLE_VALUE)
            error = GetLastError();
        CloseHandle(reader);
    }
    return error;
}

namespace {

// Starts `program` with no arguments in `directory`, shown normally. This
// process runs elevated already (its manifest asks for it), so the copy is
// created directly: the shell, and with it the window libraries it loads,
// would cost this short-lived process more than all its other work. Only
// when the system wants the shell to elevate does the shell's "open" start it.
void StartCopy(const std::wstring& program, const std::wstring& directory)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return;
    }
    if (GetLastError() != kElevationRequired)
        return;
    SHELLEXECUTEINFOW start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpVerb = L"open";
    start.lpFile = program.c_str();
    start.lpDirectory = directory.c_str();
    start.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&start) && start.hProcess != nullptr)
        CloseHandle(start.hProcess);
}

bool Refuse(wchar_t* message, int capacity, DWORD error)
{
    swprintf(message, static_cast<size_t>(capacity), L"复制到缓存目录失败,err=%ld", static_cast<long>(error));
    return false;
}

}  // namespace

bool IsRelocatedCopy(const std::wstring& modulePath, const std::wstring& tempDirectory)
{
    return modulePath.find(tempDirectory) != std::wstring::npos;
}

bool RelocateToTemp(wchar_t* message, int capacity)
{
    const std::wstring tempDirectory = ReadTempDirectory();

    std::vector<wchar_t> module(kModulePathChars, L'\0');
    GetModuleFileNameW(nullptr, module.data(), kModulePathChars - 1);
    const std::wstring modulePath = module.data();
    if (IsRelocatedCopy(modulePath, tempDirectory))
        return true;

    const std::wstring copyTarget = tempDirectory + kSelfCopyName;
    const std::wstring resolvedTemp = ResolvedDirectory(tempDirectory);
    HANDLE held = INVALID_HANDLE_VALUE;
    const DWORD copyError =
        WriteFreshCopy(modulePath, copyTarget, resolvedTemp + kSelfCopyName, &held);
    if (copyError != ERROR_SUCCESS) {
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        return Refuse(message, capacity, copyError);
    }

    std::vector<std::wstring> pieces;
    SplitString(modulePath, L"\\", pieces);
    const std::wstring moduleDirectory =
        modulePath.substr(0, modulePath.size() - (pieces.empty() ? 0 : pieces.back().size()));
    const std::wstring manifestSource = moduleDirectory + kManifestName;
    const std::wstring manifestTarget = tempDirectory + kManifestTempName;
    if (!FileExists(manifestSource.c_str())) {
        CloseHandle(held);
        std::vector<wchar_t> text(kPathChars, L'\0');
        swprintf(text.data(), kPathChars, L"文件[%ls]不存在，无法卸载", manifestSource.c_str());
        ShowMessageBoxEx(nullptr, kWindowTitle, text.data(), 1, 1, L"确定", L"取消", 335, 255);
        return false;
    }
    const DWORD manifestError =
        WriteFreshCopy(manifestSource, manifestTarget, resolvedTemp + kManifestTempName, nullptr);
    if (manifestError != ERROR_SUCCESS) {
        CloseHandle(held);
        return Refuse(message, capacity, manifestError);
    }
    // The copy starts in TEMP: inheriting the installation folder as its
    // working folder would keep that folder busy and undeletable. The hold
    // on the copy is let go only once its process exists.
    StartCopy(copyTarget, tempDirectory);
    CloseHandle(held);
    ExitProcess(0);
}

void ScheduleRelocatedCopiesForRemoval()
{
    const std::wstring tempDirectory = ReadTempDirectory();
    std::vector<wchar_t> module(kModulePathChars, L'\0');
    GetModuleFileNameW(nullptr, module.data(), kModulePathChars - 1);
    // Only the relocated copy itself: an uninstaller run in place must never
    // schedule its own folder's files.
    if (tempDirectory.empty() || !SamePathText(module.data(), FullPathOf(tempDirectory + kSelfCopyName)))
        return;
    for (const std::wstring& copy : {tempDirectory + kSelfCopyName, tempDirectory + kManifestTempName}) {
        if (ScheduleDeleteAtRestart(copy))
            ProcessLog().Write(0, L"%ls is deleted at the next restart", copy.c_str());
        else
            ProcessLog().Write(0, L"%ls could not be scheduled for deletion (error %lu)", copy.c_str(),
                               GetLastError());
    }
}

bool BringRunningInstanceForward()
{
    HWND window = FindWindowW(kMainWindowClass, kWindowTitle);
    if (window == nullptr)
        return false;
    ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

}  // namespace kalvex
