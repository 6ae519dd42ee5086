// CMarkupPainter: the call around the layout: device context state, the
// clip, alignment of the rectangle, the drawing pass and the link report.
// The drawing pass takes every position from the layout and measures
// nothing; alignment reads the layout's extent.
#include "ui/render/MarkupPainter.h"

#include <algorithm>
#include <optional>

#include "ui/core/LanguageTexts.h"
#include "ui/render/ClipScope.h"
#include "ui/render/ImageEntry.h"
#include "ui/render/MarkupLayout.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

// Single-line text is measured for alignment in a box this wide, so that it
// is never cut.
constexpr int kUnboundedWidth = 9999;

}  // namespace

CMarkupPainter::CMarkupPainter(HDC dc, IRenderHost* manager, RECT& rect, const wchar_t* text, DWORD textColor,
                               RECT* links, CUIString* linkNames, int& linkCount, int font, UINT style)
    : m_dc(dc),
      m_manager(manager),
      m_rect(rect),
      m_text(text),
      m_textColor(textColor),
      m_links(links),
      m_linkNames(linkNames),
      m_linkCount(linkCount),
      m_linkCapacity(linkCount),
      m_fontIndex(font),
      m_style(style),
      m_drawMode((style & DT_CALCRECT) == 0),
      m_multiLine((style & DT_SINGLELINE) == 0)
{
    if (m_links == nullptr || m_linkNames == nullptr || m_linkCapacity < 0)
        m_linkCapacity = 0;
}

void CMarkupPainter::Paint()
{
    m_linkCount = 0;
    if (m_manager == nullptr || m_dc == nullptr || IsRectEmpty(&m_rect))
        return;
    // The clip stays the rectangle as passed in, whatever alignment does.
    std::optional<CClipScope> clip;
    if (m_drawMode)
        clip.emplace(m_dc, m_rect);

    CLanguageTexts::ExpandTokens(m_text);
    if (m_textColor == 0 || m_textColor == 0xFF000000)
        m_textColor = 0xFF000001;
    FontEntry* baseFont = m_manager->GetFontEntry(m_fontIndex);
    const HGDIOBJ previousFont = SelectObject(m_dc, baseFont->font);
    const int previousMode = SetBkMode(m_dc, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(m_dc, CRenderKit::ToPlatformColor(m_textColor));
    const COLORREF previousBack = SetBkColor(m_dc, CRenderKit::ToPlatformColor(m_manager->GetSelectedColor()));

    FindHoverLink();
    CMarkupLayout layout(m_dc, *m_manager, m_text.GetData(), m_textColor, baseFont, m_style,
                         m_hasHoverLink ? &m_hoverLink : nullptr);
    const int width = m_rect.right - m_rect.left;
    const int height = m_rect.bottom - m_rect.top;
    const bool aligned = (m_style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0;
    if (!m_drawMode)
    {
        layout.Layout(width, CMarkupLayout::kNoStop);
        const SIZE extent = layout.Extent();
        m_rect.bottom = AddMarkupOffset(m_rect.top, extent.cy);
        m_rect.right = std::min(static_cast<int>(m_rect.right), AddMarkupOffset(m_rect.left, extent.cx));
    }
    else
    {
        // Alignment needs the whole text's size, so nothing is left out yet.
        layout.Layout(width, aligned ? CMarkupLayout::kNoStop : height);
        if (aligned)
            Align(layout);
        layout.DropLinesBelow(m_rect.bottom - m_rect.top);
        DrawRuns(layout);
    }
    ReportLinks(layout);

    SetBkColor(m_dc, previousBack);
    SetTextColor(m_dc, previousColor);
    SetBkMode(m_dc, previousMode);
    SelectObject(m_dc, previousFont);
}

void CMarkupPainter::Align(CMarkupLayout& layout)
{
    const int width = m_rect.right - m_rect.left;
    const int height = m_rect.bottom - m_rect.top;
    // Multi-line text is measured within its width; a single line that
    // fitted is its own measure, one that was cut is measured uncut.
    SIZE measured = layout.Extent();
    if (m_multiLine)
    {
        measured.cx = std::min(width, static_cast<int>(measured.cx));
    }
    else if (!layout.FirstLineFits())
    {
        layout.Layout(kUnboundedWidth, CMarkupLayout::kNoStop);
        measured = layout.Extent();
        measured.cx = std::min(kUnboundedWidth, static_cast<int>(measured.cx));
    }
    // Text larger than the rectangle is aligned all the same: the rectangle
    // grows past its edges and the clip, still the rectangle as passed in,
    // cuts the overflow on the sides the alignment leaves it.
    if (!m_multiLine && (m_style & DT_CENTER) != 0)
    {
        m_rect.left = m_rect.left + width / 2 - measured.cx / 2;
        m_rect.right = m_rect.left + measured.cx;
    }
    else if (!m_multiLine && (m_style & DT_RIGHT) != 0)
    {
        m_rect.left = m_rect.right - measured.cx;
    }
    if ((m_style & DT_VCENTER) != 0)
    {
        m_rect.top = m_rect.top + height / 2 - measured.cy / 2;
        m_rect.bottom = m_rect.top + measured.cy;
    }
    else if ((m_style & DT_BOTTOM) != 0)
    {
        m_rect.top = m_rect.bottom - measured.cy;
    }
    // A narrower box may end the line before trailing tags that a wider
    // one still took, so it is laid out again rather than trimmed.
    if (layout.Width() != m_rect.right - m_rect.left)
        layout.Layout(m_rect.right - m_rect.left, CMarkupLayout::kNoStop);
}

void CMarkupPainter::FindHoverLink()
{
    const POINT mouse = m_manager->GetMousePos();
    for (int i = 0; i < m_linkCapacity; ++i)
    {
        if (PtInRect(&m_links[i], mouse))
        {
            m_hoverLink = m_linkNames[i];
            m_hasHoverLink = true;
            return;
        }
    }
}

void CMarkupPainter::DrawRuns(const CMarkupLayout& layout)
{
    HGDIOBJ font = layout.SelectedFont();
    std::optional<DWORD> color;
    std::optional<bool> selected;
    for (const MarkupRun& run : layout.Runs())
    {
        const MarkupLine& line = layout.Lines()[run.line];
        const int x = AddMarkupOffset(AddMarkupOffset(m_rect.left, run.x), line.offset);
        const int y = AddMarkupOffset(m_rect.top, run.top);
        if (run.image != nullptr)
        {
            const RECT box = {x, y, x + run.width, y + run.height};
            CRenderKit::BlitNineGrid(m_dc, run.image->bitmap, box, m_rect, run.source, RECT{0, 0, 0, 0}, 255,
                                     run.image->hasAlpha ? UININE_ALPHA : UININE_PLAIN);
            continue;
        }
        if (font != run.font->font)
        {
            font = run.font->font;
            SelectObject(m_dc, font);
        }
        if (color != run.color)
        {
            color = run.color;
            SetTextColor(m_dc, CRenderKit::ToPlatformColor(run.color));
        }
        if (selected != run.selected)
        {
            selected = run.selected;
            SetBkMode(m_dc, run.selected ? OPAQUE : TRANSPARENT);
        }
        TextOutW(m_dc, x, y, layout.Glyphs() + run.textStart, run.textLength);
    }
}

void CMarkupPainter::ReportLinks(const CMarkupLayout& layout)
{
    const int count = std::min(static_cast<int>(layout.Links().size()), m_linkCapacity);
    for (int i = 0; i < count; ++i)
    {
        const MarkupLink& link = layout.Links()[i];
        const MarkupLine& line = layout.Lines()[link.line];
        // Lines are shifted for alignment only where they are drawn.
        const int offset = m_drawMode ? line.offset : 0;
        const int top = AddMarkupOffset(m_rect.top, line.top);
        m_links[i] = RECT{AddMarkupOffset(AddMarkupOffset(m_rect.left, link.left), offset), top,
                          AddMarkupOffset(AddMarkupOffset(m_rect.left, link.right), offset),
                          AddMarkupOffset(top, line.height)};
    }
    const int names = std::min(static_cast<int>(layout.LinkNames().size()), m_linkCapacity);
    for (int i = 0; i < names; ++i)
        m_linkNames[i] = layout.LinkNames()[i];
    m_linkCount = count;
}

}  // namespace DuiLib
