// CMarkupPainter: line layout, measuring and drawing of markup text over the
// tokens of MarkupTokenizer.h. A line is walked once to learn its height and
// width (and to record its links), then rewound to its start and walked
// again to draw, so both walks must take exactly the same decisions: every
// decision depends on the walk state and the x position only, never on
// whether the walk draws.
//
// [SECTIONS] the call · lines · tokens · tags · runs and images · fonts and colours
#include "ui/render/MarkupPainter.h"

#include <algorithm>
#include <optional>

#include "ui/render/ClipScope.h"
#include "ui/render/MarkupTokenizer.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

// Markup fonts larger than this are drawn at this size: a skin value of a
// million pixels would otherwise make the platform rasterise giant glyphs.
constexpr int kMaxMarkupFontSize = 512;

int AddHeld(int value, long long delta)
{
    const long long sum = static_cast<long long>(value) + delta;
    return static_cast<int>(std::clamp<long long>(sum, -0x3FFFFFFF, 0x3FFFFFFF));
}

UINT StylesOf(const FontEntry& font)
{
    return (font.bold ? UIFONT_BOLD : 0u) | (font.underline ? UIFONT_UNDERLINE : 0u) |
           (font.italic ? UIFONT_ITALIC : 0u) | (font.strikeout ? UIFONT_STRIKEOUT : 0u);
}

// The process-wide counter of identifiers for fonts the markup adds. Ids the
// manager already holds are passed over, so a markup font never replaces
// (and deletes) a skin font that controls draw with.
int NextMarkupFontId(CUIManager& manager)
{
    static int s_nextFontId = 0;
    FontEntry* fallback = manager.GetDefaultFontEntry();
    while (manager.GetFontEntry(s_nextFontId) != fallback)
        ++s_nextFontId;
    return s_nextFontId++;
}

}  // namespace

// ---- The call -----------------------------------------------------------------------

CMarkupPainter::CMarkupPainter(HDC dc, CUIManager* manager, RECT& rect, const wchar_t* text, DWORD textColor,
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

    CUIManager::ExpandLanguageTokens(m_text);
    if (m_textColor == 0 || m_textColor == 0xFF000000)
        m_textColor = 0xFF000001;
    m_baseFont = m_manager->GetFontEntry(m_fontIndex);
    const HGDIOBJ previousFont = SelectObject(m_dc, m_baseFont->font);
    const int previousMode = SetBkMode(m_dc, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(m_dc, CRenderKit::ToPlatformColor(m_textColor));
    const COLORREF previousBack = SetBkColor(m_dc, CRenderKit::ToPlatformColor(m_manager->GetSelectedColor()));

    m_state.at = m_text.GetData();
    if (m_drawMode && (m_style & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) != 0)
        AlignToMeasuredSize();
    FindHoverLink();

    m_x = m_rect.left;
    m_y = m_rect.top;
    m_maxX = m_rect.left;
    m_lowestImageBottom = m_rect.top;
    m_lineHeight = FontLineHeight(m_baseFont);
    const int width = m_rect.right - m_rect.left;
    for (;;)
    {
        const WalkState lineStart = m_state;

        // Pass 1: learn the line's height and width, record its links.
        m_drawWalk = false;
        m_x = m_rect.left;
        m_lineWidth = 0;
        m_lineHeight = FontLineHeight(CurrentFont()) + Spacing();
        m_linkStart = POINT{m_x, m_y};
        m_firstLinkOfLine = m_state.linkIndex;
        m_fits.clear();
        WalkLine();
        EndMeasuredLine();

        // Pass 2: rewind to the line start and draw it.
        if (m_drawMode)
        {
            const int linksAfterLine = m_state.linkIndex;
            m_drawnLineHeight = m_lineHeight;
            m_lineOffset = 0;
            if (m_multiLine && (m_style & DT_CENTER) != 0)
                m_lineOffset = (width - m_lineWidth) / 2;
            else if (m_multiLine && (m_style & DT_RIGHT) != 0)
                m_lineOffset = width - m_lineWidth;
            // The links were recorded before the offset was known.
            for (int i = m_firstLinkOfLine; i < linksAfterLine; ++i)
                OffsetRect(&m_links[i], m_lineOffset, 0);

            m_state = lineStart;
            m_drawWalk = true;
            m_fitsUsed = 0;
            SelectObject(m_dc, CurrentFont()->font);
            UseColor();
            UseBackgroundMode();
            m_x = m_rect.left;
            WalkLine();
            m_state.linkIndex = linksAfterLine;
            m_lineHeight = m_drawnLineHeight;
            m_lineOffset = 0;
        }

        if (!m_multiLine || *m_state.at == L'\0')
            break;
        // A line that took nothing from the text would repeat for ever.
        if (m_state.at == lineStart.at)
            break;
        m_y = AddHeld(m_y, m_lineHeight);
        if (m_drawMode && m_y > m_rect.bottom)
            break;
    }

    m_linkCount = m_state.linkIndex;
    if (!m_drawMode)
    {
        m_rect.bottom = std::max(m_lowestImageBottom, AddHeld(m_y, m_lineHeight));
        m_rect.right = std::min(static_cast<int>(m_rect.right), m_maxX);
    }
    SetBkColor(m_dc, previousBack);
    SetTextColor(m_dc, previousColor);
    SetBkMode(m_dc, previousMode);
    SelectObject(m_dc, previousFont);
}

void CMarkupPainter::AlignToMeasuredSize()
{
    const int width = m_rect.right - m_rect.left;
    const int height = m_rect.bottom - m_rect.top;
    RECT measured = {};
    if (m_multiLine || !MeasureWholeLine(measured))
    {
        measured = m_multiLine ? RECT{0, 0, width, height} : RECT{0, 0, 9999, 100};
        int noLinks = 0;
        CMarkupPainter measurer(m_dc, m_manager, measured, m_text.GetData(), m_textColor, nullptr, nullptr, noLinks,
                                m_fontIndex, m_style | DT_CALCRECT);
        measurer.Paint();
    }
    // Text larger than the rectangle is aligned all the same: the rectangle
    // grows past its edges and the clip, still the rectangle as passed in,
    // cuts the overflow on the sides the alignment leaves it.
    const int textWidth = measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;
    if (!m_multiLine && (m_style & DT_CENTER) != 0)
    {
        m_rect.left = m_rect.left + width / 2 - textWidth / 2;
        m_rect.right = m_rect.left + textWidth;
    }
    else if (!m_multiLine && (m_style & DT_RIGHT) != 0)
    {
        m_rect.left = m_rect.right - textWidth;
    }
    if ((m_style & DT_VCENTER) != 0)
    {
        m_rect.top = m_rect.top + height / 2 - textHeight / 2;
        m_rect.bottom = m_rect.top + textHeight;
    }
    else if ((m_style & DT_BOTTOM) != 0)
    {
        m_rect.top = m_rect.bottom - textHeight;
    }
}

bool CMarkupPainter::MeasureWholeLine(RECT& measured)
{
    // One measuring walk of the single line within the rectangle itself.
    // When the line ends before the right edge, the walk met exactly the
    // tokens that measuring in a 9999-pixel rectangle would meet, and its
    // extent is the answer; a line cut at the edge needs the wide measure.
    const WalkState start = m_state;
    const int capacity = m_linkCapacity;
    m_linkCapacity = 0;
    m_drawWalk = false;
    m_cutAtEdge = false;
    m_x = m_rect.left;
    m_y = m_rect.top;
    m_maxX = m_rect.left;
    m_lowestImageBottom = m_rect.top;
    m_lineWidth = 0;
    m_lineHeight = FontLineHeight(CurrentFont()) + Spacing();
    WalkLine();
    const bool whole = !m_cutAtEdge && m_x < m_rect.right;
    measured = RECT{0, 0, m_maxX - m_rect.left,
                    std::max(m_lowestImageBottom, AddHeld(m_y, m_lineHeight)) - m_rect.top};
    m_linkCapacity = capacity;
    m_state = start;
    SelectObject(m_dc, CurrentFont()->font);
    UseColor();
    return whole;
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

// ---- Lines -----------------------------------------------------------------------------

void CMarkupPainter::WalkLine()
{
    m_lineEndPending = false;
    m_atBreak = true;
    while (!m_lineEndPending && m_x < m_rect.right)
    {
        const MarkupToken token = ReadMarkupToken(m_state.at, m_state.inRaw);
        if (token.kind == MarkupTokenKind::End || token.kind == MarkupTokenKind::Newline)
            break;
        Step(token);
    }
    // Whatever ended the line, a line break right here belongs to it.
    const MarkupToken next = ReadMarkupToken(m_state.at, m_state.inRaw);
    if (next.kind == MarkupTokenKind::Newline)
        m_state.at += next.length;
    m_lineEndPending = false;
}

void CMarkupPainter::EndMeasuredLine()
{
    const int lineBottom = AddHeld(m_y, m_lineHeight);
    if (m_state.inLink && m_state.linkIndex < m_linkCapacity)
    {
        // The link goes on in the next line, under the same name.
        const int index = m_state.linkIndex;
        m_links[index] = RECT{m_linkStart.x, m_linkStart.y, std::min(m_x, static_cast<int>(m_rect.right)),
                              lineBottom};
        ++m_state.linkIndex;
        if (m_state.linkIndex < m_linkCapacity)
            m_linkNames[m_state.linkIndex] = m_linkNames[index];
    }
    for (int i = m_firstLinkOfLine; i < m_state.linkIndex; ++i)
        m_links[i].bottom = lineBottom;
}

// ---- Tokens ----------------------------------------------------------------------------

void CMarkupPainter::Step(const MarkupToken& token)
{
    switch (token.kind)
    {
    case MarkupTokenKind::Space:
        m_state.at += token.length;
        PutCharacters(L" ", 1, true);
        return;
    case MarkupTokenKind::Escape:
        m_state.at += token.length;
        PutCharacters(&token.escaped, 1, IsMarkupBreakAfter(token.escaped));
        return;
    case MarkupTokenKind::OpenTag:
    {
        int argumentStart = 0;
        while (argumentStart < token.argumentLength && token.argument[argumentStart] == L' ')
            ++argumentStart;
        const bool image = token.letter == L'i' && argumentStart < token.argumentLength;
        // An image that does not fit stays unread for the next line.
        if (image && !PlaceImage(token.argument, token.argumentLength))
            return;
        m_state.at += token.length;
        if (!image)
            OpenTag(token.letter, token.argument, token.argumentLength);
        return;
    }
    case MarkupTokenKind::CloseTag:
        m_state.at += token.length;
        CloseTag(token.letter);
        return;
    case MarkupTokenKind::Run:
        PutRun(m_state.at, token.length);
        return;
    case MarkupTokenKind::End:
    case MarkupTokenKind::Newline:
        return;
    }
}

// ---- Tags ------------------------------------------------------------------------------

void CMarkupPainter::OpenTag(wchar_t letter, const wchar_t* argument, int length)
{
    switch (letter)
    {
    case L'a':
    {
        const CUIString name(argument, length);
        if (!m_drawWalk && m_state.linkIndex < m_linkCapacity)
            m_linkNames[m_state.linkIndex] = name;
        const bool hovered = m_hasHoverLink && m_hoverLink.Compare(name.GetData()) == 0;
        m_state.colors.push_back(hovered ? m_manager->GetLinkHoverFontColor() : m_manager->GetLinkFontColor());
        UseColor();
        PushStyledFont(UIFONT_UNDERLINE);
        m_linkStart = POINT{m_x, m_y};
        m_state.inLink = true;
        return;
    }
    case L'b':
        PushStyledFont(UIFONT_BOLD);
        return;
    case L'c':
        m_state.colors.push_back(ReadMarkupColor(argument, length));
        UseColor();
        return;
    case L'f':
    {
        const MarkupFontRequest request = ReadMarkupFont(argument, length);
        FontEntry* font = nullptr;
        if (request.byIndex)
        {
            font = m_manager->GetFontEntry(request.index);
        }
        else
        {
            const int size = std::clamp(request.size, 1, kMaxMarkupFontSize);
            const wchar_t* face = request.faceName.GetData();
            HFONT handle = m_manager->FindFont(face, size, request.styles);
            if (handle == nullptr)
                handle = m_manager->AddFont(NextMarkupFontId(*m_manager), face, size, request.styles,
                                            ResourceScope::Own);
            font = handle != nullptr ? m_manager->GetFontEntry(handle) : CurrentFont();
        }
        m_state.fonts.push_back(font);
        UseFont(font);
        return;
    }
    case L'i':
        PushStyledFont(UIFONT_ITALIC);
        return;
    case L'n':
        m_lineEndPending = true;
        return;
    case L'p':
        if (m_x > m_rect.left)
            m_lineEndPending = true;
        m_state.spacings.push_back(std::max(0, ReadMarkupNumber(argument, length)));
        m_lineHeight = std::max(m_lineHeight, FontLineHeight(CurrentFont()) + Spacing());
        return;
    case L'r':
        m_state.inRaw = true;
        return;
    case L's':
        m_state.inSelection = !m_state.inSelection;
        UseBackgroundMode();
        return;
    case L'u':
        PushStyledFont(UIFONT_UNDERLINE);
        return;
    case L'v':
        m_state.aligns.push_back(ReadMarkupVAlign(argument, length));
        return;
    case L'x':
        m_x = AddHeld(m_x, ReadMarkupNumber(argument, length));
        return;
    case L'y':
        m_lineHeight = std::max(0, ReadMarkupNumber(argument, length));
        return;
    default:
        return;  // a letter without a meaning: skipped with its text
    }
}

void CMarkupPainter::CloseTag(wchar_t letter)
{
    switch (letter)
    {
    case L'a':
        // A stray </a> with no link open records nothing.
        if (m_state.inLink && m_state.linkIndex < m_linkCapacity)
        {
            if (!m_drawWalk)
            {
                const int bottom = AddHeld(m_y, FontLineHeight(CurrentFont()));
                m_links[m_state.linkIndex] = RECT{m_linkStart.x, m_linkStart.y,
                                                  std::min(m_x, static_cast<int>(m_rect.right)), bottom};
            }
            ++m_state.linkIndex;
        }
        if (!m_state.colors.empty())
            m_state.colors.pop_back();
        UseColor();
        m_state.inLink = false;
        PopFont();
        return;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont();
        return;
    case L'c':
        if (!m_state.colors.empty())
            m_state.colors.pop_back();
        UseColor();
        return;
    case L'p':
        if (m_x > m_rect.left)
            m_lineEndPending = true;
        if (!m_state.spacings.empty())
            m_state.spacings.pop_back();
        m_lineHeight = std::max(m_lineHeight, FontLineHeight(CurrentFont()) + Spacing());
        return;
    case L'r':
        m_state.inRaw = false;
        return;
    case L's':
        m_state.inSelection = !m_state.inSelection;
        UseBackgroundMode();
        return;
    case L'v':
        if (!m_state.aligns.empty())
            m_state.aligns.pop_back();
        return;
    default:
        return;
    }
}

// ---- Runs and images -------------------------------------------------------------------

bool CMarkupPainter::PlaceImage(const wchar_t* argument, int length)
{
    const MarkupImageRequest request = ReadMarkupImage(argument, length);
    ImageEntry* image = request.name.IsEmpty()
                            ? nullptr
                            : m_manager->GetOrAddImage(request.name.GetData(),
                                                       request.useResType ? request.resType.GetData() : nullptr,
                                                       0, false);
    if (image == nullptr || image->bitmap == nullptr)
        return true;  // skipped
    const int frameWidth = image->width / request.frames;
    const int height = image->height;
    if (m_multiLine && m_x > m_rect.left && static_cast<long long>(m_x) + frameWidth > m_rect.right)
    {
        m_lineEndPending = true;
        return false;
    }
    if (m_drawWalk)
    {
        const int lineTop = m_y;
        const int lineBottom = AddHeld(m_y, m_drawnLineHeight);
        const int align = m_state.aligns.empty() ? MARKUP_VALIGN_BOTTOM : m_state.aligns.back();
        int top = lineBottom - height;
        if (align == MARKUP_VALIGN_CENTER && height < m_drawnLineHeight)
            top -= (m_drawnLineHeight - height) / 2;
        else if (align == MARKUP_VALIGN_TOP && height < m_drawnLineHeight)
            top = lineTop;
        const int left = AddHeld(m_x, m_lineOffset);
        const RECT box = {left, top, left + frameWidth, top + height};
        const RECT source = {frameWidth * request.frame, 0, frameWidth * (request.frame + 1), height};
        CRenderKit::BlitNineGrid(m_dc, image->bitmap, box, m_rect, source, RECT{0, 0, 0, 0}, 255,
                                 image->hasAlpha ? UININE_ALPHA : UININE_PLAIN);
    }
    m_lineHeight = std::max(m_lineHeight, height);
    m_lowestImageBottom = std::max(m_lowestImageBottom, AddHeld(m_y, height));
    Advance(frameWidth);
    m_atBreak = true;
    return true;
}

CMarkupPainter::RunFit CMarkupPainter::FitRun(const wchar_t* run, int length)
{
    // The drawing walk takes the same decisions as the measuring walk before
    // it, in the same order, so it reuses them instead of measuring again.
    if (m_drawWalk && m_fitsUsed < m_fits.size())
        return m_fits[m_fitsUsed++];

    RunFit fit = {length, 0, false, false};
    const FontEntry* font = CurrentFont();
    const int room = m_rect.right - m_x;
    const int widest = std::max(1, static_cast<int>(font->metrics.tmMaxCharWidth));
    SIZE size = {0, 0};
    // The estimate from the widest character spares the exact fitting
    // measurement for runs that are far from the right edge.
    if (static_cast<long long>(length) * widest < room)
    {
        GetTextExtentPoint32W(m_dc, run, length, &size);
    }
    else
    {
        int fitting = 0;
        GetTextExtentExPointW(m_dc, run, length, room, &fitting, nullptr, &size);
        if (fitting < length)
        {
            fit.cut = true;
            m_cutAtEdge = true;
            // The character that crossed the edge is dropped, unless it is
            // the only one: a line always takes something.
            fit.count = std::max(fitting, 1);
            if ((m_style & DT_WORDBREAK) != 0)
            {
                const int wordEnd = LastMarkupBreak(run, fit.count);
                if (wordEnd > 0)
                    fit.count = wordEnd;
                else if (m_atBreak && m_x > m_rect.left)
                    fit.count = 0;  // the whole word moves to the next line
            }
            if ((m_style & DT_END_ELLIPSIS) != 0 && fit.count > 0)
            {
                fit.ellipsis = true;
                fit.count = std::max(0, fit.count - 2);
            }
            size = SIZE{0, 0};
            if (fit.count > 0)
                GetTextExtentPoint32W(m_dc, run, fit.count, &size);
        }
    }
    fit.width = size.cx;
    if (!m_drawWalk && m_drawMode)
        m_fits.push_back(fit);
    return fit;
}

void CMarkupPainter::PutRun(const wchar_t* run, int length)
{
    const RunFit fit = FitRun(run, length);
    if (m_drawWalk)
    {
        const int x = AddHeld(m_x, m_lineOffset);
        const int y = TextTop(CurrentFont());
        if (fit.count > 0)
            TextOutW(m_dc, x, y, run, fit.count);
        if (fit.ellipsis)
            TextOutW(m_dc, AddHeld(x, fit.width), y, L"...", 3);
    }
    if (fit.ellipsis)
        Advance(static_cast<long long>(m_rect.right) - m_x);
    else
        Advance(fit.width);
    m_state.at += fit.count;
    if (fit.count > 0)
        m_atBreak = IsMarkupBreakAfter(run[fit.count - 1]);
    if (fit.cut)
        m_lineEndPending = true;
}

void CMarkupPainter::PutCharacters(const wchar_t* text, int count, bool breakAfter)
{
    RunFit fit = {count, 0, false, false};
    if (m_drawWalk && m_fitsUsed < m_fits.size())
    {
        fit = m_fits[m_fitsUsed++];
    }
    else
    {
        SIZE size = {0, 0};
        GetTextExtentPoint32W(m_dc, text, count, &size);
        fit.width = size.cx;
        if (!m_drawWalk && m_drawMode)
            m_fits.push_back(fit);
    }
    // Drawn even when it is a space, so that underline runs on.
    if (m_drawWalk)
        TextOutW(m_dc, AddHeld(m_x, m_lineOffset), TextTop(CurrentFont()), text, count);
    Advance(fit.width);
    m_atBreak = breakAfter;
}

void CMarkupPainter::Advance(long long width)
{
    m_x = AddHeld(m_x, width);
    m_maxX = std::max(m_maxX, m_x);
    m_lineWidth = std::max(m_lineWidth, AddHeld(m_x, -static_cast<long long>(m_rect.left)));
}

int CMarkupPainter::TextTop(const FontEntry* font) const
{
    const int lineHeight = m_drawWalk ? m_drawnLineHeight : m_lineHeight;
    const int fontHeight = FontLineHeight(font);
    const int align = m_state.aligns.empty() ? MARKUP_VALIGN_BOTTOM : m_state.aligns.back();
    if (align == MARKUP_VALIGN_TOP)
        return m_y;
    if (align == MARKUP_VALIGN_CENTER)
        return AddHeld(m_y, (lineHeight - fontHeight) / 2);
    return AddHeld(m_y, lineHeight - fontHeight);
}

// ---- Fonts and colours -----------------------------------------------------------------

FontEntry* CMarkupPainter::CurrentFont() const
{
    return m_state.fonts.empty() ? m_baseFont : m_state.fonts.back();
}

int CMarkupPainter::FontLineHeight(const FontEntry* font) const
{
    // A manager without a paint device context cannot measure its fonts; the
    // metrics are taken here then, with the font selected.
    FontEntry* entry = const_cast<FontEntry*>(font);
    if (entry->metrics.tmHeight == 0 && entry->font != nullptr)
    {
        const HGDIOBJ previous = SelectObject(m_dc, entry->font);
        GetTextMetricsW(m_dc, &entry->metrics);
        SelectObject(m_dc, previous);
    }
    return entry->metrics.tmHeight + entry->metrics.tmExternalLeading;
}

int CMarkupPainter::Spacing() const
{
    return m_state.spacings.empty() ? 0 : m_state.spacings.back();
}

void CMarkupPainter::UseFont(FontEntry* font)
{
    SelectObject(m_dc, font->font);
    m_lineHeight = std::max(m_lineHeight, FontLineHeight(font) + Spacing());
}

void CMarkupPainter::PushStyledFont(UINT style)
{
    FontEntry* base = CurrentFont();
    const UINT styles = StylesOf(*base) | style;
    // A font that already has the style pushes nothing, so the closing tag
    // pops whatever font lies below (an unbalanced close, as markup defines).
    if (styles == StylesOf(*base))
        return;
    const wchar_t* face = base->faceName.GetData();
    HFONT handle = m_manager->FindFont(face, base->size, styles);
    if (handle == nullptr)
        handle = m_manager->AddFont(NextMarkupFontId(*m_manager), face, base->size, styles, ResourceScope::Own);
    FontEntry* font = handle != nullptr ? m_manager->GetFontEntry(handle) : base;
    m_state.fonts.push_back(font);
    UseFont(font);
}

void CMarkupPainter::PopFont()
{
    const FontEntry* leaving = CurrentFont();
    if (!m_state.fonts.empty())
        m_state.fonts.pop_back();
    FontEntry* font = CurrentFont();
    if (leaving->italic && !font->italic)
    {
        // The italic font's last glyph leans past its advance.
        ABC widths = {};
        if (GetCharABCWidthsW(m_dc, L' ', L' ', &widths))
            m_x = AddHeld(m_x, widths.abcC / 2);
    }
    UseFont(font);
}

void CMarkupPainter::UseColor()
{
    const DWORD color = m_state.colors.empty() ? m_textColor : m_state.colors.back();
    SetTextColor(m_dc, CRenderKit::ToPlatformColor(color));
}

void CMarkupPainter::UseBackgroundMode()
{
    if (m_drawWalk)
        SetBkMode(m_dc, m_state.inSelection ? OPAQUE : TRANSPARENT);
}

}  // namespace DuiLib
