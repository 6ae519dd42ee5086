// Helpers of the layout builder tests: a manager bound to a real popup
// window, a one-line dump of a control tree, and a control that counts its
// instances so that tests can see that nothing a build made is left behind.
#pragma once

#include <windows.h>

#include <string>

#include "ui/control/ContainerUI.h"
#include "ui/control/ControlUI.h"
#include "ui/core/UIManager.h"
#include "ui/markup/LayoutBuilder.h"

namespace DuiLib {
namespace test {

// A manager attached to a hidden popup window of 100 x 80; the window goes
// after the manager, which owns the tree it was given.
class CWindowedManager
{
public:
    CWindowedManager()
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        manager.AttachWindow(m_window.handle, L"builder");
    }

    HWND Window() const { return m_window.handle; }
    SIZE WindowSize() const
    {
        RECT frame = {};
        GetWindowRect(m_window.handle, &frame);
        return SIZE{frame.right - frame.left, frame.bottom - frame.top};
    }

private:
    // Declared before the manager, so destroyed after it.
    struct CPopup
    {
        CPopup()
            : handle(CreateWindowExW(0, L"STATIC", L"builder", WS_POPUP, 10, 10, 100, 80, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr))
        {
        }
        CPopup(const CPopup&) = delete;
        CPopup& operator=(const CPopup&) = delete;
        ~CPopup() { DestroyWindow(handle); }
        HWND handle;
    };
    CPopup m_window;

public:
    CUIManager manager;
};

// "Class:name" of control, followed by "[child,child,...]" when it has a
// child list with children and "{cover}" when it has a cover; "-" for null.
inline std::wstring Dump(IControlUI* control)
{
    if (control == nullptr)
        return L"-";
    std::wstring out = std::wstring(control->GetClass()) + L":" + control->GetName().GetData();
    IContainerUI* children = static_cast<IContainerUI*>(control->CastTo(L"IContainer"));
    if (children != nullptr && children->GetCount() > 0)
    {
        out += L"[";
        for (int i = 0; i < children->GetCount(); ++i)
            out += (i > 0 ? L"," : L"") + Dump(children->ChildAt(i));
        out += L"]";
    }
    if (control->OverlayControl() != nullptr)
        out += L"{" + Dump(control->OverlayControl()) + L"}";
    return out;
}

inline bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// The number of children of control; -1 when it has no child list.
inline int ChildCount(IControlUI* control)
{
    IContainerUI* children = control != nullptr ? static_cast<IContainerUI*>(control->CastTo(L"IContainer")) : nullptr;
    return children != nullptr ? children->GetCount() : -1;
}

inline IControlUI* ChildAt(IControlUI* control, int index)
{
    IContainerUI* children = control != nullptr ? static_cast<IContainerUI*>(control->CastTo(L"IContainer")) : nullptr;
    return children != nullptr ? children->ChildAt(index) : nullptr;
}

// A container of the application's own ("Counted" in its skins) whose live
// instances are counted.
class CCountedUI : public CContainerUI
{
public:
    CCountedUI() { ++s_alive; }
    ~CCountedUI() override { --s_alive; }
    const wchar_t* GetClass() const override { return L"Counted"; }
    static int Alive() { return s_alive; }

private:
    static inline int s_alive = 0;
};

// Makes a CCountedUI for the tag "Counted" and records every tag it is asked
// about.
class CCountingCallback : public ILayoutBuilderCallback
{
public:
    IControlUI* MakeCustomControl(const wchar_t* className) override
    {
        asked += std::wstring(asked.empty() ? L"" : L",") + className;
        return std::wstring(className) == L"Counted" ? new CCountedUI() : nullptr;
    }

    std::wstring asked;
};

}  // namespace test
}  // namespace DuiLib
