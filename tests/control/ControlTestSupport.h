// Helpers of the control tests: a real window whose manager gets every
// message, a notification recorder, a readable 32-bit drawing surface, a
// small bitmap file made at run time, and a control that leaves a counting
// tombstone behind when it is deleted.
#pragma once

#include <windows.h>

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

// The window's pending update rectangle; empty when nothing is invalid.
RECT PendingUpdate(HWND window);

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
