// Helpers of the whole-skin tests: the test archive (skins.zip beside the
// program, password-protected) installed as the manager's in-memory skin,
// and a real window whose control tree the layout builder makes from one of
// its skin files.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tests/control/ControlTestSupport.h"
#include "tests/controls/ControlsTestSupport.h"
#include "ui/control/ControlUI.h"

namespace DuiLib {
namespace test {

// Installs skins.zip as the process's skin archive the first time; true
// when the manager holds it open.
bool InstallSkinArchive();

// A shown popup whose manager was given the tree built from skin, painted
// once, so laid out; the skin's "Window" attributes apply to it (its "size"
// sizes the window).
class CSkinWindow
{
public:
    explicit CSkinWindow(const wchar_t* skin);
    ~CSkinWindow();
    CSkinWindow(const CSkinWindow&) = delete;
    CSkinWindow& operator=(const CSkinWindow&) = delete;

    // True when the window exists and the build gave a root.
    bool Built() const { return root != nullptr; }
    HWND Window() const { return host->GetHWND(); }
    CUIManager& Manager() { return host->manager; }
    // The control named name, or null.
    IControlUI* Find(const wchar_t* name);
    // Where the control named name was placed; empty when there is none.
    RECT PlaceOf(const wchar_t* name);
    // Paints and captures the window, kept as shots\<shotName>.png.
    WindowShot Shoot(const wchar_t* shotName);
    // New window size, then a paint that lays the tree out again.
    void Resize(int width, int height);

    std::unique_ptr<CHostWindow> host;
    IControlUI* root = nullptr;
    // The builder's reason when the skin did not build.
    std::wstring error;
};

}  // namespace test
}  // namespace DuiLib
