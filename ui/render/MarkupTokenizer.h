// The one-letter-tag text markup: splitting a text into tokens (runs,
// spaces, line breaks, escapes, opening and closing tags) and reading the
// arguments of the tags. Pure text work, no device context or GDI call:
// CMarkupLayout measures and places what these functions find.
// Invariant: no function reads past the text's terminator.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"

namespace DuiLib {

enum class MarkupTokenKind
{
    End,       // the terminator; length 0
    Newline,   // "\n", or "\r\n"
    Space,     // one " "
    Escape,    // <{> <}> {<} {>}: the character in `escaped`
    OpenTag,   // bracket, letter a-z, then a space, ">" or "}"
    CloseTag,  // bracket, "/", letter
    Run,       // ordinary characters, drawn as they stand
};

struct MarkupToken
{
    MarkupTokenKind kind = MarkupTokenKind::End;
    // Characters the token takes from the text; for tags up to and including
    // the next ">" or "}" (or the rest of the text when none follows).
    int length = 0;
    wchar_t letter = 0;           // the tag's letter
    wchar_t escaped = 0;          // the character an escape draws
    const wchar_t* argument = L"";  // the tag's text after "<x ", not terminated
    int argumentLength = 0;
};

// The token at text (null counts as ""). Inside a raw run (inRaw) only the
// closing </r> or {/r} is a tag; everything else up to it, a line break or
// the end is run text. Outside, a bracket that starts no tag or escape
// belongs to the run it begins, and a run ends before the next bracket.
MarkupToken ReadMarkupToken(const wchar_t* text, bool inRaw);

// True when a line may break after ch: anything but an ASCII letter.
inline bool IsMarkupBreakAfter(wchar_t ch)
{
    return !((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z'));
}

// The largest count c in 1..count with a break allowed after run[c - 1], or
// 0 when there is none.
int LastMarkupBreak(const wchar_t* run, int count);

// The characters marked-up text shows, without its tags: runs and escapes
// as they stand, line breaks (a newline or <n>) and spaces as one space
// each; images and formatting leave nothing. When links is given, the shown
// text of the first linkCapacity links (<a>...</a>) is written there in
// order and linkCount tells how many were found. Null counts as "".
CUIString MarkupPlainText(const wchar_t* text, CUIString* links = nullptr, int linkCapacity = 0,
                          int* linkCount = nullptr);

// Tag numbers are held within +-kMaxMarkupNumber, so that adding them to
// coordinates cannot overflow.
constexpr int kMaxMarkupNumber = 1 << 20;

// A decimal number at the start of the argument (blanks and a sign allowed),
// held within +-kMaxMarkupNumber; 0 when there are no digits.
int ReadMarkupNumber(const wchar_t* argument, int length);

// The <c> argument: one optional "#", then hexadecimal digits read as a
// signed 32-bit number, so values above 0x7FFFFFFF become 0x7FFFFFFF. Only
// the low 24 bits are a colour; no digits give 0.
DWORD ReadMarkupColor(const wchar_t* argument, int length);

// Vertical placement of a run within its line.
enum MarkupVAlign : int
{
    MARKUP_VALIGN_TOP = 0,
    MARKUP_VALIGN_CENTER = 4,
    MARKUP_VALIGN_BOTTOM = 8,
};

// The <v> argument: "center" or "top" (any case), bottom for anything else.
int ReadMarkupVAlign(const wchar_t* argument, int length);

// What a <f> argument asks for.
struct MarkupFontRequest
{
    bool byIndex = false;  // a plain number: the manager's font of that id
    int index = -1;
    CUIString faceName;    // otherwise: face, size and UIFontStyle bits
    int size = 10;
    UINT styles = 0;
};
MarkupFontRequest ReadMarkupFont(const wchar_t* argument, int length);

// What an <i> argument asks for: an image and the frame of it to show.
struct MarkupImageRequest
{
    CUIString name;
    CUIString resType;
    bool useResType = false;  // "res='...'" named the image
    int frames = 1;           // at least 1
    int frame = 0;            // within 0..frames - 1
};
MarkupImageRequest ReadMarkupImage(const wchar_t* argument, int length);

}  // namespace DuiLib
