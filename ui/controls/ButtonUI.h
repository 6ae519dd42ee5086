// CButtonUI, COptionUI and CCheckBoxUI: the pressable label, the selectable
// button with mutually exclusive groups kept by the manager, and the check
// box (an option under another name). They turn mouse, key and focus events
// into state bits, state images, colours and the "click" and
// "selectchanged" notifications; drawing images and text is the render
// kit's and the label's. Invariant: pushed and captured live only from a
// press inside until the release; a disabled button has no state but an
// option's selected bit.
#pragma once

#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace DuiLib {

// Button state bits.
enum UIButtonState : UINT
{
    UISTATE_FOCUSED = 0x01,
    UISTATE_SELECTED = 0x02,
    UISTATE_DISABLED = 0x04,
    UISTATE_HOT = 0x08,
    UISTATE_PUSHED = 0x10,
    UISTATE_CAPTURED = 0x40,
};

// The timer key of the normal/hot cross-fade and its period.
constexpr UINT kButtonFadeTimer = 11;
constexpr UINT kButtonFadeMs = 30;

// What a push button tells a screen reader beyond its name and place: the
// role, the hot and pressed states of its UIButtonState bits, and action as
// its default action.
void DescribePushButton(UINT buttonState, const CUIString& action, AccessDescription& description);

class CButtonUI : public CLabelUI
{
public:
    CButtonUI();

    // "Button".
    const wchar_t* GetClass() const override;
    // This control for "Button", else the label's answer.
    void* CastTo(const wchar_t* name) override;
    // Tab stop while keyboard input is enabled; set-cursor while enabled.
    UINT ControlFlagBits() const override;
    // The base activation; on success sends "click" and answers true.
    bool Activate() override;
    // Disabling clears every state bit.
    void SetEnabled(bool enabled) override;
    // Fixed height set: the base's fixed size; otherwise (fixed width, font
    // height + 8). The text is not measured.
    CUISize MeasureDesired(const SIZE& available) override;
    void HandleEvent(UIEvent& event) override;
    // "normalimage", "hotimage", "pushedimage", "focusedimage",
    // "disabledimage", "foreimage", "hotforeimage", "fivestatusimage",
    // "fadedelta", "hotbkcolor", "hottextcolor", "pushedtextcolor",
    // "focusedtextcolor", "focusedbkcolor", "cursor", then the label's.
    const ControlAttributeTable& GetAttributeTable() const override;
    void PaintBackColor(HDC dc) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;
    // A push button, hot and pressed as drawn; its action is "Press" unless
    // the skin names it.
    void DescribeAccess(int part, AccessDescription& description) const override;
    // Focuses and activates the button as a click does; false while hidden
    // or disabled.
    bool DoAccessAction(int part) override;

    UINT GetButtonState() const { return m_buttonState; }
    BYTE GetFadeAlpha() const { return m_fadeAlpha; }
    BYTE GetFadeDelta() const { return m_fadeDelta; }
    void SetFadeDelta(BYTE delta) { m_fadeDelta = delta; }
    const CUIString& GetCursorName() const { return m_cursorName; }
    // Stores the name; when enabled and under the pointer, shows the arrow
    // for "arrow" and the hand for "hand" at once.
    void SetCursorName(const wchar_t* name);
    DWORD GetHotBkColor() const { return m_hotBkColor; }
    DWORD GetHotTextColor() const { return m_hotTextColor; }
    DWORD GetPushedTextColor() const { return m_pushedTextColor; }
    DWORD GetFocusedTextColor() const { return m_focusedTextColor; }
    void SetHotBkColor(DWORD color);
    void SetHotTextColor(DWORD color);
    void SetPushedTextColor(DWORD color);
    void SetFocusedTextColor(DWORD color);
    void SetFocusedBkColor(DWORD color);
    // Image description setters; an unchanged, loaded text is kept.
    void SetNormalImage(const wchar_t* description) { AssignImage(m_normalImage, description); }
    void SetHotImage(const wchar_t* description) { AssignImage(m_hotImage, description); }
    void SetPushedImage(const wchar_t* description) { AssignImage(m_pushedImage, description); }
    void SetFocusedImage(const wchar_t* description) { AssignImage(m_focusedImage, description); }
    void SetDisabledImage(const wchar_t* description) { AssignImage(m_disabledImage, description); }
    void SetHotForeImage(const wchar_t* description) { AssignImage(m_hotForeImage, description); }
    void SetPushedForeImage(const wchar_t* description) { AssignImage(m_pushedForeImage, description); }
    // One image of five equal frames side by side: normal, pushed, hot,
    // focused, disabled.
    void SetFiveStatusImage(const wchar_t* description);
    const ImageDrawSpec& GetNormalImage() const { return m_normalImage; }
    const ImageDrawSpec& GetPushedImage() const { return m_pushedImage; }
    const ImageDrawSpec& GetHotImage() const { return m_hotImage; }

protected:
    // Sends a notification of type from this control; nothing without a
    // manager.
    void Notify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0);
    // Focused and disabled bits from the control's own state.
    void RefreshStateBits();
    // The button's text painting: color (0: the text colour) while enabled,
    // replaced by the pushed, hot or focused text colour when stateColors
    // is set and that colour is; the disabled colour while disabled.
    void DrawButtonText(HDC dc, DWORD color, bool stateColors);
    // The button's status image painting, steps 1-7.
    void PaintButtonImages(HDC dc);

    UINT m_buttonState = 0;
    CUIString m_cursorName = L"hand";
    DWORD m_hotBkColor = 0;
    DWORD m_hotTextColor = 0;
    DWORD m_pushedTextColor = 0;
    DWORD m_focusedTextColor = 0;
    DWORD m_focusedBkColor = 0;
    BYTE m_fadeAlpha = 255;
    BYTE m_fadeDelta = 0;
    ImageDrawSpec m_normalImage;
    ImageDrawSpec m_hotImage;
    ImageDrawSpec m_hotForeImage;
    ImageDrawSpec m_pushedImage;
    ImageDrawSpec m_pushedForeImage;
    ImageDrawSpec m_focusedImage;
    ImageDrawSpec m_disabledImage;

private:
    void StepFade();
};

class COptionUI : public CButtonUI
{
public:
    COptionUI();
    // Leaves its group.
    ~COptionUI() override;

    // "Option".
    const wchar_t* GetClass() const override;
    // This control for "Option", else the button's answer.
    void* CastTo(const wchar_t* name) override;
    // Joins its group in the manager it is bound to, leaving the group of a
    // manager it is unbound from.
    void BindManager(CUIManager* manager, IControlUI* parent, bool init) override;
    // The button's activation ("click" first); then a grouped option is
    // selected, an ungrouped one toggled, both with notification.
    bool Activate() override;
    // As the button, but the selected bit survives disabling.
    void SetEnabled(bool enabled) override;
    // "group", "selected", "selectedimage", "selectedhotimage", "foreimage",
    // "selectedbkcolor", "selectedtextcolor", then the button's.
    const ControlAttributeTable& GetAttributeTable() const override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;
    // A radio button, checked while selected; its action selects a grouped
    // option ("Select") and toggles a lone one ("Toggle").
    void DescribeAccess(int part, AccessDescription& description) const override;

    const CUIString& GetGroup() const { return m_group; }
    // Leaves the old group and joins the new one (with a manager); null or
    // "" leaves the group only. An unchanged name does nothing.
    void SetGroup(const wchar_t* group);
    bool IsSelected() const { return m_selected; }
    // Nothing when unchanged. Selecting a grouped option deselects the other
    // members (with the same notify flag); with notify, "selectchanged" is
    // sent, except for a deselection inside a group.
    void Select(bool selected, bool notify = true);
    void SetSelectedImage(const wchar_t* description) { AssignImage(m_selectedImage, description); }
    void SetSelectedHotImage(const wchar_t* description) { AssignImage(m_selectedHotImage, description); }
    void SetOptionForeImage(const wchar_t* description) { AssignImage(m_optionForeImage, description); }
    DWORD GetSelectedBkColor() const { return m_selectedBkColor; }
    DWORD GetSelectedTextColor() const { return m_selectedTextColor; }

private:
    // Deselects every other option of this option's group in its manager.
    void DeselectOtherMembers(bool notify);

    bool m_selected = false;
    CUIManager* m_groupManager = nullptr;  // whose group table lists this option
    CUIString m_group;
    DWORD m_selectedBkColor = 0;
    DWORD m_selectedTextColor = 0;
    ImageDrawSpec m_selectedImage;
    ImageDrawSpec m_selectedHotImage;
    ImageDrawSpec m_optionForeImage;
};

class CCheckBoxUI : public COptionUI
{
public:
    // "CheckBox".
    const wchar_t* GetClass() const override;
    // This control for "CheckBox", else the option's answer.
    void* CastTo(const wchar_t* name) override;
    // A check button, checked while checked; its action is "Toggle".
    void DescribeAccess(int part, AccessDescription& description) const override;

    bool IsChecked() const { return IsSelected(); }
    void SetCheck(bool checked, bool notify = true) { Select(checked, notify); }
};

}  // namespace DuiLib
