// UIEvent: the input record that the manager hands to a control's Event, its
// type numbers and key-state bits. Only the record lives here; the manager
// makes events and controls interpret them. Values 2/7 and 8/19 bracket the
// keyboard and mouse types and are never delivered themselves.
#pragma once

#include <windows.h>

namespace DuiLib {

class IControlUI;

enum UIEventType : int
{
    UIEVENT_FIRST = 1,
    UIEVENT_KEY_BEGIN = 2,
    UIEVENT_KEYDOWN = 3,      // WM_KEYDOWN
    UIEVENT_KEYUP = 4,        // WM_KEYUP
    UIEVENT_CHAR = 5,         // WM_CHAR
    UIEVENT_SYSKEY = 6,       // WM_SYSKEYDOWN, in pre-translation
    UIEVENT_KEY_END = 7,
    UIEVENT_MOUSE_BEGIN = 8,
    UIEVENT_MOUSEMOVE = 9,    // WM_MOUSEMOVE
    UIEVENT_MOUSELEAVE = 10,  // WM_MOUSEMOVE, WM_CLOSE
    UIEVENT_MOUSEENTER = 11,  // WM_MOUSEMOVE
    UIEVENT_MOUSEHOVER = 12,  // WM_MOUSEHOVER
    UIEVENT_BUTTONDOWN = 13,  // WM_LBUTTONDOWN
    UIEVENT_BUTTONUP = 14,    // WM_LBUTTONUP, WM_CLOSE
    UIEVENT_RBUTTONDOWN = 15, // WM_RBUTTONDOWN
    UIEVENT_DBLCLICK = 16,    // WM_LBUTTONDBLCLK
    UIEVENT_CONTEXTMENU = 17, // WM_CONTEXTMENU
    UIEVENT_SCROLLWHEEL = 18, // WM_MOUSEWHEEL
    UIEVENT_MOUSE_END = 19,
    UIEVENT_KILLFOCUS = 20,
    UIEVENT_SETFOCUS = 21,
    UIEVENT_WINDOWSIZE = 22,  // WM_SIZE
    UIEVENT_SETCURSOR = 23,   // WM_SETCURSOR
    UIEVENT_TIMER = 24,       // WM_TIMER
};

// True for the types strictly between the keyboard markers.
inline bool IsKeyboardEvent(int type)
{
    return type > UIEVENT_KEY_BEGIN && type < UIEVENT_KEY_END;
}

// True for the types strictly between the mouse markers.
inline bool IsMouseEvent(int type)
{
    return type > UIEVENT_MOUSE_BEGIN && type < UIEVENT_MOUSE_END;
}

// Bits of UIEvent::keyState. The button, Shift and Ctrl bits equal the MK_*
// flags of mouse messages, so the manager may store a mouse message's own
// flags unchanged.
enum UIKeyState : WORD
{
    UIKEY_LBUTTON = 0x01,
    UIKEY_RBUTTON = 0x02,
    UIKEY_SHIFT = 0x04,
    UIKEY_CONTROL = 0x08,
    UIKEY_ALT = 0x20,
};

struct UIEvent
{
    UIEventType type;
    // The control the event concerns; for kill-focus, the control that
    // receives the focus next.
    IControlUI* sender;
    // GetTickCount when the event was made.
    DWORD timestamp;
    // Client coordinates.
    POINT mousePoint;
    // Character or virtual-key code.
    WCHAR key;
    // UIKeyState bits.
    WORD keyState;
    WPARAM wParam;
    LPARAM lParam;
};

}  // namespace DuiLib
