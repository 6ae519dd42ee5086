// The uninstaller's own modal message box, drawn by the toolkit in the main
// window's skin. Its control tree is built in code, not from a skin file, so
// it works even when "main.xml" is damaged.
#pragma once

#include "ui/core/Notify.h"
#include "ui/core/UIManager.h"
#include "ui/core/UIString.h"
#include "ui/core/WindowWnd.h"

namespace kalvex {

// How the box was closed.
enum MessageBoxEnd : unsigned { kClosedByCaption = 0, kClosedByOk = 1, kClosedByCancel = 2 };

class CMessageBoxExWnd : public DuiLib::CWindowWnd, public DuiLib::INotifyUI {
public:
    // `buttonMode` 1 shows OK only, 2 OK and cancel, anything else no button;
    // a non-zero `iconFlag` shows the warning icon column.
    CMessageBoxExWnd(const wchar_t* title, const wchar_t* message, int iconFlag, int buttonMode,
                     const wchar_t* okText, const wchar_t* cancelText);

    const wchar_t* WindowClassName() const override;
    UINT ClassStyleBits() const override;
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowDestroyed(HWND window) override;
    void ReceiveNotify(DuiLib::NotifyEvent& notification) override;

private:
    LRESULT OnCreate();
    DuiLib::IControlUI* BuildTree();
    void ShowControl(const wchar_t* name, bool visible);

    DuiLib::CUIManager m_manager;
    DuiLib::CUIString m_title;
    DuiLib::CUIString m_message;
    int m_iconFlag;
    int m_buttonMode;
    DuiLib::CUIString m_okText;
    DuiLib::CUIString m_cancelText;
};

// Shows a modal message box owned by `parent` (may be null) and returns how it
// was closed (a MessageBoxEnd value); 0 when the window could not be created.
unsigned ShowMessageBoxEx(HWND parent, const wchar_t* title, const wchar_t* message, int iconFlag, int buttonMode,
                          const wchar_t* okText, const wchar_t* cancelText, int width, int height);

}  // namespace kalvex
