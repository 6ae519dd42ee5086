// CWindowWnd: binds one native window to an object: registers the class (or a
// superclass), routes every message to ProcessWindowMessage, runs modal loops,
// centres and decorates. Controls are left to the derived window's CUIManager.
// Invariant: no message of the window reaches an object that is gone.
#pragma once

#include <windows.h>

namespace DuiLib {

class CWindowWnd
{
public:
    // The five operations a window supplies or changes, in their fixed order.

    // The class name the window is registered and created under.
    virtual const wchar_t* WindowClassName() const = 0;
    // An existing class to superclass, or null (the default) for a class of
    // the window's own.
    virtual const wchar_t* SuperclassName() const;
    // Class style bits used at registration; 0 by default.
    virtual UINT ClassStyleBits() const;
    // The message handler; the default hands the message to the previous
    // window procedure.
    virtual LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once after the native window is gone, with its former handle;
    // nothing by default. A window that owns itself deletes itself here.
    virtual void OnWindowDestroyed(HWND window);

    CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // Null until created and again once the native window is gone.
    HWND GetHWND() const { return m_window; }
    operator HWND() const { return m_window; }

    // Registers the class, then creates the window with this object as its
    // creation parameter. The new handle, or null when registration (other
    // than "already registered") or creation fails.
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT,
                HMENU menu = nullptr);
    // The same with a rectangle: width = right - left, height = bottom - top.
    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rect,
                HMENU menu = nullptr);

    // Takes over an existing window: its procedure is replaced by the
    // toolkit's until Unsubclass or its destruction. Null, changing nothing,
    // when this object already has a window or window is not a window.
    HWND Subclass(HWND window);
    // Puts the replaced procedure back while the window exists and is
    // subclassed; otherwise nothing.
    void Unsubclass();

    // Shows normally (takeFocus) or without activation, or hides (show false);
    // nothing once the window is gone.
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Shows the window, disables its owner and pumps this thread's messages
    // (with the managers' pre-translation) until the window is gone. Returns
    // the wParam of the last WM_CLOSE it saw for the window, else 0; a WM_QUIT
    // ends it too and is posted again for the loop outside.
    UINT RunModal();
    UINT RunModal(bool show, bool takeFocus);
    // Posts WM_CLOSE with code as wParam (RunModal's result); nothing once
    // the window is gone.
    void Close(UINT code = IDOK);
    // Centres on the owner, or on the work area when there is no owner or
    // it is minimised, keeping the window inside the work area where it fits.
    void CentreOnOwner();
    // Sets the big and small window icons from icon resource id of the module
    // instance; an id without a resource clears them. The icons it loaded
    // before are destroyed once replaced, the last ones when the window goes.
    void SetIcon(UINT resourceId);

    // What the window procedures do with an exception that a handler let
    // escape, after answering the message with 0: nothing by default; an
    // application may report it (log it, end its run). Process-wide; the
    // report must not throw. Null restores the default.
    using ExceptionReport = void (*)(HWND window);
    static void SetExceptionReport(ExceptionReport report);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The previous window procedure: DefWindowProcW for a class of its own,
    // the superclass's or the replaced procedure otherwise.
    LRESULT CallPreviousProcedure(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // A window still bound to the object is destroyed (or, when subclassed,
    // handed back to its own procedure), so that its later messages never
    // reach a destroyed object. Not virtual: windows are never deleted
    // through this base, and the class keeps its five virtual slots.
    ~CWindowWnd();

private:
    bool RegisterWindowClass();
    bool RegisterSuperclass();
    static LRESULT CALLBACK ClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT RouteToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool inProperty);
    static void ReportException(HWND window);

    void ReplaceIcon(WPARAM which, HICON icon, HICON& held);
    void DestroyHeldIcons();

    HWND m_window;
    WNDPROC m_previousProcedure;
    bool m_subclassed;
    // The big and small icons SetIcon loaded and the window shows.
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
};

}  // namespace DuiLib
