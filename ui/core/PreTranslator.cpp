// CPreTranslator: the pre-filters and accelerator translators, Tab through
// the focus order, Alt keys for the focus control and Alt+letter shortcuts.
#include "ui/core/PreTranslator.h"

#include <cwchar>
#include <cwctype>

#include "ui/core/MessageFilter.h"
#include "ui/core/UIManager.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::CurrentKeyState;
using input::Deliver;
using input::MakeEvent;
using input::RemoveFirst;

namespace {

// Enabled controls, topmost first, each container before its children.
constexpr UINT kShortcutSearch = UIFIND_ENABLED | UIFIND_TOP_FIRST | UIFIND_ME_FIRST;

bool ClassNameContains(const IControlUI* control, const wchar_t* part)
{
    const wchar_t* name = control->GetClass();
    return name != nullptr && std::wcsstr(name, part) != nullptr;
}

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

bool CPreTranslator::AddPreFilter(IMessageFilterUI* filter)
{
    return filter != nullptr && m_preFilters.Add(filter);
}

bool CPreTranslator::AddKeyTranslator(ITranslateAccelerator* translator)
{
    return translator != nullptr && m_keyTranslators.Add(translator);
}

bool CPreTranslator::RemoveKeyTranslator(ITranslateAccelerator* translator)
{
    return RemoveFirst(m_keyTranslators, translator);
}

bool CPreTranslator::TranslateKey(const MSG& message)
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

bool CPreTranslator::PreRouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (input::OfferToFilters(m_preFilters, message, wParam, lParam, result))
        return true;

    switch (message)
    {
    case WM_KEYDOWN:
        if (wParam != VK_TAB || FocusTakesTab())
            return false;
        m_manager.SetTabSuccessor(GetKeyState(VK_SHIFT) >= 0);
        return true;
    case WM_SYSKEYDOWN:
    {
        IControlUI* focus = m_manager.GetFocus();
        UIEvent event = MakeEvent(UIEVENT_SYSKEY, focus, m_manager.GetMousePos(), CurrentKeyState(), 0, 0);
        event.key = static_cast<WCHAR>(wParam);
        Deliver(focus, event);
        return false;
    }
    case WM_SYSCHAR:
        return m_manager.GetRoot() != nullptr && ActivateShortcut(static_cast<wchar_t>(wParam));
    default:
        return false;
    }
}

// A rich edit that wants tab characters says so through its "wanttab"
// attribute; every other focus control leaves Tab to the focus order.
bool CPreTranslator::FocusTakesTab() const
{
    const IControlUI* focus = m_manager.GetFocus();
    return focus != nullptr && focus->IsVisible() && focus->IsEnabled() && ClassNameContains(focus, L"RichEdit") &&
           focus->GetAttribute(L"wanttab") == L"true";
}

bool CPreTranslator::ActivateShortcut(wchar_t key)
{
    ShortcutSearch search = {static_cast<wchar_t>(std::towupper(key)), false};
    IControlUI* found = m_manager.GetRoot()->LocateControl(ShortcutProc, &search, kShortcutSearch);
    if (found == nullptr)
        return false;
    const CControlRef target(found);
    found->SetFocus();
    if (target.Get() != nullptr)
        target.Get()->Activate();
    return true;
}

}  // namespace DuiLib
