// CGdiplusText: one GDI+ text drawing through the flat API: the graphics (own
// or borrowed), the font made from the manager's font of an index and the
// string format whose alignment comes from DrawText style bits. The label's
// effects and the animated controls draw their text through it; the latter
// keep their text settings in a GdiplusTextSettings.
// Invariant: everything it made is released together when it goes.
#pragma once

#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM types that GDI+ needs.
#include <objidl.h>
#include <gdiplus.h>

#include "ui/core/UIRect.h"

namespace DuiLib {

class CUIManager;

class CGdiplusText
{
public:
    // Draws on a new graphics of dc with renderingHint (a GDI+
    // TextRenderingHint); the font is the manager's font of fontIndex (its
    // default font for -1 or an unknown index, the context's font without a
    // manager); alignment from DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM,
    // no wrapping with DT_SINGLELINE.
    CGdiplusText(HDC dc, CUIManager* manager, int fontIndex, UINT style, int renderingHint);
    // The same on graphics, which stays the caller's; the font is made on
    // fontDc.
    CGdiplusText(Gdiplus::GpGraphics* graphics, HDC fontDc, CUIManager* manager, int fontIndex, UINT style,
                 int renderingHint);
    CGdiplusText(const CGdiplusText&) = delete;
    CGdiplusText& operator=(const CGdiplusText&) = delete;
    ~CGdiplusText();

    // False when the graphics, the font or the format could not be made.
    bool Ready() const { return m_graphics != nullptr && m_font != nullptr && m_format != nullptr; }
    Gdiplus::GpGraphics* Graphics() const { return m_graphics; }
    // Draws text into rect on graphics with brush; nothing for a null brush.
    void Draw(Gdiplus::GpGraphics* graphics, const wchar_t* text, const Gdiplus::RectF& rect,
              Gdiplus::GpBrush* brush) const;
    // Draws text into rect on its graphics in one solid ARGB colour; nothing
    // when not ready.
    void DrawSolid(const wchar_t* text, const RECT& rect, DWORD color) const;

private:
    void Prepare(HDC fontDc, CUIManager* manager, int fontIndex, UINT style, int renderingHint);

    Gdiplus::GpGraphics* m_graphics = nullptr;
    bool m_ownsGraphics = false;
    Gdiplus::GpFont* m_font = nullptr;
    Gdiplus::GpStringFormat* m_format = nullptr;
};

// The text settings of a control that draws its text only through GDI+; the
// control's attribute rows set them.
struct GdiplusTextSettings
{
    UINT style = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    DWORD color = 0xFF000000;
    DWORD disabledColor = 0xFF000000;
    int font = -1;
    CUIRect padding;
    int renderingHint = 4;  // GDI+ TextRenderingHintAntiAlias

    // Horizontal alignment from exactly "left", "center" or "right";
    // vertical from exactly "top", "vcenter" or "bottom". Any other word
    // (or null) changes nothing.
    void SetAlign(const wchar_t* word);
    void SetVAlign(const wchar_t* word);
    // Wrapping lines, or one line.
    void SetMultiline(bool multiline);
};

}  // namespace DuiLib
