// The value syntaxes that every control's skin attributes share: booleans,
// integers, colours, rectangles, sizes and fraction rectangles. Pure text
// parsing, no window or GDI; what an attribute does with the value is the
// control's. Invariant: no parser reads past the text's terminator.
#pragma once

#include <windows.h>

#include "ui/control/ControlInterface.h"
#include "ui/core/UIRect.h"
#include "ui/core/UIString.h"

namespace DuiLib {

// Coordinates and lengths read from attribute values are held within
// +-kMaxAttributeCoordinate, so that the sums and differences that layout
// makes of them stay far from the int range.
constexpr int kMaxAttributeCoordinate = 1 << 24;

// Whether a colour value may start with blanks. The background colours skip
// them; the border colours do not, so a leading blank reads as no digits.
enum class ColorBlanks
{
    Skip,
    Refuse,
};

// True only for the exact lower-case text "true"; null is false.
bool ParseBool(const wchar_t* text);

// A decimal integer: leading whitespace and a sign accepted, stops at the
// first non-digit; no digits (or null) give 0, values beyond the int range
// are held at INT_MIN or INT_MAX.
int ParseInt(const wchar_t* text);

// ParseInt held within +-kMaxAttributeCoordinate.
int ParseCoordinate(const wchar_t* text);

// A colour word 0xAARRGGBB: (blanks if allowed), one optional '#', then
// hexadecimal digits with an optional 0x prefix, up to the first other
// character. Six digits give alpha 0. No digits right there (or null) give 0;
// more than eight significant digits saturate at 0xFFFFFFFF.
DWORD ParseColor(const wchar_t* text, ColorBlanks blanks);

// "l,t,r,b": four integers read as ParseCoordinate does; after each number
// exactly one character (normally the comma) is stepped over before the next
// is read. Numbers missing at the end of the text read as 0.
CUIRect ParseRect(const wchar_t* text);

// "cx,cy": two integers, separated as for ParseRect.
CUISize ParseSize(const wchar_t* text);

// "l,t,r,b" of decimal floating-point numbers, separated as for ParseRect.
// Missing, infinite or not-a-number values read as 0.
FloatPercent ParseFractionRect(const wchar_t* text);

// True when text holds a comma; "bordersize" and "float" take a list then.
bool HasComma(const wchar_t* text);

// Reads an attribute list: name="value" items separated by single spaces,
// as in width="60" text="OK". The name is everything up to '=' (blanks
// included); no entities are decoded.
class CAttributeListReader
{
public:
    // list null counts as "".
    explicit CAttributeListReader(const wchar_t* list);
    // The next item; false at the end and at the first malformed item, which
    // ends the list (the items before it stand).
    bool Next(CUIString& name, CUIString& value);
    // True when the list ended at a malformed item, not at its end.
    bool IsMalformed() const { return m_malformed; }
    // Where reading stopped: the malformed rest, or "" at the end.
    const wchar_t* Rest() const { return m_at; }

private:
    const wchar_t* m_at;
    bool m_malformed = false;
};

}  // namespace DuiLib
