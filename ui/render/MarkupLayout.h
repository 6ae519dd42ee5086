// CMarkupLayout: the layout pass of markup text. Walks the tokens of
// MarkupTokenizer.h once and turns them into lines of positioned runs (text
// in one font, colour and selection state, or one image frame) and link
// spans, measuring with the device context's fonts; it draws nothing.
// Coordinates are relative to the top-left corner of the box the text is laid
// out in. Invariant: every break and position depends on the text, the style
// and the box width only (the height only tells where to stop), so a layout
// moves with its box unchanged.
#pragma once

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "ui/render/RenderHost.h"
#include "ui/render/MarkupFonts.h"
#include "ui/render/MarkupTokenizer.h"

namespace DuiLib {

// value + delta held within +-0x3FFFFFFF, so that markup offsets added to
// coordinates can never overflow.
inline int AddMarkupOffset(int value, long long delta)
{
    const long long sum = static_cast<long long>(value) + delta;
    return static_cast<int>(std::clamp<long long>(sum, -0x3FFFFFFF, 0x3FFFFFFF));
}

struct MarkupLine
{
    int top = 0;
    int height = 0;
    int width = 0;   // the greatest advance reached on the line
    int offset = 0;  // x shift of a centred or right-aligned line of multi-line text
    // What the line starts with in the layout's lists.
    size_t firstRun = 0;
    size_t firstLink = 0;
    size_t firstName = 0;
};

// A stretch of text drawn in one call, or one image frame.
struct MarkupRun
{
    int line = 0;
    int x = 0;       // left edge, before the line's offset
    int top = 0;     // known once the line is finished
    int width = 0;   // text: extent of its characters, "..." not counted; image: frame width
    int height = 0;  // image only
    int valign = MARKUP_VALIGN_BOTTOM;
    FontEntry* font = nullptr;
    DWORD color = 0;
    bool selected = false;
    bool ellipsis = false;  // ends in "...": nothing joins it
    int textStart = 0;      // in CMarkupLayout::Glyphs()
    int textLength = 0;
    ImageEntry* image = nullptr;  // set for an image frame
    RECT source = {0, 0, 0, 0};   // the frame within the image
};

// A link's stretch of one line; top and bottom are the line's.
struct MarkupLink
{
    int line = 0;
    int left = 0;
    int right = 0;
};

class CMarkupLayout
{
public:
    // As stopBelow: every line is laid out, however low it starts.
    static constexpr int kNoStop = INT_MAX;

    // text must outlive the layout; hoverLink is null when the mouse is over
    // no link. The text colour is used where no colour tag is open. The
    // device context has baseFont selected.
    CMarkupLayout(HDC dc, IRenderHost& manager, const wchar_t* text, DWORD textColor, FontEntry* baseFont,
                  UINT style, const CUIString* hoverLink);
    CMarkupLayout(const CMarkupLayout&) = delete;
    CMarkupLayout& operator=(const CMarkupLayout&) = delete;

    // Lays the text out afresh in a box of the given width; a line that
    // would start lower than stopBelow ends the layout. Widths measured
    // before are reused.
    void Layout(int width, int stopBelow);
    // Drops the lines after the first that start lower than height, with
    // their runs, links and link names.
    void DropLinesBelow(int height);

    int Width() const { return m_width; }
    // The greatest x reached and the lowest line or image bottom.
    SIZE Extent() const;
    // True when the first line took all it met without a cut and ended
    // before the right edge, as it would in any wider box.
    bool FirstLineFits() const { return !m_cut && m_firstLineEndX < m_width; }

    const std::vector<MarkupLine>& Lines() const { return m_lines; }
    const std::vector<MarkupRun>& Runs() const { return m_runs; }
    const std::vector<MarkupLink>& Links() const { return m_links; }
    // One name per link, and possibly one more: a link still open at the
    // end of the last line passes its name on to the slot after it.
    const std::vector<CUIString>& LinkNames() const { return m_linkNames; }
    const wchar_t* Glyphs() const { return m_glyphs.c_str(); }
    // The font the device context has selected after measuring.
    HGDIOBJ SelectedFont() const { return m_fontKit.Selected(); }

private:
    // How much of a run a line takes.
    struct RunFit
    {
        int count;
        int width;
        bool cut;
        bool ellipsis;
    };

    void BeginLine();
    void WalkLine();
    void EndLine();
    void Step(const MarkupToken& token);
    void OpenTag(wchar_t letter, const wchar_t* argument, int length);
    void CloseTag(wchar_t letter);
    bool PlaceImage(const wchar_t* argument, int length);
    RunFit FitRun(const wchar_t* run, int length);
    void PutRun(const wchar_t* run, int length);
    void PutCharacters(const wchar_t* chars, int count, int width, bool breakAfter);
    void AddText(const wchar_t* chars, int count, int width, bool ellipsis);
    void Advance(long long width);
    void SetLinkName(size_t index, const CUIString& name);

    FontEntry* CurrentFont() const;
    int Spacing() const;
    DWORD CurrentColor() const;
    void UseFont(FontEntry* font);
    void PushStyledFont(UINT style);
    void PopFont();

    IRenderHost& m_manager;
    const wchar_t* m_text;
    DWORD m_textColor;
    FontEntry* m_baseFont;
    UINT m_style;
    bool m_multiLine;
    const CUIString* m_hoverLink;
    // Fonts and measurements, kept across layouts of the same text.
    CMarkupFonts m_fontKit;

    // Walk state.
    int m_width = 0;
    const wchar_t* m_at = nullptr;
    std::vector<FontEntry*> m_fonts;
    std::vector<DWORD> m_colors;
    std::vector<int> m_spacings;
    std::vector<int> m_aligns;
    bool m_inRaw = false;
    bool m_inSelection = false;
    bool m_inLink = false;
    bool m_lineEndPending = false;
    bool m_atBreak = true;  // a line may break before the next run
    bool m_cut = false;     // a run was cut at the right edge
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_lineWidth = 0;
    int m_maxX = 0;
    int m_lowestImageBottom = 0;
    int m_linkStartX = 0;
    int m_firstLineEndX = 0;

    // Result.
    std::vector<MarkupLine> m_lines;
    std::vector<MarkupRun> m_runs;
    std::vector<MarkupLink> m_links;
    std::vector<CUIString> m_linkNames;
    std::wstring m_glyphs;
};

}  // namespace DuiLib
