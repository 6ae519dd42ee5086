// Times the uninstall worker's file removal on a large installation against
// the floor: the same tree deleted with a plain DeleteFileW/RemoveDirectoryW
// walk. Run by hand: cmake/wine-run.sh build/bench/remove_manifest_bench.exe
#include "app/ProductNames.h"
#include "app/UninstallManifest.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDirectories = 1000;
constexpr int kFilesPerDirectory = 20;

std::wstring Scratch()
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"kx_bench_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
}

void WriteSmallFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, "velko", 5, &written, nullptr);
    CloseHandle(file);
}

void CreateInstallation(const std::wstring& install)
{
    CreateDirectoryW(install.c_str(), nullptr);
    for (int d = 0; d < kDirectories; ++d) {
        const std::wstring directory = install + L"module" + std::to_wstring(d) + L"\\";
        CreateDirectoryW(directory.c_str(), nullptr);
        for (int f = 0; f < kFilesPerDirectory; ++f)
            WriteSmallFile(directory + L"part" + std::to_wstring(f) + L".dat");
    }
}

// The floor: what deleting the same tree costs with the plainest calls.
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
        left += GetFileAttributesW((install + L"module" + std::to_wstring(d)).c_str()) != INVALID_FILE_ATTRIBUTES;
    return left;
}

double Seconds(std::chrono::steady_clock::duration elapsed)
{
    return std::chrono::duration<double>(elapsed).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const std::wstring root = Scratch();
    const std::wstring install = root + L"velko\\";
    const std::wstring temp = root + L"temp";
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW(temp.c_str(), nullptr);

    std::string manifest = "[";
    for (int d = 0; d < kDirectories; ++d)
        manifest += (d ? ",{\"name\":\"module" : "{\"name\":\"module") + std::to_string(d) + "\"}";
    manifest += "]";
    HANDLE file = CreateFileW((temp + kalvex::kManifestTempName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    DWORD written = 0;
    WriteFile(file, manifest.data(), static_cast<DWORD>(manifest.size()), &written, nullptr);
    CloseHandle(file);
    SetEnvironmentVariableW(kalvex::kTempVariable, temp.c_str());

    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const std::wstring uninstallString = install + L"kalvex.exe";
    RegSetValueExW(key, kalvex::kUninstallStringValue, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(uninstallString.c_str()),
                   static_cast<DWORD>((uninstallString.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);

    std::printf("installation: %d files in %d directories, manifest of %d top-level entries, %d round(s)\n",
                kDirectories * kFilesPerDirectory, kDirectories, kDirectories, rounds);
    std::vector<double> manifestTimes, floorTimes;
    for (int round = 0; round < rounds; ++round) {
        CreateInstallation(install);
        auto start = std::chrono::steady_clock::now();
        kalvex::RemoveManifestFiles();
        manifestTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));
        const int leftByManifest = CountLeft(install);

        CreateInstallation(install);
        start = std::chrono::steady_clock::now();
        PlainDelete(install);
        floorTimes.push_back(Seconds(std::chrono::steady_clock::now() - start));
        std::printf("round %d: RemoveManifestFiles %.3f s (%d directories left), plain delete loop %.3f s\n",
                    round + 1, manifestTimes.back(), leftByManifest, floorTimes.back());
        PlainDelete(install);
    }
    std::sort(manifestTimes.begin(), manifestTimes.end());
    std::sort(floorTimes.begin(), floorTimes.end());
    const double manifestMedian = manifestTimes[manifestTimes.size() / 2];
    const double floorMedian = floorTimes[floorTimes.size() / 2];
    std::printf("median: RemoveManifestFiles %.3f s, floor %.3f s, ratio %.2f\n", manifestMedian, floorMedian,
                manifestMedian / floorMedian);

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kalvex::kUninstallKey);
    PlainDelete(root);
    return 0;
}
