// Overflow-safe arithmetic for placing controls: sums made in 64 bits and
// held to the int range, and the scaling of an extent by a float anchor.
// Pure arithmetic; the layouts and the control base share it.
#pragma once

#include <climits>
#include <cmath>

namespace DuiLib {

// value held to [INT_MIN, INT_MAX].
inline int ClampToInt(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// a + b without overflow, held to the int range.
inline int AddClamped(long long a, long long b)
{
    return ClampToInt(a + b);
}

// high - low without overflow: the width or height between two edges.
inline int ExtentBetween(int low, int high)
{
    return ClampToInt(static_cast<long long>(high) - low);
}

// extent x fraction with the fraction cut off toward zero, held to the int
// range; a fraction that is not a number gives 0.
inline int ScaleTruncated(int extent, double fraction)
{
    const double product = std::trunc(static_cast<double>(extent) * fraction);
    if (std::isnan(product))
        return 0;
    if (product >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (product <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(product);
}

}  // namespace DuiLib
