// CLabelUI: attributes, size estimate, background and text painting, and the
// GDI+ text effects (through the flat API; the manager starts GDI+).
//
// [SECTIONS] identity and setters · attributes · size estimate · painting ·
// GDI+ text effects
#include "ui/controls/LabelUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/GdiplusText.h"
#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"
#include "ui/render/MarkupTokenizer.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

// ---- Identity and setters ----------------------------------------------------------------

CLabelUI::CLabelUI() = default;

const wchar_t* CLabelUI::GetClass() const
{
    return L"Label";
}

void* CLabelUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Label") == 0)
        return this;
    return CControlUI::CastTo(name);
}

void CLabelUI::SetText(const wchar_t* text)
{
    CControlUI::SetText(text);
    NeedEstimate();
}

void CLabelUI::SetFixedWidth(int width)
{
    NeedEstimate();
    CControlUI::SetFixedWidth(width);
}

void CLabelUI::SetFixedHeight(int height)
{
    NeedEstimate();
    CControlUI::SetFixedHeight(height);
}

void CLabelUI::HandleEvent(UIEvent& event)
{
    if (event.type == UIEVENT_SETFOCUS)
    {
        m_focused = true;
        return;
    }
    if (event.type == UIEVENT_KILLFOCUS)
    {
        m_focused = false;
        return;
    }
    CControlUI::HandleEvent(event);
}

bool CLabelUI::PassOnWhileMouseOff(UIEvent& event)
{
    if (IsMouseEnabled() || !IsMouseEvent(event.type))
        return false;
    if (m_parent != nullptr)
        m_parent->HandleEvent(event);
    else
        CLabelUI::HandleEvent(event);
    return true;
}

bool CLabelUI::FollowHover(UIEvent& event, UINT& state)
{
    const bool inside = PtInRect(&m_itemRect, event.mousePoint) != FALSE;
    if (event.type == UIEVENT_MOUSEENTER)
    {
        if (inside && IsEnabled() && (state & UISTATE_HOT) == 0)
        {
            state |= UISTATE_HOT;
            Invalidate();
        }
        return false;
    }
    if (event.type != UIEVENT_MOUSELEAVE)
        return false;
    if (inside)
    {
        if (m_manager != nullptr)
            m_manager->AddLeaveWatcher(this);
        return true;
    }
    if (IsEnabled() && (state & UISTATE_HOT) != 0)
    {
        state &= ~static_cast<UINT>(UISTATE_HOT);
        Invalidate();
    }
    if (m_manager != nullptr)
        m_manager->RemoveLeaveWatcher(this);
    return false;
}

void CLabelUI::SetTextStyle(UINT style)
{
    m_textStyle = style;
    NeedEstimate();
    Invalidate();
}

void CLabelUI::SetFont(int index)
{
    m_font = index;
    NeedEstimate();
    Invalidate();
}

void CLabelUI::ChangeColor(DWORD& field, DWORD color)
{
    if (field == color)
        return;
    field = color;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD color)
{
    ChangeColor(m_textColor, color);
}

void CLabelUI::SetDisabledTextColor(DWORD color)
{
    ChangeColor(m_disabledTextColor, color);
}

void CLabelUI::SetDisabledBkColor(DWORD color)
{
    ChangeColor(m_disabledBkColor, color);
}

void CLabelUI::SetTextPadding(const RECT& padding)
{
    m_textPadding = padding;
    NeedEstimate();
    Invalidate();
}

void CLabelUI::SetShowHtml(bool show)
{
    if (m_showHtml == show)
        return;
    m_showHtml = show;
    NeedEstimate();
    Invalidate();
}

void CLabelUI::SetEffectEnabled(bool enabled)
{
    m_effect = enabled;
    Invalidate();
}

void CLabelUI::SetShadowOffset(int offset, int angle)
{
    if (angle < -180 || angle > 180)
        return;
    long long top = m_itemRect.top;
    long long left = m_itemRect.left;
    if (angle >= 0)
        top -= offset;
    else if (angle >= -179)
        top += offset;
    // Straight down (-90) moves neither way.
    if (angle >= -89 && angle <= 90)
        left -= offset;
    else if (angle > 90 || angle < -90)
        left += offset;
    // The vertical rule gives X and the horizontal rule Y, as skins expect.
    m_shadowX = static_cast<float>(top);
    m_shadowY = static_cast<float>(left);
    Invalidate();
}

// ---- Attributes --------------------------------------------------------------------------

namespace {

// Applies the alignment words found in value, in the given order.
struct AlignWord
{
    const wchar_t* word;
    UINT clear;
    UINT set;
};

const AlignWord kAlignWords[] = {
    {L"left", DT_CENTER | DT_RIGHT, 0},
    {L"center", DT_RIGHT, DT_CENTER},
    {L"right", DT_CENTER, DT_RIGHT},
};

const AlignWord kVAlignWords[] = {
    {L"top", DT_VCENTER | DT_BOTTOM, 0},
    {L"vcenter", DT_BOTTOM, DT_VCENTER},
    {L"bottom", DT_VCENTER, DT_BOTTOM},
};

template <size_t N>
UINT ApplyAlignWords(UINT style, const wchar_t* value, const AlignWord (&words)[N])
{
    for (const AlignWord& word : words)
    {
        if (std::wcsstr(value, word.word) != nullptr)
            style = (style & ~word.clear) | word.set;
    }
    return style;
}

DWORD ReadColor(const wchar_t* value)
{
    return ParseColor(value, ColorBlanks::Skip);
}

}  // namespace

const ControlAttributeTable& CLabelUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    // Lambdas in a member function reach the private fields.
    static const AttributeRow<CLabelUI> kRows[] = {
        {L"align", L"words left, center, right", L"left; center in buttons, options, check boxes, progress bars, sliders",
         L"Horizontal text alignment; every word the value contains applies, in this order",
         [](CLabelUI& l, const wchar_t* v) { l.SetTextStyle(ApplyAlignWords(l.m_textStyle, v, kAlignWords)); }},
        {L"valign", L"words top, vcenter, bottom", L"vcenter; top in Text, progress bars, sliders",
         L"Vertical text alignment; every word the value contains applies, in this order",
         [](CLabelUI& l, const wchar_t* v) { l.SetTextStyle(ApplyAlignWords(l.m_textStyle, v, kVAlignWords)); }},
        {L"endellipsis", kBool, L"false", L"Text that does not fit ends in \"...\"",
         [](CLabelUI& l, const wchar_t* v) {
             l.SetTextStyle(ParseBool(v) ? (l.m_textStyle | DT_END_ELLIPSIS) : (l.m_textStyle & ~DT_END_ELLIPSIS));
         }},
        {L"font", kFontIndex, L"-1", L"Font of the text",
         [](CLabelUI& l, const wchar_t* v) { l.SetFont(ParseInt(v)); }},
        {L"textcolor", kColour, L"the window's defaultfontcolor",
         L"Text colour; written with six digits (#336699) it is opaque",
         [](CLabelUI& l, const wchar_t* v) {
             // A colour written without alpha (#336699) means opaque.
             DWORD color = ReadColor(v);
             if (color != 0 && (color & 0xFF000000) == 0)
                 color |= 0xFF000000;
             l.SetTextColor(color);
         }},
        {L"disabledtextcolor", kColour, L"the window's disabledfontcolor", L"Text colour while disabled",
         [](CLabelUI& l, const wchar_t* v) { l.SetDisabledTextColor(ReadColor(v)); }},
        {L"disabledbkcolor", kColour, L"none", L"Background colour while disabled, instead of bkcolor",
         [](CLabelUI& l, const wchar_t* v) { l.SetDisabledBkColor(ReadColor(v)); }},
        {L"textpadding", kRect, L"0,0,0,0", L"Space between the control's edges and its text",
         [](CLabelUI& l, const wchar_t* v) { l.SetTextPadding(ParseRect(v)); }},
        {L"multiline", kBool, L"false; true in Text", L"Wrap the text over several lines",
         [](CLabelUI& l, const wchar_t* v) {
             l.SetTextStyle(ParseBool(v) ? ((l.m_textStyle & ~DT_SINGLELINE) | DT_WORDBREAK)
                                         : (l.m_textStyle | DT_SINGLELINE));
         }},
        {L"showhtml", kBool, L"false", L"Read the text as markup (bold, colours, links, images)",
         [](CLabelUI& l, const wchar_t* v) { l.SetShowHtml(ParseBool(v)); }},
        {L"enabledeffect", kBool, L"false", L"Draw the text through GDI+ with the effects below",
         [](CLabelUI& l, const wchar_t* v) { l.SetEffectEnabled(ParseBool(v)); }},
        {L"enabledluminous", kBool, L"false", L"Effect: a glow around the text",
         [](CLabelUI& l, const wchar_t* v) {
             l.m_luminous = ParseBool(v);
             l.Invalidate();
         }},
        {L"rhaa", kInteger, L"4", L"GDI+ text rendering hint of the effects (4 is anti-aliased)",
         [](CLabelUI& l, const wchar_t* v) {
             l.m_renderingHint = ParseInt(v);
             l.Invalidate();
         }},
        {L"luminousfuzzy", kNumber, L"3.0", L"Blur factor of the glow; values below 0.0001 are ignored",
         [](CLabelUI& l, const wchar_t* v) {
             const double fuzzy = std::wcstod(v, nullptr);
             // Too small (or not a number) would divide the glow to nothing.
             if (std::isfinite(fuzzy) && fuzzy >= 0.0001 && fuzzy <= 1.0e6)
                 l.m_luminousFuzzy = static_cast<float>(fuzzy);
             l.Invalidate();
         }},
        {L"gradientangle", kInteger, L"0", L"Effect: angle in degrees of the gradient from textcolor to textcolor1",
         [](CLabelUI& l, const wchar_t* v) {
             l.m_gradientAngle = ParseCoordinate(v);
             l.Invalidate();
         }},
        {L"enabledstroke", kBool, L"false", L"Effect: a one-pixel outline in strokecolor",
         [](CLabelUI& l, const wchar_t* v) {
             l.m_stroke = ParseBool(v);
             l.Invalidate();
         }},
        {L"enabledshadow", kBool, L"false", L"Effect: a drop shadow",
         [](CLabelUI& l, const wchar_t* v) {
             l.m_shadow = ParseBool(v);
             l.Invalidate();
         }},
        {L"gradientlength", kInteger, L"0", L"Effect: length of the gradient; 0 is the text's height",
         [](CLabelUI& l, const wchar_t* v) {
             l.m_gradientLength = ParseCoordinate(v);
             l.Invalidate();
         }},
        {L"shadowoffset", L"two integers offset,angle", L"0,0", L"Effect: how far and in which direction the shadow falls",
         [](CLabelUI& l, const wchar_t* v) {
             const CUISize pair = ParseSize(v);
             l.SetShadowOffset(pair.cx, pair.cy);
         }},
        {L"textcolor1", kColour, L"same as textcolor", L"Effect: second colour of the text gradient",
         [](CLabelUI& l, const wchar_t* v) { l.ChangeColor(l.m_textColor1, ReadColor(v)); }},
        {L"textshadowcolora", kColour, L"#FF000000", L"Effect: first colour of the shadow",
         [](CLabelUI& l, const wchar_t* v) { l.ChangeColor(l.m_shadowColorA, ReadColor(v)); }},
        {L"textshadowcolorb", kColour, L"same as textshadowcolora", L"Effect: second colour of the shadow",
         [](CLabelUI& l, const wchar_t* v) { l.ChangeColor(l.m_shadowColorB, ReadColor(v)); }},
        {L"strokecolor", kColour, L"none", L"Effect: outline colour",
         [](CLabelUI& l, const wchar_t* v) { l.ChangeColor(l.m_strokeColor, ReadColor(v)); }},
    };
    static const ControlAttributeTable kTable(L"CLabelUI", &CControlUI::GetAttributeTable(), kRows);
    return kTable;
}

// ---- Size estimate -----------------------------------------------------------------------

RECT CLabelUI::MeasureText(HDC dc, const RECT& rect)
{
    RECT measured = rect;
    const UINT style = (m_textStyle & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT;
    if (m_showHtml)
    {
        int noLinks = 0;
        CRenderKit::DrawMarkupText(dc, m_manager, measured, m_text.GetData(), 0, nullptr, nullptr, noLinks, m_font,
                                   style);
    }
    else
    {
        CRenderKit::DrawPlainText(dc, m_manager, measured, m_text.GetData(), 0, m_font, style);
    }
    return measured;
}

int CLabelUI::FontHeight() const
{
    if (m_manager == nullptr)
        return 0;
    const FontEntry* font = m_manager->GetFontEntry(m_font);
    if (font->metrics.tmHeight != 0 || font->font == nullptr)
        return font->metrics.tmHeight;
    // A manager not yet bound to a window has not measured its fonts.
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font->font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return metrics.tmHeight;
}

CUISize CLabelUI::MeasureDesired(const SIZE& available)
{
    if ((m_fixedSize.cx > 0 && m_fixedSize.cy > 0) || m_manager == nullptr)
        return m_fixedSize;
    if ((m_textStyle & DT_SINGLELINE) == 0 &&
        (available.cx != m_lastAvailable.cx || available.cy != m_lastAvailable.cy))
        NeedEstimate();
    if (m_needEstimate)
    {
        m_needEstimate = false;
        m_lastAvailable = available;
        SIZE size = m_fixedSize;
        // A manager not yet bound to a window measures in a screen-compatible
        // memory context.
        HDC dc = m_manager->GetPaintDC();
        HDC ownDc = dc == nullptr ? CreateCompatibleDC(nullptr) : nullptr;
        if (dc == nullptr)
            dc = ownDc;
        if ((m_textStyle & DT_SINGLELINE) != 0)
        {
            if (size.cy == 0)
                size.cy = FontHeight() + 8 + m_textPadding.top + m_textPadding.bottom;
            if (size.cx == 0)
            {
                const RECT measured = MeasureText(dc, RECT{0, 0, 9999, std::max(1, static_cast<int>(size.cy))});
                size.cx = (measured.right - measured.left) + m_textPadding.left + m_textPadding.right;
            }
        }
        else
        {
            if (size.cx == 0)
                size.cx = available.cx;
            const RECT measured = MeasureText(dc, RECT{m_textPadding.left, 0, size.cx - m_textPadding.right, 9999});
            size.cy = (measured.bottom - measured.top) + m_textPadding.top + m_textPadding.bottom;
        }
        if (ownDc != nullptr)
            DeleteDC(ownDc);
        m_estimated = size;
    }
    CUISize result(m_estimated.cx, m_estimated.cy);
    if (m_effect)
        result.cx = static_cast<LONG>(m_estimated.cx * 1.03);
    return result;
}

// ---- Painting ----------------------------------------------------------------------------

void CLabelUI::PaintBackColor(HDC dc)
{
    if (!IsEnabled() && m_disabledBkColor != 0)
    {
        const RECT& area = m_disabledBkColor >= 0xFF000000u ? m_paintRect : m_itemRect;
        CRenderKit::FillColor(dc, area, AdjustedColor(m_disabledBkColor));
        return;
    }
    CControlUI::PaintBackColor(dc);
}

void CLabelUI::TakeDefaultColors()
{
    if (m_manager == nullptr)
        return;
    if (m_textColor == 0)
        m_textColor = m_manager->GetDefaultFontColor();
    if (m_disabledTextColor == 0)
        m_disabledTextColor = m_manager->GetDisabledFontColor();
}

RECT CLabelUI::TextRect() const
{
    return RECT{m_itemRect.left + m_textPadding.left, m_itemRect.top + m_textPadding.top,
                m_itemRect.right - m_textPadding.right, m_itemRect.bottom - m_textPadding.bottom};
}

void CLabelUI::DrawLabelText(HDC dc, const RECT& rect, DWORD color)
{
    if (m_text.IsEmpty())
        return;
    RECT area = rect;
    if (m_showHtml)
    {
        int noLinks = 0;
        CRenderKit::DrawMarkupText(dc, m_manager, area, m_text.GetData(), color, nullptr, nullptr, noLinks, m_font,
                                   m_textStyle);
    }
    else
    {
        CRenderKit::DrawPlainText(dc, m_manager, area, m_text.GetData(), color, m_font, m_textStyle);
    }
}

void CLabelUI::PaintText(HDC dc)
{
    TakeDefaultColors();
    if (m_effect)
    {
        PaintEffectText(dc);
        return;
    }
    DrawLabelText(dc, TextRect(), IsEnabled() ? m_textColor : m_disabledTextColor);
}

// ---- GDI+ text effects -------------------------------------------------------------------

namespace {

Gdiplus::GpLineGradient* MakeGradient(int angle, float length, DWORD from, DWORD to)
{
    const Gdiplus::PointF start(static_cast<float>(angle), 0.0f);
    const Gdiplus::PointF end(0.0f, length);
    Gdiplus::GpLineGradient* brush = nullptr;
    gp::GdipCreateLineBrush(&start, &end, from, to, Gdiplus::WrapModeTile, &brush);
    return brush;
}

void DeleteBrush(Gdiplus::GpBrush* brush)
{
    if (brush != nullptr)
        gp::GdipDeleteBrush(brush);
}

}  // namespace

void CLabelUI::DrawSolidEffectText(HDC dc, const RECT& rect, DWORD color)
{
    DrawSolidEffectText(dc, rect, color, m_text.GetData(), m_textStyle);
}

void CLabelUI::DrawSolidEffectText(HDC dc, const RECT& rect, DWORD color, const wchar_t* text, UINT style)
{
    CGdiplusText(dc, m_manager, m_font, style, m_renderingHint).DrawSolid(text, rect, color);
}

void CLabelUI::PaintEffectText(HDC dc)
{
    const RECT t = TextRect();
    CGdiplusText text(dc, m_manager, m_font, m_textStyle, m_renderingHint);
    if (!text.Ready())
        return;
    const float width = static_cast<float>(t.right - t.left);
    const float height = static_cast<float>(t.bottom - t.top);
    const Gdiplus::RectF area(static_cast<float>(t.left), static_cast<float>(t.top), width, height);
    const Gdiplus::RectF shadowArea(area.X + m_shadowX, area.Y + m_shadowY, width, height);
    const float length = m_gradientLength != 0 ? static_cast<float>(m_gradientLength) : height;
    const wchar_t* string = m_text.GetData();

    Gdiplus::GpLineGradient* shadowBrush = MakeGradient(
        m_gradientAngle, length, m_shadowColorA, m_shadowColorB == 0xFFFFFFFF ? m_shadowColorA : m_shadowColorB);
    Gdiplus::GpLineGradient* textBrush =
        MakeGradient(m_gradientAngle, length, m_textColor, m_textColor1 == 0xFFFFFFFF ? m_textColor : m_textColor1);

    if (m_luminous && width >= 1.0f && height >= 1.0f)
    {
        // The glow: the text drawn small and scaled back up blurs it.
        const int smallWidth = std::max(1, static_cast<int>(width / m_luminousFuzzy));
        const int smallHeight = std::max(1, static_cast<int>(height / m_luminousFuzzy));
        Gdiplus::GpBitmap* full = nullptr;
        Gdiplus::GpBitmap* reduced = nullptr;
        gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, PixelFormat32bppARGB,
                                      nullptr, &full);
        gp::GdipCreateBitmapFromScan0(smallWidth, smallHeight, 0, PixelFormat32bppARGB, nullptr, &reduced);
        Gdiplus::GpGraphics* fullGraphics = nullptr;
        Gdiplus::GpGraphics* reducedGraphics = nullptr;
        if (full != nullptr)
            gp::GdipGetImageGraphicsContext(full, &fullGraphics);
        if (reduced != nullptr)
            gp::GdipGetImageGraphicsContext(reduced, &reducedGraphics);
        if (fullGraphics != nullptr && reducedGraphics != nullptr)
        {
            gp::GdipSetSmoothingMode(fullGraphics, Gdiplus::SmoothingModeAntiAlias);
            gp::GdipSetTextRenderingHint(fullGraphics, static_cast<Gdiplus::TextRenderingHint>(m_renderingHint));
            gp::GdipSetCompositingQuality(fullGraphics, static_cast<Gdiplus::CompositingQuality>(4));
            gp::GdipSetInterpolationMode(reducedGraphics, Gdiplus::InterpolationModeHighQualityBicubic);
            gp::GdipSetPixelOffsetMode(reducedGraphics, static_cast<Gdiplus::PixelOffsetMode>(3));
            text.Draw(fullGraphics, string, Gdiplus::RectF(0.0f, 0.0f, width, height), textBrush);
            gp::GdipDrawImageRectI(reducedGraphics, full, 0, 0, smallWidth, smallHeight);
            gp::GdipGraphicsClear(fullGraphics, 0);
            gp::GdipDrawImageRectI(fullGraphics, reduced, static_cast<INT>(m_shadowX), static_cast<INT>(m_shadowY),
                                   static_cast<INT>(width), static_cast<INT>(height));
            gp::GdipDrawImageRect(text.Graphics(), full, area.X, area.Y, width, height);
        }
        if (reducedGraphics != nullptr)
            gp::GdipDeleteGraphics(reducedGraphics);
        if (fullGraphics != nullptr)
            gp::GdipDeleteGraphics(fullGraphics);
        if (reduced != nullptr)
            gp::GdipDisposeImage(reduced);
        if (full != nullptr)
            gp::GdipDisposeImage(full);
    }
    if (m_stroke && m_strokeColor != 0)
    {
        Gdiplus::GpLineGradient* strokeBrush = MakeGradient(m_gradientAngle, height + 2.0f, m_strokeColor, m_strokeColor);
        static const float kNudges[4][2] = {{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {0.0f, 1.0f}};
        for (const auto& nudge : kNudges)
            text.Draw(text.Graphics(), string, Gdiplus::RectF(area.X + nudge[0], area.Y + nudge[1], width, height),
                      strokeBrush);
        DeleteBrush(strokeBrush);
    }
    if (m_shadow && (m_shadowColorA != 0 || m_shadowColorB != 0))
        text.Draw(text.Graphics(), string, shadowArea, shadowBrush);
    text.Draw(text.Graphics(), string, area, textBrush);
    DeleteBrush(textBrush);
    DeleteBrush(shadowBrush);
}

// ---- Accessibility ---------------------------------------------------------------------

void CLabelUI::DescribeAccess(int part, AccessDescription& description) const
{
    CControlUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    if (m_showHtml && !m_text.IsEmpty())
    {
        CUIString text = m_text;
        CUIManager::ExpandLanguageTokens(text);
        description.name = MarkupPlainText(text.GetData());
    }
    description.role = description.name.IsEmpty() ? 0 : ROLE_SYSTEM_STATICTEXT;
    description.state |= STATE_SYSTEM_READONLY;
    DescribeAccessProgress(part, description);
}

void CLabelUI::DescribeEditableText(AccessDescription& description) const
{
    description.role = ROLE_SYSTEM_TEXT;
    description.name = m_toolTip;
    CUIManager::ExpandLanguageTokens(description.name);
    description.state &= ~STATE_SYSTEM_READONLY;
    if (IsEnabled())
        description.state |= STATE_SYSTEM_FOCUSABLE;
    description.value = m_text;
    description.hasValue = true;
}

}  // namespace DuiLib
