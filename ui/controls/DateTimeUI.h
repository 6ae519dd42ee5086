// CDateTimeUI and CDateTimeWnd: a label showing a date as "yyyy-mm-dd" and
// the platform date picker that is placed over it while it has the focus.
// The picker's own look and editing are the platform's; this pair passes
// the date, the font, the focus and the three closing keys between the two.
// Invariant: the picker never reaches a control that is gone: a control
// destroys its open picker, and the picker clears the control's pointer to
// it when its window goes away.
#pragma once

#include <windows.h>

#include "ui/controls/LabelUI.h"
#include "ui/core/WindowWnd.h"

namespace DuiLib {

class CDateTimeWnd;

// What the end of the picker does to the control's text.
enum class DateTextUpdate
{
    None = 0,    // the picker is open; nothing decided yet
    Update = 1,  // show the picked date
    Clear = 2,   // show no text
    Keep = 3,    // leave the text as it is
};

class CDateTimeUI : public CLabelUI
{
public:
    // Shows today's date.
    CDateTimeUI();
    // Destroys an open picker first, so that none of its later messages
    // reaches the destroyed control.
    ~CDateTimeUI() override;

    // "DateTime".
    const wchar_t* GetClass() const override;
    // This control for "DateTime", else the label's answer.
    void* CastTo(const wchar_t* name) override;
    // The open picker's window, or null.
    HWND HostedWindowHandle() const override;
    // The base placement, then the open picker follows (hidden while the
    // control is outside every ancestor's client area).
    void PlaceAt(const RECT& rect, bool invalidate) override;
    void Move(int dx, int dy, bool invalidate) override;
    // Focus or a press opens the picker; the I-beam cursor while enabled.
    void HandleEvent(UIEvent& event) override;
    // Editable text named by its tool tip, with the date shown as the value.
    void DescribeAccess(int part, AccessDescription& description) const override;

    SYSTEMTIME GetTime() const { return m_date; }
    // Stores date and shows it as the text.
    void SetTime(const SYSTEMTIME& date);
    // The control's item rectangle cut by the client rectangle of every
    // ancestor; empty as soon as an ancestor is hidden or a cut is empty.
    CUIRect PickerRect() const;

private:
    friend class CDateTimeWnd;

    // The text is the value, not the name.
    DWORD TextAccessEvent() const override;

    // Applies the update mode to the text: Update writes the date as
    // "%4d-%02d-%02d", Clear empties the text, the others leave it.
    void UpdateText();
    // Opens the picker (making it first when there is none) and gives it
    // the focus; false when its window cannot be made.
    bool ShowPicker();
    void FollowWithPicker();

    SYSTEMTIME m_date = {};
    DateTextUpdate m_updateMode = DateTextUpdate::None;
    CDateTimeWnd* m_picker = nullptr;  // owns itself; cleared when its window goes
};

// The platform date picker ("SysDateTimePick32", superclassed) as a child of
// the manager's window over a CDateTimeUI. The object deletes itself when
// its window is destroyed.
class CDateTimeWnd final : public CWindowWnd
{
public:
    CDateTimeWnd() = default;
    ~CDateTimeWnd() = default;

    // "DateTimeWnd".
    const wchar_t* WindowClassName() const override;
    // "SysDateTimePick32".
    const wchar_t* SuperclassName() const override;
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Leaves the manager's hosted windows, clears the owner's pointer and
    // deletes the object.
    void OnWindowDestroyed(HWND window) override;

    // Opens the picker for owner: the window is made over the owner on
    // first use, takes the owner's font and date (today when the owner shows
    // no text), is shown without activation and gets the focus. False when
    // the window cannot be made; the object must not be used then (it may
    // have deleted itself already).
    bool Open(CDateTimeUI* owner);
    // The owner is going away: forgets it and destroys the window (and with
    // it the object) without writing anything back.
    void Abandon();

private:
    CUIManager* OwnerManager() const;
    // The picker's drop-down calendar (DTM_GETMONTHCAL), or null.
    HWND Calendar() const;
    // True for the picker, a window in it or owned by it, and its calendar
    // or a window in that: focus there does not end the picker.
    bool IsOwnWindow(HWND window) const;
    // The focus went to focus, outside the picker: writes the picked date
    // back (unless a key decided otherwise), tells the manager and closes.
    void Leave(HWND focus);
    // Has holder, the window of the picker's own that took the focus, tell
    // the picker when it loses the focus, hides or goes; one at a time.
    void WatchFocus(HWND holder);
    void StopWatchingFocus();
    // After the calendar lost the focus or closed: a hidden calendar that
    // kept the focus gives it back to the picker; focus elsewhere ends it.
    void CheckFocus();

    CDateTimeUI* m_owner = nullptr;
    bool m_closing = false;  // WM_CLOSE sent or posted, or the window going
    HWND m_focusHolder = nullptr;  // own window holding the focus, watched
};

}  // namespace DuiLib
