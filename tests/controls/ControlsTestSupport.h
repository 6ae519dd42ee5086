// Helpers of the standard-control tests: pictures of real windows read back
// into memory and kept as PNG files beside the test program, solid-colour
// image files, a floating-control tree builder that configures each
// control through its attribute list, as the layout builder does, and a
// window that hosts such a tree and records its notifications.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/control/ControlTestSupport.h"
#include "ui/control/ContainerUI.h"

namespace DuiLib {
namespace test {

// The client area of a window as 0x00RRGGBB pixels, top row first.
struct WindowShot
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    DWORD Rgb(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFF; }
    // True when some pixel of rect differs from background by more than
    // tolerance in any channel.
    bool HasInk(const RECT& rect, DWORD background, int tolerance = 40) const;
    // The smallest rectangle holding every such pixel within rect; empty
    // when there is none.
    RECT InkBounds(const RECT& rect, DWORD background, int tolerance = 40) const;
    // True when some pixel of rect is color within tolerance.
    bool HasColor(const RECT& rect, DWORD color, int tolerance = 8) const;
    // The smallest rectangle holding every such pixel within rect; empty
    // when there is none.
    RECT ColorBounds(const RECT& rect, DWORD color, int tolerance = 8) const;

private:
    // The smallest rectangle holding every pixel of rect for which
    // matches(rgb) answers true; empty when there is none.
    template <class Matches>
    RECT Bounds(const RECT& rect, Matches matches) const;
};

// Pixels of rect that differ between two shots of one window.
int DifferingPixels(const WindowShot& a, const WindowShot& b, const RECT& rect);

enum class Repaint
{
    Whole,    // the whole client area is painted afresh first
    Invalid,  // only what the window itself left invalid is painted
};

// Paints window now and copies its client area from the screen. With
// Repaint::Invalid the shot shows what a user sees, stale parts included.
WindowShot CaptureWindow(HWND window, Repaint repaint = Repaint::Whole);

// Copies rect of the screen (screen coordinates), pop-ups included.
WindowShot CaptureScreen(const RECT& rect);

// Writes shot as shots\<name>.png beside the test program; false on failure.
bool SaveShot(const WindowShot& shot, const wchar_t* name);

// A solid width x height bitmap file of rgb (0x00RRGGBB) in the temporary
// folder; the image description naming it, "file='<path>'".
std::wstring SolidImage(const wchar_t* fileName, DWORD rgb, int width = 8, int height = 8);

// Adds control to parent floating at pos ("l,t,r,b") and applies attributes
// (name="value" items) to it; returns control.
template <class Control>
Control* AddFloating(CContainerUI& parent, Control* control, const wchar_t* pos, const wchar_t* attributes)
{
    const std::wstring placement = std::wstring(L"float=\"true\" pos=\"") + pos + L"\"";
    control->ApplyAttributeText(placement.c_str());
    control->ApplyAttributeText(attributes);
    parent.Add(control);
    return control;
}

// Width of text in the manager's font of index font, as GDI measures it.
int TextWidth(CUIManager& manager, int font, const wchar_t* text);

// A real window whose root is a plain light grey container, with a recorder
// listening to its manager; tests add their controls floating (AddFloating).
class CFloatingHost
{
public:
    // host is null when the window cannot be made.
    CFloatingHost(int width, int height);
    ~CFloatingHost();

    HWND Window() const { return host->GetHWND(); }
    // Lays the tree out and paints it, as the first WM_PAINT does, and
    // forgets the notifications so far.
    void Show();
    // Posts a mouse message at client (x, y) with wParam and handles it.
    void Mouse(UINT message, int x, int y, WPARAM wParam = 0);

    std::unique_ptr<CHostWindow> host;
    CContainerUI* root = nullptr;  // owned by the manager
    CNotifyRecorder recorder;
};

}  // namespace test
}  // namespace DuiLib
