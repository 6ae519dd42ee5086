// AttributeTable: the lookup along a chain of lists, name matching under a
// row's name case, and the glossary of value grammars the reference prints.
#include "ui/core/AttributeTable.h"

#include <cwchar>

namespace DuiLib {

namespace {

using namespace AttributeGrammar;

const AttributeGrammarNote kNotes[] = {
    {kBool, L"Only the exact lower-case text `true` is true; `TRUE`, `1` and everything else are false."},
    {kBoolAnyCase, L"`true` in any letter case is true; everything else is false."},
    {kInteger,
     L"Decimal, with optional leading blanks and sign; reading stops at the first other character, and no "
     L"digits read as 0."},
    {kNumber, L"A decimal number such as `0.5`."},
    {kColour,
     L"Hexadecimal alpha, red, green and blue after an optional `#`: `#FF336699` is an opaque blue-grey. Six "
     L"digits leave alpha 0, which fills do not draw."},
    {kRect,
     L"Four integers: left, top, right, bottom. One character (normally a comma) separates each number from "
     L"the next; missing numbers read as 0."},
    {kSize, L"Two integers, width then height, separated as in a rect."},
    {kText, L"Taken as written, after the XML entities (`&amp;` `&lt;` `&gt;` `&quot;` `&apos;`) are decoded."},
    {kImage,
     L"An image file name, or `key='value'` items separated by single spaces; see "
     L"[Image descriptions](#image-descriptions)."},
    {kImageFile, L"The name of an image file of the skin, loaded whole (an animated GIF keeps all its frames)."},
    {kFontIndex, L"The `id` of a `Font` element; -1 is the window's default font."},
    {kSkinFile, L"The name of another XML file of the skin."},
    {kAttributeList,
     L"`name=\"value\"` items separated by single spaces, applied as attributes of the element the list is "
     L"for; inside an XML attribute the quotes are written `&quot;`."},
    {kScrollBarStyle, L"An attribute list applied to the container's scroll bar: the attributes of `ScrollBar`."},
};

}  // namespace

const AttributeGrammarNote* AttributeGrammarNotes(int& count)
{
    count = static_cast<int>(sizeof(kNotes) / sizeof(kNotes[0]));
    return kNotes;
}

const CAttributeList* CAttributeList::Find(const wchar_t* name, int& index) const
{
    for (const CAttributeList* list = this; list != nullptr; list = list->m_base)
    {
        for (int i = 0; i < list->m_count; ++i)
        {
            if (list->Row(i).Matches(name))
            {
                index = i;
                return list;
            }
        }
    }
    index = -1;
    return nullptr;
}

bool CAttributeList::Knows(const wchar_t* name) const
{
    int index = -1;
    return Find(name, index) != nullptr;
}

bool AttributeInfo::Matches(const wchar_t* text) const
{
    if (text == nullptr)
        return false;
    return nameCase == AttributeNameCase::Exact ? std::wcscmp(text, name) == 0 : _wcsicmp(text, name) == 0;
}

}  // namespace DuiLib
