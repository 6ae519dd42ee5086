// CLanguageTexts: the process-wide table of language texts that skins and
// controls refer to as "%{n}". It owns a copy of every text it stores; it
// needs nothing but strings and the name map, so every layer may read it.
#pragma once

#include "ui/core/UIString.h"

namespace DuiLib {

class CLanguageTexts
{
public:
    CLanguageTexts() = delete;

    // Stores a copy under id, replacing (and freeing) an earlier text; a null
    // text counts as "".
    static void Add(int id, const wchar_t* text);
    // The text registered under id, or null.
    static const wchar_t* Get(int id);
    // Replaces every "%{n}" token whose n has a registered text by that text;
    // other tokens stay as written.
    static void ExpandTokens(CUIString& text);
};

}  // namespace DuiLib
