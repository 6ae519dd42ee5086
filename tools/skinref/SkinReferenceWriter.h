// SkinReferenceWriter: the skin reference as one Markdown text, written from
// the toolkit's own tables: the builder's tag table and element rows, each
// control class's attribute table, the window rows, the image description
// keys and the grammar glossary. It never lists a name the code does not
// apply, and it changes whenever a table does.
#pragma once

#include <string>

namespace DuiLib {

// The whole reference, lines ended by "\n".
std::wstring WriteSkinReference();

}  // namespace DuiLib
