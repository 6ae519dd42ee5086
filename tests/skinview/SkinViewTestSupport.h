// Helpers of the skin viewer tests: skinview.exe run as a child process with
// its standard error kept in a file, its PNG pictures read back, its live
// window found, and waiting for what a test expects with a time limit.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace skinview::test {

// The built skinview.exe, and the built kalvex.exe whose skin it shows.
std::wstring ViewerProgram();
std::wstring UninstallerProgram();
// text in double quotes, as one command-line argument.
std::wstring Quoted(const std::wstring& text);

// One run of skinview.exe; its standard output and error go to errorFile.
// A process still running when the object goes is terminated.
class CViewerRun
{
public:
    CViewerRun(const std::wstring& arguments, const std::wstring& errorFile);
    ~CViewerRun();
    CViewerRun(const CViewerRun&) = delete;
    CViewerRun& operator=(const CViewerRun&) = delete;

    bool Started() const { return m_process != nullptr; }
    DWORD ProcessId() const { return m_processId; }
    // The exit code once the process has ended within ms; -1 when it has not
    // (it is terminated then) or never started.
    long Wait(DWORD ms);
    // What it has written so far.
    std::string Errors() const;

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    std::wstring m_errorFile;
};

// Runs skinview.exe with arguments to its end (30 s at most, else -1) and
// answers its exit code, with what it wrote in errors.
long RunViewer(const std::wstring& arguments, std::string& errors);

// A PNG file's pixels as straight 0xAARRGGBB, top row first.
struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// False when the file cannot be read or decoded.
bool ReadPicture(const std::wstring& path, Picture& picture);
// True when every colour channel of a and b (0x..RRGGBB) differs by at most
// tolerance.
bool SameColour(DWORD a, DWORD b, int tolerance);

// Answers check's first true within ms, pumping this thread's messages
// between tries; false when the time ran out.
bool WaitFor(DWORD ms, const std::function<bool()>& check);
// The visible viewer window of process pid, or null.
HWND FindViewerWindow(DWORD pid);
std::wstring WindowTitle(HWND window);
// Copies the folder tree from to the new folder to (files and folders only).
bool CopyTree(const std::wstring& from, const std::wstring& to);

}  // namespace skinview::test
