// vector3.cpp - three-float vectors, planes and the ground distance.
//
// The car physics depends on the exact rounding of these operations: length() roots the
// sum of squares in double, magnitude() rounds it to float first, and every division by
// a scalar goes through one float reciprocal. Keep those as they are.
#include "vector3.h"

#include <cmath>

Vector3::Vector3(float x, float y, float z) : x(x), y(y), z(z) {}

Vector3::Vector3(const Vector3& o) : x(o.x), y(o.y), z(o.z) {}

Vector3& Vector3::operator=(const Vector3& o) {
    x = o.x;
    y = o.y;
    z = o.z;
    return *this;
}

Vector3& Vector3::operator+=(const Vector3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

Vector3& Vector3::operator/=(const float& s) {
    const float k = 1.0f / s;
    x *= k;
    y *= k;
    z *= k;
    return *this;
}

Vector3& Vector3::normalize() {
    *this /= length();
    return *this;
}

// The products of floats are exact in double, so the sum is the only rounding here.
static double sumOfSquares(const Vector3& v) {
    return double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z;
}

float Vector3::length() const { return float(std::sqrt(sumOfSquares(*this))); }

float Vector3::magnitude() const {
    const float squares = float(sumOfSquares(*this));
    return std::sqrt(squares);
}

Vector3 Vector3::normalized() const { return *this / length(); }

Vector3 Vector3::operator/(float s) const {
    const float k = 1.0f / s;
    return Vector3(x * k, y * k, z * k);
}

Vector3 Vector3::operator*(const float& s) const { return Vector3(x * s, y * s, z * s); }

Vector3 Vector3::operator+(const Vector3& o) const { return Vector3(x + o.x, y + o.y, z + o.z); }

Vector3 Vector3::operator-(const Vector3& o) const { return Vector3(x - o.x, y - o.y, z - o.z); }

Vector3 Vector3::negated() const { return Vector3(-x, -y, -z); }

Vector3 Vector3::operator-() const { return negated(); }

Vector3 Vector3::cross(const Vector3& o) const {
    return Vector3(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}

float Vector3::scalarProduct(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }

float Vector3::dot(const Vector3& o) const { return scalarProduct(o); }

Vector3 Vector3::withLength(float len) const { return *this * (len / magnitude()); }

// The mirror passes through the origin: only the plane's normal takes part.
Vector3 Vector3::reflect(const Plane& p) const {
    const Vector3 unit = withLength(1);
    const float m = magnitude();
    const float d = unit.scalarProduct(p.normal);
    return (unit - (p.normal * 2) * d) * m;
}

bool Vector3::operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }

bool Vector3::operator!=(const Vector3& o) const { return !(*this == o); }

double horizontalDistance(Vector3 a, Vector3 b) {
    const double dx = double(a.x) - double(b.x);
    const double dz = double(a.z) - double(b.z);
    return std::sqrt(dx * dx + dz * dz);
}

namespace vectorFree {
Vector3 operator-(Vector3 a, Vector3 b) { return Vector3(a.x - b.x, a.y - b.y, a.z - b.z); }
Vector3 operator*(float s, Vector3 v) { return Vector3(s * v.x, s * v.y, s * v.z); }
Vector3 operator/(Vector3 a, Vector3 b) { return Vector3(a.x / b.x, a.y / b.y, a.z / b.z); }
Vector3 operator+(Vector3 a, Vector3 b) { return Vector3(a.x + b.x, a.y + b.y, a.z + b.z); }
}  // namespace vectorFree

Plane::Plane(float nx, float ny, float nz, float d) : normal(nx, ny, nz), distance(d) {}

// Three points on one line give a zero cross product and so a non-finite normal; nothing
// guards against it, as with every zero-length vector here.
Plane::Plane(const Vector3& a, const Vector3& b, const Vector3& c) : distance(0) {
    const Vector3 e1 = (c - a).withLength(1);
    const Vector3 e2 = (c - b).withLength(1);
    normal = e1.cross(e2).withLength(1);
    distance = (-a).scalarProduct(normal);
}

Plane::Plane(const Plane& o) : normal(o.normal), distance(o.distance) {}

Plane& Plane::operator=(const Plane& o) {
    normal = o.normal;
    distance = o.distance;
    return *this;
}

Plane Plane::constructFromPoints(const Vector3& a, const Vector3& b, const Vector3& c) {
    return Plane(a, b, c);
}
