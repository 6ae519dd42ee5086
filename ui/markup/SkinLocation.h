// SkinLocation: the places skin files come from (a folder, the skin archive,
// a resource of the module) and the one implementation of reading a skin
// file's bytes from each. The XML reader and the image loader both fetch
// through it; what a failure means to them (a message, or no bytes) is theirs.
// Invariant: a failed read leaves no buffer behind and no archive open.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"

namespace DuiLib {

class CSkinArchive;

// Outcome of a skin read; everything but Ok leaves bytes null and size 0.
enum class SkinReadStatus
{
    Ok,
    OpenFailed,     // the file cannot be opened, or the resource is missing
    Empty,          // the file, entry or resource holds no bytes
    TooLarge,       // more bytes than the caller's limit
    ReadShort,      // the file gave fewer bytes than its size
    ZipOpenFailed,  // no archive kept open, and none readable under the folder
    EntryNotFound,
    UnzipFailed,    // the entry could not be deciphered, inflated or verified
    OutOfMemory,
};

// Where skin files are looked for: by default nowhere but the module's
// resources and paths given whole; Current gives the process's settings.
struct SkinLocation
{
    // Module searched for resources; null means the process's module.
    HINSTANCE resourceModule = nullptr;
    // Prepended unchanged to every skin file name (it ends with a backslash).
    CUIString folder;
    // Empty: skin files are plain files. Otherwise the archive's file name
    // under folder, or "membuffer" for the archive held in memory.
    CUIString zipName;
    // The archive kept open for the process, used instead of opening zipName.
    CSkinArchive* openZip = nullptr;
    // Narrow, zero-terminated archive password of at most 64 bytes; empty
    // means none.
    char zipPassword[65] = {};

    // The process-wide skin settings (CSkinSettings).
    static SkinLocation Current();

    // The bytes of skin file name, into a new[] buffer the caller frees with
    // delete[]: folder + name when zipName is empty, else the archive entry.
    // A null name is OpenFailed or EntryNotFound respectively.
    SkinReadStatus ReadSkinFile(const wchar_t* name, unsigned maxBytes, BYTE*& bytes, unsigned& size) const;
    // The plain file folder + name.
    SkinReadStatus ReadFolderFile(const wchar_t* name, unsigned maxBytes, BYTE*& bytes, unsigned& size) const;
    // The archive entry that name names (see CSkinArchive::EntryName). Uses
    // openZip when set; otherwise opens folder + zipName with zipPassword for
    // this read alone and closes it again on every path.
    SkinReadStatus ReadZipEntry(const wchar_t* name, unsigned maxBytes, BYTE*& bytes, unsigned& size) const;
    // A copy of the resource name (text, or an integer id in integer-resource
    // form) of type in resourceModule. Missing: OpenFailed; no bytes: Empty.
    SkinReadStatus ReadResource(const wchar_t* name, const wchar_t* type, BYTE*& bytes, unsigned& size) const;
};

// Reads the whole file at path (shared read) into a new[] buffer. A null or
// empty path is OpenFailed; a file above maxBytes is TooLarge.
SkinReadStatus ReadFileBytes(const wchar_t* path, unsigned maxBytes, BYTE*& bytes, unsigned& size);

// ReadFileBytes up to 2^31 - 1 bytes, as a yes or no.
bool ReadWholeFile(const wchar_t* path, BYTE*& bytes, unsigned& size);

}  // namespace DuiLib
