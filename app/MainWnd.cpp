// Index: window procedure and creation; notifications and pages; the
// uninstall worker and its thread table; tray icon and exit routine.
#include "app/MainWnd.h"

#include "app/CaptionHitTest.h"
#include "app/MessageBoxExWnd.h"
#include "app/ProductCleanup.h"
#include "app/ProductNames.h"
#include "app/ProgressRules.h"
#include "app/Relocation.h"
#include "app/ScopedLock.h"
#include "app/UninstallManifest.h"
#include "app/WriteLogFile.h"
#include "ui/control/ControlUI.h"
#include "ui/control/ControlInterface.h"
#include "ui/markup/LayoutBuilder.h"

#include <shellapi.h>

#include <cwchar>

#ifndef KALVEX_DOWNLOAD_SERVER
#define KALVEX_DOWNLOAD_SERVER L"http://dl.velko.com"
#endif

namespace kalvex {
namespace {

std::atomic<CMainWnd*> s_mainWindow{nullptr};

constexpr wchar_t kDownloadAddress[] = KALVEX_DOWNLOAD_SERVER L"/version/velko.exe";
constexpr wchar_t kProgressImage[] = L"file='bk/unins_pro_bk.png' dest='0,0,%d,9' corner='0,0,5,0'";
constexpr UINT kMenuShowWindow = 101;
constexpr UINT kMenuExit = 100;
// How long the exit routine lets the worker finish its current deletion
// before it terminates the thread as a last resort.
constexpr DWORD kWorkerStopWaitMs = 3000;

void BringToFront(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace

void ReportWindowException(HWND)
{
    ProcessLog().Write(0, L"%ls", L"程序发生了异常");
    PostQuitMessage(0);
}

CMainWnd::CMainWnd()
{
    InitializeCriticalSection(&m_threadLock);
    s_mainWindow = this;
}

CMainWnd::~CMainWnd()
{
    StopThreads();
    s_mainWindow = nullptr;
    DeleteCriticalSection(&m_threadLock);
}

CMainWnd* CMainWnd::Instance()
{
    return s_mainWindow.load();
}

const wchar_t* CMainWnd::WindowClassName() const
{
    return kMainWindowClass;
}

UINT CMainWnd::ClassStyleBits() const
{
    return CS_DBLCLKS;
}

void CMainWnd::OnWindowDestroyed(HWND)
{
}

LRESULT CMainWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        OnSize();
        break;
    case WM_NCCALCSIZE:
        return 0;
    case WM_NCHITTEST:
        return SkinCaptionHitTest(GetHWND(), m_manager, lParam, {L"Button", L"Option", L"Combo"});
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
            return 0;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            ShowWindow(false, true);
            return 0;
        }
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        return DefWindowProcW(GetHWND(), message, wParam, lParam);
    case WM_TIMER:
        if (wParam == kProgressTimerId) {
            OnProgressTick();
            return 0;
        }
        break;
    case kTrayCallbackMessage:
        OnTrayMessage(lParam);
        return 0;
    case kUninstallDoneMessage:
        OnUninstallDone();
        return 0;
    case kInitialiseMessage:
        OnWindowInit();
        return 0;
    case kRearmProgressTimerMessage:
        ::KillTimer(GetHWND(), kProgressTimerId);
        ::SetTimer(GetHWND(), kProgressTimerId, kProgressTimerPeriodMs, nullptr);
        return 0;
    default:
        if (message == m_tray.TaskbarCreatedMessage() && message != 0)
            m_tray.ReAdd();
        break;
    }
    LRESULT result = 0;
    if (m_manager.RouteMessage(message, wParam, lParam, result))
        return result;
    return CWindowWnd::ProcessWindowMessage(message, wParam, lParam);
}

LRESULT CMainWnd::OnCreate()
{
    HWND window = GetHWND();
    LONG style = GetWindowLongW(window, GWL_STYLE);
    style &= ~(WS_CAPTION | WS_THICKFRAME);
    SetWindowLongW(window, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);

    m_manager.AttachWindow(window, nullptr);
    DuiLib::CLayoutBuilder builder;
    DuiLib::IControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &m_manager, nullptr);
    if (root == nullptr) {
        // A window with nothing in it could be neither seen nor closed: its
        // creation fails instead, and start-up ends the process.
        ProcessLog().Write(0, L"%ls", L"main.xml: the skin could not be built");
        return -1;
    }
    m_manager.AttachRootControl(root);
    m_manager.AddListener(this);
    return 0;
}

void CMainWnd::OnSize()
{
    ApplySkinRoundCorners(GetHWND(), m_manager);
}

void CMainWnd::ReceiveNotify(DuiLib::NotifyEvent& notification)
{
    if (notification.type == L"windowinit") {
        PostMessage(kInitialiseMessage);
        return;
    }
    if (notification.type != L"click" || notification.sender == nullptr)
        return;
    DuiLib::IControlUI* sender = notification.sender;
    if (sender->GetName() == L"close_btn" || (sender == m_keepButton && m_keepButton != nullptr))
        ExitRoutine();
    else if (sender == m_uninstallButton && m_uninstallButton != nullptr)
        StartUninstall();
    else if (sender == m_downloadButton && m_downloadButton != nullptr)
        ShellExecuteW(nullptr, L"open", kDownloadAddress, L"", L"", SW_SHOWNORMAL);
}

// Runs right after the first frame (see kInitialiseMessage), in the order the
// uninstaller has always followed; posted messages are taken before input,
// so all of it is done before the user can act on the window.
void CMainWnd::OnWindowInit()
{
    m_tray.Add(kWindowTitle, GetHWND());
    SetIcon(kAppIconResource);

    if (IsClientRunning()) {
        const unsigned answer = ShowMessageBoxEx(nullptr, kWindowTitle, L"Velko加速器正在运行中，确定卸载？", 1, 2,
                                                 L"确定", L"取消", 335, 255);
        if (answer != kClosedByOk) {
            // Nothing has changed yet; the icon goes first so no dead icon
            // stays behind in the notification area.
            m_tray.Remove();
            ExitProcess(0);
        }
        KillClientProcesses();
    }
    BringToFront(GetHWND());

    m_keepButton = m_manager.LocateControl(L"no_unins_btn");
    m_uninstallButton = m_manager.LocateControl(L"unins_btn");
    m_progressLabel = m_manager.LocateControl(L"pro_unins_lab");
    m_downloadButton = m_manager.LocateControl(L"ins_new_client_btn");
    if (m_keepButton == nullptr || m_uninstallButton == nullptr || m_progressLabel == nullptr ||
        m_downloadButton == nullptr)
        ProcessLog().Write(0, L"%ls", L"main.xml: a control the uninstall needs is missing");
    m_filesDone = false;
    m_shortcutDone = false;

    KillProductProcesses();
}

void CMainWnd::StartUninstall()
{
    // Without every page control the uninstall could not show its progress
    // or its end: it stays inert.
    if (m_keepButton == nullptr || m_progressLabel == nullptr || m_downloadButton == nullptr ||
        m_keepButton->GetParent() == nullptr || m_downloadButton->GetParent() == nullptr) {
        ProcessLog().Write(0, L"%ls", L"uninstall not started: the skin lacks its page controls");
        return;
    }
    m_keepButton->SetVisible(false);
    m_uninstallButton->SetVisible(false);
    m_progressLabel->SetVisible(true);
    m_progressLabel->SetTag(kProgressStart);
    TellReadersTheProgress(kProgressStart);
    ::SetTimer(GetHWND(), kProgressTimerId, kProgressTimerPeriodMs, nullptr);

    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, &CMainWnd::UninstallWorker, nullptr, 0, &id);
    if (thread != nullptr && thread != INVALID_HANDLE_VALUE)
        RegisterThread(id, thread);
}

DWORD WINAPI CMainWnd::UninstallWorker(void*)
{
    // Nothing may leave a thread entry; every step is best effort.
    try {
        CMainWnd* window = Instance();
        if (window == nullptr)
            return 0;
        // Once unregistered the worker no longer holds the window up, so its
        // last message goes through the handle, not the object.
        HWND target = window->GetHWND();
        RemoveManifestFiles(&window->m_stopRequested);
        window->m_filesDone = true;
        ::PostMessageW(target, kRearmProgressTimerMessage, 0, 0);
        if (!window->StopRequested()) {
            window->m_shortcutDone = RemoveShortcut();
            ::PostMessageW(target, kRearmProgressTimerMessage, 0, 0);
        }
        if (!window->StopRequested()) {
            DeleteUninstallKey();
            ScheduleRelocatedCopiesForRemoval();
        }
        window->UnregisterThread(GetCurrentThreadId());
        ::PostMessageW(target, kUninstallDoneMessage, 0, 0);
    } catch (...) {
    }
    return 0;
}

void CMainWnd::OnProgressTick()
{
    const unsigned width = m_progressLabel != nullptr
                               ? NextProgressWidth(static_cast<unsigned>(m_progressLabel->GetTag()), m_filesDone,
                                                   m_shortcutDone)
                               : 0;
    if (width == 0) {
        ::KillTimer(GetHWND(), kProgressTimerId);
        return;
    }
    m_progressLabel->SetTag(width);
    wchar_t image[256] = {};
    swprintf(image, 256, kProgressImage, static_cast<int>(width));
    m_progressLabel->ApplyAttribute(L"bkimage", image);
    TellReadersTheProgress(width);
}

void CMainWnd::TellReadersTheProgress(unsigned width)
{
    // The bar is only an image growing behind the label; a screen reader
    // hears the label as a progress bar with the share done.
    if (auto* label = static_cast<DuiLib::CControlUI*>(m_progressLabel->CastTo(L"Control"))) {
        wchar_t percent[16] = {};
        swprintf(percent, 16, L"%u%%", width * 100 / kProgressEnd);
        label->SetAccessProgress(percent);
    }
}

void CMainWnd::OnUninstallDone()
{
    if (m_keepButton == nullptr || m_downloadButton == nullptr)
        return;
    if (DuiLib::IControlUI* confirmPage = m_keepButton->GetParent())
        confirmPage->SetVisible(false);
    if (DuiLib::IControlUI* finishedPage = m_downloadButton->GetParent())
        finishedPage->SetVisible(true);
}

void CMainWnd::ShowFromTray()
{
    ShowWindow(true, true);
    BringToFront(GetHWND());
    SetForegroundWindow(GetHWND());
}

void CMainWnd::OnTrayMessage(LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        ShowFromTray();
        break;
    case WM_RBUTTONDOWN: {
        HMENU menu = CreatePopupMenu();
        if (menu == nullptr)
            break;
        AppendMenuW(menu, MF_STRING, kMenuShowWindow, L"显示窗口");
        AppendMenuW(menu, MF_STRING, kMenuExit, L"退出程序");
        SetForegroundWindow(GetHWND());
        POINT cursor = {};
        GetCursorPos(&cursor);
        const UINT command = static_cast<UINT>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, GetHWND(), nullptr));
        DestroyMenu(menu);
        if (command == kMenuShowWindow)
            ShowFromTray();
        else if (command == kMenuExit)
            ExitRoutine();
        break;
    }
    default:
        break;
    }
}

void CMainWnd::ExitRoutine()
{
    // The worker hears the request at once: hiding the window and taking the
    // tray icon away talk to the shell and can take seconds.
    m_stopRequested = true;
    ShowWindow(false, true);
    m_tray.Remove();
    StopThreads();
    Close(0);
}

void CMainWnd::RegisterThread(DWORD id, HANDLE handle)
{
    CScopedLock lock(&m_threadLock);
    m_threads[id] = handle;
}

void CMainWnd::UnregisterThread(DWORD id)
{
    CScopedLock lock(&m_threadLock);
    auto entry = m_threads.find(id);
    if (entry == m_threads.end())
        return;
    CloseHandle(entry->second);
    m_threads.erase(entry);
}

void CMainWnd::StopThreads()
{
    // The table is taken over under the lock and waited on outside it: the
    // worker needs the lock to unregister itself on its way out.
    std::map<DWORD, HANDLE> threads;
    {
        CScopedLock lock(&m_threadLock);
        threads.swap(m_threads);
    }
    m_stopRequested = true;
    for (const auto& entry : threads) {
        // Killing a thread inside the shell's file operation could leave its
        // locks held; it gets a bounded time to stop between deletions first.
        if (WaitForSingleObject(entry.second, kWorkerStopWaitMs) != WAIT_OBJECT_0) {
            ProcessLog().Write(0, L"%ls", L"the uninstall worker did not stop in time; it was terminated");
            TerminateThread(entry.second, 0);
        }
        CloseHandle(entry.second);
    }
}

}  // namespace kalvex
