// CWindowWnd: class registration, the two window procedures, the modal loop,
// centring and icons. A window's object sits in its user-data slot (own
// classes) or its "WndX" property (superclassed and subclassed windows); the
// binding is undone before the object hears its window is gone, or goes first.
#include "ui/core/WindowWnd.h"

#include "ui/core/UIManager.h"

namespace DuiLib {

namespace {

// The window property that holds the object of a superclassed or subclassed
// window, whose user-data slot belongs to the original class.
const wchar_t kObjectProperty[] = L"WndX";

int RoundUpToMultipleOf16(int pixels)
{
    return (pixels + 15) / 16 * 16;
}

HICON LoadIconAtSystemSize(UINT resourceId, int widthMetric, int heightMetric)
{
    return static_cast<HICON>(LoadImageW(CUIManager::GetModuleInstance(), MAKEINTRESOURCEW(resourceId),
                                         IMAGE_ICON, RoundUpToMultipleOf16(GetSystemMetrics(widthMetric)),
                                         RoundUpToMultipleOf16(GetSystemMetrics(heightMetric)), LR_DEFAULTCOLOR));
}

// Gives the owner back its input when a modal loop ends; a window without an
// owner has nothing to give back.
void RestoreOwner(HWND owner)
{
    if (owner == nullptr)
        return;
    EnableWindow(owner, TRUE);
    SetFocus(owner);
}

}  // namespace

CWindowWnd::CWindowWnd() : m_window(nullptr), m_previousProcedure(DefWindowProcW), m_subclassed(false)
{
}

CWindowWnd::~CWindowWnd()
{
    if (m_window == nullptr || !IsWindow(m_window))
        return;
    if (m_subclassed)
    {
        // A taken-over window belongs to someone else: hand it back alive.
        Unsubclass();
        return;
    }
    // Destroyed here, while the base's own handlers still answer for the
    // object: ProcessWindowMessage passes everything to the previous
    // procedure and OnWindowDestroyed does nothing.
    if (GetPropW(m_window, kObjectProperty) == this ||
        reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(m_window, GWLP_USERDATA)) == this)
        DestroyWindow(m_window);
}

const wchar_t* CWindowWnd::SuperclassName() const
{
    return nullptr;
}

UINT CWindowWnd::ClassStyleBits() const
{
    return 0;
}

LRESULT CWindowWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallPreviousProcedure(message, wParam, lParam);
}

void CWindowWnd::OnWindowDestroyed(HWND)
{
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int width,
                        int height, HMENU menu)
{
    // One object serves one window: a second window would leave the first
    // routing its messages, and its destruction, to an object that has moved on.
    if (m_window != nullptr && IsWindow(m_window))
        return nullptr;
    const bool registered = SuperclassName() != nullptr ? RegisterSuperclass() : RegisterWindowClass();
    if (!registered)
        return nullptr;
    return CreateWindowExW(exStyle, WindowClassName(), name, style, x, y, width, height, parent, menu,
                           CUIManager::GetModuleInstance(), this);
}

HWND CWindowWnd::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, const RECT& rect, HMENU menu)
{
    return Create(parent, name, style, exStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                  menu);
}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW windowClass = {};
    windowClass.style = ClassStyleBits();
    windowClass.lpfnWndProc = ClassWindowProc;
    windowClass.hInstance = CUIManager::GetModuleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WindowClassName();
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    HINSTANCE instance = CUIManager::GetModuleInstance();
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExW(nullptr, SuperclassName(), &windowClass) &&
        !GetClassInfoExW(instance, SuperclassName(), &windowClass))
        return false;
    // Kept even when the superclass is already registered: every object of
    // the class calls on to the original procedure.
    m_previousProcedure = windowClass.lpfnWndProc;
    windowClass.lpfnWndProc = SuperclassWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = WindowClassName();
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

namespace
{

CWindowWnd::ExceptionReport s_exceptionReport = nullptr;

}  // namespace

void CWindowWnd::SetExceptionReport(ExceptionReport report)
{
    s_exceptionReport = report;
}

void CWindowWnd::ReportException(HWND window)
{
    if (s_exceptionReport != nullptr)
        s_exceptionReport(window);
}

LRESULT CALLBACK CWindowWnd::ClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // An exception cannot unwind through the platform's dispatch frames: the
    // message is answered with 0 and the application hears of it.
    try
    {
        return RouteToObject(window, message, wParam, lParam, false);
    }
    catch (...)
    {
        ReportException(window);
        return 0;
    }
}

LRESULT CALLBACK CWindowWnd::SuperclassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try
    {
        return RouteToObject(window, message, wParam, lParam, true);
    }
    catch (...)
    {
        ReportException(window);
        return 0;
    }
}

LRESULT CWindowWnd::RouteToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool inProperty)
{
    CWindowWnd* object = nullptr;
    if (message == WM_NCCREATE)
    {
        object = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (object != nullptr)
        {
            object->m_window = window;
            if (inProperty)
                SetPropW(window, kObjectProperty, object);
            else
                SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        }
    }
    else
    {
        object = inProperty ? static_cast<CWindowWnd*>(GetPropW(window, kObjectProperty))
                            : reinterpret_cast<CWindowWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }

    if (message == WM_NCDESTROY && object != nullptr)
    {
        LRESULT result = object->CallPreviousProcedure(message, wParam, lParam);
        // The window no longer shows them.
        object->DestroyHeldIcons();
        if (!inProperty)
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (object->m_subclassed)
            object->Unsubclass();
        if (inProperty)
            RemovePropW(window, kObjectProperty);
        object->m_window = nullptr;
        // Last use of the object: it may delete itself here.
        object->OnWindowDestroyed(window);
        return result;
    }
    if (object == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return object->ProcessWindowMessage(message, wParam, lParam);
}

HWND CWindowWnd::Subclass(HWND window)
{
    if (m_window != nullptr || !IsWindow(window))
        return nullptr;
    if (!SetPropW(window, kObjectProperty, this))
        return nullptr;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SuperclassWindowProc)));
    if (previous == nullptr)
    {
        RemovePropW(window, kObjectProperty);
        return nullptr;
    }
    m_previousProcedure = previous;
    m_subclassed = true;
    m_window = window;
    return window;
}

void CWindowWnd::Unsubclass()
{
    if (m_window == nullptr || !IsWindow(m_window) || !m_subclassed)
        return;
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProcedure));
    m_previousProcedure = DefWindowProcW;
    m_subclassed = false;
    // Its messages no longer come here, so neither may its destruction: the
    // object lets go of the window entirely.
    RemovePropW(m_window, kObjectProperty);
    m_window = nullptr;
    // Icons set on it stay with it: it goes on showing them.
    m_bigIcon = nullptr;
    m_smallIcon = nullptr;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (!IsWindow(m_window))
        return;
    ::ShowWindow(m_window, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::RunModal()
{
    return RunModal(true, true);
}

UINT CWindowWnd::RunModal(bool show, bool takeFocus)
{
    // The loop keeps its own copy of the handle and never touches the object
    // again: a window that owns itself deletes the object when it is destroyed.
    HWND window = IsWindow(m_window) ? m_window : nullptr;
    HWND owner = window != nullptr ? GetWindow(window, GW_OWNER) : nullptr;
    if (window != nullptr)
        ShowWindow(show, takeFocus);
    if (owner != nullptr)
        EnableWindow(owner, FALSE);

    UINT code = 0;
    bool quit = false;
    MSG message = {};
    while (window != nullptr && IsWindow(window))
    {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
        {
            quit = true;
            break;
        }
        if (got == -1)
            break;
        if (message.message == WM_CLOSE && message.hwnd == window)
        {
            // Before the close is dispatched: the owner must be enabled when
            // this window is destroyed, or the platform activates some other
            // application's window instead.
            code = static_cast<UINT>(message.wParam);
            RestoreOwner(owner);
        }
        if (!CUIManager::FilterBeforeDispatch(message))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    RestoreOwner(owner);
    if (quit)
        PostQuitMessage(static_cast<int>(message.wParam));
    return code;
}

void CWindowWnd::Close(UINT code)
{
    if (IsWindow(m_window))
        ::PostMessageW(m_window, WM_CLOSE, code, 0);
}

void CWindowWnd::CentreOnOwner()
{
    if (!IsWindow(m_window))
        return;
    RECT own = {};
    GetWindowRect(m_window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;

    HWND owner = GetWindow(m_window, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;

    RECT area = work;
    if (owner != nullptr && !IsIconic(owner))
        GetWindowRect(owner, &area);

    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - height / 2;
    // Left and top first, so a window larger than the work area keeps its
    // caption and left edge on the screen.
    if (x < work.left)
        x = work.left;
    else if (x + width > work.right)
        x = work.right - width;
    if (y < work.top)
        y = work.top;
    else if (y + height > work.bottom)
        y = work.bottom - height;
    SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resourceId)
{
    if (!IsWindow(m_window))
        return;
    ReplaceIcon(ICON_BIG, LoadIconAtSystemSize(resourceId, SM_CXICON, SM_CYICON), m_bigIcon);
    ReplaceIcon(ICON_SMALL, LoadIconAtSystemSize(resourceId, SM_CXSMICON, SM_CYSMICON), m_smallIcon);
}

void CWindowWnd::ReplaceIcon(WPARAM which, HICON icon, HICON& held)
{
    ::SendMessageW(m_window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    // Only icons loaded here are destroyed: one set by anyone else may be
    // shared and is not this object's to free.
    if (held != nullptr && held != icon)
        DestroyIcon(held);
    held = icon;
}

void CWindowWnd::DestroyHeldIcons()
{
    if (m_bigIcon != nullptr)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon != nullptr)
        DestroyIcon(m_smallIcon);
    m_bigIcon = nullptr;
    m_smallIcon = nullptr;
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_window, message, wParam, lParam);
}

BOOL CWindowWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_window, message, wParam, lParam);
}

LRESULT CWindowWnd::CallPreviousProcedure(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_previousProcedure, m_window, message, wParam, lParam);
}

}  // namespace DuiLib
