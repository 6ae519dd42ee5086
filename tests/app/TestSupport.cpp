#include "tests/app/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
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

HANDLE CSleeperProcesses::Start(const std::wstring& folder, const std::wstring& name)
{
    CreateDirectoryW((m_dir / folder).c_str(), nullptr);
    const std::wstring exe = m_dir / (folder + L"\\" + name);
    CopyFileW(BesideTestProgram(L"test_sleeper.exe").c_str(), exe.c_str(), TRUE);
    HANDLE process = StartProcess(exe, L"");
    EXPECT_NE(nullptr, process) << "could not start " << std::string(name.begin(), name.end());
    if (process != nullptr)
        m_processes.push_back(process);
    return process;
}

}  // namespace kalvex::test
