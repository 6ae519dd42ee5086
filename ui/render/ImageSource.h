// ImageSource: the order in which the encoded bytes of a skin image are
// looked for: a module resource when a type is given, else the skin folder or
// the skin archive, and last the name itself as a path. Reading each place is
// SkinLocation's; decoding is the render kit's. A failed fetch never leaves a
// buffer behind.
#pragma once

#include <windows.h>

#include "ui/markup/SkinLocation.h"

namespace DuiLib {

// The pseudo resource type whose "name" is a colour text: a 1x1 image of that
// colour, made without fetching any bytes.
constexpr wchar_t kColorImageType[] = L"*COLOR*";

// What an image declared as name with resource type is fetched as: a name
// that starts with a digit, given a real resource type, is a numeric resource
// id (in integer-resource form); any other name (a colour's text too, even
// "80FF0000") is itself.
const wchar_t* ImageSourceName(const wchar_t* name, const wchar_t* type);

// Fetches the bytes of image name into a new[] buffer the caller frees with
// delete[]. type null or "": skin file or archive entry of location; any
// other type: a resource of that type (name may be in integer-resource form).
// When that finds nothing, a text name is read as a file path itself. False,
// with bytes null and size 0, when no place yields a non-empty buffer; the
// colour pseudo type "*COLOR*" never has bytes and touches nothing.
bool FetchImageBytes(const SkinLocation& location, const wchar_t* name, const wchar_t* type, BYTE*& bytes,
                     unsigned& size);

}  // namespace DuiLib
