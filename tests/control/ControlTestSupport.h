// Helpers of the control tests: a real window whose manager gets every
// message (alone or with a root control), a notification recorder, a
// readable 32-bit drawing surface and the capture of a window into one,
// rectangle and pixel checks, a small bitmap file made at run time, and a
// control that leaves a counting tombstone behind when it is deleted.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ui/control/ControlUI.h"
#include "ui/core/Notify.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

namespace DuiLib {
namespace test {

// A shown popup window that hands every message to its manager first.
class CHostWindow : public CWindowWnd
{
public:
    const wchar_t* WindowClassName() const override { return L"KalvexControlTestHost"; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CUIManager manager;
};

// A host of width x height client pixels at (100, 100), shown without
// activation and then brought forward; null when it cannot be made.
std::unique_ptr<CHostWindow> MakeHost(int width, int height);

// Handles every message waiting for this thread, with the managers'
// pre-translation, as the application's message loop does.
void PumpMessages();

// Waits up to timeoutMs, pumping messages, until done() answers true.
template <class Predicate>
bool PumpUntil(Predicate done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done())
    {
        if (GetTickCount() - start > timeoutMs)
            return false;
        PumpMessages();
        Sleep(1);
    }
    return true;
}

// Sends window one wheel notch at client (x, y), after giving it the focus
// (the wheel reaches controls only then); down turns toward the user.
void SendWheel(HWND window, int x, int y, bool down);

// A new control (not owned here) of fixed width and height; 0 leaves that
// extent free.
CControlUI* Fixed(int width, int height);

// The window's pending update rectangle; empty when nothing is invalid.
RECT PendingUpdate(HWND window);

// A control of type Root (made here, owned by the manager) as a real
// window's root; host is null when the window cannot be made.
template <class Root>
class CRootWindow
{
public:
    CRootWindow(int width, int height)
    {
        host = MakeHost(width, height);
        if (host == nullptr)
            return;
        layout = new Root();
        host->manager.AttachRootControl(layout);
    }
    ~CRootWindow()
    {
        host.reset();
        PumpMessages();
    }
    HWND Window() const { return host->GetHWND(); }
    // Paints the whole client area now, laying out what asked for it.
    void PaintNow()
    {
        RedrawWindow(host->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    }
    // New client size, then a paint that lays the tree out.
    void Resize(int width, int height)
    {
        SetWindowPos(host->GetHWND(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PaintNow();
    }

    std::unique_ptr<CHostWindow> host;
    Root* layout = nullptr;
};

// Each edge of actual equals expected's; what names the rectangle.
void ExpectRect(const RECT& expected, const RECT& actual, const char* what);

struct RecordedNotify
{
    std::wstring type;
    IControlUI* sender;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring virtualWindowName;
};

class CNotifyRecorder : public INotifyUI
{
public:
    void ReceiveNotify(NotifyEvent& notification) override;
    // The recorded notifications of type, in order.
    std::vector<RecordedNotify> OfType(const wchar_t* type) const;

    std::vector<RecordedNotify> received;
};

// A memory device context drawing into a 32-bit top-down DIB section,
// filled with fill (0xAARRGGBB) at the start.
class CSurface
{
public:
    CSurface(int width, int height, DWORD fill);
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;
    ~CSurface();

    HDC Dc() const { return m_dc; }
    // The colour bytes 0x00RRGGBB at (x, y) once pending drawing has landed;
    // GDI drawing leaves the alpha byte undefined, so it is not part of it.
    DWORD Rgb(int x, int y) const;

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    DWORD* m_pixels;
};

// Opaque colours the paint tests use, 0xAARRGGBB, and their colour bytes.
constexpr DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                kYellow = 0xFFFFFF00, kGrey = 0xFF808080;
constexpr DWORD RgbOf(DWORD color)
{
    return color & 0x00FFFFFF;
}

// True when every colour channel of a and b differs by at most tolerance.
bool NearRgb(DWORD a, DWORD b, int tolerance);

struct PixelCheck
{
    int x;
    int y;
    DWORD color;  // 0xAARRGGBB; only the colour bytes are compared
};

// Each checked pixel of surface has the colour bytes of its check, within
// tolerance per channel.
void ExpectPixels(const CSurface& surface, std::initializer_list<PixelCheck> checks, int tolerance = 0);

// Copies what the window shows in its client area into surface (from the
// top-left corner, as far as the surface reaches).
void CaptureClient(HWND window, const CSurface& surface, int width, int height);

// Writes a 24-bit bitmap file of width x height with rgb[y * width + x]
// (0x00RRGGBB, top row first) into the temporary folder; its full path, or
// empty on failure.
std::wstring WriteBitmapFile(const wchar_t* name, int width, int height, const std::vector<DWORD>& rgb);

// A control whose memory becomes a tombstone when it is deleted: a manager
// that still reaches it through a stale pointer then finds a live object
// that counts the events it receives, instead of freed memory.
class CTombstoneControl : public CControlUI
{
public:
    CTombstoneControl() = default;

    static void* operator new(size_t size);
    static void operator delete(void* memory);
    // Events delivered to deleted controls since the last release.
    static int EventsAfterDeletion();
    // Controls deleted since the last release.
    static int Deletions();
    // Frees every tombstone and resets both counts.
    static void ReleaseTombstones();

    void Event(UIEvent& event) override;

    // The types of the events this control received while alive.
    std::vector<UIEventType> events;

private:
    struct TombstoneTag
    {
    };
    explicit CTombstoneControl(TombstoneTag) : m_tombstone(true) {}

    bool m_tombstone = false;
};

}  // namespace test
}  // namespace DuiLib
