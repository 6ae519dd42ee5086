// CMarkupLayout: line breaking, measuring and placing of markup text over
// the tokens of MarkupTokenizer.h. Each line is walked once; when it ends,
// its height and width are known, so the vertical place of every run on it
// and the line's offset for centred or right-aligned text are settled then.
// Text is measured a span at a time (the runs and spaces between two tags,
// one call for all their characters), never a character at a time.
//
// [SECTIONS] the walk · lines · tokens · tags · runs and images · measuring · fonts and colours
#include "ui/render/MarkupLayout.h"

#include <cwchar>

#include "ui/render/ImageEntry.h"

namespace DuiLib {

namespace {

// Markup fonts larger than this are drawn at this size: a skin value of a
// million pixels would otherwise make the platform rasterise giant glyphs.
constexpr int kMaxMarkupFontSize = 512;

// A span stops taking further runs past this many characters, so that a long
// text in a small box is not measured far beyond what shows.
constexpr int kMaxSpanLength = 2048;

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

// ---- The walk --------------------------------------------------------------------------

CMarkupLayout::CMarkupLayout(HDC dc, CUIManager& manager, const wchar_t* text, DWORD textColor,
                             FontEntry* baseFont, UINT style, const CUIString* hoverLink)
    : m_dc(dc),
      m_manager(manager),
      m_text(text != nullptr ? text : L""),
      m_textColor(textColor),
      m_baseFont(baseFont),
      m_style(style),
      m_multiLine((style & DT_SINGLELINE) == 0),
      m_hoverLink(hoverLink),
      m_selected(baseFont->font)
{
}

void CMarkupLayout::Layout(int width, int stopBelow)
{
    m_width = width;
    m_at = m_text;
    m_fonts.clear();
    m_colors.clear();
    m_spacings.clear();
    m_aligns.clear();
    m_inRaw = false;
    m_inSelection = false;
    m_inLink = false;
    m_cut = false;
    m_x = 0;
    m_y = 0;
    m_maxX = 0;
    m_lowestImageBottom = 0;
    m_lines.clear();
    m_runs.clear();
    m_links.clear();
    m_linkNames.clear();
    m_glyphs.clear();
    for (;;)
    {
        const wchar_t* lineStart = m_at;
        BeginLine();
        WalkLine();
        if (m_lines.size() == 1)
            m_firstLineEndX = m_x;
        EndLine();
        // A line that took nothing from the text would repeat for ever.
        if (!m_multiLine || *m_at == L'\0' || m_at == lineStart)
            break;
        m_y = AddMarkupOffset(m_y, m_lineHeight);
        if (m_y > stopBelow)
            break;
    }
}

void CMarkupLayout::DropLinesBelow(int height)
{
    for (size_t i = 1; i < m_lines.size(); ++i)
    {
        if (m_lines[i].top <= height)
            continue;
        const MarkupLine& first = m_lines[i];
        m_runs.resize(first.firstRun);
        m_links.resize(first.firstLink);
        m_linkNames.resize(first.firstName);
        m_lines.resize(i);
        return;
    }
}

SIZE CMarkupLayout::Extent() const
{
    const int lastBottom = m_lines.empty() ? 0 : AddMarkupOffset(m_lines.back().top, m_lines.back().height);
    return SIZE{m_maxX, std::max(m_lowestImageBottom, lastBottom)};
}

// ---- Lines -----------------------------------------------------------------------------

void CMarkupLayout::BeginLine()
{
    MarkupLine line;
    line.top = m_y;
    line.firstRun = m_runs.size();
    line.firstLink = m_links.size();
    line.firstName = m_linkNames.size();
    m_lines.push_back(line);
    m_x = 0;
    m_lineWidth = 0;
    m_lineHeight = FontLineHeight(CurrentFont()) + Spacing();
    m_linkStartX = 0;
}

void CMarkupLayout::WalkLine()
{
    m_lineEndPending = false;
    m_atBreak = true;
    while (!m_lineEndPending && m_x < m_width)
    {
        const MarkupToken token = ReadMarkupToken(m_at, m_inRaw);
        if (token.kind == MarkupTokenKind::End || token.kind == MarkupTokenKind::Newline)
            break;
        Step(token);
    }
    // Whatever ended the line, a line break right here belongs to it.
    const MarkupToken next = ReadMarkupToken(m_at, m_inRaw);
    if (next.kind == MarkupTokenKind::Newline)
        m_at += next.length;
}

void CMarkupLayout::EndLine()
{
    const int index = static_cast<int>(m_lines.size()) - 1;
    if (m_inLink)
    {
        // The link goes on in the next line, under the same name.
        m_links.push_back(MarkupLink{index, m_linkStartX, std::min(m_x, m_width)});
        if (m_links.size() <= m_linkNames.size())
            SetLinkName(m_links.size(), CUIString(m_linkNames[m_links.size() - 1]));
    }
    MarkupLine& line = m_lines.back();
    line.height = m_lineHeight;
    line.width = m_lineWidth;
    if (m_multiLine && (m_style & DT_CENTER) != 0)
        line.offset = (m_width - m_lineWidth) / 2;
    else if (m_multiLine && (m_style & DT_RIGHT) != 0)
        line.offset = m_width - m_lineWidth;

    // Runs sit on the line by their vertical alignment; images lower than
    // the line rise by it, text always does by its font's height.
    for (size_t i = line.firstRun; i < m_runs.size(); ++i)
    {
        MarkupRun& run = m_runs[i];
        if (run.image != nullptr)
        {
            run.top = AddMarkupOffset(m_y, m_lineHeight) - run.height;
            if (run.valign == MARKUP_VALIGN_CENTER && run.height < m_lineHeight)
                run.top -= (m_lineHeight - run.height) / 2;
            else if (run.valign == MARKUP_VALIGN_TOP && run.height < m_lineHeight)
                run.top = m_y;
            continue;
        }
        const int fontHeight = FontLineHeight(run.font);
        if (run.valign == MARKUP_VALIGN_TOP)
            run.top = m_y;
        else if (run.valign == MARKUP_VALIGN_CENTER)
            run.top = AddMarkupOffset(m_y, (m_lineHeight - fontHeight) / 2);
        else
            run.top = AddMarkupOffset(m_y, m_lineHeight - fontHeight);
    }
}

// ---- Tokens ----------------------------------------------------------------------------

void CMarkupLayout::Step(const MarkupToken& token)
{
    switch (token.kind)
    {
    case MarkupTokenKind::Space:
    {
        int before = 0;
        const int width = *ExtentsOf(m_at, 1, before) - before;
        m_at += token.length;
        PutCharacters(L" ", 1, width, true);
        return;
    }
    case MarkupTokenKind::Escape:
        m_at += token.length;
        PutCharacters(&token.escaped, 1, MeasureDirect(&token.escaped, 1), IsMarkupBreakAfter(token.escaped));
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
        m_at += token.length;
        if (!image)
            OpenTag(token.letter, token.argument, token.argumentLength);
        return;
    }
    case MarkupTokenKind::CloseTag:
        m_at += token.length;
        CloseTag(token.letter);
        return;
    case MarkupTokenKind::Run:
        PutRun(m_at, token.length);
        return;
    case MarkupTokenKind::End:
    case MarkupTokenKind::Newline:
        return;
    }
}

// ---- Tags ------------------------------------------------------------------------------

void CMarkupLayout::OpenTag(wchar_t letter, const wchar_t* argument, int length)
{
    switch (letter)
    {
    case L'a':
    {
        const CUIString name(argument, length);
        SetLinkName(m_links.size(), name);
        const bool hovered = m_hoverLink != nullptr && m_hoverLink->Compare(name.GetData()) == 0;
        m_colors.push_back(hovered ? m_manager.GetLinkHoverFontColor() : m_manager.GetLinkFontColor());
        PushStyledFont(UIFONT_UNDERLINE);
        m_linkStartX = m_x;
        m_inLink = true;
        return;
    }
    case L'b':
        PushStyledFont(UIFONT_BOLD);
        return;
    case L'c':
        m_colors.push_back(ReadMarkupColor(argument, length));
        return;
    case L'f':
    {
        const MarkupFontRequest request = ReadMarkupFont(argument, length);
        FontEntry* font = nullptr;
        if (request.byIndex)
        {
            font = m_manager.GetFontEntry(request.index);
        }
        else
        {
            const int size = std::clamp(request.size, 1, kMaxMarkupFontSize);
            const wchar_t* face = request.faceName.GetData();
            HFONT handle = m_manager.FindFont(face, size, request.styles);
            if (handle == nullptr)
                handle = m_manager.AddFont(NextMarkupFontId(m_manager), face, size, request.styles,
                                           ResourceScope::Own);
            font = handle != nullptr ? m_manager.GetFontEntry(handle) : CurrentFont();
        }
        m_fonts.push_back(font);
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
        if (m_x > 0)
            m_lineEndPending = true;
        m_spacings.push_back(std::max(0, ReadMarkupNumber(argument, length)));
        m_lineHeight = std::max(m_lineHeight, FontLineHeight(CurrentFont()) + Spacing());
        return;
    case L'r':
        m_inRaw = true;
        return;
    case L's':
        m_inSelection = !m_inSelection;
        return;
    case L'u':
        PushStyledFont(UIFONT_UNDERLINE);
        return;
    case L'v':
        m_aligns.push_back(ReadMarkupVAlign(argument, length));
        return;
    case L'x':
        m_x = AddMarkupOffset(m_x, ReadMarkupNumber(argument, length));
        return;
    case L'y':
        m_lineHeight = std::max(0, ReadMarkupNumber(argument, length));
        return;
    default:
        return;  // a letter without a meaning: skipped with its text
    }
}

void CMarkupLayout::CloseTag(wchar_t letter)
{
    switch (letter)
    {
    case L'a':
        // A stray </a> with no link open records nothing.
        if (m_inLink)
            m_links.push_back(MarkupLink{static_cast<int>(m_lines.size()) - 1, m_linkStartX,
                                         std::min(m_x, m_width)});
        if (!m_colors.empty())
            m_colors.pop_back();
        m_inLink = false;
        PopFont();
        return;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont();
        return;
    case L'c':
        if (!m_colors.empty())
            m_colors.pop_back();
        return;
    case L'p':
        if (m_x > 0)
            m_lineEndPending = true;
        if (!m_spacings.empty())
            m_spacings.pop_back();
        m_lineHeight = std::max(m_lineHeight, FontLineHeight(CurrentFont()) + Spacing());
        return;
    case L'r':
        m_inRaw = false;
        return;
    case L's':
        m_inSelection = !m_inSelection;
        return;
    case L'v':
        if (!m_aligns.empty())
            m_aligns.pop_back();
        return;
    default:
        return;
    }
}

void CMarkupLayout::SetLinkName(size_t index, const CUIString& name)
{
    if (index >= m_linkNames.size())
        m_linkNames.resize(index + 1);
    m_linkNames[index] = name;
}

// ---- Runs and images -------------------------------------------------------------------

bool CMarkupLayout::PlaceImage(const wchar_t* argument, int length)
{
    const MarkupImageRequest request = ReadMarkupImage(argument, length);
    ImageEntry* image = request.name.IsEmpty()
                            ? nullptr
                            : m_manager.GetOrAddImage(request.name.GetData(),
                                                      request.useResType ? request.resType.GetData() : nullptr, 0,
                                                      false);
    if (image == nullptr || image->bitmap == nullptr)
        return true;  // skipped
    const int frameWidth = image->width / request.frames;
    const int height = image->height;
    if (m_multiLine && m_x > 0 && static_cast<long long>(m_x) + frameWidth > m_width)
    {
        m_lineEndPending = true;
        return false;
    }
    MarkupRun run;
    run.line = static_cast<int>(m_lines.size()) - 1;
    run.x = m_x;
    run.width = frameWidth;
    run.height = height;
    run.valign = m_aligns.empty() ? MARKUP_VALIGN_BOTTOM : m_aligns.back();
    run.image = image;
    run.source = RECT{frameWidth * request.frame, 0, frameWidth * (request.frame + 1), height};
    m_runs.push_back(run);
    m_lineHeight = std::max(m_lineHeight, height);
    m_lowestImageBottom = std::max(m_lowestImageBottom, AddMarkupOffset(m_y, height));
    Advance(frameWidth);
    m_atBreak = true;
    return true;
}

CMarkupLayout::RunFit CMarkupLayout::FitRun(const wchar_t* run, int length)
{
    RunFit fit = {length, 0, false, false};
    int before = 0;
    const int* ends = ExtentsOf(run, length, before);
    const int room = m_width - m_x;
    const int widest = std::max(1, static_cast<int>(CurrentFont()->metrics.tmMaxCharWidth));
    // A run that fits even at the widest character's width is not fitted;
    // only runs near the right edge are cut.
    if (static_cast<long long>(length) * widest >= room)
    {
        const long long limit = static_cast<long long>(before) + room;
        const int fitting = static_cast<int>(
            std::upper_bound(ends, ends + length, limit, [](long long value, int end) { return value < end; }) -
            ends);
        if (fitting < length)
        {
            fit.cut = true;
            m_cut = true;
            // The character that crossed the edge is dropped, unless it is
            // the only one: a line always takes something.
            fit.count = std::max(fitting, 1);
            if ((m_style & DT_WORDBREAK) != 0)
            {
                const int wordEnd = LastMarkupBreak(run, fit.count);
                if (wordEnd > 0)
                    fit.count = wordEnd;
                else if (m_atBreak && m_x > 0)
                    fit.count = 0;  // the whole word moves to the next line
            }
            if ((m_style & DT_END_ELLIPSIS) != 0 && fit.count > 0)
            {
                fit.ellipsis = true;
                fit.count = std::max(0, fit.count - 2);
            }
        }
    }
    fit.width = fit.count > 0 ? ends[fit.count - 1] - before : 0;
    return fit;
}

void CMarkupLayout::PutRun(const wchar_t* run, int length)
{
    const RunFit fit = FitRun(run, length);
    AddText(run, fit.count, fit.width, fit.ellipsis);
    if (fit.ellipsis)
        Advance(static_cast<long long>(m_width) - m_x);
    else
        Advance(fit.width);
    m_at += fit.count;
    if (fit.count > 0)
        m_atBreak = IsMarkupBreakAfter(run[fit.count - 1]);
    if (fit.cut)
        m_lineEndPending = true;
}

void CMarkupLayout::PutCharacters(const wchar_t* chars, int count, int width, bool breakAfter)
{
    // Kept even when it is a space, so that underline and selection run on.
    AddText(chars, count, width, false);
    Advance(width);
    m_atBreak = breakAfter;
}

void CMarkupLayout::AddText(const wchar_t* chars, int count, int width, bool ellipsis)
{
    if (count == 0 && !ellipsis)
        return;
    const int line = static_cast<int>(m_lines.size()) - 1;
    FontEntry* font = CurrentFont();
    const DWORD color = CurrentColor();
    const int valign = m_aligns.empty() ? MARKUP_VALIGN_BOTTOM : m_aligns.back();
    const int added = count + (ellipsis ? 3 : 0);
    m_glyphs.append(chars, count);
    if (ellipsis)
        m_glyphs.append(L"...");
    // Text that goes on where the last run ended, looking the same, joins it:
    // one platform call draws both, at the same places.
    if (!m_runs.empty())
    {
        MarkupRun& last = m_runs.back();
        if (last.image == nullptr && !last.ellipsis && last.line == line && last.font == font &&
            last.color == color && last.selected == m_inSelection && last.valign == valign &&
            static_cast<long long>(last.x) + last.width == m_x)
        {
            last.textLength += added;
            last.width += width;
            last.ellipsis = ellipsis;
            return;
        }
    }
    MarkupRun run;
    run.line = line;
    run.x = m_x;
    run.width = width;
    run.valign = valign;
    run.font = font;
    run.color = color;
    run.selected = m_inSelection;
    run.ellipsis = ellipsis;
    run.textStart = static_cast<int>(m_glyphs.size()) - added;
    run.textLength = added;
    m_runs.push_back(run);
}

void CMarkupLayout::Advance(long long width)
{
    m_x = AddMarkupOffset(m_x, width);
    m_maxX = std::max(m_maxX, m_x);
    m_lineWidth = std::max(m_lineWidth, m_x);
}

// ---- Measuring -------------------------------------------------------------------------

const int* CMarkupLayout::ExtentsOf(const wchar_t* chars, int count, int& before)
{
    const HFONT font = CurrentFont()->font;
    size_t found = m_spans.size();
    if (m_lastSpan < m_spans.size() && Covers(m_spans[m_lastSpan], chars, count, font))
    {
        found = m_lastSpan;
    }
    else
    {
        for (size_t i = m_spans.size(); i-- > 0;)
        {
            if (Covers(m_spans[i], chars, count, font))
            {
                found = i;
                break;
            }
        }
    }
    if (found == m_spans.size())
        MeasureSpan(chars, count);
    m_lastSpan = found;
    const Span& span = m_spans[found];
    const int place = m_shownAt[span.firstPlace + static_cast<size_t>(chars - span.start)];
    const int* ends = m_ends.data() + span.firstEnd + place;
    before = place > 0 ? ends[-1] : 0;
    return ends;
}

bool CMarkupLayout::Covers(const Span& span, const wchar_t* chars, int count, HFONT font) const
{
    if (span.font != font || chars < span.start || chars + count > span.start + span.length)
        return false;
    // The characters asked for are shown one after another, with no tag
    // between them.
    const size_t first = span.firstPlace + static_cast<size_t>(chars - span.start);
    const int place = m_shownAt[first];
    return place >= 0 && m_shownAt[first + count - 1] == place + count - 1;
}

void CMarkupLayout::MeasureSpan(const wchar_t* chars, int count)
{
    Span span = {chars, 0, CurrentFont()->font, m_shownAt.size(), m_ends.size()};
    m_shown.assign(chars, count);
    for (int i = 0; i < count; ++i)
        m_shownAt.push_back(i);
    // Runs and spaces further on are measured with these characters as long
    // as no tag can change the font before them; line breaks change nothing
    // in a character's width.
    const wchar_t* end = chars + count;
    bool inRaw = m_inRaw;
    while (static_cast<int>(m_shown.size()) < kMaxSpanLength)
    {
        const MarkupToken token = ReadMarkupToken(end, inRaw);
        bool shown = false;
        switch (token.kind)
        {
        case MarkupTokenKind::Run:
        case MarkupTokenKind::Space:
            shown = true;
            break;
        case MarkupTokenKind::Newline:
            break;
        case MarkupTokenKind::OpenTag:
        case MarkupTokenKind::CloseTag:
            if (token.letter == L'r')
                inRaw = token.kind == MarkupTokenKind::OpenTag;
            break;
        case MarkupTokenKind::End:
        case MarkupTokenKind::Escape:
            break;
        }
        const bool fontTag = (token.kind == MarkupTokenKind::OpenTag || token.kind == MarkupTokenKind::CloseTag) &&
                             wcschr(L"abfiu", token.letter) != nullptr;
        if (token.kind == MarkupTokenKind::End || token.kind == MarkupTokenKind::Escape || fontTag)
            break;
        for (int i = 0; i < token.length; ++i)
            m_shownAt.push_back(shown ? static_cast<int>(m_shown.size()) + i : -1);
        if (shown)
            m_shown.append(end, token.length);
        end += token.length;
    }
    span.length = static_cast<int>(end - chars);
    m_ends.resize(span.firstEnd + m_shown.size(), 0);
    Select(CurrentFont());
    SIZE size = {0, 0};
    if (!GetTextExtentExPointW(m_dc, m_shown.c_str(), static_cast<int>(m_shown.size()), 0, nullptr,
                               m_ends.data() + span.firstEnd, &size))
        std::fill(m_ends.begin() + static_cast<std::ptrdiff_t>(span.firstEnd), m_ends.end(), 0);
    m_spans.push_back(span);
}

int CMarkupLayout::MeasureDirect(const wchar_t* chars, int count)
{
    Select(CurrentFont());
    SIZE size = {0, 0};
    GetTextExtentPoint32W(m_dc, chars, count, &size);
    return size.cx;
}

void CMarkupLayout::Select(const FontEntry* font)
{
    if (m_selected != font->font)
    {
        SelectObject(m_dc, font->font);
        m_selected = font->font;
    }
}

// ---- Fonts and colours -----------------------------------------------------------------

FontEntry* CMarkupLayout::CurrentFont() const
{
    return m_fonts.empty() ? m_baseFont : m_fonts.back();
}

int CMarkupLayout::FontLineHeight(const FontEntry* font)
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

int CMarkupLayout::Spacing() const
{
    return m_spacings.empty() ? 0 : m_spacings.back();
}

DWORD CMarkupLayout::CurrentColor() const
{
    return m_colors.empty() ? m_textColor : m_colors.back();
}

void CMarkupLayout::UseFont(FontEntry* font)
{
    m_lineHeight = std::max(m_lineHeight, FontLineHeight(font) + Spacing());
}

void CMarkupLayout::PushStyledFont(UINT style)
{
    FontEntry* base = CurrentFont();
    const UINT styles = StylesOf(*base) | style;
    // A font that already has the style pushes nothing, so the closing tag
    // pops whatever font lies below (an unbalanced close, as markup defines).
    if (styles == StylesOf(*base))
        return;
    const wchar_t* face = base->faceName.GetData();
    HFONT handle = m_manager.FindFont(face, base->size, styles);
    if (handle == nullptr)
        handle = m_manager.AddFont(NextMarkupFontId(m_manager), face, base->size, styles, ResourceScope::Own);
    FontEntry* font = handle != nullptr ? m_manager.GetFontEntry(handle) : base;
    m_fonts.push_back(font);
    UseFont(font);
}

void CMarkupLayout::PopFont()
{
    FontEntry* leaving = CurrentFont();
    if (!m_fonts.empty())
        m_fonts.pop_back();
    FontEntry* font = CurrentFont();
    if (leaving->italic && !font->italic)
    {
        // The italic font's last glyph leans past its advance.
        Select(leaving);
        ABC widths = {};
        if (GetCharABCWidthsW(m_dc, L' ', L' ', &widths))
            m_x = AddMarkupOffset(m_x, widths.abcC / 2);
    }
    UseFont(font);
}

}  // namespace DuiLib
