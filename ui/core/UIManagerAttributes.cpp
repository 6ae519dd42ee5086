// CUIManager window attributes: the "Window" element's attribute rows. Each
// row goes through one of the manager's operations to the part that keeps
// the value: window settings, translucency or colours.
#include "ui/core/UIManager.h"

#include <cwchar>

namespace DuiLib {

namespace {

// ---- Attribute values -------------------------------------------------------
// Lists of integers read as image descriptions read theirs: decimal, one
// separator character of any kind between numbers, missing numbers 0, every
// number held within +-2^24 so that sizes and insets stay far from overflow.

int ReadInteger(const wchar_t* value)
{
    return ReadFourNumbers(value).left;
}

SIZE ReadPair(const wchar_t* value)
{
    const CUIRect numbers = ReadFourNumbers(value);
    return SIZE{numbers.left, numbers.top};
}

// An opacity outside 0..255 is held at the nearer bound: truncating 256 to a
// byte would make the window invisible.
BYTE ReadAlpha(const wchar_t* value)
{
    const int alpha = ReadInteger(value);
    return static_cast<BYTE>(alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha));
}

bool ReadTrueAnyCase(const wchar_t* value)
{
    return _wcsicmp(value, L"true") == 0;
}

}  // namespace

// ---- The attribute table ----------------------------------------------------

namespace {

using namespace AttributeGrammar;

constexpr AttributeNameCase kAnyCase = AttributeNameCase::Any;

const AttributeRow<CUIManager> kWindowRows[] = {
    {L"size", kSize, L"the window's own", L"Initial window size",
     [](CUIManager& m, const wchar_t* v) {
         const SIZE size = ReadPair(v);
         m.SetInitSize(size.cx, size.cy);
     },
     kAnyCase},
    {L"shadowsize", kInteger, L"0", L"Width of the drop shadow around a layered window",
     [](CUIManager& m, const wchar_t* v) { m.SetShadowSize(ReadInteger(v)); }, kAnyCase},
    {L"shadowcolor", kColour, L"#FF000000", L"Colour of the drop shadow at its inner edge",
     [](CUIManager& m, const wchar_t* v) { m.SetShadowColor(ReadHexColor(v)); }, kAnyCase},
    {L"shadowfocusscales", kNumber, L"-1",
     L"Share of the shadow (0 to 1) kept at full colour; -1 derives it from shadowsize",
     [](CUIManager& m, const wchar_t* v) { m.SetShadowFocusScales(static_cast<float>(wcstod(v, nullptr))); },
     kAnyCase},
    {L"sizebox", kRect, L"0,0,0,0", L"Widths of the borders that resize the window",
     [](CUIManager& m, const wchar_t* v) { m.SetSizeBox(ReadFourNumbers(v)); }, kAnyCase},
    {L"caption", kRect, L"0,0,0,0",
     L"Area that drags the window: left and right insets, top and bottom; a bottom of -1 is the full height",
     [](CUIManager& m, const wchar_t* v) { m.SetCaptionRect(ReadFourNumbers(v)); }, kAnyCase},
    {L"roundcorner", kSize, L"0,0", L"Width and height of the ellipse that rounds the window's corners",
     [](CUIManager& m, const wchar_t* v) {
         const SIZE corner = ReadPair(v);
         m.SetRoundCorner(corner.cx, corner.cy);
     },
     kAnyCase},
    {L"mininfo", kSize, L"0,0", L"Smallest size the user can drag the window to; 0 is no limit",
     [](CUIManager& m, const wchar_t* v) {
         const SIZE size = ReadPair(v);
         m.SetMinInfo(size.cx, size.cy);
     },
     kAnyCase},
    {L"maxinfo", kSize, L"0,0", L"Largest size the user can drag the window to; 0 is no limit",
     [](CUIManager& m, const wchar_t* v) {
         const SIZE size = ReadPair(v);
         m.SetMaxInfo(size.cx, size.cy);
     },
     kAnyCase},
    {L"showdirty", kBoolAnyCase, L"false", L"Outline every repainted area (for finding needless repaints)",
     [](CUIManager& m, const wchar_t* v) { m.SetShowDirty(ReadTrueAnyCase(v)); }, kAnyCase},
    {L"noactivate", kBoolAnyCase, L"false", L"The window does not take the focus when clicked",
     [](CUIManager& m, const wchar_t* v) { m.SetNoActivate(ReadTrueAnyCase(v)); }},
    {L"opacity", kInteger, L"255", L"Opacity of the whole window, 0 to 255; ends the layered mode",
     [](CUIManager& m, const wchar_t* v) { m.SetOpacity(ReadAlpha(v)); }, kAnyCase},
    {L"layeredopacity", kInteger, L"255",
     L"Opacity laid over a layered window's own alpha, 0 to 255",
     [](CUIManager& m, const wchar_t* v) { m.SetLayeredOpacity(ReadAlpha(v)); }},
    {L"layeredimage", kImage, L"none",
     L"Makes the window layered (per-pixel alpha) with this background",
     [](CUIManager& m, const wchar_t* v) { m.SetLayeredImage(v); }},
    {L"nolayeredpadding", kRect, L"0,0,0,0", L"Insets of a layered window; inside them every drawn pixel is made opaque",
     [](CUIManager& m, const wchar_t* v) { m.SetLayeredPadding(ReadFourNumbers(v)); }, kAnyCase},
    {L"disabledfontcolor", kColour, L"#FFA7A6AA", L"Text colour of disabled controls in this window",
     [](CUIManager& m, const wchar_t* v) { m.SetDisabledFontColor(ReadHexColor(v), ResourceScope::Own); },
     kAnyCase},
    {L"defaultfontcolor", kColour, L"#FF000000", L"Text colour of controls without textcolor in this window",
     [](CUIManager& m, const wchar_t* v) { m.SetDefaultFontColor(ReadHexColor(v), ResourceScope::Own); },
     kAnyCase},
    {L"linkfontcolor", kColour, L"#FF0000FF", L"Colour of links in markup text",
     [](CUIManager& m, const wchar_t* v) { m.SetLinkFontColor(ReadHexColor(v), ResourceScope::Own); }, kAnyCase},
    {L"linkhoverfontcolor", kColour, L"#FFD3215F", L"Colour of a link under the mouse",
     [](CUIManager& m, const wchar_t* v) { m.SetLinkHoverFontColor(ReadHexColor(v), ResourceScope::Own); },
     kAnyCase},
    {L"selectedcolor", kColour, L"#FFBAE4FF", L"Background of selected items",
     [](CUIManager& m, const wchar_t* v) { m.SetSelectedColor(ReadHexColor(v), ResourceScope::Own); }, kAnyCase},
};

}  // namespace

const CAttributeTable<CUIManager>& CUIManager::GetWindowAttributeTable()
{
    static const CAttributeTable<CUIManager> kTable(L"Window", nullptr, kWindowRows);
    return kTable;
}

void CUIManager::SetWindowAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr)
        name = L"";
    if (value == nullptr)
        value = L"";
    if (!GetWindowAttributeTable().Apply(*this, name, value))
        AddWindowCustomAttribute(name, value);
}

}  // namespace DuiLib
