// Child processes, PNG reading (stb_image, as the toolkit decodes), window
// lookup and tree copies for the skin viewer tests.
#include "tests/skinview/SkinViewTestSupport.h"

#include "stb_image.h"
#include "tests/app/TestSupport.h"

namespace skinview::test {

std::wstring ViewerProgram()
{
    return kalvex::test::BesideTestProgram(L"..\\..\\tools\\skinview\\skinview.exe");
}

std::wstring UninstallerProgram()
{
    return kalvex::test::BesideTestProgram(L"..\\..\\app\\kalvex.exe");
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

CViewerRun::CViewerRun(const std::wstring& arguments, const std::wstring& errorFile) : m_errorFile(errorFile)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE errors = CreateFileW(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (errors == INVALID_HANDLE_VALUE)
        return;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = errors;
    startup.hStdError = errors;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = Quoted(ViewerProgram()) + L" " + arguments;
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &process))
    {
        CloseHandle(process.hThread);
        m_process = process.hProcess;
        m_processId = process.dwProcessId;
    }
    CloseHandle(errors);
}

CViewerRun::~CViewerRun()
{
    if (m_process == nullptr)
        return;
    if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0)
    {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

long CViewerRun::Wait(DWORD ms)
{
    if (m_process == nullptr)
        return -1;
    if (WaitForSingleObject(m_process, ms) != WAIT_OBJECT_0)
    {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return static_cast<long>(code);
}

std::string CViewerRun::Errors() const
{
    return kalvex::test::ReadFileBytes(m_errorFile);
}

long RunViewer(const std::wstring& arguments, std::string& errors)
{
    const std::wstring errorFile = kalvex::test::TempDirectory() + L"\\skinview_errors_" +
                                   std::to_wstring(GetCurrentProcessId()) + L".txt";
    long code = -1;
    {
        CViewerRun run(arguments, errorFile);
        code = run.Wait(30000);
        errors = run.Errors();
    }
    DeleteFileW(errorFile.c_str());
    return code;
}

bool ReadPicture(const std::wstring& path, Picture& picture)
{
    const std::string bytes = kalvex::test::ReadFileBytes(path);
    int channels = 0;
    stbi_uc* rgba = bytes.empty() ? nullptr
                                  : stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                                          static_cast<int>(bytes.size()), &picture.width,
                                                          &picture.height, &channels, 4);
    if (rgba == nullptr)
        return false;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
    {
        const stbi_uc* p = rgba + i * 4;
        picture.pixels[i] = (DWORD(p[3]) << 24) | (DWORD(p[0]) << 16) | (DWORD(p[1]) << 8) | p[2];
    }
    stbi_image_free(rgba);
    return true;
}

bool SameColour(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance)
            return false;
    }
    return true;
}

bool WaitFor(DWORD ms, const std::function<bool()>& check)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;)
    {
        if (check())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        MSG message = {};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

namespace {

struct WindowSearch
{
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchViewerWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    wchar_t name[64] = {};
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    GetClassNameW(window, name, 64);
    if (owner != search->pid || wcscmp(name, L"KalvexSkinView") != 0 || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindViewerWindow(DWORD pid)
{
    WindowSearch search = {pid, nullptr};
    EnumWindows(&MatchViewerWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowTitle(HWND window)
{
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return title;
}

bool CopyTree(const std::wstring& from, const std::wstring& to)
{
    if (!CreateDirectoryW(to.c_str(), nullptr))
        return false;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool copied = true;
    do
    {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            copied = CopyTree(from + L"\\" + name, to + L"\\" + name) && copied;
        else
            copied = CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) && copied;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return copied;
}

}  // namespace skinview::test
