// The uninstaller's two costs a user waits for, each against a floor, in one
// run and one Wine prefix:
//   [start-up]  process start to the first painted main window of kalvex.exe
//               against minimal_window.exe, which only creates and paints one
//               window of the same size, and against the same window after
//               the libraries the toolkit starts (minimal_library_window.exe);
//   [uninstall] removing an installation of 20,000 files in 1,000
//               directories made by a kit-built NSIS installer: the uninstall
//               worker's RemoveManifestFiles with the manifest the kit
//               shipped, against the NSIS uninstaller (RMDir /r)
//               and against a plain DeleteFileW/RemoveDirectoryW walk, plus
//               the per-entry price of a shell deletion that explains the gap.
// Run by hand: cmake/wine-run.sh build/bench/uninstall_bench.exe [rounds [part]]
// where part is "startup", "uninstall" or "costs" (the per-file price of a
// shell deletion alone); all of them when absent.
#include "app/FileHelpers.h"
#include "app/ProcessHelpers.h"
#include "app/ProductCleanup.h"
#include "app/ProductNames.h"
#include "app/TrayIcon.h"
#include "app/UninstallManifest.h"
#include "bench/BenchSupport.h"
#include "bench/BenchTree.h"
#include "resources/ResourceIds.h"
#include "ui/markup/LayoutBuilder.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

using namespace kalvex::bench;
using DuiLib::bench::Median;
using Clock = std::chrono::steady_clock;

namespace {

std::wstring BesideBench(const std::wstring& name)
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    return text.substr(0, text.find_last_of(L'\\') + 1) + name;
}

std::wstring WithoutBackslash(const std::wstring& path)
{
    return path.substr(0, path.size() - (path.back() == L'\\' ? 1 : 0));
}

// Starts `exe` with `arguments`; the child inherits this process's TEMP.
HANDLE Launch(const std::wstring& exe, const std::wstring& arguments)
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

// Runs `exe` to its end (at most five minutes); seconds taken, -1 on failure.
double TimeRun(const std::wstring& exe, const std::wstring& arguments)
{
    const Clock::time_point start = Clock::now();
    HANDLE process = Launch(exe, arguments);
    if (process == nullptr)
        return -1;
    const bool ended = WaitForSingleObject(process, 300000) == WAIT_OBJECT_0;
    const double elapsed = Seconds(Clock::now() - start);
    CloseHandle(process);
    return ended ? elapsed : -1;
}

// ---- [start-up] ------------------------------------------------------------

// A window counts as painted once the column down its middle holds more
// than 16 colours: before its first paint it shows the empty root window
// underneath (one or two colours), after it the skin's band, emblem and text
// or the 64 colour bands. Only that column is read from the screen: reading
// the whole window every 2 ms moved a megabyte through the X server each
// time, and slowed the very program being timed the longer it took to paint.
bool LooksPainted(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    constexpr int kColumn = 4;
    const int height = rect.bottom - rect.top;
    if (rect.right - rect.left < kColumn || height <= 0)
        return false;
    const int left = (rect.left + rect.right - kColumn) / 2;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kColumn;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, kColumn, height, screen, left, rect.top, SRCCOPY);
    GdiFlush();
    std::unordered_set<DWORD> colours;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < kColumn * height && colours.size() <= 16; ++i)
        colours.insert(pixels[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colours.size() > 16;
}

struct StartupResult {
    double visible = -1;  // the window exists and is visible
    double seconds = -1;  // ... and is painted
    HWND window = nullptr;
    DWORD windowProcess = 0;
};

// Starts `exe` and polls for a visible, painted top-level window of
// `className` (and `title` when given); gives up after 30 seconds.
StartupResult TimeToPaintedWindow(const std::wstring& exe, const wchar_t* className, const wchar_t* title,
                                  HANDLE& process)
{
    StartupResult result;
    const Clock::time_point start = Clock::now();
    process = Launch(exe, L"");
    if (process == nullptr)
        return result;
    while (Seconds(Clock::now() - start) < 30) {
        HWND window = FindWindowW(className, title);
        if (window != nullptr && IsWindowVisible(window) && result.visible < 0)
            result.visible = Seconds(Clock::now() - start);
        if (window != nullptr && IsWindowVisible(window) && LooksPainted(window)) {
            result.seconds = Seconds(Clock::now() - start);
            result.window = window;
            GetWindowThreadProcessId(window, &result.windowProcess);
            break;
        }
        // Short enough for millisecond resolution, long enough not to take
        // the CPU from the program being measured.
        Sleep(2);
    }
    return result;
}

// Ends the process we started and, when another process (a relocated copy
// it started) owns the window, that one too. kalvex.exe's notification icon
// goes first, as it does when the program ends itself: an ended process
// leaves its icon behind, and the shell's work on a growing row of dead icons
// slowed every later start.
void EndStarted(HANDLE process, DWORD windowProcess, HWND window)
{
    if (window != nullptr) {
        NOTIFYICONDATAW icon = {};
        icon.cbSize = sizeof icon;
        icon.hWnd = window;
        icon.uID = kalvex::kTrayIconId;
        Shell_NotifyIconW(NIM_DELETE, &icon);
    }
    if (windowProcess != 0 && windowProcess != GetProcessId(process)) {
        HANDLE owner = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, windowProcess);
        if (owner != nullptr) {
            TerminateProcess(owner, 0);
            WaitForSingleObject(owner, 10000);
            CloseHandle(owner);
        }
    }
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

StartupResult TimeStartup(const std::wstring& exe, const wchar_t* className, const wchar_t* title)
{
    HANDLE process = nullptr;
    const StartupResult result = TimeToPaintedWindow(exe, className, title, process);
    // kalvex.exe adds its icon right after the first frame.
    if (result.window != nullptr)
        Sleep(500);
    if (process != nullptr)
        EndStarted(process, result.windowProcess, result.window);
    // Under Wine the next process start after a terminated kalvex.exe (a
    // process with a tray icon) waits about two seconds; a pause lets the
    // prefix settle so no run pays for the one before it.
    Sleep(3000);
    return result;
}

bool ProcessRuns(const wchar_t* name)
{
    return kalvex::FindProcessByName(name, kalvex::NameMatch::IgnoreCase) != -1;
}

// What the main window's initialisation spends on the product's processes
// before its first paint: the running-client check, one process snapshot,
// with no client running (the termination list runs after the first frame).
double ProcessWorkSeconds()
{
    const Clock::time_point start = Clock::now();
    kalvex::IsClientRunning();
    return Seconds(Clock::now() - start);
}

// The skin's share of the first frame: main.xml built from the archive inside
// kalvex.exe and painted once in a window of the skin's size, in this
// process, cold as in a fresh start.
void SkinCost(const std::wstring& exe)
{
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module != nullptr ? FindResourceW(module, MAKEINTRESOURCEW(KALVEX_SKIN_ID), L"ZIPRES") : nullptr;
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    if (loaded == nullptr) {
        std::printf("  no skin archive in kalvex.exe\n");
        return;
    }
    const DWORD size = SizeofResource(module, found);
    static std::vector<BYTE> archive;
    archive.assign(static_cast<const BYTE*>(LockResource(loaded)), static_cast<const BYTE*>(LockResource(loaded)) + size);
    FreeLibrary(module);

    const double start = DuiLib::bench::WallSeconds();
    DuiLib::CUIManager::SetSkinZipFromMemory(archive.data(), size, "kTfWqR4m");
    DuiLib::bench::CBenchWindow window;
    DuiLib::bench::OpenWindow(window, L"skin", 680, 420, nullptr);
    const double opened = DuiLib::bench::WallSeconds();
    DuiLib::CLayoutBuilder builder;
    DuiLib::IControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &window.manager, nullptr);
    const double built = DuiLib::bench::WallSeconds();
    window.manager.AttachRootControl(root);
    InvalidateRect(window.GetHWND(), nullptr, FALSE);
    UpdateWindow(window.GetHWND());
    const double painted = DuiLib::bench::WallSeconds();
    // The window's own cost (the first window of a process connects to the
    // display) is the floor's too; the build and the paint are the skin's.
    std::printf("  of which, in-process and cold: first window %.3f s, main.xml built %.3f s, first paint %.3f s\n",
                opened - start, built - opened, painted - built);
    DestroyWindow(window.GetHWND());
}

void RunStartup(int rounds)
{
    const std::wstring root = ScratchFolder(L"startup");
    // The relocated copy: kalvex.exe already inside TEMP runs in place.
    const std::wstring copy = root + L"kalvex.exe";
    CopyFileW(BesideBench(L"kalvex.exe").c_str(), copy.c_str(), FALSE);
    // An installed one: it copies itself into TEMP and starts that copy.
    const std::wstring installed = root + L"velko\\kalvex.exe";
    CreateDirectoryW((root + L"velko").c_str(), nullptr);
    CopyFileW(BesideBench(L"kalvex.exe").c_str(), installed.c_str(), FALSE);
    WriteSmallFile(root + L"velko\\kalvex.dat", "[]");
    const std::wstring relocationTemp = root + L"reloc";
    CreateDirectoryW(relocationTemp.c_str(), nullptr);
    // Both programs start from the same folder of the same drive.
    const std::wstring floorExe = root + L"minimal_window.exe";
    CopyFileW(BesideBench(L"minimal_window.exe").c_str(), floorExe.c_str(), FALSE);
    const std::wstring libraryFloorExe = root + L"minimal_library_window.exe";
    CopyFileW(BesideBench(L"minimal_library_window.exe").c_str(), libraryFloorExe.c_str(), FALSE);

    if (ProcessRuns(L"velko.exe"))
        std::printf("warning: velko.exe runs, kalvex.exe will ask for confirmation first\n");
    std::vector<double> floorTimes, libraryFloorTimes, copyTimes, installedTimes;
    // Round 0 warms the prefix's caches and is not counted.
    for (int round = 0; round <= rounds; ++round) {
        const StartupResult floorRun = TimeStartup(floorExe, L"KalvexMinimalWindow", nullptr);
        const StartupResult libraryFloorRun = TimeStartup(libraryFloorExe, L"KalvexMinimalWindow", nullptr);
        SetEnvironmentVariableW(kalvex::kTempVariable, WithoutBackslash(root).c_str());
        const StartupResult copyRun = TimeStartup(copy, kalvex::kMainWindowClass, kalvex::kWindowTitle);
        SetEnvironmentVariableW(kalvex::kTempVariable, relocationTemp.c_str());
        const StartupResult installedRun = TimeStartup(installed, kalvex::kMainWindowClass, kalvex::kWindowTitle);
        if (round == 0)
            continue;
        std::printf("start-up round %d (visible / painted): minimal window %.3f / %.3f s, with the libraries "
                    "%.3f / %.3f s, kalvex.exe relocated copy %.3f / %.3f s, kalvex.exe from the install directory "
                    "%.3f / %.3f s\n",
                    round, floorRun.visible, floorRun.seconds, libraryFloorRun.visible, libraryFloorRun.seconds,
                    copyRun.visible, copyRun.seconds, installedRun.visible, installedRun.seconds);
        floorTimes.push_back(floorRun.seconds);
        libraryFloorTimes.push_back(libraryFloorRun.seconds);
        copyTimes.push_back(copyRun.seconds);
        installedTimes.push_back(installedRun.seconds);
    }
    const double floorMedian = Median(floorTimes);
    const double copyMedian = Median(copyTimes);
    const double installedMedian = Median(installedTimes);
    const double libraryFloorMedian = Median(libraryFloorTimes);
    std::printf("start-up, process start to first painted window, median of %d:\n", rounds);
    std::printf("  minimal window (floor)              %.3f s\n", floorMedian);
    std::printf("  minimal window with the libraries   %.3f s  ratio %.2f (common controls, msimg32, GDI+)\n",
                libraryFloorMedian, libraryFloorMedian / floorMedian);
    std::printf("  kalvex.exe, relocated copy          %.3f s  ratio %.2f (target <= 1.25)\n", copyMedian,
                copyMedian / floorMedian);
    std::printf("  kalvex.exe, from the install dir    %.3f s  ratio %.2f (target <= 2.0; two process starts: "
                "relocation)\n",
                installedMedian, installedMedian / floorMedian);
    std::printf("  kalvex.exe, relocated copy / the window with the libraries: ratio %.2f\n",
                copyMedian / libraryFloorMedian);
    std::vector<double> processWork;
    for (int i = 0; i < 5; ++i)
        processWork.push_back(ProcessWorkSeconds());
    std::printf("  of which the process checks before the first paint (1 snapshot): %.3f s\n", Median(processWork));
    SkinCost(BesideBench(L"kalvex.exe"));
    PlainDelete(root);
}

// ---- [uninstall] -----------------------------------------------------------

struct Installation {
    std::wstring setup = BesideBench(L"velko_bench_setup.exe");
    std::wstring uninstaller = BesideBench(L"velko_bench_uninstall.exe");
    std::wstring root = ScratchFolder(L"uninstall");
    std::wstring directory = root + L"velko\\";
    std::wstring temp = root + L"temp";

    // Runs the NSIS installer; false when it did not lay out the whole tree,
    // the uninstaller and its manifest.
    bool Install(double& seconds)
    {
        PlainDelete(directory);
        seconds = TimeRun(setup, L"/S /D=" + WithoutBackslash(directory));
        const std::wstring last = directory + ModuleName(kDirectories - 1) + L"\\" + PartName(kFilesPerDirectory - 1);
        return seconds >= 0 && CountLeft(directory) == kDirectories &&
               GetFileAttributesW(last.c_str()) != INVALID_FILE_ATTRIBUTES &&
               GetFileAttributesW((directory + kalvex::kManifestName).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // What start-up does before the worker runs: the shipped manifest copied
    // into TEMP.
    void CopyManifestToTemp() const
    {
        CopyFileW((directory + kalvex::kManifestName).c_str(), (temp + kalvex::kManifestTempName).c_str(), FALSE);
    }
};

// Installs, runs `prepare` untimed, then times `remove`; -1 when the
// installation failed or the removal left directories behind.
double TimeRemoval(Installation& installation, const std::function<void()>& prepare,
                   const std::function<void()>& remove, const char* what)
{
    double installSeconds = 0;
    if (!installation.Install(installSeconds)) {
        std::printf("  the NSIS installer did not lay out the installation\n");
        return -1;
    }
    prepare();
    const Clock::time_point start = Clock::now();
    remove();
    const double seconds = Seconds(Clock::now() - start);
    const int left = CountLeft(installation.directory);
    std::printf("  %-44s %.3f s (install took %.3f s, %d directories left)\n", what, seconds, installSeconds, left);
    return left == 0 ? seconds : -1;
}

// Where a shell deletion spends its time, per file: one file deleted by the
// shell against one DeleteFileW, a directory of files deleted by the shell
// against the plain walk, and the change notification the shell sends for
// each file it removes inside a directory.
void PerEntryCost(const std::wstring& folder)
{
    constexpr int kFiles = 500;
    constexpr int kFolders = 25;
    CreateDirectoryW(folder.c_str(), nullptr);
    auto timePerFile = [&](const std::function<void()>& create, const std::function<void()>& remove) {
        create();
        const Clock::time_point start = Clock::now();
        remove();
        return Seconds(Clock::now() - start) / kFiles * 1e6;
    };
    auto files = [&] {
        for (int f = 0; f < kFiles; ++f)
            WriteSmallFile(folder + PartName(f), "velko");
    };
    auto folders = [&] {
        for (int d = 0; d < kFolders; ++d) {
            CreateDirectoryW((folder + ModuleName(d)).c_str(), nullptr);
            for (int f = 0; f < kFiles / kFolders; ++f)
                WriteSmallFile(folder + ModuleName(d) + L"\\" + PartName(f), "velko");
        }
    };
    const double shellFile = timePerFile(files, [&] {
        for (int f = 0; f < kFiles; ++f)
            kalvex::ShellDelete(folder + PartName(f));
    });
    const double plainFile = timePerFile(files, [&] {
        for (int f = 0; f < kFiles; ++f)
            DeleteFileW((folder + PartName(f)).c_str());
    });
    const double shellTree = timePerFile(folders, [&] {
        for (int d = 0; d < kFolders; ++d)
            kalvex::ShellDelete(folder + ModuleName(d));
    });
    const double plainTree = timePerFile(folders, [&] {
        for (int d = 0; d < kFolders; ++d)
            PlainDelete(folder + ModuleName(d) + L"\\");
    });
    const double notify = timePerFile([] {}, [&] {
        for (int f = 0; f < kFiles; ++f)
            SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, (folder + PartName(f)).c_str(), nullptr);
    });
    std::printf("  per file, single files: shell deletion (SHFileOperationW) %.0f us, DeleteFileW %.0f us\n",
                shellFile, plainFile);
    std::printf("  per file, inside directories of 20: shell deletion %.0f us, plain walk %.0f us (%.1f x)\n",
                shellTree, plainTree, shellTree / plainTree);
    std::printf("  one SHChangeNotify(SHCNE_DELETE) for a path: %.0f us\n", notify);
    PlainDelete(folder);
}

void RunUninstall(int rounds)
{
    Installation installation;
    CreateDirectoryW(installation.temp.c_str(), nullptr);
    SetEnvironmentVariableW(kalvex::kTempVariable, installation.temp.c_str());
    // The installer writes the uninstall entry that RemoveManifestFiles reads.
    const std::wstring manifest = installation.temp + kalvex::kManifestTempName;

    std::printf("uninstall of %d files in %d directories, installed by the kit-built NSIS installer, %d round(s):\n",
                kDirectories * kFilesPerDirectory, kDirectories, rounds);
    std::vector<double> ours, everyEntry, nsis, floor;
    const std::wstring nsisArguments = L"/S _?=" + WithoutBackslash(installation.directory);
    const auto nothing = [] {};
    for (int round = 0; round < rounds; ++round) {
        ours.push_back(TimeRemoval(
            installation, [&] { installation.CopyManifestToTemp(); }, [] { kalvex::RemoveManifestFiles(); },
            "kalvex RemoveManifestFiles (1,002 entries)"));
        // The same removal driven by a manifest that names every file and
        // directory: one lookup and one containment check per entry.
        everyEntry.push_back(TimeRemoval(
            installation, [&] { WriteSmallFile(manifest, EveryEntryManifest()); },
            [] { kalvex::RemoveManifestFiles(); }, "kalvex RemoveManifestFiles (21,000 entries)"));
        nsis.push_back(TimeRemoval(
            installation, nothing, [&] { TimeRun(installation.uninstaller, nsisArguments); },
            "NSIS uninstaller, RMDir /r (whole process)"));
        floor.push_back(TimeRemoval(
            installation, nothing, [&] { PlainDelete(installation.directory); }, "plain DeleteFileW/RemoveDirectoryW"));
    }
    // The NSIS figure includes its own process start; an empty directory
    // shows what that alone costs.
    const std::wstring empty = installation.root + L"empty";
    CreateDirectoryW(empty.c_str(), nullptr);
    const double nsisStart = TimeRun(installation.uninstaller, L"/S _?=" + empty);

    const double oursMedian = Median(ours);
    const double everyEntryMedian = Median(everyEntry);
    const double nsisMedian = Median(nsis);
    const double floorMedian = Median(floor);
    std::printf("uninstall, median of %d:\n", rounds);
    std::printf("  kalvex RemoveManifestFiles, the kit's 1,002 entries  %.3f s\n", oursMedian);
    std::printf("  NSIS uninstaller (RMDir /r), whole process           %.3f s (its start alone %.3f s)\n",
                nsisMedian, nsisStart);
    std::printf("  plain DeleteFileW/RemoveDirectoryW floor             %.3f s\n", floorMedian);
    std::printf("  kalvex / NSIS %.2f (target <= 1.00), kalvex / floor %.2f, NSIS / floor %.2f\n",
                oursMedian / nsisMedian, oursMedian / floorMedian, nsisMedian / floorMedian);
    std::printf("  a manifest naming every file and directory (21,000 entries): %.3f s, %.2f x the floor\n",
                everyEntryMedian, everyEntryMedian / floorMedian);

    DeleteUninstallKey();
    PlainDelete(installation.root);
    DeleteFileW(installation.uninstaller.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string part = argc > 2 ? argv[2] : "";
    if (part.empty() || part == "startup")
        RunStartup(rounds * 2 - 1);
    if (part.empty() || part == "uninstall")
        RunUninstall(rounds);
    if (part.empty() || part == "costs") {
        std::printf("where a shell deletion spends its time:\n");
        const std::wstring folder = ScratchFolder(L"costs");
        PerEntryCost(folder);
        PlainDelete(folder);
    }
    return 0;
}
