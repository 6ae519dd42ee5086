#include "bench/BenchTree.h"

#include "app/ProductNames.h"

#include <windows.h>

namespace kalvex::bench {

std::wstring ScratchFolder(const wchar_t* tag)
{
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"KALVEX_BENCH_DIR", base, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        GetTempPathW(MAX_PATH, base);
    std::wstring folder = base;
    if (folder.back() != L'\\')
        folder += L'\\';
    folder += std::wstring(L"kx_") + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    PlainDelete(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring ModuleName(int d)
{
    return L"module" + std::to_wstring(d);
}

std::wstring PartName(int f)
{
    return L"part" + std::to_wstring(f) + L".dat";
}

void WriteSmallFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void CreateInstallation(const std::wstring& install)
{
    CreateDirectoryW(install.c_str(), nullptr);
    for (int d = 0; d < kDirectories; ++d) {
        const std::wstring directory = install + ModuleName(d) + L"\\";
        CreateDirectoryW(directory.c_str(), nullptr);
        for (int f = 0; f < kFilesPerDirectory; ++f)
            WriteSmallFile(directory + PartName(f), "velko");
    }
}

void PlainDelete(const std::wstring& directory)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((directory + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                PlainDelete(directory + name + L"\\");
            else
                DeleteFileW((directory + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(directory.c_str());
}

int CountLeft(const std::wstring& install)
{
    int left = 0;
    for (int d = 0; d < kDirectories; ++d)
        left += GetFileAttributesW((install + ModuleName(d)).c_str()) != INVALID_FILE_ATTRIBUTES;
    return left;
}

namespace {

std::string Entry(const std::wstring& name)
{
    return "{\"name\":\"" + std::string(name.begin(), name.end()) + "\"}";
}

}  // namespace

std::string TopLevelManifest()
{
    std::string manifest = "[";
    for (int d = 0; d < kDirectories; ++d)
        manifest += (d ? "," : "") + Entry(ModuleName(d));
    return manifest + "]";
}

std::string EveryEntryManifest()
{
    std::string manifest = "[";
    for (int d = 0; d < kDirectories; ++d)
        for (int f = 0; f < kFilesPerDirectory; ++f)
            manifest += (manifest.size() > 1 ? "," : "") + Entry(ModuleName(d) + L"\\\\" + PartName(f));
    for (int d = 0; d < kDirectories; ++d)
        manifest += "," + Entry(ModuleName(d));
    return manifest + "]";
}

void SetUninstallString(const std::wstring& install)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const std::wstring uninstallString = install + L"kalvex.exe";
    RegSetValueExW(key, kUninstallStringValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(uninstallString.c_str()),
                   static_cast<DWORD>((uninstallString.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void DeleteUninstallKey()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
}

double Seconds(std::chrono::steady_clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

}  // namespace kalvex::bench
