// CUIManager lifetime: the process-wide state, construction with the shared
// defaults, AttachWindow, destruction in its fixed order, and ForgetControl,
// the one place where control pointers are dropped. Resource tables live in
// UIManagerResources.cpp; message dispatch, painting and focus elsewhere.
#include "ui/core/UIManager.h"

#include <objidl.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "ui/control/ControlInterface.h"
#include "ui/core/AccessibleTree.h"
#include "ui/core/Notify.h"
#include "ui/core/UIResources.h"

namespace DuiLib {

CPtrList CUIManager::s_managers;
HPEN CUIManager::s_dirtyOutlinePen = nullptr;
CPtrList CUIManager::s_controlFactories;

const CPtrList& CUIManager::GetManagers()
{
    return s_managers;
}

HPEN CUIManager::GetDirtyOutlinePen()
{
    return s_dirtyOutlinePen;
}

void CUIManager::AddControlFactory(ControlFactoryProc factory)
{
    if (factory != nullptr)
        s_controlFactories.Add(reinterpret_cast<void*>(factory));
}

const CPtrList& CUIManager::GetControlFactories()
{
    return s_controlFactories;
}

CUIManager::CUIManager() : m_resources(std::make_unique<CUIResources>(*this))
{
    if (s_dirtyOutlinePen == nullptr)
    {
        s_dirtyOutlinePen = CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        InitCommonControls();
        // AlphaBlend and GradientFill are looked up in it at paint time; it
        // stays loaded for the life of the process.
        LoadLibraryW(L"msimg32.dll");
    }

    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok)
        m_gdiplusToken = 0;
}

CUIManager::~CUIManager()
{
    // Readers that still hold elements are answered from now on without
    // the controls deleted below.
    DetachAccessTree();
    // Queued work first: deferred controls and notifications may name
    // controls of the tree that is deleted next.
    DeleteQueuedControls(m_deliveryDepth);
    DropQueuedNotifications();
    m_controlNames.Clear();

    if (m_root != nullptr)
    {
        IControlUI* root = m_root;
        m_root = nullptr;
        root->Delete();
    }

    m_resources->ReleaseDefaultFont();
    ReleaseOwnResources();

    if (m_tooltipWindow != nullptr)
        DestroyWindow(m_tooltipWindow);
    m_tooltipWindow = nullptr;

    // Each device context goes before its bitmap, which is selected into it.
    if (m_offscreenDc != nullptr)
        DeleteDC(m_offscreenDc);
    if (m_offscreenBitmap != nullptr)
        DeleteObject(m_offscreenBitmap);
    if (m_backgroundDc != nullptr)
        DeleteDC(m_backgroundDc);
    if (m_backgroundBitmap != nullptr)
        DeleteObject(m_backgroundBitmap);
    if (m_paintDc != nullptr)
        ReleaseDC(m_window, m_paintDc);

    int index = s_managers.Find(this);
    if (index >= 0)
        s_managers.Remove(index);
    if (m_gdiplusToken != 0)
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

void CUIManager::AttachWindow(HWND window, const wchar_t* name)
{
    m_controlNames.Clear();
    ReleaseOwnResources();
    m_name = name;

    if (window == m_window)
        return;
    DetachAccessTree();
    m_accessClosed = false;
    // A manager moved to another window gives back the old window's device
    // context and stays listed once.
    if (m_paintDc != nullptr)
        ReleaseDC(m_window, m_paintDc);
    m_window = window;
    m_paintDc = window != nullptr ? GetDC(window) : nullptr;
    if (window != nullptr && s_managers.Find(this) < 0)
        s_managers.Add(this);
}

void CUIManager::ReleaseOwnResources()
{
    m_resources->ReleaseOwn();
    RemoveAllTimers();
}

void CUIManager::ForgetControl(IControlUI* control)
{
    if (control == nullptr)
        return;
    if (m_root == control)
        m_root = nullptr;
    if (m_accessTree != nullptr)
        m_accessTree->Forget(control);
    m_controlNames.Remove(control->GetName().GetData(), control);
    KillTimers(control);
    control->ForgetReferences();
}

void CUIManager::RemoveAllTimers()
{
    for (int i = 0; i < m_timers.GetSize(); ++i)
    {
        TimerRecord* timer = static_cast<TimerRecord*>(m_timers[i]);
        if (!timer->killed && IsWindow(timer->window))
            ::KillTimer(timer->window, timer->platformId);
        delete timer;
    }
    m_timers.Empty();
}

}  // namespace DuiLib
