// CRenderKit's two text entries: plain text straight through the platform's
// DrawText, markup text through CMarkupPainter.
#include "ui/render/RenderKit.h"

#include "ui/core/LanguageTexts.h"
#include "ui/render/RenderHost.h"
#include "ui/render/MarkupPainter.h"

namespace DuiLib {

void CRenderKit::DrawPlainText(HDC dc, IRenderHost* manager, RECT& rect, const wchar_t* text, DWORD color, int font,
                               UINT style)
{
    if (dc == nullptr || manager == nullptr || text == nullptr)
        return;
    CUIString expanded(text);
    CLanguageTexts::ExpandTokens(expanded);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToPlatformColor(color));
    const HGDIOBJ previous = SelectObject(dc, manager->GetFont(font));
    // DT_NOPREFIX: an "&" in a skin text is a character, not an accelerator.
    DrawTextW(dc, expanded.GetData(), -1, &rect, style | DT_NOPREFIX);
    SelectObject(dc, previous);
}

void CRenderKit::DrawMarkupText(HDC dc, IRenderHost* manager, RECT& rect, const wchar_t* text, DWORD color,
                                RECT* links, CUIString* linkNames, int& linkCount, int font, UINT style)
{
    if (text == nullptr)
    {
        linkCount = 0;
        return;
    }
    CMarkupPainter painter(dc, manager, rect, text, color, links, linkNames, linkCount, font, style);
    painter.Paint();
}

}  // namespace DuiLib
