// geometry.h - small vector maths for building the models and checking the outlines.
#ifndef KORVALINTH_TOOLS_GEOMETRY_H
#define KORVALINTH_TOOLS_GEOMETRY_H

#include <cmath>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 unit(Vec3 a) { return a * (1.0f / length(a)); }

// A point on the ground plane of a track, in world units (x, z).
struct GroundPoint {
    double x = 0, z = 0;
};

inline double groundDistance(GroundPoint a, GroundPoint b) { return std::hypot(a.x - b.x, a.z - b.z); }

// Shortest distance between the segments a0-a1 and b0-b1 (0 when they cross).
double segmentDistance(GroundPoint a0, GroundPoint a1, GroundPoint b0, GroundPoint b1);

#endif
