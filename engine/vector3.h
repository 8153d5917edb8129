// vector3.h - three-float vectors, planes and the ground distance.
// y is up; the ground is the x-z plane.
#ifndef KORVALINTH_ENGINE_VECTOR3_H
#define KORVALINTH_ENGINE_VECTOR3_H

class Plane;

class Vector3 {
public:
    float x, y, z;

    Vector3(float x = 0, float y = 0, float z = 0);
    Vector3(const Vector3& o);
    Vector3& operator=(const Vector3& o);

    Vector3& operator+=(const Vector3& o);
    Vector3& operator/=(const float& s);   // through a float reciprocal
    Vector3& normalize();                  // divides by length()

    float length() const;                  // sum of squares rooted in double
    float magnitude() const;               // sum of squares rounded to float first
    Vector3 normalized() const;            // divided by length() through operator/
    Vector3 operator/(float s) const;      // through a float reciprocal
    Vector3 operator*(const float& s) const;
    Vector3 operator+(const Vector3& o) const;
    Vector3 operator-(const Vector3& o) const;
    Vector3 negated() const;
    Vector3 operator-() const;
    Vector3 cross(const Vector3& o) const;
    float scalarProduct(const Vector3& o) const;
    float dot(const Vector3& o) const;
    Vector3 withLength(float len) const;   // scales by len / magnitude()
    Vector3 reflect(const Plane& p) const; // mirrored about p's normal, keeping magnitude
    bool operator==(const Vector3& o) const;
    bool operator!=(const Vector3& o) const;
};

// Distance of two points in the x-z plane, in double; y is ignored.
double horizontalDistance(Vector3 a, Vector3 b);

// By-value operators beside the members. Declared at namespace scope next to the members
// a - b and a + b would be ambiguous, so they live in a namespace of their own; the game
// uses the members.
namespace vectorFree {
Vector3 operator-(Vector3 a, Vector3 b);
Vector3 operator*(float s, Vector3 v);
Vector3 operator/(Vector3 a, Vector3 b);  // component by component
Vector3 operator+(Vector3 a, Vector3 b);
}

class Plane {
public:
    Vector3 normal;
    double distance;

    Plane(float nx = 1, float ny = 0, float nz = 0, float d = 0);
    Plane(const Vector3& a, const Vector3& b, const Vector3& c);  // constructFromPoints
    Plane(const Plane& o);
    Plane& operator=(const Plane& o);

    static Plane constructFromPoints(const Vector3& a, const Vector3& b, const Vector3& c);
};

#endif
