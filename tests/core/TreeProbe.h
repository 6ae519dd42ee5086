// Test doubles for the manager's painting, focus, timer and notification
// tests: CTreeProbe, a control with children that keeps its place, asks for
// layout as controls do and fills its rectangle; CManagerHost, a real window
// that gives every message to its manager; CNotifyRecorder, a listener.
// A deleted probe's memory becomes a tombstone that counts every call the
// manager still makes to it, until ReleaseTombstones.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/core/FakeControl.h"
#include "ui/core/Notify.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

namespace DuiLib {
namespace test {

// "name what" lines in the order things happened, shared by the probes and
// the recorder of one test.
using Trail = std::vector<std::wstring>;

class CTreeProbe : public CFakeControl
{
public:
    // color 0 paints nothing; otherwise the rectangle is filled with it
    // (0x00RRGGBB).
    CTreeProbe(Trail* trail, const wchar_t* name, const RECT& place, DWORD color = 0);
    // Deletes the children, leaves the parent, then tells the manager.
    ~CTreeProbe() override;

    static void* operator new(size_t size);
    static void operator delete(void* memory);
    // Calls made to deleted probes since the last release.
    static int CallsAfterDeletion();
    static void ReleaseTombstones();
    // Probes destroyed since the last release, by name.
    static const std::vector<std::wstring>& Destroyed();

    // Appends child (owned); returns it.
    CTreeProbe* Add(CTreeProbe* child);
    // Takes child out of the children without deleting it.
    void Detach(CTreeProbe* child);

    // Settings the tests change directly.
    DWORD color;
    UINT flagBits = 0;
    bool visible = true;
    bool enabled = true;
    bool floating = false;
    CUIRect relative;
    CUIString virtualWindow;
    std::function<void(CTreeProbe&, UIEvent&)> onEvent;
    std::function<void(CTreeProbe&)> onPlace;
    std::function<void(CTreeProbe&, const RECT&)> onOverlay;

    // What the manager did to the probe.
    bool layoutPending = true;  // as for a new control
    std::vector<RECT> placements;
    std::vector<RECT> paintRects;
    std::vector<RECT> overlayRects;

    void Delete() override;
    const wchar_t* GetClass() const override { return L"TreeProbe"; }
    UINT ControlFlagBits() const override { return flagBits; }
    CUIManager* GetManager() const override { return m_manager; }
    void BindManager(CUIManager* manager, IControlUI* parent, bool init) override;
    IControlUI* GetParent() const override { return m_parent; }
    CUIRect GetPos() const override { return m_place; }
    CUIRect RelativeRect() const override { return relative; }
    // Takes rect; the children are placed again at their own rectangles.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    bool IsVisible() const override { return visible; }
    bool IsEnabled() const override { return enabled; }
    bool IsFloat() const override { return floating; }
    void SetFocus() override;
    // The container search of the control base, update test included.
    IControlUI* LocateControl(LocateControlProc proc, void* data, UINT flags) override;
    void Event(UIEvent& event) override;
    bool Paint(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    void PaintOverlay(HDC dc, const RECT& paintRect) override;
    void Invalidate() override;
    void RequestLayout() override;
    bool IsLayoutPending() const override { return layoutPending; }
    CUIString VirtualWindowName() const override { return virtualWindow; }
    CEventHub& NotifyHub() override { return m_notifyHub; }

private:
    struct TombstoneTag
    {
    };
    explicit CTreeProbe(TombstoneTag);
    bool CountIfDead() const;

    Trail* m_trail;
    bool m_tombstone;
    CUIRect m_place;
    CUIManager* m_manager = nullptr;
    CTreeProbe* m_parent = nullptr;
    std::vector<CTreeProbe*> m_children;
    CEventHub m_notifyHub;
};

// Records every notification as "notify type sender" (sender "-" when null)
// and keeps a copy; onNotify runs after the record is made.
class CNotifyRecorder : public INotifyUI
{
public:
    explicit CNotifyRecorder(Trail* trail) : m_trail(trail) {}
    void ReceiveNotify(NotifyEvent& notification) override;

    std::vector<NotifyEvent> received;
    std::function<void(NotifyEvent&)> onNotify;

private:
    Trail* m_trail;
};

// A popup window that gives every message to its manager first, as the
// application's windows do.
class CManagerHost : public CWindowWnd
{
public:
    const wchar_t* WindowClassName() const override { return L"KalvexManagerHost"; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CUIManager manager;
};

// Runs every waiting message through the managers' pre-translation and the
// window procedures.
void PumpMessages();
// Pumps until done() answers true or milliseconds have passed; done()'s
// last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds);

}  // namespace test
}  // namespace DuiLib
