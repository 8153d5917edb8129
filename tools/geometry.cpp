// geometry.cpp - segment distances on the ground plane.
#include "geometry.h"

#include <algorithm>

namespace {

double pointSegmentDistance(GroundPoint p, GroundPoint a, GroundPoint b) {
    const double dx = b.x - a.x, dz = b.z - a.z;
    const double lengthSquared = dx * dx + dz * dz;
    double u = 0;
    if (lengthSquared > 0) u = std::clamp(((p.x - a.x) * dx + (p.z - a.z) * dz) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x - a.x - u * dx, p.z - a.z - u * dz);
}

double side(GroundPoint o, GroundPoint a, GroundPoint b) {
    return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x);
}

}  // namespace

double segmentDistance(GroundPoint a0, GroundPoint a1, GroundPoint b0, GroundPoint b1) {
    const double d1 = side(b0, b1, a0), d2 = side(b0, b1, a1);
    const double d3 = side(a0, a1, b0), d4 = side(a0, a1, b1);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return 0;
    return std::min({pointSegmentDistance(a0, b0, b1), pointSegmentDistance(a1, b0, b1),
                     pointSegmentDistance(b0, a0, a1), pointSegmentDistance(b1, a0, a1)});
}
