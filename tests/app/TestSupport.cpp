#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <vector>

namespace kalvex::test {

CScratchDir::CScratchDir(const std::wstring& tag)
{
    static std::atomic<unsigned> counter{0};
    m_path = TempDirectory() + L"\\kx_" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(counter++) + L"\\";
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

CScratchDir::~CScratchDir()
{
    RemoveTree(m_path);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    for (std::wstring::size_type slash = path.find(L'\\', 3); slash != std::wstring::npos;
         slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

bool PathExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path)
{
    std::wstring base = path;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    const DWORD attributes = GetFileAttributesW(base.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    // A link is never walked into: only the link itself may go.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            RemoveDirectoryW(base.c_str());
        else
            DeleteFileW(base.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(base.c_str());
        return;
    }
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((base + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(base + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(base.c_str());
}

std::wstring TempDirectory()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH, buffer);
    std::wstring path(buffer, length);
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

CScopedEnvironment::CScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_name(name)
{
    std::vector<wchar_t> old(32768, L'\0');
    m_hadOld = GetEnvironmentVariableW(name, old.data(), static_cast<DWORD>(old.size())) != 0;
    m_old = old.data();
    SetEnvironmentVariableW(name, value.c_str());
}

CScopedEnvironment::~CScopedEnvironment()
{
    SetEnvironmentVariableW(m_name.c_str(), m_hadOld ? m_old.c_str() : nullptr);
}

HANDLE StartProcess(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

long RunProcess(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs)
{
    HANDLE process = StartProcess(exe, arguments);
    if (process == nullptr)
        return -1;
    long result = -1;
    DWORD code = 0;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code))
        result = static_cast<long>(code);
    CloseHandle(process);
    return result;
}

std::wstring BesideTestProgram(const std::wstring& name)
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    return text.substr(0, text.find_last_of(L'\\') + 1) + name;
}

CSleeperProcesses::~CSleeperProcesses()
{
    for (HANDLE process : m_processes) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

HANDLE CSleeperProcesses::Start(const std::wstring& folder, const std::wstring& name, const std::wstring& arguments)
{
    CreateDirectoryW((m_dir / folder).c_str(), nullptr);
    const std::wstring exe = m_dir / (folder + L"\\" + name);
    CopyFileW(BesideTestProgram(L"test_sleeper.exe").c_str(), exe.c_str(), TRUE);
    HANDLE process = StartProcess(exe, arguments);
    EXPECT_NE(nullptr, process) << "could not start " << std::string(name.begin(), name.end());
    if (process != nullptr)
        m_processes.push_back(process);
    return process;
}

namespace {

using UnixNameFunction = char*(__cdecl*)(const wchar_t*);

UnixNameFunction WineUnixName()
{
    return reinterpret_cast<UnixNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

std::wstring UnixPath(const std::wstring& path)
{
    const UnixNameFunction unixName = WineUnixName();
    char* name = unixName != nullptr ? unixName(path.c_str()) : nullptr;
    if (name == nullptr)
        return std::wstring();
    const std::string bytes(name);
    HeapFree(GetProcessHeap(), 0, name);
    return std::wstring(bytes.begin(), bytes.end());
}

// True once `path` exists (or, with `exists` false, is gone); false after
// twenty seconds.
bool WaitForPath(const std::wstring& path, bool exists)
{
    for (int attempt = 0; attempt < 2000; ++attempt) {
        if ((GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) == exists)
            return true;
        Sleep(10);
    }
    return false;
}

// Wine runs a Linux program named by its Linux path like any other, but
// neither waits for it nor passes its exit code on: callers wait for what
// the program does instead.
bool RunUnixCommand(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring commandLine = program + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    // The handles Wine gives back for a Linux process are not real ones.
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

std::wstring FinalPath(const std::wstring& path)
{
    HANDLE object = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (object == INVALID_HANDLE_VALUE)
        return std::wstring();
    wchar_t buffer[2048] = {};
    const DWORD length = GetFinalPathNameByHandleW(object, buffer, 2048, 0);
    CloseHandle(object);
    return length > 0 && length < 2048 ? std::wstring(buffer, length) : std::wstring();
}

constexpr wchar_t kSessionManagerKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingValue[] = L"PendingFileRenameOperations";

}  // namespace

bool CLinks::UnderWine()
{
    return WineUnixName() != nullptr;
}

CLinks::~CLinks()
{
    for (const std::wstring& link : m_links) {
        if (UnderWine()) {
            RunUnixCommand(L"/bin/rm", L"-f \"" + UnixPath(link) + L"\"");
            WaitForPath(link, false);
        } else {
            RemoveTree(link);
        }
    }
}

bool CLinks::Make(const std::wstring& link, const std::wstring& target, bool directory)
{
    bool made = false;
    if (UnderWine()) {
        const std::wstring from = UnixPath(link);
        const std::wstring to = UnixPath(target);
        made = !from.empty() && !to.empty() &&
               RunUnixCommand(L"/bin/ln", L"-sn \"" + to + L"\" \"" + from + L"\"") && WaitForPath(link, true);
    } else {
        made = CreateSymbolicLinkW(link.c_str(), target.c_str(),
                                   (directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) |
                                       SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE;
    }
    if (made)
        m_links.push_back(link);
    // Made or not, what counts is what the system now shows at that name.
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    const std::wstring reached = FinalPath(link);
    return !reached.empty() && reached == FinalPath(target) &&
           (!directory || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
}

namespace {

std::wstring NestedPath(const std::wstring& top, int levels, wchar_t separator)
{
    std::wstring path = top;
    for (int level = 0; level < levels; ++level) {
        path += separator;
        path += L'd';
    }
    return path;
}

}  // namespace

bool MakeNestedFolders(const std::wstring& top, int levels)
{
    if (CLinks::UnderWine()) {
        const std::wstring parent = top.substr(0, top.find_last_of(L'\\'));
        CreateDirectoryW(parent.c_str(), nullptr);
        const std::wstring unixTop = UnixPath(top);
        if (unixTop.empty())
            return false;
        RunUnixCommand(L"/bin/mkdir", L"-p \"" + NestedPath(unixTop, levels, L'/') + L"\"");
    } else {
        std::wstring path = L"\\\\?\\" + top;
        CreateDirectoryW(path.c_str(), nullptr);
        for (int level = 0; level < levels; ++level)
            CreateDirectoryW((path += L"\\d").c_str(), nullptr);
    }
    return WaitForPath(L"\\\\?\\" + NestedPath(top, levels, L'\\'), true);
}

void RemoveNestedFolders(const std::wstring& top)
{
    const std::wstring unixTop = CLinks::UnderWine() ? UnixPath(top) : std::wstring();
    if (!unixTop.empty()) {
        RunUnixCommand(L"/bin/rm", L"-rf \"" + unixTop + L"\"");
        WaitForPath(top, false);
        return;
    }
    for (int levels = 4096; levels >= 0; --levels)
        RemoveDirectoryW((L"\\\\?\\" + NestedPath(top, levels, L'\\')).c_str());
}

CPendingDeletes::CPendingDeletes()
{
    DWORD size = 0;
    m_hadValue = RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue, RRF_RT_REG_MULTI_SZ, nullptr,
                              nullptr, &size) == ERROR_SUCCESS;
    if (m_hadValue) {
        m_saved.resize(size);
        RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue, RRF_RT_REG_MULTI_SZ, nullptr,
                     m_saved.data(), &size);
        m_saved.resize(size);
    }
}

CPendingDeletes::~CPendingDeletes()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (m_hadValue)
        RegSetValueExW(key, kPendingValue, 0, REG_MULTI_SZ, m_saved.data(), static_cast<DWORD>(m_saved.size()));
    else
        RegDeleteValueW(key, kPendingValue);
    RegCloseKey(key);
}

bool CPendingDeletes::Names(const std::wstring& path)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue, RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue, RRF_RT_REG_MULTI_SZ, nullptr, text.data(),
                 &size);
    // Entries come in pairs (source, target); a deletion's target is empty,
    // so the list cannot be walked to its first empty string. Sources are
    // NT names such as "\\??\\C:\\...".
    const wchar_t* end = text.data() + size / sizeof(wchar_t);
    for (const wchar_t* entry = text.data(); entry < end; entry += wcslen(entry) + 1) {
        const std::wstring name = entry;
        if (name.size() >= path.size() &&
            CompareStringOrdinal(name.c_str() + name.size() - path.size(), static_cast<int>(path.size()),
                                 path.c_str(), static_cast<int>(path.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

}  // namespace kalvex::test
