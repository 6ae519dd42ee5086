// ImageSource: where the encoded bytes of a skin image come from (a module
// resource, the skin folder, the skin zip, or the name itself as a path) and
// the fetch that tries those places in order. Zip reading is CSkinArchive's;
// decoding is the render kit's. A failed fetch never leaves a buffer behind.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"

namespace DuiLib {

class CSkinArchive;

// The pseudo resource type whose "name" is a colour text: a 1x1 image of that
// colour, made without fetching any bytes.
constexpr wchar_t kColorImageType[] = L"*COLOR*";

struct ImageSource
{
    // Module searched for typed resources; null means the process's module.
    HINSTANCE resourceModule = nullptr;
    // Prepended unchanged to every skin file name (it ends with a backslash).
    CUIString skinFolder;
    // Empty: skin files are plain files. Otherwise the zip's file name under
    // skinFolder, or "membuffer" for the zip the manager holds in memory.
    CUIString zipName;
    // The zip kept open by the manager, used instead of opening zipName.
    CSkinArchive* openZip = nullptr;
    // Narrow, zero-terminated zip password of at most 64 bytes; empty means none.
    char zipPassword[65] = {};

    // The manager's process-wide skin settings.
    static ImageSource FromManager();

    // Fetches the bytes of name into a new[] buffer the caller frees with
    // delete[]. type null: skin file or zip entry; any other type: a resource
    // of that type (name may be in integer-resource form). When that finds
    // nothing, a text name is read as a file path itself. False, with bytes
    // null and size 0, when no place yields a non-empty buffer; the colour
    // pseudo type "*COLOR*" never has bytes.
    bool Fetch(const wchar_t* name, const wchar_t* type, BYTE*& bytes, unsigned& size) const;

private:
    bool FetchResource(const wchar_t* name, const wchar_t* type, BYTE*& bytes, unsigned& size) const;
    bool FetchSkinFile(const wchar_t* name, BYTE*& bytes, unsigned& size) const;
    bool FetchZipEntry(const wchar_t* name, BYTE*& bytes, unsigned& size) const;
};

// Reads the whole file at path into a new[] buffer. False, leaving no buffer,
// when path is null or empty, the file cannot be opened, is empty, is too
// large to hold, or reads short.
bool ReadWholeFile(const wchar_t* path, BYTE*& bytes, unsigned& size);

}  // namespace DuiLib
