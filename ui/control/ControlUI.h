// CControlUI: the base of every control: position and layout properties,
// state flags, the event defaults, the attribute table that is the tail of
// every control's, the fixed painting order, invalidation and the hubs. Text
// painting, children and scrolling belong to the derived controls.
// Invariant: a control that goes away tells its manager (ForgetControl), so
// the manager never keeps a pointer to it.
//
// [SECTIONS] interface operations · accessibility · colours, borders and
// images · virtual window and custom attributes · fields
#pragma once

#include <windows.h>

#include "ui/control/ControlInterface.h"
#include "ui/core/AttributeTable.h"
#include "ui/core/NameMap.h"
#include "ui/render/ImageDrawSpec.h"

namespace DuiLib {

class CControlUI;

// A control class's attribute table, linked to its base class's.
using ControlAttributeTable = CAttributeTable<CControlUI>;

class CControlUI : public IControlUI
{
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // ==== Interface operations (slot order) =================================

    // Leaves the manager's mouse-leave watchers, then destroys the control.
    void Delete() override;
    // Deletes the cover and the custom attributes, fires DestroyHub, then
    // makes the manager forget the control.
    ~CControlUI() override;

    CUIString GetName() const override;
    // Keeps the manager's name table in step (RenameControl); null counts as "".
    void SetName(const wchar_t* name) override;
    // "Control".
    const wchar_t* GetClass() const override;
    // This control for "Control" (exact case); null for any other name.
    void* CastTo(const wchar_t* name) override;
    UINT ControlFlagBits() const override;
    HWND HostedWindowHandle() const override;
    // True when visible and enabled.
    bool Activate() override;

    CUIManager* GetManager() const override;
    // Passes the call to the cover (with this control as its parent), stores
    // manager and parent, and runs Init when init is set and a parent given.
    void BindManager(CUIManager* manager, IControlUI* parent, bool init) override;
    IControlUI* GetParent() const override;
    IControlUI* OverlayControl() const override;
    // Deletes the current cover and takes control (owned; null removes the
    // cover). The control itself cannot be its own cover: that is ignored.
    void SetOverlayControl(IControlUI* control) override;

    CUIString GetText() const override;
    void SetText(const wchar_t* text) override;

    CUIRect GetPos() const override;
    // The item rectangle relative to the parent's top-left; all 0 without a
    // parent.
    CUIRect RelativeRect() const override;
    CUIRect ClientRect() const override;
    // Takes rect (an inverted one is made empty); a float control reads it
    // relative to its parent and derives its fixed XY and size from it.
    // Fires SizeHub, clears the update flag, invalidates the old and new
    // area when asked, and places the cover.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    void Move(int dx, int dy, bool invalidate) override;
    int GetWidth() const override;
    int GetHeight() const override;
    int GetX() const override;
    int GetY() const override;

    CUIRect GetPadding() const override;
    void SetPadding(const RECT& padding) override;
    CUISize GetFixedXY() const override;
    void SetFixedXY(const SIZE& xy) override;
    FloatPercent GetFloatPercent() const override;
    void SetFloatPercent(double left, double top, double right, double bottom) override;
    // 0 means not fixed. Set: negative values are ignored.
    int GetFixedWidth() const override;
    void SetFixedWidth(int width) override;
    int GetFixedHeight() const override;
    void SetFixedHeight(int height) override;
    // Set: negative or unchanged values are ignored.
    int GetMinWidth() const override;
    void SetMinWidth(int width) override;
    // The larger of the maximum and the minimum width.
    int GetMaxWidth() const override;
    void SetMaxWidth(int width) override;
    int GetMinHeight() const override;
    void SetMinHeight(int height) override;
    // The larger of the maximum and the minimum height.
    int GetMaxHeight() const override;
    void SetMaxHeight(int height) override;

    CUIString GetToolTip() const override;
    // Every "<n>" of text becomes a carriage return and line feed.
    void SetToolTip(const wchar_t* text) override;
    void SetToolTipWidth(int width) override;
    int GetToolTipWidth() const override;
    wchar_t GetShortcut() const override;
    void SetShortcut(wchar_t ch) override;
    bool IsContextMenuUsed() const override;
    void SetContextMenuUsed(bool used) override;
    CUIString GetUserData() const override;
    void SetUserData(const wchar_t* text) override;
    UINT_PTR GetTag() const override;
    void SetTag(UINT_PTR tag) override;

    bool IsVisible() const override;
    // Hiding takes the manager's focus away from the control.
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    bool IsEnabled() const override;
    void SetEnabled(bool enabled) override;
    bool IsMouseEnabled() const override;
    void SetMouseEnabled(bool enabled) override;
    // The keyboard flag, but false while the control is disabled.
    bool IsKeyboardEnabled() const override;
    void SetKeyboardEnabled(bool enabled) override;
    bool IsFocused() const override;
    // Asks the manager for the focus; nothing without a manager.
    void SetFocus() override;
    bool IsFloat() const override;
    void SetFloat(bool floating) override;

    // Null for a null proc, and for the hit test without a point.
    IControlUI* LocateControl(LocateControlProc proc, void* data, UINT flags) override;

    // OnInitialised, then InitHub with the control.
    void Init() override;
    void OnInitialised() override;

    // EventHub first; HandleEvent only when the hub does not veto.
    void Event(UIEvent& event) override;
    // Cursor and focus events are handled here, timers become "timer"
    // notifications, the context menu a "menu" notification when used; every
    // other event goes to the parent's HandleEvent.
    void HandleEvent(UIEvent& event) override;

    // Empty: the base keeps no readable attribute list.
    CUIString GetAttribute(const wchar_t* name) const override;
    // Applies the row of GetAttributeTable (the class's own rows first, then
    // its bases'); names no row has become custom attributes. A null name is
    // ignored, a null value counts as "".
    void ApplyAttribute(const wchar_t* name, const wchar_t* value) override;
    // The table ApplyAttribute applies from. Each class with attributes of
    // its own replaces it with its rows, linked to its base class's table.
    virtual const ControlAttributeTable& GetAttributeTable() const;
    CUIString AttributeListText(bool ignoreDefaults) const override;
    // Applies name="value" items separated by single spaces, stopping at the
    // first malformed item; a null list applies nothing.
    void ApplyAttributeText(const wchar_t* list) override;

    // The fixed width and height.
    CUISize MeasureDesired(const SIZE& available) override;

    // False when this control is stopControl (the pass ends); true otherwise
    // unless PaintInto or the cover ends the pass. PaintHub delegates (given
    // the control) may paint instead by answering false.
    bool Paint(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    // Background colour, background image, state image, text, border, inside
    // the round-corner clip when the border is round.
    bool PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    void PaintBackColor(HDC dc) override;
    void PaintBackImage(HDC dc) override;
    // The fore image; controls with states replace it.
    void PaintStateImage(HDC dc) override;
    // Nothing: the base has no text painter.
    void PaintText(HDC dc) override;
    void PaintFrame(HDC dc) override;
    // Fires PostPaintHub with the control.
    void PaintOverlay(HDC dc, const RECT& paintRect) override;

    // Nothing while hidden; the item rectangle cut by every ancestor's,
    // handed to the manager unless the cut leaves nothing.
    void Invalidate() final;
    // Nothing while hidden; marks the control and the manager for layout.
    void RequestLayout() final;
    void RequestParentLayout() final;
    bool IsLayoutPending() const final;
    CUIString VirtualWindowName() const final;
    CEventHub& InitHub() final { return m_initHub; }
    CEventHub& DestroyHub() final { return m_destroyHub; }
    CEventHub& SizeHub() final { return m_sizeHub; }
    CEventHub& EventHub() final { return m_eventHub; }
    CEventHub& NotifyHub() final { return m_notifyHub; }
    CEventHub& PaintHub() final { return m_paintHub; }
    CEventHub& PostPaintHub() final { return m_postPaintHub; }

    // ==== Accessibility =====================================================

    // Part 0 only: the name (text, else tool tip), the item rectangle and the
    // states every control has (unavailable, focusable, focused). A plain
    // control with a name is a graphic; one without has no role of its own.
    void DescribeAccess(int part, AccessDescription& description) const override;
    // A plain control has no default action: false.
    bool DoAccessAction(int part) override;

    // The skin's name for the default action ("actionname"); empty leaves
    // each control family its own.
    const CUIString& GetActionName() const { return m_actionName; }
    void SetActionName(const wchar_t* name) { m_actionName = name; }
    // For a control that shows a progress only in pixels (a label whose image
    // grows): readers take it for a progress bar with value (for example
    // "40%"), and a new value raises a value-change event. Null or empty
    // gives the control back its own role.
    void SetAccessProgress(const wchar_t* value);

    // ==== Colours, borders and images =======================================
    // Colours are 0xAARRGGBB as parsed; 0 means none. Each setter marks the
    // control for repaint; the colour setters return at once when unchanged.

    DWORD GetBkColor() const { return m_bkColor; }
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const { return m_bkColor2; }
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const { return m_bkColor3; }
    void SetBkColor3(DWORD color);
    DWORD GetBorderColor() const { return m_borderColor; }
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const { return m_focusBorderColor; }
    void SetFocusBorderColor(DWORD color);
    bool IsColorHsl() const { return m_colorHsl; }
    void SetColorHsl(bool useHsl);
    // Width per side (left, top, right, bottom).
    CUIRect GetBorderSize() const { return m_borderSize; }
    // The same width on all four sides.
    void SetBorderSize(int size);
    void SetBorderSize(const RECT& sizes);
    CUISize GetBorderRound() const { return m_borderRound; }
    // Corner ellipse width and height; 0, 0 for square corners.
    void SetBorderRound(const SIZE& round);
    // A pen style (PS_SOLID, PS_DASH, ...).
    int GetBorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(int style);

    // Image description strings. Setting the text already set, with its
    // image loaded, changes nothing; otherwise the draw spec is reset and resolved
    // at once when a manager is attached.
    const wchar_t* GetBkImage() const { return m_bkImage.drawString.GetData(); }
    // A float control with no fixed size also takes the image's size.
    void SetBkImage(const wchar_t* description);
    const wchar_t* GetForeImage() const { return m_foreImage.drawString.GetData(); }
    void SetForeImage(const wchar_t* description);

    // colour passed through the process-wide hue/saturation/lightness shift
    // when the colour HSL flag is set; unchanged otherwise.
    DWORD AdjustedColor(DWORD color) const;

    // ==== Virtual window and custom attributes ==============================

    // Stores name (null counts as "") and, with a manager, switches the
    // manager to filling virtual window names into notifications.
    void SetVirtualWindowName(const wchar_t* name);

    // Stores a copy of value under name; nothing for a null or empty name or
    // value, and nothing when the name is present (the first value stays).
    void AddCustomAttribute(const wchar_t* name, const wchar_t* value);
    // The value stored under name, or null.
    const wchar_t* GetCustomAttribute(const wchar_t* name) const;
    // Frees every value; the map is back to 83 empty buckets.
    void RemoveAllCustomAttributes();

protected:
    // The text, else the tool tip, with the language tokens expanded.
    CUIString AccessName() const;
    // The skin's action name when it gave one, else fallback.
    CUIString AccessAction(const wchar_t* fallback) const;
    // Tells screen readers of a change to this control (an EVENT_OBJECT_*
    // of the platform's win events) through the manager; nothing without one.
    void NotifyAccess(DWORD event);
    // The event a change of the text raises: for most controls the text is
    // the name, so EVENT_OBJECT_NAMECHANGE.
    virtual DWORD TextAccessEvent() const;
    // Makes part 0's description a progress bar's when SetAccessProgress
    // gave a value; the descriptions of plain controls and labels end here.
    void DescribeAccessProgress(int part, AccessDescription& description) const;

    // Prepares spec for description: unchanged text with a loaded image is
    // kept; otherwise the draw spec is cleared, takes the text, resolves its image
    // (with a manager) and the control is invalidated. True when the draw spec
    // changed.
    bool AssignImage(ImageDrawSpec& spec, const wchar_t* description);
    // Draws spec over the item rectangle, limited to the paint rectangle;
    // false when the draw spec has no image.
    bool PaintImage(HDC dc, ImageDrawSpec& spec);

    // ==== Fields ============================================================
    // Derived controls read and write these directly, as the base does.

    CEventHub m_initHub;
    CEventHub m_destroyHub;
    CEventHub m_sizeHub;
    CEventHub m_eventHub;
    CEventHub m_notifyHub;
    CEventHub m_paintHub;
    CEventHub m_postPaintHub;
    CUIManager* m_manager = nullptr;  // not owned
    IControlUI* m_parent = nullptr;   // not owned
    IControlUI* m_cover = nullptr;    // owned
    CUIString m_virtualWindow;
    CUIString m_name;
    bool m_updateNeeded = true;
    bool m_contextMenuUsed = false;
    CUIRect m_itemRect;   // client coordinates
    CUIRect m_padding;
    CUISize m_fixedXY;    // a float control's place in its parent
    CUISize m_fixedSize;  // 0 = not fixed
    CUISize m_minSize;
    CUISize m_maxSize = CUISize(9999, 9999);
    bool m_visible = true;
    bool m_internVisible = true;
    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_keyboardEnabled = true;
    bool m_focused = false;
    bool m_float = false;
    FloatPercent m_floatPercent = {0.0, 0.0, 0.0, 0.0};
    bool m_inSizeEvent = false;
    CUIString m_text;
    CUIString m_toolTip;
    wchar_t m_shortcut = 0;
    CUIString m_userData;
    UINT_PTR m_tag = 0;
    DWORD m_bkColor = 0;
    DWORD m_bkColor2 = 0;
    DWORD m_bkColor3 = 0;
    ImageDrawSpec m_bkImage;
    ImageDrawSpec m_foreImage;
    DWORD m_borderColor = 0;
    DWORD m_focusBorderColor = 0;
    bool m_colorHsl = false;
    int m_borderStyle = 0;
    int m_toolTipWidth = 300;
    CUISize m_borderRound;
    CUIRect m_paintRect;  // item rectangle cut by the rectangle being painted
    CUIRect m_borderSize;
    CNameMap m_customAttributes;  // name -> owned CUIString
    CUIString m_actionName;
    CUIString m_accessProgress;

private:
    enum class AncestorCheck
    {
        None,        // only the rectangles cut
        Visibility,  // a hidden ancestor also ends the walk
    };
    // Cuts area by the item rectangle of every ancestor in turn; false when
    // a cut leaves nothing or (with the visibility check) an ancestor is
    // hidden.
    bool ClipToAncestors(CUIRect& area, AncestorCheck check) const;
    // Places the cover over this control after a PlaceAt at given.
    void PlaceCover(const CUIRect& given);

    bool m_renaming = false;  // SetName is waiting for the manager's answer
};

}  // namespace DuiLib
