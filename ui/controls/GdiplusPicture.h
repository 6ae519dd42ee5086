// CGdiplusPicture: a GDI+ image of a skin picture file, read from the same
// places as the image loader (module resource path, skin archive entry, the
// name as a path) and handed to GDI+ as a stream over a movable memory block.
// Invariant: the stream lives exactly as long as the image, since GDI+ keeps
// reading frames from it.
#pragma once

#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM types that GDI+ needs.
#include <objidl.h>
#include <gdiplus.h>

namespace DuiLib {

class CGdiplusPicture
{
public:
    CGdiplusPicture() = default;
    CGdiplusPicture(const CGdiplusPicture&) = delete;
    CGdiplusPicture& operator=(const CGdiplusPicture&) = delete;
    ~CGdiplusPicture() { Release(); }

    // Replaces the picture by the file name; false, leaving no picture, for a
    // null or empty name, no bytes anywhere or bytes GDI+ cannot read.
    bool Load(const wchar_t* name);
    // Disposes of the image, then its stream; nothing when there is none.
    void Release();

    Gdiplus::GpImage* Image() const { return m_image; }
    // Pixel size; 0 without a picture.
    int Width() const;
    int Height() const;

private:
    Gdiplus::GpImage* m_image = nullptr;
    IStream* m_stream = nullptr;  // owns the memory block
};

}  // namespace DuiLib
