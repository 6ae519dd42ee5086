// SkinSource: installs the place a skin's files come from as the toolkit's
// process-wide skin setting: a folder, a zip archive read into memory, or the
// skin archive inside a built kalvex.exe. Reading files from it is the
// toolkit's SkinLocation; this file only opens and tells what it opened.
// Invariant: one source per process, since the toolkit keeps its archive.
#pragma once

#include <string>

namespace skinview {

enum class SkinSourceKind
{
    Folder,      // files are read afresh on every load, so they can change
    Archive,     // a zip archive, read once
    Executable,  // the skin resource of a built kalvex.exe, read once
};

struct SkinSource
{
    SkinSourceKind kind = SkinSourceKind::Folder;
    // The full path of the folder, archive or executable.
    std::wstring path;
};

// Opens path as a skin source. A folder is taken as it is; a file whose
// bytes start as an executable is searched for the skin resource and
// deciphered with password (the product's own when none is given); any other
// file must be a zip archive, deciphered with password. False, with the
// reason in error, when path does not exist, the executable has no skin or
// the archive cannot be read.
bool OpenSkinSource(const std::wstring& path, const std::string* password, SkinSource& source, std::wstring& error);

// Empty when the layout file xml can be read from the open source; else why
// not ("main.xml cannot be opened: the archive has no such entry", ...).
std::wstring CheckLayoutReadable(const std::wstring& xml);

}  // namespace skinview
