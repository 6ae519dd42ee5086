// CFakeControl: the smallest IControlUI, for tests that only need control
// identities the manager can hold and forget. It counts Delete calls and
// answers every other operation with a neutral value.
#pragma once

#include "ui/control/ControlInterface.h"

namespace DuiLib {
namespace test {

class CFakeControl : public IControlUI
{
public:
    // Incremented by Delete; the object itself is not freed.
    int deleteCount = 0;

    void Delete() override { ++deleteCount; }
    CUIString GetName() const override { return m_name; }
    void SetName(const wchar_t* name) override { m_name = name; }
    const wchar_t* GetClass() const override { return L"Fake"; }
    void* CastTo(const wchar_t*) override { return nullptr; }
    UINT ControlFlagBits() const override { return 0; }
    HWND HostedWindowHandle() const override { return nullptr; }
    bool Activate() override { return false; }
    CUIManager* GetManager() const override { return nullptr; }
    void BindManager(CUIManager*, IControlUI*, bool) override {}
    IControlUI* GetParent() const override { return nullptr; }
    IControlUI* OverlayControl() const override { return nullptr; }
    void SetOverlayControl(IControlUI*) override {}
    CUIString GetText() const override { return CUIString(); }
    void SetText(const wchar_t*) override {}
    CUIRect GetPos() const override { return CUIRect(); }
    CUIRect RelativeRect() const override { return CUIRect(); }
    CUIRect ClientRect() const override { return CUIRect(); }
    void PlaceAt(const RECT&, bool) override {}
    void Move(int, int, bool) override {}
    int GetWidth() const override { return 0; }
    int GetHeight() const override { return 0; }
    int GetX() const override { return 0; }
    int GetY() const override { return 0; }
    CUIRect GetPadding() const override { return CUIRect(); }
    void SetPadding(const RECT&) override {}
    CUISize GetFixedXY() const override { return CUISize(); }
    void SetFixedXY(const SIZE&) override {}
    FloatPercent GetFloatPercent() const override { return FloatPercent{0, 0, 0, 0}; }
    void SetFloatPercent(double, double, double, double) override {}
    int GetFixedWidth() const override { return 0; }
    void SetFixedWidth(int) override {}
    int GetFixedHeight() const override { return 0; }
    void SetFixedHeight(int) override {}
    int GetMinWidth() const override { return 0; }
    void SetMinWidth(int) override {}
    int GetMaxWidth() const override { return 0; }
    void SetMaxWidth(int) override {}
    int GetMinHeight() const override { return 0; }
    void SetMinHeight(int) override {}
    int GetMaxHeight() const override { return 0; }
    void SetMaxHeight(int) override {}
    CUIString GetToolTip() const override { return CUIString(); }
    void SetToolTip(const wchar_t*) override {}
    void SetToolTipWidth(int) override {}
    int GetToolTipWidth() const override { return 0; }
    wchar_t GetShortcut() const override { return 0; }
    void SetShortcut(wchar_t) override {}
    bool IsContextMenuUsed() const override { return false; }
    void SetContextMenuUsed(bool) override {}
    CUIString GetUserData() const override { return CUIString(); }
    void SetUserData(const wchar_t*) override {}
    UINT_PTR GetTag() const override { return 0; }
    void SetTag(UINT_PTR) override {}
    bool IsVisible() const override { return true; }
    void SetVisible(bool) override {}
    void SetInheritedVisible(bool) override {}
    bool IsEnabled() const override { return true; }
    void SetEnabled(bool) override {}
    bool IsMouseEnabled() const override { return true; }
    void SetMouseEnabled(bool) override {}
    bool IsKeyboardEnabled() const override { return true; }
    void SetKeyboardEnabled(bool) override {}
    bool IsFocused() const override { return false; }
    void SetFocus() override {}
    bool IsFloat() const override { return false; }
    void SetFloat(bool) override {}
    IControlUI* LocateControl(LocateControlProc, void*, UINT) override { return nullptr; }
    void Init() override {}
    void OnInitialised() override {}
    void Event(UIEvent&) override {}
    void HandleEvent(UIEvent&) override {}
    CUIString GetAttribute(const wchar_t*) const override { return CUIString(); }
    void ApplyAttribute(const wchar_t*, const wchar_t*) override {}
    CUIString AttributeListText(bool) const override { return CUIString(); }
    void ApplyAttributeText(const wchar_t*) override {}
    CUISize MeasureDesired(const SIZE&) override { return CUISize(); }
    bool Paint(HDC, const RECT&, IControlUI*) override { return true; }
    bool PaintInto(HDC, const RECT&, IControlUI*) override { return true; }
    void PaintBackColor(HDC) override {}
    void PaintBackImage(HDC) override {}
    void PaintStateImage(HDC) override {}
    void PaintText(HDC) override {}
    void PaintFrame(HDC) override {}
    void PaintOverlay(HDC, const RECT&) override {}
    void Invalidate() override {}
    void RequestLayout() override {}
    void RequestParentLayout() override {}
    bool IsLayoutPending() const override { return false; }
    CUIString VirtualWindowName() const override { return CUIString(); }
    CEventHub& InitHub() override { return m_hub; }
    CEventHub& DestroyHub() override { return m_hub; }
    CEventHub& SizeHub() override { return m_hub; }
    CEventHub& EventHub() override { return m_hub; }
    CEventHub& NotifyHub() override { return m_hub; }
    CEventHub& PaintHub() override { return m_hub; }
    CEventHub& PostPaintHub() override { return m_hub; }
    void DescribeAccess(int, AccessDescription&) const override {}
    bool DoAccessAction(int) override { return false; }

private:
    CUIString m_name;
    CEventHub m_hub;
};

}  // namespace test
}  // namespace DuiLib
