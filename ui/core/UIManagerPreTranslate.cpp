// CUIManager pre-translation: what every message loop asks the managers before
// it translates and dispatches a queued message. Accelerator translators and
// pre-filters may consume it; Tab moves the focus, Alt keys reach the focus
// control and Alt+letter activates the control a shortcut names.
#include "ui/core/UIManager.h"

#include <cwchar>
#include <cwctype>

#include "ui/core/MessageFilter.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::CurrentKeyState;
using input::Deliver;
using input::MakeEvent;

namespace {

// Enabled controls, topmost first, each container before its children.
constexpr UINT kShortcutSearch = UIFIND_ENABLED | UIFIND_TOP_FIRST | UIFIND_ME_FIRST;

bool ClassNameContains(const IControlUI* control, const wchar_t* part)
{
    const wchar_t* name = control->GetClass();
    return name != nullptr && std::wcsstr(name, part) != nullptr;
}

}  // namespace

bool CUIManager::TranslateKey(const MSG& message)
{
    const CPtrList translators(m_keyTranslators);
    for (int i = 0; i < translators.GetSize(); ++i)
    {
        if (m_keyTranslators.Find(translators[i]) < 0)
            continue;
        if (static_cast<ITranslateAccelerator*>(translators[i])->TranslateKey(message) == 0)
            return true;
    }
    return false;
}

bool CUIManager::PreRouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const CPtrList filters(m_preFilters);
    for (int i = 0; i < filters.GetSize(); ++i)
    {
        if (m_preFilters.Find(filters[i]) < 0)
            continue;
        bool handled = false;
        const LRESULT answer =
            static_cast<IMessageFilterUI*>(filters[i])->RouteMessage(message, wParam, lParam, handled);
        if (handled)
        {
            result = answer;
            return true;
        }
    }

    switch (message)
    {
    case WM_KEYDOWN:
        if (wParam != VK_TAB || FocusTakesTab())
            return false;
        SetTabSuccessor(GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
    {
        IControlUI* focus = GetFocus();
        UIEvent event = MakeEvent(UIEVENT_SYSKEY, focus, m_lastMousePos, CurrentKeyState(), 0, 0);
        event.key = static_cast<WCHAR>(wParam);
        Deliver(focus, event);
        return false;
    }
    case WM_SYSCHAR:
        return m_root != nullptr && ActivateShortcut(static_cast<wchar_t>(wParam));
    default:
        return false;
    }
}

// A rich edit that wants tab characters says so through its "wanttab"
// attribute; every other focus control leaves Tab to the focus order.
bool CUIManager::FocusTakesTab() const
{
    const IControlUI* focus = GetFocus();
    return focus != nullptr && focus->IsVisible() && focus->IsEnabled() && ClassNameContains(focus, L"RichEdit") &&
           focus->GetAttribute(L"wanttab") == L"true";
}

namespace {

struct ShortcutSearch
{
    wchar_t key;    // upper case
    bool pickNext;  // a control with the key was met
};

// A label that carries the shortcut passes it on to the next control that
// is not a label, which is how a caption names the field beside it.
IControlUI* ShortcutProc(IControlUI* control, void* data)
{
    ShortcutSearch& search = *static_cast<ShortcutSearch*>(data);
    if (!control->IsVisible())
        return nullptr;
    if (static_cast<wchar_t>(std::towupper(control->GetShortcut())) == search.key)
        search.pickNext = true;
    return search.pickNext && !ClassNameContains(control, L"Label") ? control : nullptr;
}

}  // namespace

bool CUIManager::ActivateShortcut(wchar_t key)
{
    ShortcutSearch search = {static_cast<wchar_t>(std::towupper(key)), false};
    IControlUI* found = m_root->LocateControl(ShortcutProc, &search, kShortcutSearch);
    if (found == nullptr)
        return false;
    const CControlRef target(found);
    found->SetFocus();
    if (target.Get() != nullptr)
        target.Get()->Activate();
    return true;
}

bool CUIManager::FilterBeforeDispatch(const MSG& message)
{
    if (message.hwnd != nullptr && (GetWindowLongW(message.hwnd, GWL_STYLE) & WS_CHILD) != 0)
    {
        // A native child window (an edit box over a control) gets the
        // keyboard handling of the manager of every window it lies in. The
        // walk re-reads the list: a handler may close a window and with it
        // its manager.
        for (int i = s_managers.GetSize() - 1; i >= 0; --i)
        {
            CUIManager* manager = static_cast<CUIManager*>(s_managers.GetAt(i));
            for (HWND ancestor = GetParent(message.hwnd); manager != nullptr && ancestor != nullptr;
                 ancestor = GetParent(ancestor))
            {
                if (manager->m_window != message.hwnd && manager->m_window != ancestor)
                    continue;
                if (manager->TranslateKey(message))
                    return true;
                if (s_managers.Find(manager) < 0)
                    break;
                LRESULT ignored = 0;
                manager->PreRouteMessage(message.message, message.wParam, message.lParam, ignored);
                if (s_managers.Find(manager) < 0)
                    break;
            }
        }
        return false;
    }

    for (int i = 0; i < s_managers.GetSize(); ++i)
    {
        CUIManager* manager = static_cast<CUIManager*>(s_managers[i]);
        if (manager->m_window != message.hwnd)
            continue;
        if (manager->TranslateKey(message))
            return true;
        if (s_managers.Find(manager) < 0)
            return false;
        LRESULT ignored = 0;
        return manager->PreRouteMessage(message.message, message.wParam, message.lParam, ignored);
    }
    return false;
}

}  // namespace DuiLib
