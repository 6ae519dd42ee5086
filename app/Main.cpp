// Process entry of kalvex.exe: prepares COM and the toolkit with the skin
// archive stored in the executable, finds the installation, opens the log,
// moves the run into TEMP, keeps to one instance and runs the main window.
// Every path ends the process with exit code 0.
#include "app/DllSearch.h"
#include "app/InstallLocation.h"
#include "app/MainWnd.h"
#include "app/ProductNames.h"
#include "app/Relocation.h"
#include "app/RegistryHelpers.h"
#include "app/SingleInstanceLock.h"
#include "app/WriteLogFile.h"
#include "resources/ResourceIds.h"
#include "ui/core/UIManager.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <vector>

namespace {

constexpr wchar_t kSkinResourceType[] = L"ZIPRES";
constexpr int kSkinResourceId = KALVEX_SKIN_ID;
constexpr char kSkinPassword[] = "kTfWqR4m";

// Copies the skin archive out of the executable into a block that lives until
// the process ends, and hands it to the toolkit. False when it is missing.
bool RegisterSkinArchive()
{
    HINSTANCE instance = DuiLib::CUIManager::GetModuleInstance();
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(kSkinResourceId), kSkinResourceType);
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const DWORD size = SizeofResource(instance, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0)
        return false;
    auto* buffer = new unsigned char[size];
    std::memcpy(buffer, bytes, size);
    DuiLib::CUIManager::SetSkinZipFromMemory(buffer, size, kSkinPassword);
    return true;
}

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

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 0;
    DuiLib::CUIManager::SetModuleInstance(instance);
    DuiLib::CWindowWnd::SetExceptionReport(&ReportWindowException);
    if (!RegisterSkinArchive())
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
