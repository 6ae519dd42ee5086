// CPreTranslator: a manager's share of what every message loop asks before it
// translates and dispatches a queued message. Accelerator translators and
// pre-filters may consume it; Tab moves the focus, Alt keys reach the focus
// control and Alt+letter activates the control a shortcut names. Owned by
// CUIManager, which forwards here.
#pragma once

#include <windows.h>

#include "ui/core/PtrList.h"

namespace DuiLib {

class CUIManager;
class IMessageFilterUI;
class ITranslateAccelerator;

class CPreTranslator
{
public:
    // manager lends its tree, focus and mouse point.
    explicit CPreTranslator(CUIManager& manager) : m_manager(manager) {}
    CPreTranslator(const CPreTranslator&) = delete;
    CPreTranslator& operator=(const CPreTranslator&) = delete;

    // Lists, never owned. Add ignores null (false); Remove takes out the
    // first occurrence and answers whether there was one.
    bool AddPreFilter(IMessageFilterUI* filter);
    bool AddKeyTranslator(ITranslateAccelerator* translator);
    bool RemoveKeyTranslator(ITranslateAccelerator* translator);

    // The pre-filters, Tab, Alt keys and shortcut characters: true when the
    // message was consumed, with result holding a pre-filter's answer.
    bool PreRouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // True at the first accelerator translator that answers 0.
    bool TranslateKey(const MSG& message);

private:
    // Whether the focus control takes Tab itself (a rich edit that wants it).
    bool FocusTakesTab() const;
    // Focuses and activates the control whose shortcut is key; false when
    // none has it.
    bool ActivateShortcut(wchar_t key);

    CUIManager& m_manager;
    CPtrList m_preFilters;      // IMessageFilterUI
    CPtrList m_keyTranslators;  // ITranslateAccelerator
};

}  // namespace DuiLib
