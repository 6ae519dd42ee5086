// Pictures the tests read back: the pixels of a 32-bit DIB section (such as
// the manager's off-screen picture that a layered window hands to
// UpdateLayeredWindow) in client coordinates, and PNG files of pixels kept
// beside the test program (written by the toolkit's WritePng).
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {
namespace test {

// The stored pixel 0xAARRGGBB (premultiplied) at client (x, y) of the DIB
// section bitmap, whichever way up its rows lie; 0 for anything that is not
// a 32-bit DIB section or a point outside it.
DWORD PixelAt(HBITMAP bitmap, int x, int y);

// The alpha byte of PixelAt.
inline BYTE AlphaAt(HBITMAP bitmap, int x, int y)
{
    return static_cast<BYTE>(PixelAt(bitmap, x, y) >> 24);
}

// Writes the DIB section as a PNG with its per-pixel alpha; false when it
// cannot.
bool SavePng(HBITMAP bitmap, const std::wstring& path);

// The full path of name in the test program's folder.
std::wstring BesideProgram(const wchar_t* name);

}  // namespace test
}  // namespace DuiLib
