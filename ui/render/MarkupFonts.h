// CMarkupFonts: what one markup layout asks of fonts: styled fonts found in
// or added to the manager, line heights, and text extents measured a span at
// a time (one platform call for the characters that follow in one font).
// Leaves line breaking and placing to CMarkupLayout. Invariant: the font it
// believes selected is the one the device context has.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/render/RenderHost.h"
#include "ui/render/MarkupTokenizer.h"

namespace DuiLib {

class CMarkupFonts
{
public:
    // The device context has `selected` selected.
    CMarkupFonts(HDC dc, IRenderHost& manager, HGDIOBJ selected);
    CMarkupFonts(const CMarkupFonts&) = delete;
    CMarkupFonts& operator=(const CMarkupFonts&) = delete;

    // The manager's font like base with styles (UIFONT_* bits) added, found
    // or added under a new id; null when base already has them, base itself
    // when no font can be made.
    FontEntry* Styled(FontEntry* base, UINT styles);
    // The font a <f> tag asks for; fallback when none can be made.
    FontEntry* Requested(const MarkupFontRequest& request, FontEntry* fallback);

    // Height plus external leading; the metrics are taken first when the
    // manager could not (it had no paint device context yet).
    int LineHeight(FontEntry* font);
    // The trailing advance (C width) of the space in font.
    int SpaceOverhang(const FontEntry* font);

    // The extents of chars[0..count), a run or space of the text (count at
    // least 1) drawn in font: ends[i] - before is the extent of the first
    // i + 1 characters. inRaw tells whether chars lies in a raw run. The
    // array is valid until the next call.
    const int* Extents(const FontEntry* font, const wchar_t* chars, int count, bool inRaw, int& before);
    // The extent of count characters that are not in the text (escapes).
    int Width(const FontEntry* font, const wchar_t* chars, int count);

    HGDIOBJ Selected() const { return m_selected; }

private:
    // Text measured in one call: the characters that follow in one font,
    // across the tags that leave the font alone. For each text character
    // from start on, m_shownAt tells its place in the measured string (-1
    // for tag text), and m_ends the extent of the string up to and
    // including that place.
    struct Span
    {
        const wchar_t* start;
        int length;         // text characters covered, tags included
        HFONT font;
        size_t firstPlace;  // in m_shownAt
        size_t firstEnd;    // in m_ends
    };

    bool Covers(const Span& span, const wchar_t* chars, int count, HFONT font) const;
    void MeasureSpan(const FontEntry* font, const wchar_t* chars, int count, bool inRaw);
    void Select(const FontEntry* font);

    HDC m_dc;
    IRenderHost& m_manager;
    HGDIOBJ m_selected;
    std::vector<Span> m_spans;
    std::vector<int> m_shownAt;
    std::vector<int> m_ends;
    std::wstring m_shown;  // the string being measured
    size_t m_lastSpan = 0;
};

}  // namespace DuiLib
