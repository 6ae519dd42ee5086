// Pure arithmetic of the linear layouts: holding an extent between a minimum
// and a maximum, and the equal share of the stretchable children. No window
// is needed; sums are made in 64 bits so thousands of children or huge
// minimum sizes cannot overflow.
#pragma once

#include "ui/control/LayoutMath.h"

namespace DuiLib {

// extent raised to minimum first, then lowered to maximum (so the maximum
// wins when the two disagree), held to the int range.
inline int HoldBetween(long long extent, int minimum, int maximum)
{
    if (extent < minimum)
        extent = minimum;
    if (extent > maximum)
        extent = maximum;
    return ClampToInt(extent);
}

// (available - fixedTotal) / stretchCount cut toward zero; 0 when negative
// or when nothing stretches.
inline int StretchShare(long long available, long long fixedTotal, int stretchCount)
{
    if (stretchCount <= 0)
        return 0;
    const long long share = (available - fixedTotal) / stretchCount;
    return share < 0 ? 0 : ClampToInt(share);
}

// The gaps between count children of padding each: 0 for no child.
inline long long GapsBetween(int count, int padding)
{
    return count > 1 ? static_cast<long long>(count - 1) * padding : 0;
}

}  // namespace DuiLib
