// CControlUI's skin attributes: the base attribute table, which ends every
// derived control's chain of tables, the lookup that applies from that chain,
// and the name="value" list reader. Values are read by the pure parsers of
// AttributeValues.h; the rows only route them.
#include "ui/control/ControlUI.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"

namespace DuiLib {

namespace {

using namespace AttributeGrammar;

// Names are compared case-sensitively, in this order.
const AttributeRow<CControlUI> kRows[] = {
    {L"pos", kRect, L"0,0,0,0",
     L"Position inside the parent (used when float) and size: width r-l and height b-t; a negative size is ignored",
     [](CControlUI& c, const wchar_t* v) {
         // Held coordinates keep the differences within the int range; a
         // negative width or height is then ignored by its setter.
         const CUIRect r = ParseRect(v);
         c.SetFixedXY(CUISize(r.left, r.top));
         c.SetFixedWidth(r.right - r.left);
         c.SetFixedHeight(r.bottom - r.top);
     }},
    {L"padding", kRect, L"0,0,0,0", L"Outer spacing the parent's layout keeps around the control",
     [](CControlUI& c, const wchar_t* v) { c.SetPadding(ParseRect(v)); }},
    {L"bkcolor", kColour, L"none", L"Background fill colour (leading blanks allowed)",
     [](CControlUI& c, const wchar_t* v) { c.SetBkColor(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bkcolor1", kColour, L"none", L"Same as bkcolor",
     [](CControlUI& c, const wchar_t* v) { c.SetBkColor(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bkcolor2", kColour, L"none", L"Second stop of a background gradient",
     [](CControlUI& c, const wchar_t* v) { c.SetBkColor2(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bkcolor3", kColour, L"none", L"Third stop of a background gradient",
     [](CControlUI& c, const wchar_t* v) { c.SetBkColor3(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bordercolor", kColour, L"none", L"Border colour (no leading blanks)",
     [](CControlUI& c, const wchar_t* v) { c.SetBorderColor(ParseColor(v, ColorBlanks::Refuse)); }},
    {L"focusbordercolor", kColour, L"none", L"Border colour while the control has the focus",
     [](CControlUI& c, const wchar_t* v) { c.SetFocusBorderColor(ParseColor(v, ColorBlanks::Refuse)); }},
    {L"colorhsl", kBool, L"false", L"Pass the control's colours through the window's hue/saturation/lightness shift",
     [](CControlUI& c, const wchar_t* v) { c.SetColorHsl(ParseBool(v)); }},
    {L"bordersize", L"integer or rect l,t,r,b", L"0", L"Border width: one number for every side, or one per side",
     [](CControlUI& c, const wchar_t* v) {
         if (HasComma(v))
             c.SetBorderSize(ParseRect(v));
         else
             c.SetBorderSize(ParseCoordinate(v));
     }},
    {L"borderstyle", kInteger, L"0", L"Pen style of the border: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot",
     [](CControlUI& c, const wchar_t* v) { c.SetBorderStyle(ParseInt(v)); }},
    {L"borderround", kSize, L"0,0", L"Width and height of the rounded corners' ellipse",
     [](CControlUI& c, const wchar_t* v) { c.SetBorderRound(ParseSize(v)); }},
    {L"bkimage", kImage, L"none",
     L"Background image; a float control without width and height takes the image's size",
     [](CControlUI& c, const wchar_t* v) { c.SetBkImage(v); }},
    {L"foreimage", kImage, L"none", L"Image drawn over the background",
     [](CControlUI& c, const wchar_t* v) { c.SetForeImage(v); }},
    {L"width", kInteger, L"0", L"Fixed width in pixels; 0 lets the layout decide",
     [](CControlUI& c, const wchar_t* v) { c.SetFixedWidth(ParseCoordinate(v)); }},
    {L"height", kInteger, L"0", L"Fixed height in pixels; 0 lets the layout decide",
     [](CControlUI& c, const wchar_t* v) { c.SetFixedHeight(ParseCoordinate(v)); }},
    {L"minwidth", kInteger, L"0", L"Smallest width the layout gives",
     [](CControlUI& c, const wchar_t* v) { c.SetMinWidth(ParseCoordinate(v)); }},
    {L"minheight", kInteger, L"0", L"Smallest height the layout gives",
     [](CControlUI& c, const wchar_t* v) { c.SetMinHeight(ParseCoordinate(v)); }},
    {L"maxwidth", kInteger, L"9999", L"Largest width the layout gives",
     [](CControlUI& c, const wchar_t* v) { c.SetMaxWidth(ParseCoordinate(v)); }},
    {L"maxheight", kInteger, L"9999", L"Largest height the layout gives",
     [](CControlUI& c, const wchar_t* v) { c.SetMaxHeight(ParseCoordinate(v)); }},
    {L"name", kText, L"empty", L"Name the application finds the control by; unique in a window",
     [](CControlUI& c, const wchar_t* v) { c.SetName(v); }},
    {L"text", kText, L"empty", L"The control's text", [](CControlUI& c, const wchar_t* v) { c.SetText(v); }},
    {L"tooltip", kText, L"empty", L"Tooltip text; <n> starts a new line",
     [](CControlUI& c, const wchar_t* v) { c.SetToolTip(v); }},
    {L"userdata", kText, L"empty", L"Free text for the application",
     [](CControlUI& c, const wchar_t* v) { c.SetUserData(v); }},
    {L"tag", kInteger, L"0", L"Free number for the application",
     [](CControlUI& c, const wchar_t* v) { c.SetTag(static_cast<UINT_PTR>(ParseInt(v))); }},
    {L"enabled", kBool, L"true", L"Whether the control reacts to input",
     [](CControlUI& c, const wchar_t* v) { c.SetEnabled(ParseBool(v)); }},
    {L"mouse", kBool, L"true", L"Whether the mouse can hit the control",
     [](CControlUI& c, const wchar_t* v) { c.SetMouseEnabled(ParseBool(v)); }},
    {L"keyboard", kBool, L"true", L"Whether the control takes keyboard input and the tab focus",
     [](CControlUI& c, const wchar_t* v) { c.SetKeyboardEnabled(ParseBool(v)); }},
    {L"visible", kBool, L"true", L"Whether the control is shown",
     [](CControlUI& c, const wchar_t* v) { c.SetVisible(ParseBool(v)); }},
    {L"float", L"bool or four fractions l,t,r,b", L"false",
     L"Placed by pos instead of the parent's layout; fractions also anchor each edge to that share of the parent",
     [](CControlUI& c, const wchar_t* v) {
         if (!HasComma(v))
         {
             c.SetFloat(ParseBool(v));
             return;
         }
         const FloatPercent anchors = ParseFractionRect(v);
         c.SetFloatPercent(anchors.left, anchors.top, anchors.right, anchors.bottom);
         c.SetFloat(true);
     }},
    {L"shortcut", kText, L"none", L"Accelerator key: the first character of the value",
     [](CControlUI& c, const wchar_t* v) { c.SetShortcut(v[0]); }},
    {L"menu", kBool, L"false", L"A right click sends the \"menu\" notification",
     [](CControlUI& c, const wchar_t* v) { c.SetContextMenuUsed(ParseBool(v)); }},
    {L"virtualwnd", kText, L"empty", L"Name of the virtual window the control and its children report in",
     [](CControlUI& c, const wchar_t* v) { c.SetVirtualWindowName(v); }},
    {L"actionname", kText, L"empty", L"Name screen readers give the control's default action; empty keeps its own",
     [](CControlUI& c, const wchar_t* v) { c.SetActionName(v); }},
};

}  // namespace

CUIString CControlUI::GetAttribute(const wchar_t*) const
{
    return CUIString();
}

void CControlUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr)
        return;
    if (value == nullptr)
        value = L"";
    if (!GetAttributeTable().Apply(*this, name, value))
        AddCustomAttribute(name, value);
}

const ControlAttributeTable& CControlUI::GetAttributeTable() const
{
    static const ControlAttributeTable kTable(L"CControlUI", nullptr, kRows);
    return kTable;
}

CUIString CControlUI::AttributeListText(bool) const
{
    return CUIString();
}

void CControlUI::ApplyAttributeText(const wchar_t* list)
{
    CAttributeListReader reader(list);
    CUIString name;
    CUIString value;
    while (reader.Next(name, value))
        ApplyAttribute(name.GetData(), value.GetData());
}

}  // namespace DuiLib
