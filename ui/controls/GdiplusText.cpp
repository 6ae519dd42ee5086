// CGdiplusText: making and releasing the GDI+ objects of one text drawing;
// the text attributes of the GDI+-only controls.
#include "ui/controls/GdiplusText.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

CGdiplusText::CGdiplusText(HDC dc, CUIManager* manager, int fontIndex, UINT style, int renderingHint)
{
    gp::GdipCreateFromHDC(dc, &m_graphics);
    m_ownsGraphics = true;
    Prepare(dc, manager, fontIndex, style, renderingHint);
}

CGdiplusText::CGdiplusText(Gdiplus::GpGraphics* graphics, HDC fontDc, CUIManager* manager, int fontIndex,
                           UINT style, int renderingHint)
    : m_graphics(graphics)
{
    Prepare(fontDc, manager, fontIndex, style, renderingHint);
}

CGdiplusText::~CGdiplusText()
{
    if (m_format != nullptr)
        gp::GdipDeleteStringFormat(m_format);
    if (m_font != nullptr)
        gp::GdipDeleteFont(m_font);
    if (m_ownsGraphics && m_graphics != nullptr)
        gp::GdipDeleteGraphics(m_graphics);
}

void CGdiplusText::Prepare(HDC fontDc, CUIManager* manager, int fontIndex, UINT style, int renderingHint)
{
    if (m_graphics != nullptr)
        gp::GdipSetTextRenderingHint(m_graphics, static_cast<Gdiplus::TextRenderingHint>(renderingHint));
    HFONT handle = manager != nullptr ? manager->GetFont(fontIndex) : nullptr;
    LOGFONTW logical = {};
    if (handle != nullptr && GetObjectW(handle, sizeof(logical), &logical) != 0)
        gp::GdipCreateFontFromLogfontW(fontDc, &logical, &m_font);
    else
        gp::GdipCreateFontFromDC(fontDc, &m_font);
    gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &m_format);
    if (m_format == nullptr)
        return;
    const auto lineAlign = (style & DT_VCENTER) != 0  ? Gdiplus::StringAlignmentCenter
                           : (style & DT_BOTTOM) != 0 ? Gdiplus::StringAlignmentFar
                                                      : Gdiplus::StringAlignmentNear;
    const auto align = (style & DT_CENTER) != 0  ? Gdiplus::StringAlignmentCenter
                       : (style & DT_RIGHT) != 0 ? Gdiplus::StringAlignmentFar
                                                 : Gdiplus::StringAlignmentNear;
    gp::GdipSetStringFormatLineAlign(m_format, lineAlign);
    gp::GdipSetStringFormatAlign(m_format, align);
    if ((style & DT_SINGLELINE) != 0)
        gp::GdipSetStringFormatFlags(m_format, Gdiplus::StringFormatFlagsNoWrap);
}

void CGdiplusText::Draw(Gdiplus::GpGraphics* graphics, const wchar_t* text, const Gdiplus::RectF& rect,
                        Gdiplus::GpBrush* brush) const
{
    if (brush != nullptr)
        gp::GdipDrawString(graphics, text, -1, m_font, &rect, m_format, brush);
}

void CGdiplusText::DrawSolid(const wchar_t* text, const RECT& rect, DWORD color) const
{
    if (!Ready())
        return;
    Gdiplus::GpSolidFill* brush = nullptr;
    gp::GdipCreateSolidFill(color, &brush);
    const Gdiplus::RectF area(static_cast<float>(rect.left), static_cast<float>(rect.top),
                              static_cast<float>(rect.right - rect.left), static_cast<float>(rect.bottom - rect.top));
    Draw(m_graphics, text, area, brush);
    if (brush != nullptr)
        gp::GdipDeleteBrush(brush);
}

namespace {

struct StyleWord
{
    const wchar_t* word;
    UINT clear;
    UINT set;
};

const StyleWord kAlignWords[] = {
    {L"left", DT_CENTER | DT_RIGHT, DT_LEFT},
    {L"center", DT_LEFT | DT_RIGHT, DT_CENTER},
    {L"right", DT_LEFT | DT_CENTER, DT_RIGHT},
};

const StyleWord kVAlignWords[] = {
    {L"top", DT_BOTTOM | DT_VCENTER, DT_TOP},
    {L"vcenter", DT_TOP | DT_BOTTOM, DT_VCENTER},
    {L"bottom", DT_TOP | DT_VCENTER, DT_BOTTOM},
};

template <size_t N>
UINT ApplyStyleWord(UINT style, const wchar_t* word, const StyleWord (&words)[N])
{
    for (const StyleWord& candidate : words)
    {
        if (word != nullptr && std::wcscmp(word, candidate.word) == 0)
            return (style & ~candidate.clear) | candidate.set;
    }
    return style;
}

}  // namespace

void GdiplusTextSettings::SetAlign(const wchar_t* word)
{
    style = ApplyStyleWord(style, word, kAlignWords);
}

void GdiplusTextSettings::SetVAlign(const wchar_t* word)
{
    style = ApplyStyleWord(style, word, kVAlignWords);
}

void GdiplusTextSettings::SetMultiline(bool multiline)
{
    style = multiline ? ((style & ~static_cast<UINT>(DT_SINGLELINE)) | DT_WORDBREAK) : (style | DT_SINGLELINE);
}

}  // namespace DuiLib
