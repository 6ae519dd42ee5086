// CGdiplusTextUI: the text rows shared by the GDI+-drawn controls.
#include "ui/controls/GdiplusTextUI.h"

#include "ui/control/AttributeValues.h"

namespace DuiLib {

const ControlAttributeTable& CGdiplusTextUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CGdiplusTextUI> kRows[] = {
        {L"align", L"enum left|center|right", L"center", L"Horizontal alignment of the text",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.SetAlign(v);
             c.Invalidate();
         }},
        {L"valign", L"enum top|vcenter|bottom", L"vcenter", L"Vertical alignment of the text",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.SetVAlign(v);
             c.Invalidate();
         }},
        {L"textcolor", kColour, L"#FF000000", L"Text colour",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.color = ParseColor(v, ColorBlanks::Skip);
             c.Invalidate();
         }},
        {L"rhaa", kInteger, L"4", L"GDI+ text rendering hint (4 is anti-aliased)",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.renderingHint = ParseInt(v);
             c.Invalidate();
         }},
        {L"multiline", kBool, L"false", L"Wrap the text over several lines",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.SetMultiline(ParseBool(v));
             c.Invalidate();
         }},
        {L"font", kFontIndex, L"-1", L"Font of the text",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.font = ParseInt(v);
             c.Invalidate();
         }},
        {L"textpadding", kRect, L"0,0,0,0", L"Space between the control's edges and its text",
         [](CGdiplusTextUI& c, const wchar_t* v) {
             c.m_textSettings.padding = ParseRect(v);
             c.Invalidate();
         }},
    };
    static const ControlAttributeTable kTable(L"CGdiplusTextUI", &CControlUI::GetAttributeTable(), kRows);
    return kTable;
}

}  // namespace DuiLib
