// CMarkupPainter: one call of CRenderKit::DrawMarkupText: lays the markup
// tokens out into lines, measures them with the device context's fonts and
// draws them, two walks per line (the first learns the line's height and
// width, the second draws), or measures only with DT_CALCRECT. Link
// rectangles are reported as it goes. Nothing survives the call but the
// rectangle, the link arrays and fonts added to the manager.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/UIManager.h"
#include "ui/render/MarkupTokenizer.h"

namespace DuiLib {

class CMarkupPainter
{
public:
    // links and linkNames may be null when linkCount is 0; linkCount is the
    // capacity on entry and the number of links found on return.
    CMarkupPainter(HDC dc, CUIManager* manager, RECT& rect, const wchar_t* text, DWORD textColor, RECT* links,
                   CUIString* linkNames, int& linkCount, int font, UINT style);
    CMarkupPainter(const CMarkupPainter&) = delete;
    CMarkupPainter& operator=(const CMarkupPainter&) = delete;

    // Does the whole call; see CRenderKit::DrawMarkupText.
    void Paint();

private:
    // Everything a line's second walk rewinds to.
    struct WalkState
    {
        const wchar_t* at = nullptr;
        std::vector<FontEntry*> fonts;
        std::vector<DWORD> colors;
        std::vector<int> spacings;
        std::vector<int> aligns;
        bool inRaw = false;
        bool inSelection = false;
        bool inLink = false;
        int linkIndex = 0;
    };

    // How much of a run a line takes: characters, their width, whether the
    // run was cut at the right edge and whether an ellipsis follows.
    struct RunFit
    {
        int count;
        int width;
        bool cut;
        bool ellipsis;
    };

    void AlignToMeasuredSize();
    // Measures a single line in place; false when it reached the right edge.
    bool MeasureWholeLine(RECT& measured);
    void FindHoverLink();
    void WalkLine();
    void EndMeasuredLine();
    void Step(const MarkupToken& token);
    void OpenTag(wchar_t letter, const wchar_t* argument, int length);
    void CloseTag(wchar_t letter);
    bool PlaceImage(const wchar_t* argument, int length);
    RunFit FitRun(const wchar_t* run, int length);
    void PutRun(const wchar_t* run, int length);
    void PutCharacters(const wchar_t* text, int count, bool breakAfter);

    FontEntry* CurrentFont() const;
    int FontLineHeight(const FontEntry* font) const;
    int Spacing() const;
    void UseFont(FontEntry* font);
    void PushStyledFont(UINT style);
    void PopFont();
    void UseColor();
    void UseBackgroundMode();
    int TextTop(const FontEntry* font) const;
    void Advance(long long width);

    HDC m_dc;
    CUIManager* m_manager;
    RECT& m_rect;
    CUIString m_text;
    DWORD m_textColor;
    RECT* m_links;
    CUIString* m_linkNames;
    int& m_linkCount;
    int m_linkCapacity;
    int m_fontIndex;
    UINT m_style;
    bool m_drawMode;
    bool m_multiLine;
    FontEntry* m_baseFont = nullptr;
    CUIString m_hoverLink;
    bool m_hasHoverLink = false;

    WalkState m_state;
    bool m_drawWalk = false;      // this walk draws (the line's second)
    bool m_lineEndPending = false;
    bool m_atBreak = true;        // a line may break before the next run
    bool m_cutAtEdge = false;     // a run was cut at the right edge
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_drawnLineHeight = 0;    // the first walk's height, used by the second
    int m_lineWidth = 0;
    int m_lineOffset = 0;
    int m_maxX = 0;
    int m_lowestImageBottom = 0;
    POINT m_linkStart = {0, 0};
    int m_firstLinkOfLine = 0;
    // The measuring walk's fits of this line, in order, for the drawing walk.
    std::vector<RunFit> m_fits;
    size_t m_fitsUsed = 0;
};

}  // namespace DuiLib
