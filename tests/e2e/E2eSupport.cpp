#include "tests/e2e/E2eSupport.h"

#include "resources/ResourceIds.h"
#include "ui/control/ControlInterface.h"
#include "ui/core/UIManager.h"
#include "ui/markup/LayoutBuilder.h"
#include "ui/render/PngWriter.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <unordered_set>

namespace kalvex::e2e {
namespace {

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring WithoutTrailingBackslash(std::wstring path)
{
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring ImagePath(HANDLE process)
{
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = static_cast<DWORD>(std::size(path));
    return QueryFullProcessImageNameW(process, 0, path, &size) ? std::wstring(path, size) : std::wstring();
}

}  // namespace

// ---- Files and registry -------------------------------------------------

std::wstring ProgramFilesDirectory()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

namespace {

void AddTree(const std::wstring& base, const std::wstring& relative, std::vector<std::wstring>& entries)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((base + relative + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        entries.push_back(relative + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddTree(base, relative + name + L"\\", entries);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<std::wstring> ListTree(const std::wstring& directory)
{
    std::vector<std::wstring> entries;
    AddTree(directory, std::wstring(), entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::string Utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], size, nullptr, nullptr);
    return bytes;
}

bool UninstallKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring UninstallValue(const wchar_t* name)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::wstring();
    return value;
}

CSampleProduct::CSampleProduct()
    : m_directory(ProgramFilesDirectory() + L"\\velko\\"),
      m_neighbourFile(ProgramFilesDirectory() + L"\\velko-e2e-neighbour\\settings.ini")
{
    // A run that was killed half-way may have left the product behind.
    RemoveTree(m_directory);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
    WriteFileBytes(m_neighbourFile, "the user's own settings");
}

CSampleProduct::~CSampleProduct()
{
    if (!m_shortcut.empty())
        DeleteFileW(m_shortcut.c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
    RemoveTree(m_directory);
    RemoveTree(m_neighbourFile.substr(0, m_neighbourFile.rfind(L'\\')));
}

bool CSampleProduct::Install()
{
    const std::wstring setup = BesideTestProgram(L"velko_setup_sample.exe");
    if (!PathExists(setup)) {
        ADD_FAILURE() << "installer not built beside the test program";
        return false;
    }
    const long code = test::RunProcess(setup, L"/S", 60000);
    if (code != 0) {
        ADD_FAILURE() << "the sample installer ended with " << code;
        return false;
    }
    m_shortcut = UninstallValue(L"DisplayShortcut");
    const bool laidOut = PathExists(Uninstaller()) && PathExists(m_directory + L"kalvex.dat") &&
                         PathExists(m_directory + L"user_notes.txt") && !m_shortcut.empty() &&
                         PathExists(m_shortcut);
    if (!laidOut)
        ADD_FAILURE() << "the installer did not lay out the product, its shortcut and its uninstall entry";
    return laidOut;
}

const std::vector<std::wstring>& CSampleProduct::ManifestEntries()
{
    // The top-level entries of the sample's staging folder
    // (tests/app/MakeSampleStaging.cmake) and the kit's two files.
    static const std::vector<std::wstring> entries = {
        L"velko.exe", L"core.dll", L"\u8bf4\u660e.txt", L"bin", L"\u6570\u636e", L"kalvex.dat", L"kalvex.exe"};
    return entries;
}

// ---- Processes ----------------------------------------------------------

CProcessSet::~CProcessSet()
{
    for (HANDLE process : m_processes) {
        if (IsRunning(process)) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

HANDLE CProcessSet::Track(HANDLE process)
{
    if (process != nullptr)
        m_processes.push_back(process);
    return process;
}

HANDLE CProcessSet::StartClean(const std::wstring& exe, const std::wstring& temp)
{
    // What a freshly logged-on user's programs see, and nothing of the test
    // program's own environment, so TEMP is the only deliberate difference.
    static const wchar_t* const kKept[] = {
        L"ALLUSERSPROFILE", L"APPDATA", L"COMPUTERNAME", L"ComSpec", L"HOMEDRIVE", L"HOMEPATH", L"LOCALAPPDATA",
        L"PATH", L"PATHEXT", L"ProgramData", L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432",
        L"PUBLIC", L"SystemDrive", L"SystemRoot", L"USERNAME", L"USERPROFILE", L"windir",
        // Under Wine a program's locale (and with it the default GUI font)
        // comes from these; the test run sets a Chinese one, as the
        // product's users have.
        L"LANG", L"LC_ALL"};
    std::vector<std::wstring> variables;
    for (const wchar_t* name : kKept) {
        wchar_t value[4096] = {};
        const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
        if (length > 0 && length < std::size(value))
            variables.push_back(std::wstring(name) + L"=" + value);
    }
    const std::wstring tempValue = WithoutTrailingBackslash(temp);
    variables.push_back(L"TEMP=" + tempValue);
    variables.push_back(L"TMP=" + tempValue);
    std::sort(variables.begin(), variables.end(),
              [](const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) < 0; });
    std::wstring block;
    for (const std::wstring& variable : variables)
        block += variable + L'\0';
    block += L'\0';

    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring directory = exe.substr(0, exe.rfind(L'\\'));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        &block[0], directory.c_str(), &startup, &info)) {
        ADD_FAILURE() << "could not start the program, error " << GetLastError();
        return nullptr;
    }
    CloseHandle(info.hThread);
    return Track(info.hProcess);
}

HANDLE CProcessSet::StartStandIn(const std::wstring& folder, const std::wstring& name)
{
    static int serial = 0;
    const std::wstring directory = WithoutTrailingBackslash(folder) + L"\\standin" + std::to_wstring(++serial);
    CreateDirectoryW(directory.c_str(), nullptr);
    const std::wstring exe = directory + L"\\" + name;
    if (!CopyFileW(BesideTestProgram(L"test_sleeper.exe").c_str(), exe.c_str(), FALSE)) {
        ADD_FAILURE() << "could not copy the stand-in program";
        return nullptr;
    }
    return Start(exe);
}

HANDLE CProcessSet::Start(const std::wstring& exe)
{
    HANDLE process = test::StartProcess(exe, L"");
    if (process == nullptr)
        ADD_FAILURE() << "could not start a stand-in, error " << GetLastError();
    return Track(process);
}

HANDLE CProcessSet::WaitForProcessByPath(const std::wstring& exePath, DWORD timeoutMs)
{
    const std::wstring fileName = exePath.substr(exePath.rfind(L'\\') + 1);
    std::unordered_set<DWORD> known;
    for (HANDLE process : m_processes)
        known.insert(GetProcessId(process));
    HANDLE found = nullptr;
    WaitUntil(
        [&] {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            if (snapshot == INVALID_HANDLE_VALUE)
                return false;
            PROCESSENTRY32W entry = {};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot, &entry); more && found == nullptr;
                 more = Process32NextW(snapshot, &entry)) {
                if (known.count(entry.th32ProcessID) || !SameText(entry.szExeFile, fileName))
                    continue;
                HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE,
                                             FALSE, entry.th32ProcessID);
                if (process == nullptr)
                    continue;
                if (SameText(ImagePath(process), exePath))
                    found = process;
                else
                    CloseHandle(process);
            }
            CloseHandle(snapshot);
            return found != nullptr;
        },
        timeoutMs);
    return Track(found);
}

long WaitForExitCode(HANDLE process, DWORD timeoutMs)
{
    DWORD code = 0;
    if (process == nullptr || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process, &code))
        return -1;
    return static_cast<long>(code);
}

bool IsRunning(HANDLE process)
{
    return process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

DWORD ProcessIdOf(HANDLE process)
{
    return process != nullptr ? GetProcessId(process) : 0;
}

// ---- Windows and input ---------------------------------------------------

namespace {

struct WindowQuery {
    const wchar_t* className;
    const wchar_t* title;  // null: any title
    DWORD pid;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    wchar_t className[64] = {};
    wchar_t title[128] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (wcscmp(className, query->className) != 0 || (query->title != nullptr && wcscmp(title, query->title) != 0) ||
        (query->pid != 0 && owner != query->pid) || (query->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    query->found = window;
    return FALSE;
}

HWND FindTopLevel(const wchar_t* className, const wchar_t* title, DWORD pid, bool visibleOnly)
{
    WindowQuery query = {className, title, pid, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void SendOne(INPUT input)
{
    SendInput(1, &input, sizeof input);
    // Let the target's thread take the message before the next one comes.
    Sleep(30);
}

INPUT MouseInput(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    return input;
}

INPUT KeyInput(WORD key, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

void BringForward(HWND window)
{
    SetForegroundWindow(window);
    WaitUntil([&] { return GetForegroundWindow() == window; }, 1000);
}

}  // namespace

HWND FindAppWindow(const wchar_t* className, DWORD pid, bool visibleOnly)
{
    return FindTopLevel(className, kWindowTitle, pid, visibleOnly);
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD pid, DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopLevel(className, title, pid, true)) != nullptr; }, timeoutMs);
    return window;
}

HWND WaitForAppWindow(const wchar_t* className, DWORD pid, DWORD timeoutMs)
{
    return WaitForWindow(className, kWindowTitle, pid, timeoutMs);
}

bool WaitUntilHidden(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

HWND WaitForPopupMenu(DWORD pid, DWORD timeoutMs)
{
    return WaitForWindow(L"#32768", nullptr, pid, timeoutMs);
}

SIZE WindowSize(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

bool MovePointerTo(POINT screen)
{
    // Absolute SendInput coordinates run from 0 to 65535 over the primary
    // screen; round up so the pointer lands on the pixel asked for.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const LONG dx = static_cast<LONG>((screen.x * 65536 + width - 1) / width);
    const LONG dy = static_cast<LONG>((screen.y * 65536 + height - 1) / height);
    SendOne(MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy));
    return WaitUntil(
        [&] {
            POINT at = {};
            return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
        },
        1000);
}

bool ClickAt(HWND window, POINT offset)
{
    BringForward(window);
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (!MovePointerTo(POINT{rect.left + offset.x, rect.top + offset.y}))
        return false;
    // A moment over the target first, as a hand would: the control under the
    // pointer takes its hot state before the button goes down.
    Sleep(100);
    SendOne(MouseInput(MOUSEEVENTF_LEFTDOWN));
    Sleep(50);
    SendOne(MouseInput(MOUSEEVENTF_LEFTUP));
    return true;
}

void PressKeys(HWND window, std::initializer_list<WORD> keys)
{
    BringForward(window);
    for (WORD key : keys)
        SendOne(KeyInput(key, 0));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        SendOne(KeyInput(*key, KEYEVENTF_KEYUP));
}

// ---- The skin's layout -------------------------------------------------------

RECT MainSkinLayout::Control(const wchar_t* name) const
{
    for (const auto& control : controls)
        if (control.first == name)
            return control.second;
    return RECT{0, 0, 0, 0};
}

bool LayOutMainSkin(const std::wstring& exe, const std::vector<std::wstring>& names, MainSkinLayout& layout)
{
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module != nullptr ? FindResourceW(module, MAKEINTRESOURCEW(KALVEX_SKIN_ID), L"ZIPRES") : nullptr;
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
    if (loaded == nullptr || size == 0) {
        ADD_FAILURE() << "no skin archive in kalvex.exe";
        if (module != nullptr)
            FreeLibrary(module);
        return false;
    }
    // The toolkit keeps the archive for the life of the process, as start-up
    // hands it over.
    static std::vector<BYTE> archive;
    archive.assign(static_cast<const BYTE*>(LockResource(loaded)), static_cast<const BYTE*>(LockResource(loaded)) + size);
    FreeLibrary(module);
    DuiLib::CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    DuiLib::CUIManager::SetSkinZipFromMemory(archive.data(), size, "kTfWqR4m");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KalvexE2eSkinLayout";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    bool built = false;
    {
        DuiLib::CUIManager manager;
        manager.AttachWindow(window, nullptr);
        DuiLib::CLayoutBuilder builder;
        DuiLib::IControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &manager, nullptr);
        if (root != nullptr && manager.AttachRootControl(root)) {
            // The skin's "size" has resized the window; lay the tree out in it.
            RECT client = {};
            GetClientRect(window, &client);
            layout.window = SIZE{client.right, client.bottom};
            root->PlaceAt(client, false);
            layout.controls.clear();
            for (const std::wstring& name : names) {
                DuiLib::IControlUI* control = manager.LocateControl(name.c_str());
                layout.controls.emplace_back(name, control != nullptr ? RECT(control->GetPos()) : RECT{0, 0, 0, 0});
            }
            built = true;
        }
    }
    DestroyWindow(window);
    if (!built)
        ADD_FAILURE() << "main.xml could not be built from the skin archive";
    return built;
}

// ---- Screenshots -----------------------------------------------------------

size_t CShot::DistinctColours() const
{
    std::unordered_set<DWORD> colours;
    for (DWORD pixel : pixels)
        colours.insert(pixel & 0x00FFFFFF);
    return colours.size();
}

CShot CaptureWindow(HWND window)
{
    CShot shot;
    RECT rect = {};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return shot;
    shot.width = rect.right - rect.left;
    shot.height = rect.bottom - rect.top;
    shot.pixels.assign(static_cast<size_t>(shot.width) * shot.height, 0);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // What the user sees: the screen itself, layered windows included.
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    std::copy_n(static_cast<const DWORD*>(bits), shot.pixels.size(), shot.pixels.begin());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

std::wstring SavePng(const CShot& shot, const std::wstring& name)
{
    if (shot.width <= 0 || shot.height <= 0)
        return std::wstring();
    const std::wstring folder = BesideTestProgram(L"shots");
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name + L".png";

    // The screen has no alpha: the pixels are written as opaque RGB.
    const bool saved = DuiLib::WritePng(shot.pixels.data(), shot.width, shot.height, shot.width * 4,
                                        DuiLib::PixelAlpha::Ignored, path.c_str());
    return saved ? path : std::wstring();
}

std::wstring Screenshot(HWND window, const std::wstring& name)
{
    const std::wstring path = SavePng(CaptureWindow(window), name);
    EXPECT_FALSE(path.empty()) << "screenshot " << std::string(name.begin(), name.end()) << " not written";
    return path;
}

}  // namespace kalvex::e2e
