// CEditUI and CEditWnd: the single-line text field. Idle, it is a drawn label
// (its text or a row of password characters over state images); while it
// has the focus a superclassed native edit, CEditWnd, lies exactly over its
// text area and every change is copied back with "textchanged". In a layered
// window the native edit is printed into the manager's picture and blinks
// its own caret. Invariant: the field and its native window point at each
// other only while both live; whichever goes first unhooks the other.
#pragma once

#include <windows.h>

#include "ui/controls/LabelUI.h"
#include "ui/core/WindowWnd.h"

namespace DuiLib {

class CEditWnd;

class CEditUI : public CLabelUI
{
public:
    CEditUI();
    // An open native window is unhooked and closed (see CEditWnd::Orphan).
    ~CEditUI() override;

    // "Edit".
    const wchar_t* GetClass() const override;
    // This control for "Edit", else the label's answer.
    void* CastTo(const wchar_t* name) override;
    // The native edit window while editing, else null.
    HWND HostedWindowHandle() const override;
    // Also the native window's text while editing.
    void SetText(const wchar_t* text) override;
    // The base placement; then the native window follows the text area, or
    // hides when an ancestor clips the area away.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    void Move(int dx, int dy, bool invalidate) override;
    // Hiding while editing drops the manager's focus, which closes the window.
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    // Disabling clears the state bits.
    void SetEnabled(bool enabled) override;
    void HandleEvent(UIEvent& event) override;
    // "readonly", "numberonly", "password", "autoselall", "maxchar",
    // "normalimage", "hotimage", "focusedimage", "disabledimage",
    // "nativebkcolor", then the label's.
    const ControlAttributeTable& GetAttributeTable() const override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;
    // Editable text named by its tool tip, with its text as the value; in
    // password mode it is protected and the value is never given.
    void DescribeAccess(int part, AccessDescription& description) const override;

    int GetMaxChar() const { return m_maxChar; }
    // Also limits an open native window (EM_LIMITTEXT); 0 or less: no limit.
    void SetMaxChar(int maxChar);
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    bool IsNumberOnly() const { return (m_editStyle & ES_NUMBER) != 0; }
    // Takes effect from the next native window.
    void SetNumberOnly(bool numberOnly);
    bool IsPasswordMode() const { return m_password; }
    void SetPasswordMode(bool password);
    wchar_t GetPasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(wchar_t ch);
    bool IsAutoSelAll() const { return m_autoSelAll; }
    void SetAutoSelAll(bool autoSelAll) { m_autoSelAll = autoSelAll; }
    // 0xFFFFFFFF: the system's background; alpha below 0xFF lets the skin
    // under the field show through.
    DWORD GetNativeEditBkColor() const { return m_nativeBkColor; }
    void SetNativeEditBkColor(DWORD color) { m_nativeBkColor = color; }
    // Extra native edit styles (ES_NUMBER).
    UINT GetEditStyle() const { return m_editStyle; }
    UINT GetEditState() const { return m_editState; }
    void SetNormalImage(const wchar_t* description) { AssignImage(m_normalImage, description); }
    void SetHotImage(const wchar_t* description) { AssignImage(m_hotImage, description); }
    void SetFocusedImage(const wchar_t* description) { AssignImage(m_focusedImage, description); }
    void SetDisabledImage(const wchar_t* description) { AssignImage(m_disabledImage, description); }

    // The text area narrowed by every ancestor's client rectangle; empty
    // when an ancestor is hidden or clips it away.
    RECT EditRect() const;
    // The text as drawn: the text, or one password character per character.
    CUIString ShownText() const;

private:
    friend class CEditWnd;

    // Opens the native window over the text area.
    void OpenEditWindow();
    // Moves, shows or hides the native window after a placement.
    void FollowPlacement();
    void CloseWhenHidden();
    // The native window left: called by it with its last breath.
    void EditWindowClosed() { m_editWnd = nullptr; }
    // Stores text copied back from the native window, without touching the
    // window again and without repainting; readers hear of the new value.
    void TakeEditedText(const wchar_t* text);
    // The text is the value, not the name.
    DWORD TextAccessEvent() const override;

    CEditWnd* m_editWnd = nullptr;  // deletes itself
    int m_maxChar = 255;
    bool m_readOnly = false;
    bool m_password = false;
    bool m_autoSelAll = false;
    wchar_t m_passwordChar = L'*';
    UINT m_editState = 0;  // UISTATE_FOCUSED, UISTATE_DISABLED, UISTATE_HOT
    DWORD m_nativeBkColor = 0xFFFFFFFF;
    UINT m_editStyle = 0;
    ImageDrawSpec m_normalImage;
    ImageDrawSpec m_hotImage;
    ImageDrawSpec m_focusedImage;
    ImageDrawSpec m_disabledImage;
};

// The native edit of one editing session; it deletes itself when its window
// is destroyed.
class CEditWnd final : public CWindowWnd
{
public:
    // Opens the window over owner's text area with owner's styles, font,
    // limit and text, focuses it and selects all or puts the caret at the
    // end; the window may be null when the platform refuses it.
    static CEditWnd* Open(CEditUI* owner);

    // "EditWnd".
    const wchar_t* WindowClassName() const override;
    // "Edit": the system edit class, superclassed.
    const wchar_t* SuperclassName() const override;
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Invalidates and unhooks the owner, leaves the manager's hosted windows,
    // deletes the cached brush and the object.
    void OnWindowDestroyed(HWND window) override;

    // The owner is going away: unhooks it now and closes the window on a
    // later turn of the message loop (never inside the caller, which may
    // be running within this window's own message).
    void Orphan();

private:
    CEditWnd() = default;
    ~CEditWnd();

    void Initialise();
    bool IsLayered() const;
    // Registers the window with the manager again, repainting its area there.
    void Reregister();
    void OnTextChanged();
    LRESULT OnControlColor(HDC dc);
    void PrintCaret(HDC dc);

    CEditUI* m_owner = nullptr;
    HBRUSH m_brush = nullptr;  // owned
    bool m_initialised = false;
    bool m_caretVisible = false;
};

}  // namespace DuiLib
