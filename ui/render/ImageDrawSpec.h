// ImageDrawSpec and the image description language: the parsed, cached form
// of one image attribute, and the parser of its key='value' text. Pure logic:
// no device context or GDI call here; drawing a spec is CRenderKit's.
// Invariant: parsing never reads past the text's terminator.
#pragma once

#include <windows.h>

#include "ui/core/AttributeTable.h"
#include "ui/core/UIRect.h"
#include "ui/core/UIString.h"
#include "ui/render/ImageEntry.h"

namespace DuiLib {

// One image attribute of a control. A new spec is cleared.
struct ImageDrawSpec
{
    CUIString drawString;         // the description as set
    CUIString imageName;          // the name resolved from it
    bool loaded = false;          // a parse and load has been attempted
    ImageEntry* image = nullptr;  // in the manager's cache; not owned
    CUIRect destOffset;           // from the control's left and top; all 0 = whole control
    CUIRect sourcePart;           // image pixels; all 0 = whole image
    CUIRect corners;              // border widths kept unstretched
    BYTE fade = 255;              // constant opacity
    bool hole = false;            // leave the middle out
    bool xTiled = false;
    bool yTiled = false;

    // Empties both strings, forgets the image and resets every field to the
    // values of a new spec.
    void Clear();
};

// What a description says about loading its image; the drawing fields go
// straight into the draw spec.
struct ImageRequest
{
    CUIString name;      // the whole text unless "file", "res" or "color" names it
    CUIString resType;   // from "restype", or the colour pseudo type for "color"
    bool useResType = false;  // "res" or "color" appeared
    DWORD mask = 0;
    bool hsl = false;
};

// What the key rows of an image description write to.
struct ImageDescription
{
    ImageRequest& request;
    ImageDrawSpec& spec;
};

// The keys of the image description language, compared case-sensitively.
const CAttributeTable<ImageDescription>& GetImageDescriptionKeys();

// Reads the key='value' items of a description one by one: blanks (codes 1
// to 32) may surround the key and the '=', the value runs to the next single
// quote, and exactly a space must follow it before the next item.
class CImageDescriptionReader
{
public:
    // text null counts as "".
    explicit CImageDescriptionReader(const wchar_t* text);
    // The next item's key and value (either may be empty); false at the end
    // of the text and at the first malformed item, which ends the reading.
    bool Next(CUIString& key, CUIString& value);
    // True when reading ended at a malformed item rather than at the end
    // (blanks after the last item are no fault).
    bool IsMalformed() const { return m_malformed; }

private:
    const wchar_t* m_at;
    bool m_malformed = false;
    bool m_ended = false;
};

// Parses text (null counts as "") as a sequence of key='value' items: the
// request gets the name and load options, spec the rectangles, fade and
// flags. Malformed text ends the parse and keeps what was applied before;
// unknown keys and empty values are ignored; keys are case-sensitive.
void ParseImageDescription(const wchar_t* text, ImageRequest& request, ImageDrawSpec& spec);

// Four decimal integers (optional sign, leading whitespace allowed), each
// separated from the next by exactly one character of any kind. Missing
// numbers are 0; a number beyond +-kMaxDescriptionNumber is held at that
// bound. Null text gives all zeros.
constexpr int kMaxDescriptionNumber = 1 << 24;
CUIRect ReadFourNumbers(const wchar_t* text);

// Hexadecimal digits after one optional leading '#', up to the first other
// character; more than eight digits saturate at 0xFFFFFFFF. Null or no
// digits give 0.
DWORD ReadHexColor(const wchar_t* text);

}  // namespace DuiLib
