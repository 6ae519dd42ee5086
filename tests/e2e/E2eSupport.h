// What the end-to-end scenarios do as a user would: install the sample velko
// product with its real installer, start stand-ins for its processes, start
// the installed kalvex.exe, find its windows, click and type with real input,
// take screenshots, and look at what is left on disk and in the registry.
// Nothing here calls the uninstaller's own code; every wait is bounded.
#pragma once

#include "tests/app/TestSupport.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace kalvex::e2e {

// The names the uninstaller shares with its installer and with the user,
// written out here so the scenarios check them rather than trust them.
inline constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\velko";
inline constexpr wchar_t kMainClass[] = L"CMainWnd";
inline constexpr wchar_t kBoxClass[] = L"CMessageBoxExWnd";
inline constexpr wchar_t kWindowTitle[] = L"Velko\u52a0\u901f\u5668\u5378\u8f7d\u5411\u5bfc";

// Upper bounds for the waits: generous for a loaded machine under Wine, short
// enough that a window that never comes fails the test instead of hanging it.
inline constexpr DWORD kWindowWaitMs = 20000;
inline constexpr DWORD kExitWaitMs = 20000;
inline constexpr DWORD kUninstallWaitMs = 60000;

// ---- Files and registry -------------------------------------------------

// Scratch folders, file reads and writes and tree removal are the app
// tests' helpers (tests/app/TestSupport.h).
using test::BesideTestProgram;
using test::CScratchDir;
using test::PathExists;
using test::ReadFileBytes;
using test::RemoveTree;
using test::WriteFileBytes;

std::wstring ProgramFilesDirectory();
// Every file and folder below `directory` (ending in a backslash), as paths
// relative to it, sorted; empty when the directory is missing.
std::vector<std::wstring> ListTree(const std::wstring& directory);
std::string Utf8(const std::wstring& text);
bool UninstallKeyExists();
// A REG_SZ value of the product's uninstall key; "" when absent.
std::wstring UninstallValue(const wchar_t* name);

// The sample product, installed silently with velko_setup_sample.exe into
// "<Program Files>\velko\" (the installer's default), plus a neighbour folder
// beside it that the uninstall must not touch. Everything the product or the
// scenario leaves is removed again by the destructor.
class CSampleProduct {
public:
    CSampleProduct();
    ~CSampleProduct();
    CSampleProduct(const CSampleProduct&) = delete;
    CSampleProduct& operator=(const CSampleProduct&) = delete;

    // Runs the installer; false (with a test failure) when it did not finish
    // with exit code 0 or did not lay out the uninstaller and its manifest.
    bool Install();
    const std::wstring& Directory() const { return m_directory; }  // ends in a backslash
    std::wstring operator/(const std::wstring& name) const { return m_directory + name; }
    std::wstring Uninstaller() const { return m_directory + L"kalvex.exe"; }
    // The desktop shortcut the installer made (read from "DisplayShortcut").
    const std::wstring& Shortcut() const { return m_shortcut; }
    const std::wstring& NeighbourFile() const { return m_neighbourFile; }

    // The entries the shipped manifest lists, relative to the directory.
    static const std::vector<std::wstring>& ManifestEntries();

private:
    std::wstring m_directory;
    std::wstring m_shortcut;
    std::wstring m_neighbourFile;
};

// ---- Processes ----------------------------------------------------------

// Every process a scenario starts or finds, terminated at the end if it still
// runs, so a failed scenario leaves nothing behind. Only processes started by
// the scenario (or relaunched by them) are ever tracked.
class CProcessSet {
public:
    CProcessSet() = default;
    ~CProcessSet();
    CProcessSet(const CProcessSet&) = delete;
    CProcessSet& operator=(const CProcessSet&) = delete;

    // Starts `exe` with an environment that holds only the system's basic
    // variables and TEMP/TMP set to `temp`; null when it did not start.
    HANDLE StartClean(const std::wstring& exe, const std::wstring& temp);
    // Copies test_sleeper.exe to "<folder>\<name>" (a fresh subfolder of
    // `folder` per call) and starts it; null when that failed.
    HANDLE StartStandIn(const std::wstring& folder, const std::wstring& name);
    // Starts an existing program (such as the installed stand-in client).
    HANDLE Start(const std::wstring& exe);
    // Waits for a running process whose image is `exePath` (compared without
    // regard to case) and takes it into the set; null after `timeoutMs`.
    HANDLE WaitForProcessByPath(const std::wstring& exePath, DWORD timeoutMs);

private:
    HANDLE Track(HANDLE process);
    std::vector<HANDLE> m_processes;
};

// The exit code once `process` has ended within `timeoutMs`; -1 otherwise.
long WaitForExitCode(HANDLE process, DWORD timeoutMs);
bool IsRunning(HANDLE process);
DWORD ProcessIdOf(HANDLE process);

// ---- Windows and input ---------------------------------------------------

// A top-level window of `className` titled kWindowTitle owned by process
// `pid` (any process when 0); `visibleOnly` skips hidden ones. Null if none.
HWND FindAppWindow(const wchar_t* className, DWORD pid, bool visibleOnly);
// Polls for a visible top-level window of `className` and `title` (any title
// when null) owned by `pid` (any process when 0) for up to `timeoutMs`.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD pid, DWORD timeoutMs);
// WaitForWindow with the title kWindowTitle.
HWND WaitForAppWindow(const wchar_t* className, DWORD pid, DWORD timeoutMs);
// Polls until `window` is gone or hidden; false after `timeoutMs`.
bool WaitUntilHidden(HWND window, DWORD timeoutMs);
// The visible pop-up menu window ("#32768") of process `pid`, polled.
HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs);
// Polls `probe` until it answers true; false after `timeoutMs`.
template <typename Probe>
bool WaitUntil(Probe probe, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (probe())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
}

SIZE WindowSize(HWND window);
// Moves the pointer to `offset` from the window's top-left with SendInput
// (absolute move), after making the window the foreground window, and
// clicks the left button there. False when the pointer did not get there.
bool ClickAt(HWND window, POINT offset);
// Moves the pointer only (for hover-free screenshots and menu placement).
bool MovePointerTo(POINT screen);
// Presses and releases the keys in order, releasing them in reverse order
// (so {VK_MENU, VK_F4} is Alt+F4), after making `window` the foreground.
void PressKeys(HWND window, std::initializer_list<WORD> keys);

// ---- The skin's layout -------------------------------------------------------

// Where the main window's skin places its controls: the skin archive is read
// from `exe` (mapped as data, none of its code runs) and main.xml is built and
// laid out by the toolkit's own builder and layouts in a hidden window, as the
// uninstaller does in its own.
struct MainSkinLayout {
    SIZE window = {0, 0};
    // Client rectangles of the named controls; empty for a name not found.
    RECT Control(const wchar_t* name) const;
    static POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

    std::vector<std::pair<std::wstring, RECT>> controls;
};
// False (with a test failure) when the archive or main.xml could not be read.
bool LayOutMainSkin(const std::wstring& exe, const std::vector<std::wstring>& names, MainSkinLayout& layout);

// ---- Screenshots -----------------------------------------------------------

// The window's screen area copied from the screen device context: 32-bit
// BGRA rows, top-down.
struct CShot {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    // How many distinct colours the picture holds (a painted skin has many,
    // an unpainted or blank area one or two).
    size_t DistinctColours() const;
};
CShot CaptureWindow(HWND window);
// Writes `shot` as "<build tree>\tests\e2e\shots\<name>.png" with the GDI+
// PNG encoder; returns the file's path, "" on failure.
std::wstring SavePng(const CShot& shot, const std::wstring& name);
// Both at once, with a test failure when the picture could not be written.
std::wstring Screenshot(HWND window, const std::wstring& name);

}  // namespace kalvex::e2e
