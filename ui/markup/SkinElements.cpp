// SkinElements: the rows of the builder's own elements and of "cover", and
// the reading of an element through them (first matching attribute per row,
// as the builder always read them).
#include "ui/markup/SkinElements.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/core/UIManager.h"
#include "ui/markup/XmlNode.h"
#include "ui/render/ImageDrawSpec.h"

namespace DuiLib {

namespace {

using namespace AttributeGrammar;

constexpr AttributeNameCase kAnyCase = AttributeNameCase::Any;

bool IsTrueAnyCase(const wchar_t* value)
{
    return _wcsicmp(value, L"true") == 0;
}

void SetFontStyle(SkinDeclaration& d, UINT style, const wchar_t* value)
{
    d.fontStyles = IsTrueAnyCase(value) ? (d.fontStyles | style) : (d.fontStyles & ~style);
}

// Copies at most kMaxIncludeValue characters, as a bounded attribute read does.
void CopyIncludeValue(wchar_t (&target)[SkinDeclaration::kMaxIncludeValue + 1], const wchar_t* value)
{
    std::wcsncpy(target, value, SkinDeclaration::kMaxIncludeValue);
    target[SkinDeclaration::kMaxIncludeValue] = L'\0';
}

const AttributeRow<SkinDeclaration> kImageRows[] = {
    {L"name", kText, L"required", L"The image's file (or resource) name, as descriptions name it",
     [](SkinDeclaration& d, const wchar_t* v) { d.name = v; }, kAnyCase},
    {L"restype", L"resource type", L"none", L"Load the image from a resource of the program of this type",
     [](SkinDeclaration& d, const wchar_t* v) { d.resType = v; }, kAnyCase},
    {L"mask", kColour, L"none", L"Pixels of this colour become transparent",
     [](SkinDeclaration& d, const wchar_t* v) { d.mask = ReadHexColor(v); }, kAnyCase},
    {L"shared", kBoolAnyCase, L"false", L"Keep the image for every window of the program",
     [](SkinDeclaration& d, const wchar_t* v) { d.shared = IsTrueAnyCase(v); }, kAnyCase},
};

const AttributeRow<SkinDeclaration> kFontRows[] = {
    {L"id", kInteger, L"required", L"Number the font attributes of controls refer to",
     [](SkinDeclaration& d, const wchar_t* v) { d.id = ParseInt(v); }, kAnyCase},
    {L"name", kText, L"required", L"Font face name",
     [](SkinDeclaration& d, const wchar_t* v) { d.name = v; }, kAnyCase},
    // Held within +-2^24: the font code negates the size.
    {L"size", kInteger, L"12", L"Height in pixels",
     [](SkinDeclaration& d, const wchar_t* v) { d.size = ParseCoordinate(v); }, kAnyCase},
    {L"bold", kBoolAnyCase, L"false", L"Bold",
     [](SkinDeclaration& d, const wchar_t* v) { SetFontStyle(d, UIFONT_BOLD, v); }, kAnyCase},
    {L"underline", kBoolAnyCase, L"false", L"Underlined",
     [](SkinDeclaration& d, const wchar_t* v) { SetFontStyle(d, UIFONT_UNDERLINE, v); }, kAnyCase},
    {L"italic", kBoolAnyCase, L"false", L"Italic",
     [](SkinDeclaration& d, const wchar_t* v) { SetFontStyle(d, UIFONT_ITALIC, v); }, kAnyCase},
    {L"strikeout", kBoolAnyCase, L"false", L"Struck through",
     [](SkinDeclaration& d, const wchar_t* v) { SetFontStyle(d, UIFONT_STRIKEOUT, v); }, kAnyCase},
    {L"default", kBoolAnyCase, L"false", L"Also the window's default font, used where no font index is given",
     [](SkinDeclaration& d, const wchar_t* v) { d.isDefault = IsTrueAnyCase(v); }, kAnyCase},
    {L"shared", kBoolAnyCase, L"false", L"Keep the font for every window of the program",
     [](SkinDeclaration& d, const wchar_t* v) { d.shared = IsTrueAnyCase(v); }, kAnyCase},
};

const AttributeRow<SkinDeclaration> kDefaultRows[] = {
    {L"name", kText, L"required", L"The tag the list is for, written exactly as the elements write it",
     [](SkinDeclaration& d, const wchar_t* v) { d.name = v; }, kAnyCase},
    {L"value", kAttributeList, L"empty", L"Attributes every element of that tag gets before its own",
     [](SkinDeclaration& d, const wchar_t* v) { d.value = v; }, kAnyCase},
    {L"shared", kBoolAnyCase, L"false", L"Keep the list for every window of the program",
     [](SkinDeclaration& d, const wchar_t* v) { d.shared = IsTrueAnyCase(v); }, kAnyCase},
};

const AttributeRow<SkinDeclaration> kLanguageRows[] = {
    {L"id", kInteger, L"required", L"Number of the text; %{id} in a control's text is replaced by it",
     [](SkinDeclaration& d, const wchar_t* v) { d.id = ParseInt(v); }, kAnyCase},
    {L"value", kText, L"required", L"The text", [](SkinDeclaration& d, const wchar_t* v) { d.value = v; }, kAnyCase},
};

const AttributeRow<SkinDeclaration> kIncludeRows[] = {
    {L"source", L"skin file, or XML text", L"required", L"The skin file whose controls are built in this place",
     [](SkinDeclaration& d, const wchar_t* v) {
         CopyIncludeValue(d.source, v);
         d.hasSource = true;
     }},
    {L"count", kInteger, L"1", L"How many times the file's controls are built",
     [](SkinDeclaration& d, const wchar_t* v) {
         wchar_t count[SkinDeclaration::kMaxIncludeValue + 1];
         CopyIncludeValue(count, v);
         d.count = ParseInt(count);
     }},
};

const CAttributeTable<SkinDeclaration> kImageTable(L"Image", nullptr, kImageRows);
const CAttributeTable<SkinDeclaration> kFontTable(L"Font", nullptr, kFontRows);
const CAttributeTable<SkinDeclaration> kDefaultTable(L"Default", nullptr, kDefaultRows);
const CAttributeTable<SkinDeclaration> kLanguageTable(L"MultiLanguage", nullptr, kLanguageRows);
const CAttributeTable<SkinDeclaration> kIncludeTable(L"Include", nullptr, kIncludeRows);

const SkinElementInfo kElements[] = {
    {L"Image", SkinElementKind::Image, L"Declares an image: loads it when the skin is read, with its options",
     kImageTable},
    {L"Font", SkinElementKind::Font, L"Declares a font under a number", kFontTable},
    {L"Default", SkinElementKind::Default, L"Attributes every element of one tag starts with", kDefaultTable},
    {L"MultiLanguage", SkinElementKind::MultiLanguage, L"A text under a number, for %{n} in control texts",
     kLanguageTable},
    {L"Include", SkinElementKind::Include, L"Builds the controls of another skin file in its place",
     kIncludeTable},
};

const AttributeRow<ChildPlacement> kPlacementRows[] = {
    {L"cover", kBool, L"false",
     L"The control becomes its parent's cover, laid out over the whole parent, instead of a child",
     [](ChildPlacement& p, const wchar_t* v) { p.cover = std::wcscmp(v, L"true") == 0; }},
};

const CAttributeTable<ChildPlacement> kPlacementTable(L"Every control element", nullptr, kPlacementRows);

// For each row of table, the first attribute of element the row matches.
template <class Root>
void ReadAttributes(const CAttributeTable<Root>& table, const CXmlNode& element, Root& target)
{
    const int count = element.GetAttributeCount();
    for (int row = 0; row < table.RowCount(); ++row)
    {
        const AttributeInfo info = table.Row(row);
        for (int i = 0; i < count; ++i)
        {
            if (info.Matches(element.GetAttributeName(i)))
            {
                table.ApplyRow(row, target, element.GetAttributeValue(i));
                break;
            }
        }
    }
}

}  // namespace

const SkinElementInfo* GetSkinElements(int& count)
{
    count = static_cast<int>(sizeof(kElements) / sizeof(kElements[0]));
    return kElements;
}

const SkinElementInfo* FindSkinElement(const wchar_t* tag)
{
    if (tag == nullptr)
        return nullptr;
    for (const SkinElementInfo& element : kElements)
    {
        if (_wcsicmp(tag, element.tag) == 0)
            return &element;
    }
    return nullptr;
}

SkinDeclaration ReadSkinDeclaration(const SkinElementInfo& info, const CXmlNode& element)
{
    SkinDeclaration declaration;
    ReadAttributes(info.attributes, element, declaration);
    return declaration;
}

const CAttributeTable<ChildPlacement>& GetChildPlacementAttributes()
{
    return kPlacementTable;
}

ChildPlacement ReadChildPlacement(const CXmlNode& element)
{
    ChildPlacement placement;
    ReadAttributes(kPlacementTable, element, placement);
    return placement;
}

}  // namespace DuiLib
