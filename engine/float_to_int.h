// float_to_int.h - the one way a game float becomes an int.
//
// Converting a float that is not a number or lies beyond the int is undefined behaviour,
// and the figures of a save file, or physics they have driven wild, can be either. Every
// conversion whose float is not already known to be small and whole goes through here.
#ifndef KORVALINTH_ENGINE_FLOAT_TO_INT_H
#define KORVALINTH_ENGINE_FLOAT_TO_INT_H

#include <cmath>

// value truncated toward zero, as a plain conversion does, while it lies within low to
// high; beyond them (infinities included) the nearer bound; notANumber for a NaN.
inline int truncateWithin(float value, int low, int high, int notANumber) {
    if (std::isnan(value)) return notANumber;
    if (value <= static_cast<float>(low)) return low;
    // high converted may round up (INT_MAX becomes 2^31): every float below it converts.
    if (value >= static_cast<float>(high)) return high;
    return static_cast<int>(value);
}

#endif
