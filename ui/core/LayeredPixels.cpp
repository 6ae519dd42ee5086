// Layered-window pixel work: clearing, copying and the alpha fix-up.
#include "ui/core/LayeredPixels.h"

#include <cstring>

namespace DuiLib {

namespace {

// The bottom-counted rows and the columns of area inside the plane; false
// when nothing is left.
bool RowSpan(const PixelPlane& plane, const RECT& area, int& firstRow, int& endRow, int& left, int& right)
{
    if (plane.bits == nullptr || plane.width <= 0 || plane.height <= 0)
        return false;
    firstRow = plane.height - area.bottom;
    endRow = plane.height - area.top;
    if (firstRow < 0)
        firstRow = 0;
    if (endRow > plane.height)
        endRow = plane.height;
    left = area.left < 0 ? 0 : area.left;
    right = area.right > plane.width ? plane.width : area.right;
    return firstRow < endRow && left < right;
}

BYTE* PixelAt(const PixelPlane& plane, int row, int column)
{
    return plane.bits + (static_cast<size_t>(row) * plane.width + column) * 4;
}

}  // namespace

void ClearPixels(const PixelPlane& plane, const RECT& area)
{
    int firstRow = 0, endRow = 0, left = 0, right = 0;
    if (!RowSpan(plane, area, firstRow, endRow, left, right))
        return;
    for (int row = firstRow; row < endRow; ++row)
        std::memset(PixelAt(plane, row, left), 0, static_cast<size_t>(right - left) * 4);
}

void CopyPixels(const PixelPlane& plane, const BYTE* source, const RECT& area)
{
    int firstRow = 0, endRow = 0, left = 0, right = 0;
    if (source == nullptr || !RowSpan(plane, area, firstRow, endRow, left, right))
        return;
    const PixelPlane from = {const_cast<BYTE*>(source), plane.width, plane.height};
    for (int row = firstRow; row < endRow; ++row)
        std::memcpy(PixelAt(plane, row, left), PixelAt(from, row, left), static_cast<size_t>(right - left) * 4);
}

void FixLayeredAlpha(const PixelPlane& plane, const RECT& area, const RECT* opaque)
{
    int firstRow = 0, endRow = 0, left = 0, right = 0;
    if (!RowSpan(plane, area, firstRow, endRow, left, right))
        return;
    for (int row = firstRow; row < endRow; ++row)
    {
        for (int column = left; column < right; ++column)
        {
            BYTE* pixel = PixelAt(plane, row, column);
            if ((pixel[0] | pixel[1] | pixel[2] | pixel[3]) == 0)
                continue;
            const bool forced = opaque != nullptr && column >= opaque->left && column < opaque->right &&
                                row >= opaque->top && row < opaque->bottom;
            if (forced || pixel[3] == 0)
                pixel[3] = 0xFF;
        }
    }
}

}  // namespace DuiLib
