// CMarkupFonts: font lookup and text measuring for the markup layout. A span
// is measured once and serves every run and space inside it, in this layout
// and in a second one of the same text (alignment may ask for one).
#include "ui/render/MarkupFonts.h"

#include <algorithm>
#include <cwchar>

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
int NextMarkupFontId(IRenderHost& manager)
{
    static int s_nextFontId = 0;
    FontEntry* fallback = manager.GetDefaultFontEntry();
    while (manager.GetFontEntry(s_nextFontId) != fallback)
        ++s_nextFontId;
    return s_nextFontId++;
}

// Tags that may change the font end a span.
bool IsFontTag(const MarkupToken& token)
{
    return (token.kind == MarkupTokenKind::OpenTag || token.kind == MarkupTokenKind::CloseTag) &&
           wcschr(L"abfiu", token.letter) != nullptr;
}

}  // namespace

CMarkupFonts::CMarkupFonts(HDC dc, IRenderHost& manager, HGDIOBJ selected)
    : m_dc(dc), m_manager(manager), m_selected(selected)
{
    // Room for the usual label or button text, so that measuring it does
    // not grow the lists piece by piece.
    m_spans.reserve(8);
    m_shownAt.reserve(256);
    m_ends.reserve(256);
    m_shown.reserve(256);
}

FontEntry* CMarkupFonts::Styled(FontEntry* base, UINT styles)
{
    const UINT wanted = StylesOf(*base) | styles;
    if (wanted == StylesOf(*base))
        return nullptr;
    const wchar_t* face = base->faceName.GetData();
    HFONT handle = m_manager.FindFont(face, base->size, wanted);
    if (handle == nullptr)
        handle = m_manager.AddFont(NextMarkupFontId(m_manager), face, base->size, wanted, ResourceScope::Own);
    return handle != nullptr ? m_manager.GetFontEntry(handle) : base;
}

FontEntry* CMarkupFonts::Requested(const MarkupFontRequest& request, FontEntry* fallback)
{
    if (request.byIndex)
        return m_manager.GetFontEntry(request.index);
    const int size = std::clamp(request.size, 1, kMaxMarkupFontSize);
    const wchar_t* face = request.faceName.GetData();
    HFONT handle = m_manager.FindFont(face, size, request.styles);
    if (handle == nullptr)
        handle = m_manager.AddFont(NextMarkupFontId(m_manager), face, size, request.styles, ResourceScope::Own);
    return handle != nullptr ? m_manager.GetFontEntry(handle) : fallback;
}

int CMarkupFonts::LineHeight(FontEntry* font)
{
    if (font->metrics.tmHeight == 0 && font->font != nullptr)
    {
        Select(font);
        GetTextMetricsW(m_dc, &font->metrics);
    }
    return font->metrics.tmHeight + font->metrics.tmExternalLeading;
}

int CMarkupFonts::SpaceOverhang(const FontEntry* font)
{
    Select(font);
    ABC widths = {};
    return GetCharABCWidthsW(m_dc, L' ', L' ', &widths) ? widths.abcC : 0;
}

const int* CMarkupFonts::Extents(const FontEntry* font, const wchar_t* chars, int count, bool inRaw, int& before)
{
    size_t found = m_spans.size();
    if (m_lastSpan < m_spans.size() && Covers(m_spans[m_lastSpan], chars, count, font->font))
    {
        found = m_lastSpan;
    }
    else
    {
        for (size_t i = m_spans.size(); i-- > 0;)
        {
            if (Covers(m_spans[i], chars, count, font->font))
            {
                found = i;
                break;
            }
        }
    }
    if (found == m_spans.size())
        MeasureSpan(font, chars, count, inRaw);
    m_lastSpan = found;
    const Span& span = m_spans[found];
    const int place = m_shownAt[span.firstPlace + static_cast<size_t>(chars - span.start)];
    const int* ends = m_ends.data() + span.firstEnd + place;
    before = place > 0 ? ends[-1] : 0;
    return ends;
}

int CMarkupFonts::Width(const FontEntry* font, const wchar_t* chars, int count)
{
    Select(font);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(m_dc, chars, count, &size);
    return size.cx;
}

bool CMarkupFonts::Covers(const Span& span, const wchar_t* chars, int count, HFONT font) const
{
    if (span.font != font || chars < span.start || chars + count > span.start + span.length)
        return false;
    // The characters asked for are shown one after another, with no tag
    // between them.
    const size_t first = span.firstPlace + static_cast<size_t>(chars - span.start);
    const int place = m_shownAt[first];
    return place >= 0 && m_shownAt[first + count - 1] == place + count - 1;
}

void CMarkupFonts::MeasureSpan(const FontEntry* font, const wchar_t* chars, int count, bool inRaw)
{
    Span span = {chars, 0, font->font, m_shownAt.size(), m_ends.size()};
    m_shown.assign(chars, count);
    for (int i = 0; i < count; ++i)
        m_shownAt.push_back(i);
    // Runs and spaces further on are measured with these characters as long
    // as no tag can change the font before them; line breaks and the other
    // tags change nothing in a character's width.
    const wchar_t* end = chars + count;
    while (static_cast<int>(m_shown.size()) < kMaxSpanLength)
    {
        const MarkupToken token = ReadMarkupToken(end, inRaw);
        if (token.kind == MarkupTokenKind::End || token.kind == MarkupTokenKind::Escape || IsFontTag(token))
            break;
        if (token.letter == L'r')
            inRaw = token.kind == MarkupTokenKind::OpenTag;
        const bool shown = token.kind == MarkupTokenKind::Run || token.kind == MarkupTokenKind::Space;
        for (int i = 0; i < token.length; ++i)
            m_shownAt.push_back(shown ? static_cast<int>(m_shown.size()) + i : -1);
        if (shown)
            m_shown.append(end, token.length);
        end += token.length;
    }
    span.length = static_cast<int>(end - chars);
    m_ends.resize(span.firstEnd + m_shown.size(), 0);
    Select(font);
    SIZE size = {0, 0};
    if (!GetTextExtentExPointW(m_dc, m_shown.c_str(), static_cast<int>(m_shown.size()), 0, nullptr,
                               m_ends.data() + span.firstEnd, &size))
        std::fill(m_ends.begin() + static_cast<std::ptrdiff_t>(span.firstEnd), m_ends.end(), 0);
    m_spans.push_back(span);
}

void CMarkupFonts::Select(const FontEntry* font)
{
    if (m_selected != font->font)
    {
        SelectObject(m_dc, font->font);
        m_selected = font->font;
    }
}

}  // namespace DuiLib
