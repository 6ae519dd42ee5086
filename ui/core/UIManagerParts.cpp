// CUIManager's public operations that its parts own, handed on unchanged:
// each part's header documents what they do. Nothing here decides anything.
//
// [SECTIONS] control registry · resources · option groups · window settings ·
// translucency · painting · focus · timers · notifications · accessibility ·
// input
#include "ui/core/UIManager.h"

#include "ui/core/AccessBridge.h"
#include "ui/core/ControlRegistry.h"
#include "ui/core/ControlTimers.h"
#include "ui/core/FocusKeeper.h"
#include "ui/core/InputDispatch.h"
#include "ui/core/LayeredPresenter.h"
#include "ui/core/Notifier.h"
#include "ui/core/OptionGroups.h"
#include "ui/core/PreTranslator.h"
#include "ui/core/UIResources.h"
#include "ui/core/WindowPainter.h"
#include "ui/core/WindowSettings.h"

namespace DuiLib {

// ---- Control registry -------------------------------------------------------

bool CUIManager::RegisterControlTree(IControlUI* control, IControlUI* parent)
{
    return m_registry->RegisterControlTree(control, parent);
}

IControlUI* CUIManager::LocateControl(const wchar_t* name) { return m_registry->LocateControl(name); }
bool CUIManager::RenameControl(IControlUI* control, const wchar_t* name)
{
    return m_registry->RenameControl(control, name);
}

void CUIManager::LendResources(IControlUI* control) { m_registry->LendResources(control); }
bool CUIManager::IsBorrower(const IControlUI* control) const { return m_registry->IsBorrower(control); }

// ---- Resources --------------------------------------------------------------

bool CUIManager::GetHslAdjustment(short& hue, short& saturation, short& lightness)
{
    return CUIResources::GetHslAdjustment(hue, saturation, lightness);
}

void CUIManager::SetUseSharedResources(bool use) { m_resources->SetUseShared(use); }
bool CUIManager::IsUsingSharedResources() const { return m_resources->IsUsingShared(); }
DWORD CUIManager::GetDisabledFontColor() const { return m_resources->GetDisabledFontColor(); }
DWORD CUIManager::GetDefaultFontColor() const { return m_resources->GetDefaultFontColor(); }
DWORD CUIManager::GetLinkFontColor() const { return m_resources->GetLinkFontColor(); }
DWORD CUIManager::GetLinkHoverFontColor() const { return m_resources->GetLinkHoverFontColor(); }
DWORD CUIManager::GetSelectedColor() const { return m_resources->GetSelectedColor(); }

void CUIManager::SetDisabledFontColor(DWORD color, ResourceScope scope)
{
    m_resources->SetDisabledFontColor(color, scope);
}

void CUIManager::SetDefaultFontColor(DWORD color, ResourceScope scope)
{
    m_resources->SetDefaultFontColor(color, scope);
}

void CUIManager::SetLinkFontColor(DWORD color, ResourceScope scope)
{
    m_resources->SetLinkFontColor(color, scope);
}

void CUIManager::SetLinkHoverFontColor(DWORD color, ResourceScope scope)
{
    m_resources->SetLinkHoverFontColor(color, scope);
}

void CUIManager::SetSelectedColor(DWORD color, ResourceScope scope)
{
    m_resources->SetSelectedColor(color, scope);
}

HFONT CUIManager::AddFont(int id, const wchar_t* face, int size, UINT styles, ResourceScope scope)
{
    return m_resources->AddFont(id, face, size, styles, scope);
}

HFONT CUIManager::GetFont(int id) { return m_resources->GetFont(id); }

HFONT CUIManager::FindFont(const wchar_t* face, int size, UINT styles)
{
    return m_resources->FindFont(face, size, styles);
}

FontEntry* CUIManager::GetFontEntry(int id) { return m_resources->GetFontEntry(id); }
FontEntry* CUIManager::GetFontEntry(HFONT font) { return m_resources->GetFontEntry(font); }
FontEntry* CUIManager::GetDefaultFontEntry() { return m_resources->GetDefaultFontEntry(); }

bool CUIManager::SetDefaultFont(const wchar_t* face, int size, UINT styles, ResourceScope scope)
{
    return m_resources->SetDefaultFont(face, size, styles, scope);
}

void CUIManager::RemoveAllFonts(ResourceScope scope) { m_resources->RemoveAllFonts(scope); }

ImageEntry* CUIManager::AddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl,
                                 ResourceScope scope)
{
    return m_resources->AddImage(name, type, mask, useHsl, scope);
}

ImageEntry* CUIManager::GetImage(const wchar_t* name) { return m_resources->GetImage(name); }

ImageEntry* CUIManager::GetOrAddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl)
{
    return m_resources->GetOrAddImage(name, type, mask, useHsl);
}

void CUIManager::RemoveAllImages(ResourceScope scope) { m_resources->RemoveAllImages(scope); }

void CUIManager::AddDefaultAttributes(const wchar_t* className, const wchar_t* list, ResourceScope scope)
{
    m_resources->AddDefaultAttributes(className, list, scope);
}

const wchar_t* CUIManager::GetDefaultAttributes(const wchar_t* className)
{
    return m_resources->GetDefaultAttributes(className);
}

void CUIManager::RemoveAllDefaultAttributes(ResourceScope scope) { m_resources->RemoveAllDefaultAttributes(scope); }

void CUIManager::AddWindowCustomAttribute(const wchar_t* name, const wchar_t* value)
{
    m_resources->AddWindowCustomAttribute(name, value);
}

const wchar_t* CUIManager::GetWindowCustomAttribute(const wchar_t* name)
{
    return m_resources->GetWindowCustomAttribute(name);
}

void CUIManager::RemoveAllWindowCustomAttributes() { m_resources->RemoveAllWindowCustomAttributes(); }

// ---- Option groups ----------------------------------------------------------

bool CUIManager::JoinOptionGroup(const wchar_t* group, IControlUI* option)
{
    return m_optionGroups->Join(group, option);
}

const CPtrList* CUIManager::OptionGroupMembers(const wchar_t* group) { return m_optionGroups->Members(group); }
void CUIManager::LeaveOptionGroup(const wchar_t* group, IControlUI* option) { m_optionGroups->Leave(group, option); }
void CUIManager::ClearOptionGroups() { m_optionGroups->Clear(); }

// ---- Window settings --------------------------------------------------------

void CUIManager::SetInitSize(int width, int height) { m_settings->SetInitSize(width, height); }
SIZE CUIManager::GetInitSize() const { return m_settings->GetInitSize(); }
void CUIManager::SetMinInfo(int width, int height) { m_settings->SetMinInfo(width, height); }
SIZE CUIManager::GetMinInfo() const { return m_settings->GetMinInfo(); }
void CUIManager::SetMaxInfo(int width, int height) { m_settings->SetMaxInfo(width, height); }
SIZE CUIManager::GetMaxInfo() const { return m_settings->GetMaxInfo(); }
void CUIManager::SetSizeBox(const RECT& box) { m_settings->SetSizeBox(box); }
const CUIRect& CUIManager::GetSizeBox() const { return m_settings->GetSizeBox(); }
void CUIManager::SetCaptionRect(const RECT& caption) { m_settings->SetCaptionRect(caption); }
const CUIRect& CUIManager::GetCaptionRect() { return m_settings->GetCaptionRect(); }
void CUIManager::SetRoundCorner(int width, int height) { m_settings->SetRoundCorner(width, height); }
SIZE CUIManager::GetRoundCorner() const { return m_settings->GetRoundCorner(); }
void CUIManager::SetShowDirty(bool show) { m_settings->SetShowDirty(show); }
bool CUIManager::IsShowDirty() const { return m_settings->IsShowDirty(); }
void CUIManager::SetNoActivate(bool noActivate) { m_settings->SetNoActivate(noActivate); }
bool CUIManager::IsNoActivate() const { return m_settings->IsNoActivate(); }

// ---- Translucency -----------------------------------------------------------

void CUIManager::SetOpacity(BYTE alpha) { m_presenter->SetOpacity(alpha); }
BYTE CUIManager::GetOpacity() const { return m_presenter->GetOpacity(); }
void CUIManager::SetLayered(bool layered) { m_presenter->SetLayered(layered); }
bool CUIManager::IsLayered() const { return m_presenter->IsLayered(); }
void CUIManager::SetLayeredOpacity(BYTE alpha) { m_presenter->SetLayeredOpacity(alpha); }
void CUIManager::SetLayeredImage(const wchar_t* description) { m_presenter->SetLayeredImage(description); }
const ImageDrawSpec& CUIManager::GetLayeredImage() const { return m_presenter->GetLayeredImage(); }
void CUIManager::SetLayeredPadding(const RECT& padding) { m_presenter->SetLayeredPadding(padding); }
const CUIRect& CUIManager::GetLayeredPadding() const { return m_presenter->GetLayeredPadding(); }
void CUIManager::SetShadowSize(int size) { m_presenter->SetShadowSize(size); }
int CUIManager::GetShadowSize() const { return m_presenter->GetShadowSize(); }
void CUIManager::SetShadowColor(DWORD color) { m_presenter->SetShadowColor(color); }
DWORD CUIManager::GetShadowColor() const { return m_presenter->GetShadowColor(); }
void CUIManager::SetShadowFocusScales(float scale) { m_presenter->SetShadowFocusScales(scale); }
float CUIManager::GetShadowFocusScales() const { return m_presenter->GetShadowFocusScales(); }

// ---- Painting ---------------------------------------------------------------

void CUIManager::Invalidate() { m_painter->Invalidate(); }
void CUIManager::Invalidate(const RECT& rect) { m_painter->Invalidate(rect); }
void CUIManager::RequestLayout() { m_painter->RequestLayout(); }
bool CUIManager::IsLayoutRequested() const { return m_painter->IsLayoutRequested(); }
bool CUIManager::IsPainting() const { return m_painter->IsPainting(); }

void CUIManager::PaintRoot(HDC dc, const RECT& rect, IControlUI* stopControl)
{
    m_painter->PaintRoot(dc, rect, stopControl);
}

HBITMAP CUIManager::GetOffscreenBitmap() const { return m_painter->GetOffscreenBitmap(); }
HDC CUIManager::GetOffscreenDC() const { return m_painter->GetOffscreenDC(); }
CPtrList& CUIManager::FoundControlScratch() { return m_painter->FoundControlScratch(); }
bool CUIManager::AddOverlayPainter(IControlUI* control) { return m_painter->AddOverlayPainter(control); }
bool CUIManager::RemoveOverlayPainter(IControlUI* control) { return m_painter->RemoveOverlayPainter(control); }

bool CUIManager::AddHostedWindow(IControlUI* control, HWND window)
{
    return m_painter->AddHostedWindow(control, window);
}

bool CUIManager::RemoveHostedWindow(HWND window) { return m_painter->RemoveHostedWindow(window); }
CUIRect CUIManager::HostedWindowRect(HWND window) const { return m_painter->HostedWindowRect(window); }

// ---- Focus ------------------------------------------------------------------

IControlUI* CUIManager::GetFocus() const { return m_focusKeeper->GetFocus(); }

void CUIManager::SetFocus(IControlUI* control, bool setNativeFocus)
{
    m_focusKeeper->SetFocus(control, setNativeFocus);
}

bool CUIManager::SetTabSuccessor(bool forward) { return m_focusKeeper->SetTabSuccessor(forward); }
void CUIManager::RequestFocusSoon(IControlUI* control) { m_focusKeeper->RequestFocusSoon(control); }

// ---- Timers -----------------------------------------------------------------

bool CUIManager::SetTimer(IControlUI* control, UINT key, UINT milliseconds)
{
    return m_timers->SetTimer(control, key, milliseconds);
}

bool CUIManager::KillTimer(IControlUI* control, UINT key) { return m_timers->KillTimer(control, key); }
void CUIManager::KillTimers(IControlUI* control) { m_timers->KillTimers(control); }
void CUIManager::RemoveAllTimers() { m_timers->RemoveAllTimers(); }

// ---- Notifications ----------------------------------------------------------

bool CUIManager::AddListener(INotifyUI* listener) { return m_notifier->AddListener(listener); }
bool CUIManager::RemoveListener(INotifyUI* listener) { return m_notifier->RemoveListener(listener); }

void CUIManager::RaiseNotify(IControlUI* control, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async,
                             bool enableRepeat)
{
    m_notifier->RaiseNotify(control, type, wParam, lParam, async, enableRepeat);
}

void CUIManager::RaiseNotify(NotifyEvent& notification, bool async, bool enableRepeat)
{
    m_notifier->RaiseNotify(notification, async, enableRepeat);
}

void CUIManager::SetUseVirtualWindowNames(bool use) { m_notifier->SetUseVirtualWindowNames(use); }
bool CUIManager::IsUsingVirtualWindowNames() const { return m_notifier->IsUsingVirtualWindowNames(); }
void CUIManager::QueueForDeletion(IControlUI* control) { m_notifier->QueueForDeletion(control); }

// ---- Accessibility ----------------------------------------------------------

void CUIManager::RaiseAccessEvent(DWORD event, IControlUI* control) { m_access->RaiseEvent(event, control); }

// ---- Input ------------------------------------------------------------------

POINT CUIManager::GetMousePos() const { return m_input->GetMousePos(); }
void CUIManager::SetCapture() { m_input->SetCapture(); }
void CUIManager::ReleaseCapture() { m_input->ReleaseCapture(); }
bool CUIManager::IsCaptured() const { return m_input->IsCaptured(); }
bool CUIManager::AddFilter(IMessageFilterUI* filter) { return m_input->AddFilter(filter); }
bool CUIManager::RemoveFilter(IMessageFilterUI* filter) { return m_input->RemoveFilter(filter); }
bool CUIManager::AddPreFilter(IMessageFilterUI* filter) { return m_preTranslator->AddPreFilter(filter); }
bool CUIManager::AddLeaveWatcher(IControlUI* control) { return m_input->AddLeaveWatcher(control); }
bool CUIManager::RemoveLeaveWatcher(IControlUI* control) { return m_input->RemoveLeaveWatcher(control); }

IControlUI* CUIManager::LocateControl(POINT point) const { return m_input->LocateControl(point); }

bool CUIManager::AddKeyTranslator(ITranslateAccelerator* translator)
{
    return m_preTranslator->AddKeyTranslator(translator);
}

bool CUIManager::RemoveKeyTranslator(ITranslateAccelerator* translator)
{
    return m_preTranslator->RemoveKeyTranslator(translator);
}

bool CUIManager::PreRouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return m_preTranslator->PreRouteMessage(message, wParam, lParam, result);
}

bool CUIManager::TranslateKey(const MSG& message) { return m_preTranslator->TranslateKey(message); }

}  // namespace DuiLib
