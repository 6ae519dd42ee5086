// Text conversion and splitting shared by the application. No state, no
// platform objects beyond the code-page converters.
#pragma once

#include <string>
#include <vector>

namespace kalvex {

// Appends to `out` the pieces of `text` separated by any character of
// `delimiters`. A leading delimiter yields one empty piece; runs of delimiters
// count as one; an empty remainder after the last delimiter is not pushed.
void SplitString(const std::wstring& text, const std::wstring& delimiters, std::vector<std::wstring>& out);

// System ANSI code page; an empty or unconvertible input gives "".
std::string WideToAnsi(const std::wstring& text);

// UTF-8 to UTF-16; an empty or invalid input (bad sequences included) gives "".
std::wstring Utf8ToWide(const std::string& text);

}  // namespace kalvex
