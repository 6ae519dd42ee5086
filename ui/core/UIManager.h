// CUIManager: the per-window object that turns one native window into a drawn
// control tree, and the IRenderHost the drawing code reads. This header holds
// the whole class; its resource half (font/image/attribute tables, option
// groups) lives in UIManagerResources.cpp, construction in UIManager.cpp,
// painting in UIManagerPaint.cpp, focus and the control tree in
// UIManagerFocus.cpp, timers and notifications in UIManagerTimers.cpp and
// UIManagerNotify.cpp, the window attributes and translucent mode in
// UIManagerAttributes.cpp, the shadowed layered presentation in
// UIManagerShadow.cpp, the accessible tree's glue in UIManagerAccess.cpp.
// The skin settings and language texts are CSkinSettings' and
// CLanguageTexts'; the statics of their names here forward to them.
// Invariant: every control pointer the manager keeps that may outlive the
// control is a CControlRef, which reads null once the control has gone.
//
// [SECTIONS] process-wide state · construction and window ·
// colours · fonts · images · default attributes · window custom attributes ·
// window attributes and translucent windows · option groups · language texts ·
// control tree and lifetime · painting · focus · control timers ·
// notifications · accessibility · message and input dispatch · fields
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/AttributeTable.h"
#include "ui/core/ControlNames.h"
#include "ui/core/ControlRef.h"
#include "ui/core/LanguageTexts.h"
#include "ui/core/NameMap.h"
#include "ui/core/PtrList.h"
#include "ui/core/UIRect.h"
#include "ui/core/UIString.h"
#include "ui/markup/SkinSettings.h"
#include "ui/render/ImageDrawSpec.h"
#include "ui/render/ImageEntry.h"
#include "ui/render/RenderHost.h"

namespace DuiLib {

class CAccessibleTree;
class CControlTimers;
class CFocusKeeper;
class CLayeredPresenter;
class CNotifier;
class CSkinArchive;
class CUIResources;
class CWindowPainter;
class IControlUI;
class INotifyUI;
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
    static void SetSkinZipFromMemory(const void* buffer, unsigned length, const char* password)
    {
        CSkinSettings::SetSkinZipFromMemory(buffer, length, password);
    }

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

    // ---- Language texts (process-wide) --------------------------------------
    // Kept under these names for callers; the table is CLanguageTexts.

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

    // ---- Resources ----------------------------------------------------------
    // Colours, fonts, images, default attribute lists, window custom
    // attributes and option groups are CUIResources', which documents them.

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

    bool JoinOptionGroup(const wchar_t* group, IControlUI* option);
    const CPtrList* OptionGroupMembers(const wchar_t* group);
    void LeaveOptionGroup(const wchar_t* group, IControlUI* option);
    void ClearOptionGroups();

    // ---- Window attributes and translucent windows --------------------------
    // Owned by UIManagerAttributes.cpp and UIManagerShadow.cpp.

    // Applies one attribute of a skin's "Window" element. Names compare
    // without regard to case, except "noactivate", "layeredopacity" and
    // "layeredimage", which match only in that spelling; any other name
    // (those three spelled otherwise included) becomes a window custom
    // attribute. Null name or value counts as "". Numbers are held within
    // +-2^24; an opacity within 0..255.
    void SetWindowAttribute(const wchar_t* name, const wchar_t* value);
    // The rows SetWindowAttribute applies from.
    static const CAttributeTable<CUIManager>& GetWindowAttributeTable();

    // Stores the initial size; with a window and no root yet the window is
    // resized to it (not moved, activated or reordered).
    void SetInitSize(int width, int height);
    SIZE GetInitSize() const { return m_initSize; }
    // Tracking sizes applied at WM_GETMINMAXINFO; 0 or less means not set.
    void SetMinInfo(int width, int height) { m_minInfo = SIZE{width, height}; }
    SIZE GetMinInfo() const { return m_minInfo; }
    void SetMaxInfo(int width, int height) { m_maxInfo = SIZE{width, height}; }
    SIZE GetMaxInfo() const { return m_maxInfo; }
    // Widths of the resize borders, read by the window's hit test.
    void SetSizeBox(const RECT& box) { m_sizeBox = box; }
    const CUIRect& GetSizeBox() const { return m_sizeBox; }
    // The caption: left and right insets from the client's edges, top and
    // bottom in client coordinates; a bottom of -1 stands for the window's
    // height, fixed at the first GetCaptionRect.
    void SetCaptionRect(const RECT& caption) { m_caption = caption; }
    const CUIRect& GetCaptionRect();
    // The corner ellipse of the window's region; 0 x 0 for square corners.
    void SetRoundCorner(int width, int height) { m_roundCorner = SIZE{width, height}; }
    SIZE GetRoundCorner() const { return m_roundCorner; }
    // While set (and not in layered mode), every repainted area is outlined
    // in red on the window.
    void SetShowDirty(bool show) { m_showDirty = show; }
    bool IsShowDirty() const { return m_showDirty; }
    // While set, clicks do not activate the window.
    void SetNoActivate(bool noActivate) { m_noActivate = noActivate; }
    bool IsNoActivate() const { return m_noActivate; }

    // ---- Translucency (CLayeredPresenter documents it) ----------------------

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

    // ---- Control tree and lifetime ------------------------------------------

    // The top of the control tree; owned, deleted with the manager.
    IControlUI* GetRoot() const { return m_root; }
    // Drops what this manager keeps of control before it is destroyed (or
    // leaves the manager): the root, its name registration, its timers and
    // the accessible elements made for it; every CControlRef to it (focus,
    // hover, click, option groups, notifications it sent, painting lists,
    // the deletion queue) reads null from then on. A null control is ignored.
    void ForgetControl(IControlUI* control);
    // The control registered under name (the later of two with one name);
    // null for a null or unknown name.
    IControlUI* LocateControl(const wchar_t* name);
    // Registers control under name and gives it that name. False for a null
    // control, one of another manager, an empty name or a name another
    // control holds (nothing changes then); true at once for its own name.
    // A control bound only for its attributes (IsBorrower) takes the name
    // unregistered: attaching its tree registers it.
    bool RenameControl(IControlUI* control, const wchar_t* name);
    // While the layout builder applies a control's attributes, the control
    // is bound to this manager for its fonts, images and default lists only:
    // it registers no name, joins no option group and sends no notification,
    // so that its tree is attached once, with the values its skin gave.
    // Null ends the loan.
    void LendResources(IControlUI* control) { m_borrower = control; }
    bool IsBorrower(const IControlUI* control) const { return control != nullptr && m_borrower.Get() == control; }

    // ---- Painting (CWindowPainter documents it) ----------------------------

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

    // ---- Focus (CFocusKeeper), timers (CControlTimers), notifications -------
    // ---- and the deletion queue (CNotifier); each part documents its own.

    IControlUI* GetFocus() const;
    void SetFocus(IControlUI* control, bool setNativeFocus);
    bool SetTabSuccessor(bool forward);
    void RequestFocusSoon(IControlUI* control);

    bool SetTimer(IControlUI* control, UINT key, UINT milliseconds);
    bool KillTimer(IControlUI* control, UINT key);
    void KillTimers(IControlUI* control);
    // Stops every platform timer of this manager's window and frees the records.
    void RemoveAllTimers();

    bool AddListener(INotifyUI* listener);
    bool RemoveListener(INotifyUI* listener);
    void RaiseNotify(IControlUI* control, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0,
                     bool async = false, bool enableRepeat = true);
    void RaiseNotify(NotifyEvent& notification, bool async, bool enableRepeat);
    void SetUseVirtualWindowNames(bool use);
    bool IsUsingVirtualWindowNames() const;
    // The control leaves its parent and is deleted once no delivery of this
    // manager runs further up the stack.
    void QueueForDeletion(IControlUI* control);

    // ---- Accessibility (UIManagerAccess.cpp) --------------------------------
    // The window answers WM_GETOBJECT for its client area with the control
    // tree as Active Accessibility elements (AccessibleTree.h), and runs the
    // requests readers post there.

    // Tells screen readers of a change to control (an EVENT_OBJECT_* win
    // event for its element). Nothing for null, a control outside the
    // attached tree, or once the window is gone.
    void RaiseAccessEvent(DWORD event, IControlUI* control);

    // ==== Message and input dispatch ========================================
    // Owned by the dispatch side (UIManagerDispatch.cpp). Its fields carry
    // their initial values as default member initializers, since the
    // constructor lives in UIManager.cpp. Already declared below and usable
    // here: m_window, m_root, m_tooltipWindow (destroyed by ~CUIManager),
    // m_controlNames, GetManagers(). A control pointer kept here must also be
    // cleared in ForgetControl.
    //
    // The filter interfaces are defined in MessageFilter.h; they are named
    // with "class" below so that this header needs no include for them.

    // The window procedure's entry. True when the manager handled message,
    // with result holding the answer; false (result undefined) when the
    // window should handle it itself. Without a window nothing is handled.
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // This manager's share of the pre-translation of a queued message (its
    // pre-filters, Tab, Alt keys and shortcut characters): true when consumed.
    bool PreRouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Run by every message loop before TranslateMessage: true when a manager
    // consumed the message, which the loop then drops.
    static bool FilterBeforeDispatch(const MSG& message);
    // True at the first accelerator translator that answers 0.
    bool TranslateKey(const MSG& message);

    // The last mouse position in client coordinates; (-1, -1) before the
    // first mouse message.
    POINT GetMousePos() const override { return m_lastMousePos; }

    // Mouse capture for the window.
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_captured; }

    // Filter lists, never owned. Add ignores null (false); Remove takes out
    // the first occurrence and answers whether there was one. Pre-filters see
    // queued messages, filters every message of the window.
    bool AddFilter(class IMessageFilterUI* filter);
    bool RemoveFilter(IMessageFilterUI* filter);
    bool AddPreFilter(IMessageFilterUI* filter);
    // Controls told of every mouse leave of the hover control; false for
    // null or a control already listed.
    bool AddLeaveWatcher(IControlUI* control);
    bool RemoveLeaveWatcher(IControlUI* control);
    bool AddKeyTranslator(class ITranslateAccelerator* translator);
    bool RemoveKeyTranslator(ITranslateAccelerator* translator);

    // The topmost visible control whose rectangle holds point (client
    // coordinates); null without a root or where no control is.
    IControlUI* LocateControl(POINT point) const;

    // ---- Needed by dispatch, owned by painting (UIManagerPaint.cpp), focus
    // (UIManagerFocus.cpp) and window attributes.

    // Makes root the top of the tree and registers its names; the next paint
    // lays it out, sends "windowinit" and focuses the first tab stop. An
    // earlier root is queued for deletion with the queued notifications
    // dropped. Null leaves the manager without a tree and answers false.
    bool AttachRootControl(IControlUI* root);
    // Binds control (with parent, else its own parent) and stores the names
    // of its subtree; false for null.
    bool RegisterControlTree(IControlUI* control, IControlUI* parent);

private:
    void RememberMousePoint(UINT message, LPARAM lParam);
    void TrackHover(WPARAM wParam, LPARAM lParam);
    void DeliverMouseLeave(WPARAM wParam, LPARAM lParam, POINT point);
    void OnMouseLeave();
    void OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnClose(WPARAM wParam, LPARAM lParam);
    void OnKillFocus(WPARAM wParam);
    void OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSize(WPARAM wParam, LPARAM lParam);
    bool ShowToolTip(WPARAM wParam, LPARAM lParam);
    void HideToolTip();
    LRESULT SendToolRecord(UINT message, WPARAM wParam);
    bool FocusTakesTab() const;
    bool ActivateShortcut(wchar_t key);
    // WM_PAINT: the painter's frame, then what follows a drawn frame:
    // new accessible elements are announced, and a control that wanted
    // layout or focus while it was drawn gets one more paint.
    void PaintWindow();

    CControlRef m_hover;
    CControlRef m_click;
    CControlRef m_keyPress;
    CControlRef m_lastTooltipControl;
    POINT m_lastMousePos = {-1, -1};
    // What the platform tool record is built from each time it is sent.
    CUIString m_tooltipText;
    RECT m_tooltipRect = {0, 0, 0, 0};
    int m_lastTooltipWidth = -1;
    UINT m_hoverTime = 1000;  // ms, while no tool tip window exists
    bool m_mouseTracking = false;
    bool m_captured = false;
    bool m_noActivate = false;
    SIZE m_minInfo = {0, 0};
    SIZE m_maxInfo = {0, 0};
    CPtrList m_preFilters;       // IMessageFilterUI
    CPtrList m_filters;          // IMessageFilterUI
    std::vector<CControlRef> m_leaveWatchers;
    CPtrList m_keyTranslators;   // ITranslateAccelerator
public:
    // ==== End of message and input dispatch =================================


private:
    // ---- Accessibility (private) -------------------------------------------

    // The tree, made on first use while the window lives; null after the
    // window or the manager began to go.
    CAccessibleTree* AccessTree();
    // WM_GETOBJECT: for the client area, result holds the answer of
    // LresultFromObject and the answer is true; false for other objects.
    bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Disconnects every element readers still hold; no tree is made again
    // until AttachWindow binds another window.
    void DetachAccessTree();

    CAccessibleTree* m_accessTree = nullptr;  // one reference held
    bool m_accessClosed = false;

    // ---- Painting, focus, timers and notifications (private) ----------------

    void OnTimer(WPARAM wParam, LPARAM lParam);

    // Process-wide state.
    // Frees the own resource tables, option groups and timers.
    void ReleaseOwnResources();

    static CPtrList s_managers;
    static HPEN s_dirtyOutlinePen;
    static CPtrList s_controlFactories;

    CUIString m_name;
    std::unique_ptr<CUIResources> m_resources;
    std::unique_ptr<CNotifier> m_notifier;
    std::unique_ptr<CControlTimers> m_timers;
    std::unique_ptr<CFocusKeeper> m_focusKeeper;
    std::unique_ptr<CLayeredPresenter> m_presenter;  // before the painter, which uses it
    std::unique_ptr<CWindowPainter> m_painter;

    // Window and lifetime; painting, focus, timers and dispatch read these.
    HWND m_window = nullptr;
    HDC m_paintDc = nullptr;
    HWND m_tooltipWindow = nullptr;
    IControlUI* m_root = nullptr;
    CControlRef m_borrower;  // see LendResources
    CControlNames m_controlNames;
    ULONG_PTR m_gdiplusToken = 0;

    // Window attributes and translucent mode (UIManagerAttributes.cpp).
    SIZE m_initSize = {0, 0};
    CUIRect m_sizeBox;
    CUIRect m_caption;
    SIZE m_roundCorner = {0, 0};
    bool m_showDirty = false;
};

}  // namespace DuiLib
