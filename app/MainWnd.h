// The uninstaller's main window: a borderless skinned window built from
// "main.xml" with a confirmation page, a progress page driven by the uninstall
// worker thread, and a finished page; plus its tray icon.
//
// Threads: the worker only deletes, sets its two done flags, asks the window
// to re-arm the progress timer and posts the completion message. The thread
// table is guarded by m_threadLock; the exit routine takes the table over
// under the lock and waits for the worker outside it.
#pragma once

#include "app/TrayIcon.h"
#include "ui/core/Notify.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

#include <windows.h>

#include <atomic>
#include <map>

namespace kalvex {

inline constexpr UINT kProgressTimerId = 4098;
inline constexpr UINT kProgressTimerPeriodMs = 10;
inline constexpr UINT kUninstallDoneMessage = WM_USER + 1005;
// Private: the worker asks the window's own thread to re-arm the progress
// timer, since a timer of another thread's window cannot be set from here.
inline constexpr UINT kRearmProgressTimerMessage = WM_USER + 1006;
// Private: "windowinit" arrives inside the first paint; the initialisation it
// starts (tray icon, running-client check, bring to front, termination list)
// runs from the message queue right after that frame, ahead of any input,
// instead of holding the first frame up.
inline constexpr UINT kInitialiseMessage = WM_USER + 1007;

// The application's answer to an exception that escaped a window's handler:
// logs "程序发生了异常" and ends every modal run, so start-up cleans up and
// the process ends with 0 instead of going on half handled.
void ReportWindowException(HWND window);

class CMainWnd : public DuiLib::CWindowWnd, public DuiLib::INotifyUI {
public:
    CMainWnd();
    ~CMainWnd();

    const wchar_t* WindowClassName() const override;
    UINT ClassStyleBits() const override;
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowDestroyed(HWND window) override;
    virtual void OnSize();
    void ReceiveNotify(DuiLib::NotifyEvent& notification) override;

    // The one main window of the process, or null; the worker reaches the
    // window only through this.
    static CMainWnd* Instance();

private:
    static DWORD WINAPI UninstallWorker(void*);

    LRESULT OnCreate();
    void OnWindowInit();
    void StartUninstall();
    void OnProgressTick();
    // Gives the progress label the share a bar of width shows, for readers.
    void TellReadersTheProgress(unsigned width);
    void OnUninstallDone();
    void OnTrayMessage(LPARAM mouseMessage);
    void ShowFromTray();
    void ExitRoutine();
    void RegisterThread(DWORD id, HANDLE handle);
    void UnregisterThread(DWORD id);
    void StopThreads();
    bool StopRequested() const { return m_stopRequested.load(); }

    DuiLib::CUIManager m_manager;
    CTrayIcon m_tray;
    CRITICAL_SECTION m_threadLock;
    std::map<DWORD, HANDLE> m_threads;
    DuiLib::IControlUI* m_keepButton = nullptr;
    DuiLib::IControlUI* m_uninstallButton = nullptr;
    DuiLib::IControlUI* m_progressLabel = nullptr;
    DuiLib::IControlUI* m_downloadButton = nullptr;
    std::atomic<bool> m_filesDone{false};
    std::atomic<bool> m_shortcutDone{false};
    std::atomic<bool> m_stopRequested{false};
};

}  // namespace kalvex
