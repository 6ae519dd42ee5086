// CMarkupPainter: one call of CRenderKit::DrawMarkupText. Has the text laid
// out by CMarkupLayout, aligns the rectangle by the measured size, draws the
// runs in one pass (none with DT_CALCRECT) and reports the link rectangles.
// Nothing survives the call but the rectangle, the link arrays and fonts
// added to the manager; the device context gets its font, colours and clip
// back.
#pragma once

#include <windows.h>

#include "ui/render/RenderHost.h"

namespace DuiLib {

class CMarkupLayout;

class CMarkupPainter
{
public:
    // links and linkNames may be null when linkCount is 0; linkCount is the
    // capacity on entry and the number of links found on return.
    CMarkupPainter(HDC dc, IRenderHost* manager, RECT& rect, const wchar_t* text, DWORD textColor, RECT* links,
                   CUIString* linkNames, int& linkCount, int font, UINT style);
    CMarkupPainter(const CMarkupPainter&) = delete;
    CMarkupPainter& operator=(const CMarkupPainter&) = delete;

    // Does the whole call; see CRenderKit::DrawMarkupText.
    void Paint();

private:
    // Moves the rectangle by the text's measured size and lays the text out
    // again when that changed its width.
    void Align(CMarkupLayout& layout);
    void FindHoverLink();
    void DrawRuns(const CMarkupLayout& layout);
    void ReportLinks(const CMarkupLayout& layout);

    HDC m_dc;
    IRenderHost* m_manager;
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
    CUIString m_hoverLink;
    bool m_hasHoverLink = false;
};

}  // namespace DuiLib
