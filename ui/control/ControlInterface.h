// IControlUI: the operations through which the manager drives every control,
// in their fixed slot order (0-85); CControlUI implements them and derived
// controls append their own operations after the last slot. Behaviour lives
// with the implementations; this file only fixes the shapes.
#pragma once

#include <windows.h>

#include "ui/control/AccessDescription.h"
#include "ui/control/UIEvent.h"
#include "ui/core/ControlRef.h"
#include "ui/core/Delegate.h"
#include "ui/core/UIRect.h"
#include "ui/core/UIString.h"

namespace DuiLib {

class CUIManager;
class IControlUI;

// Bits answered by ControlFlagBits.
enum UIControlFlag : UINT
{
    UIFLAG_TABSTOP = 0x01,    // takes the keyboard focus by the tab key
    UIFLAG_SETCURSOR = 0x02,  // wants set-cursor events
};

// Flags of LocateControl, the one tree search.
enum UILocateFlag : UINT
{
    UIFIND_ALL = 0,
    UIFIND_VISIBLE = 0x01,
    UIFIND_ENABLED = 0x02,
    UIFIND_HITTEST = 0x04,     // data points to a POINT in client coordinates
    UIFIND_UPDATETEST = 0x08,
    UIFIND_TOP_FIRST = 0x10,
    UIFIND_ME_FIRST = 0x80000000,
};

// Visitor of LocateControl: returns the control to stop at, or null.
using LocateControlProc = IControlUI* (*)(IControlUI* control, void* data);

// Anchors of a floating control, as fractions of its parent's width and height.
struct FloatPercent
{
    double left;
    double top;
    double right;
    double bottom;
};

// Derives from CControlLifetime so that CControlRef can hold any control.
class IControlUI : public CControlLifetime
{
public:
    // 0: destroys the control; owners delete controls through this, never
    // with delete, so the manager can forget it first.
    virtual void Delete() = 0;
    // 1
    virtual ~IControlUI() = default;

    // 2-5: identity. GetClass is the class name that the skin tag uses;
    // CastTo answers this control for each of its class and interface names
    // and null for any other name.
    virtual CUIString GetName() const = 0;
    virtual void SetName(const wchar_t* name) = 0;
    virtual const wchar_t* GetClass() const = 0;
    virtual void* CastTo(const wchar_t* name) = 0;
    // 6: UIControlFlag bits.
    virtual UINT ControlFlagBits() const = 0;
    // 7: the native window the control places over itself, or null.
    virtual HWND HostedWindowHandle() const = 0;
    // 8: acts as if clicked; false when the control cannot act (hidden or
    // disabled).
    virtual bool Activate() = 0;

    // 9-13: place in the tree. BindManager with init and a parent runs Init.
    virtual CUIManager* GetManager() const = 0;
    virtual void BindManager(CUIManager* manager, IControlUI* parent, bool init) = 0;
    virtual IControlUI* GetParent() const = 0;
    virtual IControlUI* OverlayControl() const = 0;
    virtual void SetOverlayControl(IControlUI* control) = 0;

    // 14, 15
    virtual CUIString GetText() const = 0;
    virtual void SetText(const wchar_t* text) = 0;

    // 16-24: position. GetPos is the item rectangle in client coordinates,
    // RelativeRect the same relative to the parent, ClientRect the part
    // children are laid out in.
    virtual CUIRect GetPos() const = 0;
    virtual CUIRect RelativeRect() const = 0;
    virtual CUIRect ClientRect() const = 0;
    virtual void PlaceAt(const RECT& rect, bool invalidate) = 0;
    virtual void Move(int dx, int dy, bool invalidate) = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual int GetX() const = 0;
    virtual int GetY() const = 0;

    // 25-42: layout properties.
    virtual CUIRect GetPadding() const = 0;
    virtual void SetPadding(const RECT& padding) = 0;
    virtual CUISize GetFixedXY() const = 0;
    virtual void SetFixedXY(const SIZE& xy) = 0;
    virtual FloatPercent GetFloatPercent() const = 0;
    virtual void SetFloatPercent(double left, double top, double right, double bottom) = 0;
    virtual int GetFixedWidth() const = 0;
    virtual void SetFixedWidth(int width) = 0;
    virtual int GetFixedHeight() const = 0;
    virtual void SetFixedHeight(int height) = 0;
    virtual int GetMinWidth() const = 0;
    virtual void SetMinWidth(int width) = 0;
    virtual int GetMaxWidth() const = 0;
    virtual void SetMaxWidth(int width) = 0;
    virtual int GetMinHeight() const = 0;
    virtual void SetMinHeight(int height) = 0;
    virtual int GetMaxHeight() const = 0;
    virtual void SetMaxHeight(int height) = 0;

    // 43-54: texts and values for the application.
    virtual CUIString GetToolTip() const = 0;
    virtual void SetToolTip(const wchar_t* text) = 0;
    virtual void SetToolTipWidth(int width) = 0;
    virtual int GetToolTipWidth() const = 0;
    virtual wchar_t GetShortcut() const = 0;
    virtual void SetShortcut(wchar_t ch) = 0;
    virtual bool IsContextMenuUsed() const = 0;
    virtual void SetContextMenuUsed(bool used) = 0;
    virtual CUIString GetUserData() const = 0;
    virtual void SetUserData(const wchar_t* text) = 0;
    virtual UINT_PTR GetTag() const = 0;
    virtual void SetTag(UINT_PTR tag) = 0;

    // 55-67: state. IsVisible combines the control's own flag with the one
    // its ancestors impose (SetInheritedVisible).
    virtual bool IsVisible() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetInheritedVisible(bool visible) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsMouseEnabled() const = 0;
    virtual void SetMouseEnabled(bool enabled) = 0;
    virtual bool IsKeyboardEnabled() const = 0;
    virtual void SetKeyboardEnabled(bool enabled) = 0;
    virtual bool IsFocused() const = 0;
    virtual void SetFocus() = 0;
    virtual bool IsFloat() const = 0;
    virtual void SetFloat(bool floating) = 0;

    // 68: searches this control and its subtree with UILocateFlag flags;
    // the first non-null answer of proc, or null.
    virtual IControlUI* LocateControl(LocateControlProc proc, void* data, UINT flags) = 0;

    // 69, 70
    virtual void Init() = 0;
    virtual void OnInitialised() = 0;

    // 71, 72: Event is the single entry for input; it consults the EventHub
    // and then runs HandleEvent. The manager never calls HandleEvent.
    virtual void Event(UIEvent& event) = 0;
    virtual void HandleEvent(UIEvent& event) = 0;

    // 73-76: skin attributes.
    virtual CUIString GetAttribute(const wchar_t* name) const = 0;
    virtual void ApplyAttribute(const wchar_t* name, const wchar_t* value) = 0;
    virtual CUIString AttributeListText(bool ignoreDefaults) const = 0;
    virtual void ApplyAttributeText(const wchar_t* list) = 0;

    // 77: the size the control would like within available.
    virtual CUISize MeasureDesired(const SIZE& available) = 0;

    // 78-85: painting into dc. Paint and PaintInto answer false when they
    // met stopControl, which ends the whole painting pass.
    virtual bool Paint(HDC dc, const RECT& paintRect, IControlUI* stopControl) = 0;
    virtual bool PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl) = 0;
    virtual void PaintBackColor(HDC dc) = 0;
    virtual void PaintBackImage(HDC dc) = 0;
    virtual void PaintStateImage(HDC dc) = 0;
    virtual void PaintText(HDC dc) = 0;
    virtual void PaintFrame(HDC dc) = 0;
    virtual void PaintOverlay(HDC dc, const RECT& paintRect) = 0;

    // Operations that every control has in the same form and that no
    // derived control changes. They come after the fixed slots so that the
    // manager, which knows controls only through this interface, can reach
    // them; CControlUI implements each once, final.
    virtual void Invalidate() = 0;
    virtual void RequestLayout() = 0;
    virtual void RequestParentLayout() = 0;
    virtual bool IsLayoutPending() const = 0;
    // The control's virtual window name, else its nearest ancestor's.
    virtual CUIString VirtualWindowName() const = 0;
    virtual CEventHub& InitHub() = 0;
    virtual CEventHub& DestroyHub() = 0;
    virtual CEventHub& SizeHub() = 0;
    virtual CEventHub& EventHub() = 0;
    virtual CEventHub& NotifyHub() = 0;
    virtual CEventHub& PaintHub() = 0;
    virtual CEventHub& PostPaintHub() = 0;

    // Accessibility, which each control family answers for itself. Both are
    // called while a screen reader's request is served, possibly inside the
    // window's own message handling: DescribeAccess never lays out, paints,
    // notifies or deletes.
    //
    // Fills description for part 0 (the control) or for one of its
    // sub-elements 1..parts; an unknown part leaves it empty (role 0).
    virtual void DescribeAccess(int part, AccessDescription& description) const = 0;
    // Performs the default action of part as a click on it would, with every
    // notification the click sends; false when part has no action or the
    // control cannot act now (hidden or disabled).
    virtual bool DoAccessAction(int part) = 0;
};

}  // namespace DuiLib
