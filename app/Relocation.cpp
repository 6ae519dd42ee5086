#include "app/Relocation.h"

#include "app/FileHelpers.h"
#include "app/MessageBoxExWnd.h"
#include "app/ProductNames.h"
#include "app/StringHelpers.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <vector>

namespace kalvex {

bool IsRelocatedCopy(const std::wstring& modulePath, const std::wstring& tempDirectory)
{
    return modulePath.find(tempDirectory) != std::wstring::npos;
}

bool RelocateToTemp(wchar_t* message, int capacity)
{
    const std::wstring tempDirectory = ReadTempDirectory();

    std::vector<wchar_t> module(kModulePathChars, L'\0');
    GetModuleFileNameW(nullptr, module.data(), kModulePathChars - 1);
    const std::wstring modulePath = module.data();
    if (IsRelocatedCopy(modulePath, tempDirectory))
        return true;

    const std::wstring copyTarget = tempDirectory + kSelfCopyName;
    if (!CopyFileW(modulePath.c_str(), copyTarget.c_str(), FALSE)) {
        swprintf(message, static_cast<size_t>(capacity), L"复制到缓存目录失败,err=%ld",
                 static_cast<long>(GetLastError()));
        return false;
    }

    std::vector<std::wstring> pieces;
    SplitString(modulePath, L"\\", pieces);
    const std::wstring moduleDirectory =
        modulePath.substr(0, modulePath.size() - (pieces.empty() ? 0 : pieces.back().size()));
    const std::wstring manifestSource = moduleDirectory + kManifestName;
    const std::wstring manifestTarget = tempDirectory + kManifestTempName;
    if (!FileExists(manifestSource.c_str())) {
        std::vector<wchar_t> text(kPathChars, L'\0');
        swprintf(text.data(), kPathChars, L"文件[%ls]不存在，无法卸载", manifestSource.c_str());
        ShowMessageBoxEx(nullptr, kWindowTitle, text.data(), 1, 1, L"确定", L"取消", 335, 255);
        return false;
    }
    CopyFileW(manifestSource.c_str(), manifestTarget.c_str(), FALSE);
    // The copy starts in TEMP: inheriting the installation folder as its
    // working folder would keep that folder busy and undeletable.
    ShellExecuteW(nullptr, L"open", copyTarget.c_str(), nullptr, tempDirectory.c_str(), SW_SHOWNORMAL);
    ExitProcess(0);
}

bool BringRunningInstanceForward()
{
    HWND window = FindWindowW(kMainWindowClass, kWindowTitle);
    if (window == nullptr)
        return false;
    ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

}  // namespace kalvex
