// CUIManager lifetime: the process-wide state, construction of the parts,
// AttachWindow, destruction in its fixed order, attaching a new tree and
// ForgetControl, the one place where control pointers are dropped.
// Invariant: the parts outlive the tree, whose controls call back into them
// while they are deleted.
#include "ui/core/UIManager.h"

#include <objidl.h>
#include <commctrl.h>
#include <gdiplus.h>

#include "ui/control/ControlInterface.h"
#include "ui/core/AccessBridge.h"
#include "ui/core/ControlRegistry.h"
#include "ui/core/ControlTimers.h"
#include "ui/core/FocusKeeper.h"
#include "ui/core/InputDispatch.h"
#include "ui/core/LayeredPresenter.h"
#include "ui/core/Notifier.h"
#include "ui/core/Notify.h"
#include "ui/core/OptionGroups.h"
#include "ui/core/PreTranslator.h"
#include "ui/core/UIResources.h"
#include "ui/core/WindowPainter.h"
#include "ui/core/WindowSettings.h"

namespace DuiLib {

CPtrList CUIManager::s_managers;
HPEN CUIManager::s_dirtyOutlinePen = nullptr;
CPtrList CUIManager::s_controlFactories;

void CUIManager::SetSkinZipFromMemory(const void* buffer, unsigned length, const char* password)
{
    CSkinSettings::SetSkinZipFromMemory(buffer, length, password);
}

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

CUIManager::CUIManager()
    : m_registry(std::make_unique<CControlRegistry>(*this)),
      m_access(std::make_unique<CAccessBridge>(*this)),
      m_resources(std::make_unique<CUIResources>(*this)),
      m_optionGroups(std::make_unique<COptionGroups>()),
      m_settings(std::make_unique<CWindowSettings>(*this)),
      m_notifier(std::make_unique<CNotifier>(*this)),
      m_timers(std::make_unique<CControlTimers>(*this, *m_notifier)),
      m_focusKeeper(std::make_unique<CFocusKeeper>(*this, *m_notifier)),
      m_presenter(std::make_unique<CLayeredPresenter>(*this)),
      m_painter(std::make_unique<CWindowPainter>(*this, *m_presenter, *m_focusKeeper)),
      m_input(std::make_unique<CInputDispatch>(*this)),
      m_preTranslator(std::make_unique<CPreTranslator>(*this))
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
    m_access->Detach();
    // Queued work first: deferred controls and notifications may name
    // controls of the tree that is deleted next.
    m_notifier->DeleteQueuedControls(m_notifier->DeliveryDepth());
    m_notifier->DropQueuedNotifications();
    m_registry->Clear();

    if (m_root != nullptr)
    {
        IControlUI* root = m_root;
        m_root = nullptr;
        root->Delete();
    }

    m_resources->ReleaseDefaultFont();
    ReleaseOwnResources();

    m_input->DestroyToolTip();

    // The pictures go before the window's device context they were made for.
    m_painter->ReleaseOffscreen();
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
    m_registry->Clear();
    ReleaseOwnResources();
    m_name = name;

    if (window == m_window)
        return;
    m_access->Detach();
    m_access->Reopen();
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
    m_optionGroups->Clear();
    m_timers->RemoveAllTimers();
}

void CUIManager::ForgetControl(IControlUI* control)
{
    if (control == nullptr)
        return;
    if (m_root == control)
        m_root = nullptr;
    m_access->Forget(control);
    m_registry->Forget(control);
    m_timers->KillTimers(control);
    control->ForgetReferences();
}

// ---- Control tree -----------------------------------------------------------

bool CUIManager::AttachRootControl(IControlUI* root)
{
    SetFocus(nullptr, true);
    m_input->ForgetTreeControls();
    if (m_root != nullptr)
    {
        m_notifier->DeleteQueuedControls(0);
        m_notifier->DropQueuedNotifications();
        m_registry->Clear();
        m_painter->ForgetTreeLists();
        // The old tree's own code may be running (a page switch made from a
        // click handler), so it goes later.
        IControlUI* old = m_root;
        m_root = nullptr;
        QueueForDeletion(old);
    }
    m_root = root;
    m_painter->ExpectNewTree();
    m_focusKeeper->SetFocusPending();
    return m_registry->RegisterControlTree(root, nullptr);
}

}  // namespace DuiLib
