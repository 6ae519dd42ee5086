// Large installations for the uninstall benchmarks: a tree of 20,000 small
// files in 1,000 directories, its manifest, and the floor every removal is
// measured against (a plain DeleteFileW/RemoveDirectoryW walk).
#pragma once

#include <chrono>
#include <string>

namespace kalvex::bench {

constexpr int kDirectories = 1000;
constexpr int kFilesPerDirectory = 20;

// A fresh folder "<base>\kx_<tag>_<pid>\" (ends in a backslash), where base
// is the Windows folder named by KALVEX_BENCH_DIR when that is set (such as a
// memory-backed folder, to keep a shared disk's noise out of the figures),
// and TEMP otherwise.
std::wstring ScratchFolder(const wchar_t* tag);
// "module<d>", the d-th directory of an installation.
std::wstring ModuleName(int d);
// "part<f>.dat", the f-th file of each directory.
std::wstring PartName(int f);
void WriteSmallFile(const std::wstring& path, const std::string& bytes);
// Lays the tree out under `install` (which ends in a backslash) with plain calls.
void CreateInstallation(const std::wstring& install);
// The floor: deletes `directory` (ending in a backslash) and all it holds.
void PlainDelete(const std::wstring& directory);
// How many of the installation's directories are still there.
int CountLeft(const std::wstring& install);
// A manifest naming the 1,000 top-level directories, as the product's own
// manifest names what it installed.
std::string TopLevelManifest();
// A manifest naming every file and then every directory (21,000 entries).
std::string EveryEntryManifest();
// Points the product's uninstall entry at "<install>kalvex.exe", which is
// where the uninstall worker takes its install directory from.
void SetUninstallString(const std::wstring& install);
void DeleteUninstallKey();

double Seconds(std::chrono::steady_clock::duration elapsed);

}  // namespace kalvex::bench
