// Rectangle and size records: the platform's RECT and SIZE layouts with the
// few operations the toolkit's layout code needs. Same size as the platform
// structures, so they pass to platform calls unchanged.
#pragma once

#include <windows.h>

namespace DuiLib {

class CUIRect : public RECT
{
public:
    CUIRect() : RECT{0, 0, 0, 0} {}
    CUIRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CUIRect(const RECT& other) : RECT(other) {}

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }

    // Grows to cover other. An empty rectangle is joined like any other, so
    // joining (0,0,0,0) pulls left and top to 0.
    void Join(const RECT& other)
    {
        if (other.left < left) left = other.left;
        if (other.top < top) top = other.top;
        if (other.right > right) right = other.right;
        if (other.bottom > bottom) bottom = other.bottom;
    }

    // Moves so that left and top become 0, keeping width and height.
    void ResetOffset() { Offset(-left, -top); }

    void Offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
};

class CUISize : public SIZE
{
public:
    CUISize() : SIZE{0, 0} {}
    CUISize(int width, int height) : SIZE{width, height} {}
    CUISize(const SIZE& other) : SIZE(other) {}
};

static_assert(sizeof(CUIRect) == sizeof(RECT), "CUIRect must keep the platform RECT layout");
static_assert(sizeof(CUISize) == sizeof(SIZE), "CUISize must keep the platform SIZE layout");

}  // namespace DuiLib
