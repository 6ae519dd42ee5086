// SkinElements: the skin elements the layout builder handles itself rather
// than through the tag table ("Image", "Font", "Default", "MultiLanguage",
// "Include"), each with the attribute rows the builder reads it through, and
// the "cover" attribute it reads from every control element. The skin
// linter and the generated reference read the same rows.
// Invariant: a declaration's text pointers point into the element's document
// and live only as long as it does.
#pragma once

#include <windows.h>

#include "ui/core/AttributeTable.h"

namespace DuiLib {

class CXmlNode;

enum class SkinElementKind
{
    Image,
    Font,
    Default,
    MultiLanguage,
    Include,
};

// What the rows of one element write to, with the values an absent
// attribute leaves. Text values are null when absent.
struct SkinDeclaration
{
    // Longest "source" and "count" of an "Include" that is read; longer
    // values are cut there.
    static constexpr int kMaxIncludeValue = 499;

    const wchar_t* name = nullptr;     // Image, Font (face), Default (tag)
    const wchar_t* value = nullptr;    // Default (list), MultiLanguage (text)
    const wchar_t* resType = nullptr;  // Image
    DWORD mask = 0;                    // Image
    int id = -1;                       // Font, MultiLanguage
    int size = 12;                     // Font
    UINT fontStyles = 0;               // Font: UIFontStyle bits
    bool isDefault = false;            // Font
    bool shared = false;               // Image, Font, Default
    int count = 1;                     // Include
    bool hasSource = false;            // Include
    wchar_t source[kMaxIncludeValue + 1] = {};  // Include
};

struct SkinElementInfo
{
    const wchar_t* tag;
    SkinElementKind kind;
    const wchar_t* meaning;
    const CAttributeTable<SkinDeclaration>& attributes;
};

// The elements, in the order the reference lists them; count receives the
// number.
const SkinElementInfo* GetSkinElements(int& count);
// The element tag names without regard to case; null for null or any other tag.
const SkinElementInfo* FindSkinElement(const wchar_t* tag);
// Reads element through info's rows: for each row, the first attribute whose
// name the row matches (under its name case) is applied.
SkinDeclaration ReadSkinDeclaration(const SkinElementInfo& info, const CXmlNode& element);

// The attributes the builder itself reads from every control element
// ("cover"), before the control's own table applies them all.
struct ChildPlacement
{
    bool cover = false;
};
const CAttributeTable<ChildPlacement>& GetChildPlacementAttributes();
ChildPlacement ReadChildPlacement(const CXmlNode& element);

}  // namespace DuiLib
