// Process entry of kalvex.exe: prepares COM and the toolkit with the skin
// archive stored in the executable, finds the installation, opens the log,
// moves the run into TEMP, keeps to one instance and runs the main window.
// Every path ends the process with exit code 0.
#include "app/DllSearch.h"
#include "app/InstallLocation.h"
#include "app/MainWnd.h"
#include "app/ProductNames.h"
#include "app/ProductSkin.h"
#include "app/Relocation.h"
#include "app/RegistryHelpers.h"
#include "app/SingleInstanceLock.h"
#include "app/WriteLogFile.h"
#include "ui/core/UIManager.h"

#include <windows.h>
#include <objbase.h>

#include <vector>

namespace {

void RunMainWindow()
{
    kalvex::CMainWnd window;
    // A window whose skin could not be built is never created (it has said
    // so in the log): there is nothing to run.
    if (window.Create(nullptr, kalvex::kWindowTitle, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                      0) == nullptr)
        return;
    window.CentreOnOwner();
    window.RunModal();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace kalvex;
    // The relocated copy runs elevated from the user-writable TEMP folder:
    // libraries must come from the system folder, never from beside it.
    RestrictDllSearchToSystem();

    DuiLib::CUIManager::SetModuleInstance(instance);
    DuiLib::CWindowWnd::SetExceptionReport(&ReportWindowException);
    if (!RegisterProductSkin(instance))
        return 0;
    SetBrowserEmulation(8000);

    std::wstring installDirectory = ReadInstallDirectory();
    if (!installDirectory.empty())
        installDirectory.pop_back();
    ProcessLog().Init(installDirectory + kLogFileName, kLogLimitKb);

    std::vector<wchar_t> message(kPathChars, L'\0');
    if (!RelocateToTemp(message.data(), kPathChars - 1)) {
        ProcessLog().Write(0, L"%ls", message.data());
        // The usual cause is a running first instance whose TEMP copy cannot
        // be overwritten: show the user that instance instead of nothing.
        BringRunningInstanceForward();
        return 0;
    }
    // COM serves only the window, so the start from the installation folder,
    // which ends above, does not pay for it: under Wine it loads the display
    // driver and visual styles.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 0;

    CSingleInstanceLock instanceLock;
    instanceLock.Create(kSingleInstanceName);
    if (instanceLock.AlreadyExists() && BringRunningInstanceForward())
        return 0;

    try {
        RunMainWindow();
    } catch (...) {
        ProcessLog().Write(0, L"%ls", L"程序发生了异常");
    }
    CoUninitialize();
    return 0;
}
