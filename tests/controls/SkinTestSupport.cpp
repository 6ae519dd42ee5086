// The test archive and the skin-built window.
#include "tests/controls/SkinTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/core/PicturePixels.h"
#include "ui/core/UIManager.h"
#include "ui/markup/LayoutBuilder.h"

namespace DuiLib {
namespace test {

namespace {

// The archive's password, as given to zip -P at build time.
constexpr char kPassword[] = "Skin-3Rn";

std::vector<BYTE> ReadBesideProgram(const wchar_t* name)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(BesideProgram(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE)
    {
        bytes.resize(size);
        if (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size)
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

}  // namespace

bool InstallSkinArchive()
{
    // Lives as long as the process, as the manager requires.
    static const std::vector<BYTE> archive = ReadBesideProgram(L"skins.zip");
    if (archive.empty())
        return false;
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    CUIManager::SetSkinZipFromMemory(archive.data(), static_cast<unsigned>(archive.size()), kPassword);
    return CUIManager::GetSkinZipHandle() != nullptr;
}

CSkinWindow::CSkinWindow(const wchar_t* skin)
{
    if (!InstallSkinArchive())
    {
        error = L"skins.zip cannot be installed";
        return;
    }
    host = MakeHost(100, 100);
    if (host == nullptr)
    {
        error = L"no window";
        return;
    }
    CLayoutBuilder builder;
    root = builder.Create(skin, nullptr, nullptr, &host->manager, nullptr);
    if (root == nullptr)
    {
        error = builder.Document().GetLastErrorMessage();
        return;
    }
    if (!host->manager.AttachRootControl(root))
    {
        root->Delete();
        root = nullptr;
        error = L"the root was refused";
        return;
    }
    // The first paint lays the tree out.
    CaptureWindow(host->GetHWND());
}

CSkinWindow::~CSkinWindow()
{
    host.reset();
    PumpMessages();
}

IControlUI* CSkinWindow::Find(const wchar_t* name)
{
    return host != nullptr ? host->manager.LocateControl(name) : nullptr;
}

RECT CSkinWindow::PlaceOf(const wchar_t* name)
{
    IControlUI* control = Find(name);
    return control != nullptr ? static_cast<RECT>(control->GetPos()) : RECT{0, 0, 0, 0};
}

WindowShot CSkinWindow::Shoot(const wchar_t* shotName)
{
    WindowShot shot = CaptureWindow(Window());
    EXPECT_TRUE(SaveShot(shot, shotName)) << "shots of " << std::string(shotName, shotName + wcslen(shotName));
    return shot;
}

void CSkinWindow::Resize(int width, int height)
{
    SetWindowPos(Window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    CaptureWindow(Window());
}

}  // namespace test
}  // namespace DuiLib
