// CProbeControl: a control for the dispatch tests. It journals every event,
// runs a test's reaction to it (which may delete the probe) and holds children
// for the manager's searches. A deleted probe's memory becomes a tombstone
// that counts every event still sent to it, until ReleaseTombstones.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/core/FakeControl.h"

namespace DuiLib {
namespace test {

struct Delivery
{
    std::wstring target;  // the receiving probe's name, kept after it is gone
    UIEvent event;
};
using Journal = std::vector<Delivery>;

class CProbeControl : public CFakeControl
{
public:
    CProbeControl(Journal* journal, const wchar_t* name, const RECT& pos);
    // Deletes the children and leaves the parent, then tells the manager, as
    // every control does.
    ~CProbeControl() override;

    static void* operator new(size_t size);
    // Leaves a tombstone where the probe was instead of freeing the memory.
    static void operator delete(void* memory);
    // Events delivered to deleted probes since the last release.
    static int EventsAfterDeletion();
    // Frees every tombstone and resets the count.
    static void ReleaseTombstones();

    // Appends child (owned); returns it.
    CProbeControl* Add(CProbeControl* child);

    // Settings the tests change directly.
    std::wstring className = L"Probe";
    UINT flagBits = 0;
    bool visible = true;
    bool enabled = true;
    CUIString toolTip;
    int toolTipWidth = 300;
    wchar_t shortcut = 0;
    std::map<std::wstring, std::wstring> attributes;
    // Runs after the event is journalled; may delete the probe.
    std::function<void(CProbeControl&, UIEvent&)> onEvent;

    // What the manager did to the probe.
    int activations = 0;
    int layoutRequests = 0;
    std::vector<RECT> paintRects;

    // Leaves the manager's mouse-leave watchers first, as controls do.
    void Delete() override;
    const wchar_t* GetClass() const override { return className.c_str(); }
    UINT ControlFlagBits() const override { return flagBits; }
    bool Activate() override;
    CUIManager* GetManager() const override { return m_manager; }
    void BindManager(CUIManager* manager, IControlUI* parent, bool init) override;
    IControlUI* GetParent() const override { return m_parent; }
    CUIRect GetPos() const override { return m_pos; }
    CUIString GetToolTip() const override { return toolTip; }
    int GetToolTipWidth() const override { return toolTipWidth; }
    wchar_t GetShortcut() const override { return shortcut; }
    bool IsVisible() const override { return visible; }
    bool IsEnabled() const override { return enabled; }
    // Asks the manager for the focus, as controls do when clicked.
    void SetFocus() override;
    // The container search: rejections, me-first, children (last first when
    // top-first), then the probe itself.
    IControlUI* LocateControl(LocateControlProc proc, void* data, UINT flags) override;
    void Event(UIEvent& event) override;
    CUIString GetAttribute(const wchar_t* name) const override;
    bool Paint(HDC, const RECT& paintRect, IControlUI*) override;
    void RequestLayout() override { ++layoutRequests; }

private:
    struct TombstoneTag
    {
    };
    explicit CProbeControl(TombstoneTag);

    Journal* m_journal;
    bool m_tombstone;
    CUIRect m_pos;
    CUIManager* m_manager = nullptr;
    CProbeControl* m_parent = nullptr;
    std::vector<CProbeControl*> m_children;
};

}  // namespace test
}  // namespace DuiLib
