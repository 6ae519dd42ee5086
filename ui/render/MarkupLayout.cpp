// CMarkupLayout: line breaking, measuring and placing of markup text over
// the tokens of MarkupTokenizer.h. Each line is walked once; when it ends,
// its height and width are known, so the vertical place of every run on it
// and the line's offset for centred or right-aligned text are settled then.
// Widths come from CMarkupFonts, which measures a span of text at a time.
//
// [SECTIONS] the walk · lines · tokens · tags · runs and images · fonts and colours
#include "ui/render/MarkupLayout.h"

#include "ui/render/ImageEntry.h"

namespace DuiLib {

// ---- The walk --------------------------------------------------------------------------

CMarkupLayout::CMarkupLayout(HDC dc, IRenderHost& manager, const wchar_t* text, DWORD textColor,
                             FontEntry* baseFont, UINT style, const CUIString* hoverLink)
    : m_manager(manager),
      m_text(text != nullptr ? text : L""),
      m_textColor(textColor),
      m_baseFont(baseFont),
      m_style(style),
      m_multiLine((style & DT_SINGLELINE) == 0),
      m_hoverLink(hoverLink),
      m_fontKit(dc, manager, baseFont->font)
{
    m_lines.reserve(4);
    m_runs.reserve(16);
    m_glyphs.reserve(128);
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
    m_lineHeight = m_fontKit.LineHeight(CurrentFont()) + Spacing();
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

    // Each run's top follows its vertical alignment within the finished
    // line: text by its font's height, an image only when it is lower than
    // the line.
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
        const int fontHeight = m_fontKit.LineHeight(run.font);
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
        const int width = *m_fontKit.Extents(CurrentFont(), m_at, 1, m_inRaw, before) - before;
        m_at += token.length;
        PutCharacters(L" ", 1, width, true);
        return;
    }
    case MarkupTokenKind::Escape:
        m_at += token.length;
        PutCharacters(&token.escaped, 1, m_fontKit.Width(CurrentFont(), &token.escaped, 1),
                      IsMarkupBreakAfter(token.escaped));
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
        FontEntry* font = m_fontKit.Requested(ReadMarkupFont(argument, length), CurrentFont());
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
        m_lineHeight = std::max(m_lineHeight, m_fontKit.LineHeight(CurrentFont()) + Spacing());
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
        m_lineHeight = std::max(m_lineHeight, m_fontKit.LineHeight(CurrentFont()) + Spacing());
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
    const int* ends = m_fontKit.Extents(CurrentFont(), run, length, m_inRaw, before);
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

// ---- Fonts and colours -----------------------------------------------------------------

FontEntry* CMarkupLayout::CurrentFont() const
{
    return m_fonts.empty() ? m_baseFont : m_fonts.back();
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
    m_lineHeight = std::max(m_lineHeight, m_fontKit.LineHeight(font) + Spacing());
}

void CMarkupLayout::PushStyledFont(UINT style)
{
    // A font that already has the style pushes nothing, so the closing tag
    // pops whatever font lies below (an unbalanced close, as markup defines).
    FontEntry* font = m_fontKit.Styled(CurrentFont(), style);
    if (font == nullptr)
        return;
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
        m_x = AddMarkupOffset(m_x, m_fontKit.SpaceOverhang(leaving) / 2);
    }
    UseFont(font);
}

}  // namespace DuiLib
