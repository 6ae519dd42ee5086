// CControlUI's skin attributes: the base attribute table, which every derived
// control's table ends in, and the name="value" list reader. Values are read
// by the pure parsers of AttributeValues.h; the table only routes them.
#include "ui/control/ControlUI.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"

namespace DuiLib {

namespace {

struct AttributeRule
{
    const wchar_t* name;
    void (*apply)(CControlUI& control, const wchar_t* value);
};

// Names are compared case-sensitively, in this order.
const AttributeRule kRules[] = {
    {L"pos",
     [](CControlUI& c, const wchar_t* v) {
         // Held coordinates keep the differences within the int range; a
         // negative width or height is then ignored by its setter.
         const CUIRect r = ParseRect(v);
         c.SetFixedXY(CUISize(r.left, r.top));
         c.SetFixedWidth(r.right - r.left);
         c.SetFixedHeight(r.bottom - r.top);
     }},
    {L"padding", [](CControlUI& c, const wchar_t* v) { c.SetPadding(ParseRect(v)); }},
    {L"bkcolor", [](CControlUI& c, const wchar_t* v) { c.SetBkColor(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bkcolor1", [](CControlUI& c, const wchar_t* v) { c.SetBkColor(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bkcolor2", [](CControlUI& c, const wchar_t* v) { c.SetBkColor2(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bkcolor3", [](CControlUI& c, const wchar_t* v) { c.SetBkColor3(ParseColor(v, ColorBlanks::Skip)); }},
    {L"bordercolor", [](CControlUI& c, const wchar_t* v) { c.SetBorderColor(ParseColor(v, ColorBlanks::Refuse)); }},
    {L"focusbordercolor",
     [](CControlUI& c, const wchar_t* v) { c.SetFocusBorderColor(ParseColor(v, ColorBlanks::Refuse)); }},
    {L"colorhsl", [](CControlUI& c, const wchar_t* v) { c.SetColorHsl(ParseBool(v)); }},
    {L"bordersize",
     [](CControlUI& c, const wchar_t* v) {
         if (HasComma(v))
             c.SetBorderSize(ParseRect(v));
         else
             c.SetBorderSize(ParseCoordinate(v));
     }},
    {L"borderstyle", [](CControlUI& c, const wchar_t* v) { c.SetBorderStyle(ParseInt(v)); }},
    {L"borderround", [](CControlUI& c, const wchar_t* v) { c.SetBorderRound(ParseSize(v)); }},
    {L"bkimage", [](CControlUI& c, const wchar_t* v) { c.SetBkImage(v); }},
    {L"foreimage", [](CControlUI& c, const wchar_t* v) { c.SetForeImage(v); }},
    {L"width", [](CControlUI& c, const wchar_t* v) { c.SetFixedWidth(ParseCoordinate(v)); }},
    {L"height", [](CControlUI& c, const wchar_t* v) { c.SetFixedHeight(ParseCoordinate(v)); }},
    {L"minwidth", [](CControlUI& c, const wchar_t* v) { c.SetMinWidth(ParseCoordinate(v)); }},
    {L"minheight", [](CControlUI& c, const wchar_t* v) { c.SetMinHeight(ParseCoordinate(v)); }},
    {L"maxwidth", [](CControlUI& c, const wchar_t* v) { c.SetMaxWidth(ParseCoordinate(v)); }},
    {L"maxheight", [](CControlUI& c, const wchar_t* v) { c.SetMaxHeight(ParseCoordinate(v)); }},
    {L"name", [](CControlUI& c, const wchar_t* v) { c.SetName(v); }},
    {L"text", [](CControlUI& c, const wchar_t* v) { c.SetText(v); }},
    {L"tooltip", [](CControlUI& c, const wchar_t* v) { c.SetToolTip(v); }},
    {L"userdata", [](CControlUI& c, const wchar_t* v) { c.SetUserData(v); }},
    {L"tag", [](CControlUI& c, const wchar_t* v) { c.SetTag(static_cast<UINT_PTR>(ParseInt(v))); }},
    {L"enabled", [](CControlUI& c, const wchar_t* v) { c.SetEnabled(ParseBool(v)); }},
    {L"mouse", [](CControlUI& c, const wchar_t* v) { c.SetMouseEnabled(ParseBool(v)); }},
    {L"keyboard", [](CControlUI& c, const wchar_t* v) { c.SetKeyboardEnabled(ParseBool(v)); }},
    {L"visible", [](CControlUI& c, const wchar_t* v) { c.SetVisible(ParseBool(v)); }},
    {L"float",
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
    {L"shortcut", [](CControlUI& c, const wchar_t* v) { c.SetShortcut(v[0]); }},
    {L"menu", [](CControlUI& c, const wchar_t* v) { c.SetContextMenuUsed(ParseBool(v)); }},
    {L"virtualwnd", [](CControlUI& c, const wchar_t* v) { c.SetVirtualWindowName(v); }},
    {L"actionname", [](CControlUI& c, const wchar_t* v) { c.SetActionName(v); }},
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
    for (const AttributeRule& rule : kRules)
    {
        if (std::wcscmp(name, rule.name) == 0)
        {
            rule.apply(*this, value);
            return;
        }
    }
    AddCustomAttribute(name, value);
}

CUIString CControlUI::AttributeListText(bool) const
{
    return CUIString();
}

void CControlUI::ApplyAttributeText(const wchar_t* list)
{
    if (list == nullptr)
        return;
    const wchar_t* cursor = list;
    CUIString name;
    CUIString value;
    while (*cursor != L'\0')
    {
        // The name is everything up to '=', blanks included.
        const wchar_t* start = cursor;
        while (*cursor != L'\0' && *cursor != L'=')
            ++cursor;
        if (*cursor != L'=')
            return;
        name.Assign(start, static_cast<int>(cursor - start));
        ++cursor;
        if (*cursor != L'"')
            return;
        ++cursor;
        start = cursor;
        while (*cursor != L'\0' && *cursor != L'"')
            ++cursor;
        if (*cursor != L'"')
            return;
        value.Assign(start, static_cast<int>(cursor - start));
        ApplyAttribute(name.GetData(), value.GetData());
        ++cursor;
        // Items are separated by exactly one space; anything else ends the list.
        if (*cursor != L' ')
            return;
        ++cursor;
    }
}

}  // namespace DuiLib
