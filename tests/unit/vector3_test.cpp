// vector3_test.cpp - vectors, planes and the ground distance, down to their rounding.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "vector3.h"

namespace {

void expectVector(const Vector3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

// Exactly these floats, not merely close: the car physics depends on the last bit.
void expectExactly(const Vector3& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

bool allNonFinite(const Vector3& v) {
    return !std::isfinite(v.x) && !std::isfinite(v.y) && !std::isfinite(v.z);
}

// A vector whose sum of squares is not a float: rooted in double it gives one float,
// rounded to float first another.
const Vector3 awkward(1.00001848f, 3.00000548f, 0.5f);
const float awkwardLength = 3.20157313f;
const float awkwardMagnitude = 3.2015729f;

}  // namespace

TEST(Vector3, Defaults) {
    expectExactly(Vector3(), 0, 0, 0);
    Vector3 array[3];
    expectExactly(array[2], 0, 0, 0);
    Plane plane;
    expectExactly(plane.normal, 1, 0, 0);
    EXPECT_EQ(plane.distance, 0.0);
    Plane planes[2];
    expectExactly(planes[1].normal, 1, 0, 0);
}

TEST(Vector3, ArithmeticOfTheEdgeCases) {
    const Vector3 a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a.scalarProduct(b), 32.0f);
    EXPECT_EQ(a.dot(b), 32.0f);
    expectExactly(Vector3(1, 0, 0).cross(Vector3(0, 1, 0)), 0, 0, 1);
    expectExactly(a.cross(b), -3, 6, -3);
    expectExactly(a + b, 5, 7, 9);
    expectExactly(b - a, 3, 3, 3);
    expectExactly(a * 2, 2, 4, 6);
    expectExactly(-a, -1, -2, -3);
    expectExactly(a.negated(), -1, -2, -3);

    Vector3 sum = a;
    Vector3& returned = (sum += b);
    EXPECT_EQ(&returned, &sum);
    expectExactly(sum, 5, 7, 9);
    expectExactly(a, 1, 2, 3);  // the by-value operators leave their receiver alone

    const Vector3 v(3, 0, 4);
    EXPECT_EQ(v.length(), 5.0f);
    EXPECT_EQ(v.magnitude(), 5.0f);
    expectExactly(v.withLength(10), 6, 0, 8);
}

TEST(Vector3, LengthRootsInDoubleMagnitudeRoundsToFloatFirst) {
    EXPECT_EQ(awkward.length(), awkwardLength);
    EXPECT_EQ(awkward.magnitude(), awkwardMagnitude);
    ASSERT_NE(awkwardLength, awkwardMagnitude);
}

TEST(Vector3, DivisionGoesThroughAFloatReciprocal) {
    // 5 * float(1/3) is one step above the float nearest 5/3.
    const float viaReciprocal = 5.0f * (1.0f / 3.0f);
    ASSERT_NE(viaReciprocal, 5.0f / 3.0f);
    expectExactly(Vector3(5, 9, 0) / 3, viaReciprocal, 3, 0);

    Vector3 v(5, 9, 0);
    const float three = 3;
    Vector3& returned = (v /= three);
    EXPECT_EQ(&returned, &v);
    expectExactly(v, viaReciprocal, 3, 0);
}

TEST(Vector3, NormalizeDividesByLengthAndWithLengthScalesByMagnitude) {
    // The reciprocal of length(), not a division by it, and not magnitude().
    expectExactly(awkward.normalized(), 0.31235224f, 0.937041104f, 0.156173229f);
    Vector3 v = awkward;
    Vector3& returned = v.normalize();
    EXPECT_EQ(&returned, &v);
    expectExactly(v, 0.31235224f, 0.937041104f, 0.156173229f);
    // len / magnitude(); with length() the three components would come out different.
    expectExactly(awkward.withLength(10), 3.12352252f, 9.37041187f, 1.56173241f);
}

TEST(Vector3, ReflectMirrorsAboutTheNormalAndKeepsTheLength) {
    Plane facingZ(0, 0, 1, 123);  // the distance plays no part
    expectVector(Vector3(3, 0, -4).reflect(facingZ), 3, 0, 4);

    const float s = std::sqrt(0.5f);
    Plane diagonal(s, 0, s, 0);
    const Vector3 r = Vector3(2, 1, 0).reflect(diagonal);
    EXPECT_NEAR(r.x, 0, 1e-6);
    EXPECT_NEAR(r.y, 1, 1e-6);
    EXPECT_NEAR(r.z, -2, 1e-6);
    EXPECT_NEAR(r.magnitude(), Vector3(2, 1, 0).magnitude(), 1e-6);
}

TEST(Vector3, ZeroVectorsGiveNonFiniteResultsWithoutComplaint) {
    const Vector3 zero;
    EXPECT_TRUE(allNonFinite(zero.normalized()));
    Vector3 v;
    EXPECT_TRUE(allNonFinite(v.normalize()));
    EXPECT_TRUE(allNonFinite(zero.withLength(1)));
    EXPECT_TRUE(allNonFinite(zero.reflect(Plane())));
}

TEST(Vector3, EqualityIsExact) {
    const Vector3 a(1, 2, 3);
    const float justAbove = std::nextafter(2.0f, 3.0f);
    const struct {
        Vector3 other;
        bool equal;
    } cases[] = {
        {Vector3(1, 2, 3), true},
        {Vector3(std::nextafter(1.0f, 0.0f), 2, 3), false},
        {Vector3(1, justAbove, 3), false},
        {Vector3(1, 2, std::nextafter(3.0f, 4.0f)), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(a == c.other, c.equal);
        EXPECT_EQ(a != c.other, !c.equal);
    }
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(Vector3(nan, 0, 0) == Vector3(nan, 0, 0));
}

TEST(Vector3, HorizontalDistanceIgnoresHeight) {
    EXPECT_EQ(horizontalDistance(Vector3(0, 5, 0), Vector3(3, -2, 4)), 5.0);
    // Formed in double: squares that would overflow a float do not here.
    EXPECT_DOUBLE_EQ(horizontalDistance(Vector3(3e20f, 0, 0), Vector3(0, 0, 4e20f)),
                     std::sqrt(double(3e20f) * 3e20f + double(4e20f) * 4e20f));
    EXPECT_NEAR(horizontalDistance(Vector3(0.1f, 0, 0), Vector3(0, 0, 0.2f)),
                std::sqrt(double(0.1f) * 0.1f + double(0.2f) * 0.2f), 1e-15);
}

TEST(Vector3, FreeOperatorsTakeValuesAndWorkComponentwise) {
    using namespace vectorFree;
    const Vector3 a(6, 8, -3), b(2, 4, 3);
    expectExactly(vectorFree::operator-(a, b), 4, 4, -6);
    expectExactly(vectorFree::operator+(a, b), 8, 12, 0);
    expectExactly(2.0f * b, 4, 8, 6);
    expectExactly(a / b, 3, 2, -1);
}

TEST(Plane, ThroughThreePoints) {
    const Plane p(Vector3(0, 0, 5), Vector3(10, 0, 5), Vector3(10, 1, 5));
    expectVector(p.normal, 0, 0, 1);
    EXPECT_DOUBLE_EQ(p.distance, -5.0);

    // A wall from (x1, z1) to (x2, z2): the normal is (-dz, 0, dx) over the wall's length.
    const struct {
        float x1, z1, x2, z2;
    } walls[] = {{0, 0, 3, 4}, {-7, 2, 5, -3}, {100, -50, 100, 50}};
    for (const auto& w : walls) {
        const Plane wall = Plane::constructFromPoints(Vector3(w.x1, 0, w.z1), Vector3(w.x2, 0, w.z2),
                                                      Vector3(w.x2, 1, w.z2));
        const float dx = w.x2 - w.x1, dz = w.z2 - w.z1;
        const float len = std::sqrt(dx * dx + dz * dz);
        EXPECT_NEAR(wall.normal.x, -dz / len, 1e-6);
        EXPECT_NEAR(wall.normal.y, 0, 1e-6);
        EXPECT_NEAR(wall.normal.z, dx / len, 1e-6);
        // Every corner lies on the plane: normal . p + distance = 0.
        EXPECT_NEAR(wall.normal.scalarProduct(Vector3(w.x1, 0, w.z1)) + wall.distance, 0, 1e-3);
        EXPECT_NEAR(wall.normal.scalarProduct(Vector3(w.x2, 1, w.z2)) + wall.distance, 0, 1e-3);
    }
}

TEST(Plane, ConstructionAndAssignmentCarryTheDistance) {
    const Plane p(0, 1, 0, 2.5f);
    expectExactly(p.normal, 0, 1, 0);
    EXPECT_EQ(p.distance, 2.5);
    const Plane copy(p);
    EXPECT_EQ(copy.distance, 2.5);
    Plane assigned;
    Plane& returned = (assigned = p);
    EXPECT_EQ(&returned, &assigned);
    expectExactly(assigned.normal, 0, 1, 0);
    EXPECT_EQ(assigned.distance, 2.5);
}

TEST(Plane, ThreePointsOnALineGiveANonFiniteNormal) {
    const Plane p(Vector3(0, 0, 0), Vector3(1, 0, 0), Vector3(2, 0, 0));
    EXPECT_TRUE(allNonFinite(p.normal));
    const Plane same(Vector3(0, 0, 0), Vector3(1, 0, 0), Vector3(0, 0, 0));
    EXPECT_TRUE(allNonFinite(same.normal));
}
