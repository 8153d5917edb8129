// vector_checks.h - questions the tests ask of the game's vectors.
#ifndef KORVALINTH_TESTS_VECTOR_CHECKS_H
#define KORVALINTH_TESTS_VECTOR_CHECKS_H

#include <cmath>

#include "vector3.h"

// No component is infinite or NaN: once one is, every later step of that car spreads it.
inline bool isFinite(const Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

#endif
