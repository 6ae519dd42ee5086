// ImageEntry: one decoded image as premultiplied 32-bit top-down pixels in a
// DIB section. The image loader creates entries and the manager's image cache
// owns them; ReleaseImageEntry is the one way an entry's memory is freed.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"

namespace DuiLib {

struct ImageEntry
{
    HBITMAP bitmap = nullptr;      // owned DIB section
    BYTE* pixels = nullptr;        // the DIB section's memory; freed with it
    BYTE* sourcePixels = nullptr;  // owned new[] copy as decoded, only with useHsl
    int width = 0;
    int height = 0;
    bool hasAlpha = false;  // some pixel is translucent or matched the mask
    bool useHsl = false;    // takes part in the colour adjustment
    CUIString resType;      // resource type requested; empty for files
    DWORD mask = 0;         // ARGB mask colour loaded with; 0 = none
};

// Deletes the bitmap and frees the pixel copy (both become null); with
// deleteRecord also destroys the record. A null entry is ignored.
inline void ReleaseImageEntry(ImageEntry* entry, bool deleteRecord)
{
    if (entry == nullptr)
        return;
    if (entry->bitmap != nullptr)
        DeleteObject(entry->bitmap);
    entry->bitmap = nullptr;
    entry->pixels = nullptr;
    delete[] entry->sourcePixels;
    entry->sourcePixels = nullptr;
    if (deleteRecord)
        delete entry;
}

}  // namespace DuiLib
