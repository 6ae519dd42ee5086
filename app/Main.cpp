// Process entry of kalvex.exe. For now it runs the uninstall core without a
// window: it resolves the install directory, opens the log, places the
// manifest copy in TEMP as start-up does, and removes the listed files.
// FIXME: grows into the full start-up (relocation, single instance, main
// window) once the skinned windows exist.
#include "app/FileHelpers.h"
#include "app/InstallLocation.h"
#include "app/ProductNames.h"
#include "app/UninstallManifest.h"
#include "app/WriteLogFile.h"

#include <windows.h>

#include <vector>

namespace {

kalvex::CWriteLogFile g_log;

std::wstring ModuleDirectory()
{
    std::vector<wchar_t> path(kalvex::kModulePathChars, L'\0');
    GetModuleFileNameW(nullptr, path.data(), kalvex::kModulePathChars - 1);
    std::wstring text = path.data();
    return text.substr(0, text.find_last_of(L'\\') + 1);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace kalvex;
    std::wstring installDirectory = ReadInstallDirectory();
    if (!installDirectory.empty())
        installDirectory.pop_back();
    g_log.Init(installDirectory + kLogFileName, kLogLimitKb);

    const std::wstring source = ModuleDirectory() + kManifestName;
    const std::wstring target = ReadTempDirectory() + kManifestTempName;
    if (source != target && !CopyFileW(source.c_str(), target.c_str(), FALSE))
        g_log.Write(0, L"manifest copy failed, err=%ld", static_cast<long>(GetLastError()));

    RemoveManifestFiles();
    return 0;
}
