// CUIManager: the per-window object that turns one native window into a drawn
// control tree, and the IRenderHost the drawing code reads. It keeps the
// window binding, the control tree with its names and lifetime, and routes
// the window's messages; owned parts, each documented in its own header, do
// the rest, and the manager hands their operations on under these names.
// Skin settings and language texts are CSkinSettings' and CLanguageTexts'.
// Invariant: every control pointer the manager keeps that may outlive the
// control is a CControlRef, which reads null once the control has gone.
//
// [SECTIONS] process-wide state · construction and window · window
// attributes · control tree and lifetime · message routing · the parts'
// operations: resources, option groups, translucency, painting, focus and
// timers, notifications, accessibility, input · private
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/AttributeTable.h"
#include "ui/core/LanguageTexts.h"
#include "ui/core/PtrList.h"
#include "ui/core/UIRect.h"
#include "ui/core/UIString.h"
#include "ui/markup/SkinSettings.h"
#include "ui/render/ImageDrawSpec.h"
#include "ui/render/RenderHost.h"

namespace DuiLib {

class CAccessBridge;
class CControlRegistry;
class CControlTimers;
class CFocusKeeper;
class CInputDispatch;
class CLayeredPresenter;
class CNotifier;
class COptionGroups;
class CPreTranslator;
class CSkinArchive;
class CUIResources;
class CWindowPainter;
class CWindowSettings;
class IControlUI;
class IMessageFilterUI;
class INotifyUI;
class ITranslateAccelerator;
struct NotifyEvent;

// Creates a control for a skin tag that the layout builder does not know, or
// returns null.
using ControlFactoryProc = IControlUI* (*)(const wchar_t* className);

class CUIManager : public IRenderHost
{
public:
    // ---- Process-wide state -------------------------------------------------

    // The process's skin settings, kept under these names for callers; they
    // live in CSkinSettings, which documents them.
    static void SetModuleInstance(HINSTANCE instance) { CSkinSettings::SetModuleInstance(instance); }
    static HINSTANCE GetModuleInstance() { return CSkinSettings::GetModuleInstance(); }
    static HINSTANCE GetResourceModule() { return CSkinSettings::GetResourceModule(); }
    static const CUIString& GetSkinFolder() { return CSkinSettings::GetSkinFolder(); }
    // The uninstaller never calls it (its skin is the archive); a skin viewer
    // reads a designer's folder through it.
    static void SetSkinFolder(const wchar_t* folder) { CSkinSettings::SetSkinFolder(folder); }
    static const CUIString& GetSkinZipName() { return CSkinSettings::GetSkinZipName(); }
    static bool IsSkinZipKeptOpen() { return CSkinSettings::IsSkinZipKeptOpen(); }
    static CSkinArchive* GetSkinZipHandle() { return CSkinSettings::GetSkinZipHandle(); }
    static const char* GetSkinZipPassword() { return CSkinSettings::GetSkinZipPassword(); }
    static void SetSkinZipFromMemory(const void* buffer, unsigned length, const char* password);

    // Fills the hue, saturation and lightness; true when images are adjusted.
    static bool GetHslAdjustment(short& hue, short& saturation, short& lightness);

    // Every live manager, in order of AttachWindow; never owns them.
    static const CPtrList& GetManagers();
    // The solid red pen that outlines repainted areas; null before the first
    // manager is constructed.
    static HPEN GetDirtyOutlinePen();

    // ControlFactoryProc entries, in the order added; null is ignored.
    static void AddControlFactory(ControlFactoryProc factory);
    static const CPtrList& GetControlFactories();

    // Language texts, kept under these names for callers; CLanguageTexts'.
    static void AddLanguageText(int id, const wchar_t* text) { CLanguageTexts::Add(id, text); }
    static const wchar_t* GetLanguageText(int id) { return CLanguageTexts::Get(id); }
    static void ExpandLanguageTokens(CUIString& text) { CLanguageTexts::ExpandTokens(text); }

    // ---- Construction and window --------------------------------------------

    CUIManager();
    CUIManager(const CUIManager&) = delete;
    CUIManager& operator=(const CUIManager&) = delete;
    ~CUIManager();

    // Binds the manager to window: drops this manager's own resource tables,
    // window attributes, option groups, timers and control names, takes name
    // (null counts as ""), and for a new window takes its device context and
    // joins the list of managers.
    void AttachWindow(HWND window, const wchar_t* name);
    HWND GetPaintWindow() const { return m_window; }
    // The window's device context from AttachWindow; null before.
    HDC GetPaintDC() const override { return m_paintDc; }
    const CUIString& GetName() const { return m_name; }

    // ---- Window attributes --------------------------------------------------

    // Applies one attribute of a skin's "Window" element. Names compare
    // without regard to case, except "noactivate", "layeredopacity" and
    // "layeredimage", which match only in that spelling; any other name
    // (those three spelled otherwise included) becomes a window custom
    // attribute. Null name or value counts as "". Numbers are held within
    // +-2^24; an opacity within 0..255.
    void SetWindowAttribute(const wchar_t* name, const wchar_t* value);
    // The rows SetWindowAttribute applies from.
    static const CAttributeTable<CUIManager>& GetWindowAttributeTable();

    // The stored values, kept by CWindowSettings.
    void SetInitSize(int width, int height);
    SIZE GetInitSize() const;
    void SetMinInfo(int width, int height);
    SIZE GetMinInfo() const;
    void SetMaxInfo(int width, int height);
    SIZE GetMaxInfo() const;
    void SetSizeBox(const RECT& box);
    const CUIRect& GetSizeBox() const;
    void SetCaptionRect(const RECT& caption);
    const CUIRect& GetCaptionRect();
    void SetRoundCorner(int width, int height);
    SIZE GetRoundCorner() const;
    void SetShowDirty(bool show);
    bool IsShowDirty() const;
    void SetNoActivate(bool noActivate);
    bool IsNoActivate() const;

    // ---- Control tree and lifetime ------------------------------------------

    // The top of the control tree; owned, deleted with the manager.
    IControlUI* GetRoot() const { return m_root; }
    // Makes root the top of the tree and registers its names; the next paint
    // lays it out, sends "windowinit" and focuses the first tab stop. An
    // earlier root is queued for deletion with the queued notifications
    // dropped. Null leaves the manager without a tree and answers false.
    bool AttachRootControl(IControlUI* root);
    // Drops what this manager keeps of control before it is destroyed (or
    // leaves the manager): the root, its name registration, its timers and
    // the accessible elements made for it; every CControlRef to it (focus,
    // hover, click, option groups, notifications it sent, painting lists,
    // the deletion queue) reads null from then on. A null control is ignored.
    void ForgetControl(IControlUI* control);
    // Names, registration and the layout builder's loan: CControlRegistry.
    bool RegisterControlTree(IControlUI* control, IControlUI* parent);
    IControlUI* LocateControl(const wchar_t* name);
    bool RenameControl(IControlUI* control, const wchar_t* name);
    void LendResources(IControlUI* control);
    bool IsBorrower(const IControlUI* control) const;

    // ---- Message routing ----------------------------------------------------

    // The window procedure's entry. True when the manager handled message,
    // with result holding the answer; false (result undefined) when the
    // window should handle it itself. Without a window nothing is handled.
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Run by every message loop before TranslateMessage: true when a manager
    // consumed the message, which the loop then drops.
    static bool FilterBeforeDispatch(const MSG& message);

    // ---- Resources: CUIResources --------------------------------------------

    void SetUseSharedResources(bool use);
    bool IsUsingSharedResources() const;
    DWORD GetDisabledFontColor() const;
    void SetDisabledFontColor(DWORD color, ResourceScope scope);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD color, ResourceScope scope);
    DWORD GetLinkFontColor() const override;
    void SetLinkFontColor(DWORD color, ResourceScope scope);
    DWORD GetLinkHoverFontColor() const override;
    void SetLinkHoverFontColor(DWORD color, ResourceScope scope);
    DWORD GetSelectedColor() const override;
    void SetSelectedColor(DWORD color, ResourceScope scope);
    HFONT AddFont(int id, const wchar_t* face, int size, UINT styles, ResourceScope scope) override;
    HFONT GetFont(int id) override;
    HFONT FindFont(const wchar_t* face, int size, UINT styles) override;
    FontEntry* GetFontEntry(int id) override;
    FontEntry* GetFontEntry(HFONT font) override;
    FontEntry* GetDefaultFontEntry() override;
    bool SetDefaultFont(const wchar_t* face, int size, UINT styles, ResourceScope scope);
    void RemoveAllFonts(ResourceScope scope);
    ImageEntry* AddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl, ResourceScope scope);
    ImageEntry* GetImage(const wchar_t* name);
    ImageEntry* GetOrAddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl) override;
    void RemoveAllImages(ResourceScope scope);
    void AddDefaultAttributes(const wchar_t* className, const wchar_t* list, ResourceScope scope);
    const wchar_t* GetDefaultAttributes(const wchar_t* className);
    void RemoveAllDefaultAttributes(ResourceScope scope);
    void AddWindowCustomAttribute(const wchar_t* name, const wchar_t* value);
    const wchar_t* GetWindowCustomAttribute(const wchar_t* name);
    void RemoveAllWindowCustomAttributes();

    // ---- Option groups: COptionGroups ---------------------------------------

    bool JoinOptionGroup(const wchar_t* group, IControlUI* option);
    const CPtrList* OptionGroupMembers(const wchar_t* group);
    void LeaveOptionGroup(const wchar_t* group, IControlUI* option);
    void ClearOptionGroups();

    // ---- Translucency: CLayeredPresenter ------------------------------------

    void SetOpacity(BYTE alpha);
    BYTE GetOpacity() const;
    void SetLayered(bool layered);
    bool IsLayered() const override;
    void SetLayeredOpacity(BYTE alpha);
    void SetLayeredImage(const wchar_t* description);
    const ImageDrawSpec& GetLayeredImage() const;
    void SetLayeredPadding(const RECT& padding);
    const CUIRect& GetLayeredPadding() const;
    void SetShadowSize(int size);
    int GetShadowSize() const;
    void SetShadowColor(DWORD color);
    DWORD GetShadowColor() const;
    void SetShadowFocusScales(float scale);
    float GetShadowFocusScales() const;

    // ---- Painting: CWindowPainter -------------------------------------------

    void Invalidate();
    void Invalidate(const RECT& rect);
    void RequestLayout();
    bool IsLayoutRequested() const;
    bool IsPainting() const override;
    void PaintRoot(HDC dc, const RECT& rect, IControlUI* stopControl) override;
    HBITMAP GetOffscreenBitmap() const;
    HDC GetOffscreenDC() const override;
    CPtrList& FoundControlScratch();
    bool AddOverlayPainter(IControlUI* control);
    bool RemoveOverlayPainter(IControlUI* control);
    bool AddHostedWindow(IControlUI* control, HWND window);
    bool RemoveHostedWindow(HWND window);
    CUIRect HostedWindowRect(HWND window) const;

    // ---- Focus: CFocusKeeper; control timers: CControlTimers -----------------

    IControlUI* GetFocus() const;
    void SetFocus(IControlUI* control, bool setNativeFocus);
    bool SetTabSuccessor(bool forward);
    void RequestFocusSoon(IControlUI* control);
    bool SetTimer(IControlUI* control, UINT key, UINT milliseconds);
    bool KillTimer(IControlUI* control, UINT key);
    void KillTimers(IControlUI* control);
    void RemoveAllTimers();

    // ---- Notifications and deferred deletion: CNotifier ---------------------

    bool AddListener(INotifyUI* listener);
    bool RemoveListener(INotifyUI* listener);
    void RaiseNotify(IControlUI* control, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0,
                     bool async = false, bool enableRepeat = true);
    void RaiseNotify(NotifyEvent& notification, bool async, bool enableRepeat);
    void SetUseVirtualWindowNames(bool use);
    bool IsUsingVirtualWindowNames() const;
    void QueueForDeletion(IControlUI* control);

    // ---- Accessibility: CAccessBridge ---------------------------------------

    void RaiseAccessEvent(DWORD event, IControlUI* control);

    // ---- Input: CInputDispatch, pre-translation: CPreTranslator -------------
    // The filter interfaces are defined in MessageFilter.h.

    POINT GetMousePos() const override;
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;
    bool AddFilter(IMessageFilterUI* filter);
    bool RemoveFilter(IMessageFilterUI* filter);
    bool AddPreFilter(IMessageFilterUI* filter);
    bool AddLeaveWatcher(IControlUI* control);
    bool RemoveLeaveWatcher(IControlUI* control);
    bool AddKeyTranslator(ITranslateAccelerator* translator);
    bool RemoveKeyTranslator(ITranslateAccelerator* translator);
    IControlUI* LocateControl(POINT point) const;
    bool PreRouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool TranslateKey(const MSG& message);

private:
    // WM_PAINT: the painter's frame; after a drawn one, new accessible
    // elements are announced and a control that wanted layout or focus
    // while it was drawn gets one more paint.
    void PaintWindow();
    // WM_TIMER: the layered frame clock, else a control timer.
    void OnTimer(WPARAM wParam, LPARAM lParam);
    // Focus that moved into a hosted native window makes its control the
    // focus control.
    void OnKillFocus(WPARAM wParam);
    // Frees the own resource tables, option groups and timers.
    void ReleaseOwnResources();

    static CPtrList s_managers;
    static HPEN s_dirtyOutlinePen;
    static CPtrList s_controlFactories;

    HWND m_window = nullptr;
    HDC m_paintDc = nullptr;
    CUIString m_name;
    IControlUI* m_root = nullptr;
    ULONG_PTR m_gdiplusToken = 0;

    // The parts, made in this order; a part may hold references to parts
    // made before it, which outlive it.
    std::unique_ptr<CControlRegistry> m_registry;
    std::unique_ptr<CAccessBridge> m_access;
    std::unique_ptr<CUIResources> m_resources;
    std::unique_ptr<COptionGroups> m_optionGroups;
    std::unique_ptr<CWindowSettings> m_settings;
    std::unique_ptr<CNotifier> m_notifier;
    std::unique_ptr<CControlTimers> m_timers;
    std::unique_ptr<CFocusKeeper> m_focusKeeper;
    std::unique_ptr<CLayeredPresenter> m_presenter;
    std::unique_ptr<CWindowPainter> m_painter;
    std::unique_ptr<CInputDispatch> m_input;
    std::unique_ptr<CPreTranslator> m_preTranslator;
};

}  // namespace DuiLib
