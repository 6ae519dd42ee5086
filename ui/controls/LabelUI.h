// CLabelUI: the text-bearing control every other text control derives from:
// text style, font, colours, padding, markup mode, a size estimate from the
// text, and a GDI+ painting path with text effects (gradient, glow, outline,
// shadow). Drawing the text itself is the render kit's (plain or markup);
// this file chooses rectangles, colours and which path to take.
// Invariant: the size cache is re-estimated after every change that can
// alter the text's extent.
#pragma once

#include <windows.h>

#include "ui/control/ControlUI.h"

namespace DuiLib {

class CLabelUI : public CControlUI
{
public:
    CLabelUI();

    // "Label".
    const wchar_t* GetClass() const override;
    // This control for "Label", else the base's answer.
    void* CastTo(const wchar_t* name) override;
    // The base's, then the size is estimated afresh.
    void SetText(const wchar_t* text) override;
    void SetFixedWidth(int width) override;
    void SetFixedHeight(int height) override;
    // The fixed size when both sides are fixed or there is no manager;
    // otherwise measured from the text (see the .cpp), cached until
    // something that changes it changes.
    CUISize MeasureDesired(const SIZE& available) override;
    // Set-focus and kill-focus only record the focus (no repaint).
    void HandleEvent(UIEvent& event) override;
    // The label attributes ("align", "valign", "endellipsis", "font",
    // "textcolor", "disabledtextcolor", "disabledbkcolor", "textpadding",
    // "multiline", "showhtml", "enabledeffect", "enabledluminous", "rhaa",
    // "luminousfuzzy", "gradientangle", "enabledstroke", "enabledshadow",
    // "gradientlength", "shadowoffset", "textcolor1", "textshadowcolora",
    // "textshadowcolorb", "strokecolor"), then the base's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // A disabled label with a disabled background colour shows that colour
    // alone; otherwise the base's colours.
    void PaintBackColor(HDC dc) override;
    void PaintText(HDC dc) override;
    // Static text named by its text (without tags when shown as markup) or
    // tool tip; a label with neither has no role of its own.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // DrawText flags: DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM,
    // DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS.
    UINT GetTextStyle() const { return m_textStyle; }
    void SetTextStyle(UINT style);
    // The manager's font index; -1 is its default font.
    int GetFont() const { return m_font; }
    void SetFont(int index);
    // 0 means the manager's default colour, taken at the first paint.
    DWORD GetTextColor() const { return m_textColor; }
    void SetTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return m_disabledTextColor; }
    void SetDisabledTextColor(DWORD color);
    DWORD GetDisabledBkColor() const { return m_disabledBkColor; }
    void SetDisabledBkColor(DWORD color);
    CUIRect GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(const RECT& padding);
    bool IsShowHtml() const { return m_showHtml; }
    void SetShowHtml(bool show);
    bool IsEffectEnabled() const { return m_effect; }
    void SetEffectEnabled(bool enabled);
    // Shadow offset from "offset,angle"; angles outside -180..180 are ignored.
    void SetShadowOffset(int offset, int angle);
    float GetShadowOffsetX() const { return m_shadowX; }
    float GetShadowOffsetY() const { return m_shadowY; }
    float GetLuminousFuzzy() const { return m_luminousFuzzy; }

protected:
    // While mouse input is off, hands a mouse event to the parent (or, with
    // none, to the label's own handling) and answers true; false otherwise.
    bool PassOnWhileMouseOff(UIEvent& event);
    // Keeps the hot bit of `state` for mouse-enter and mouse-leave events:
    // set on entering, cleared on leaving the item rectangle, each with a
    // repaint. A leave while the point is still inside (a child window took
    // the mouse) waits for the manager's leave watch and answers true: the
    // event is done. False for every other event.
    bool FollowHover(UIEvent& event, UINT& state);
    // Fills description as editable text: named by the tool tip, the text
    // its value, focusable while enabled.
    void DescribeEditableText(AccessDescription& description) const;
    // The text-metric height of the label's font; 0 without a manager.
    int FontHeight() const;
    // Stores color in field and repaints; nothing when it is unchanged.
    void ChangeColor(DWORD& field, DWORD color);
    // Replaces zero text colours by the manager's defaults, for good.
    void TakeDefaultColors();
    // The control rectangle shrunk by the text padding.
    RECT TextRect() const;
    // text in color through DrawMarkupText or DrawPlainText with the
    // label's font and style; nothing for an empty text.
    void DrawLabelText(HDC dc, const RECT& rect, DWORD color);
    // GDI+ text in one colour with a solid brush, the label's font,
    // rendering hint and alignment; no gradient, glow, outline or shadow.
    void DrawSolidEffectText(HDC dc, const RECT& rect, DWORD color);
    // The same for text drawn with style instead of the label's own.
    void DrawSolidEffectText(HDC dc, const RECT& rect, DWORD color, const wchar_t* text, UINT style);

    UINT m_textStyle = DT_VCENTER | DT_SINGLELINE;
    int m_font = -1;
    DWORD m_textColor = 0;
    DWORD m_disabledTextColor = 0;
    DWORD m_disabledBkColor = 0;
    CUIRect m_textPadding;
    bool m_showHtml = false;

private:
    void NeedEstimate() { m_needEstimate = true; }
    // The text's extent in rect with the label's measuring style.
    RECT MeasureText(HDC dc, const RECT& rect);
    void PaintEffectText(HDC dc);

    // Size cache.
    SIZE m_lastAvailable = {0, 0};
    SIZE m_estimated = {0, 0};
    bool m_needEstimate = true;

    // Text effects.
    bool m_effect = false;
    bool m_luminous = false;
    bool m_stroke = false;
    bool m_shadow = false;
    float m_luminousFuzzy = 3.0f;
    int m_gradientLength = 0;
    int m_gradientAngle = 0;
    DWORD m_textColor1 = 0xFFFFFFFF;
    DWORD m_shadowColorA = 0xFF000000;
    DWORD m_shadowColorB = 0xFFFFFFFF;
    DWORD m_strokeColor = 0;
    float m_shadowX = 0.0f;
    float m_shadowY = 0.0f;
    int m_renderingHint = 4;  // GDI+ TextRenderingHintAntiAlias
};

}  // namespace DuiLib
