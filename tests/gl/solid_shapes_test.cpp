// solid_shapes_test.cpp - the torus, sphere and cube of the shop previews: their size,
// plane and outward normals on screen, and one display list per distinct size.
#include <gtest/gtest.h>

#include <cmath>

#include "frame_pixels.h"
#include "gl_test_context.h"
#include "solid_shapes.h"

namespace {

// 640 x 480 pixels over 40 x 30 units: 16 pixels per unit, the origin at (320, 240).
const int pixelsPerUnit = 16;

class SolidShapes : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(openTestWindow(640, 480), nullptr);
        glDisable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0, 0, 0, 0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-20, 20, -15, 15, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        clear();
    }
    static void clear() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
};

Rgb pixelAt(double x, double y) { return readPixel(int(std::lround(x)), int(std::lround(y))); }

bool lit(double x, double y) {
    Rgb p = pixelAt(x, y);
    return p.r + p.g + p.b > 60;
}

TEST_F(SolidShapes, TorusRingLiesInTheXYPlaneAroundZWithItsHoleOpen) {
    glColor3f(1, 1, 1);
    solidTorus(1, 10);
    // The tube's middle at the ring radius, on both axes; the hole and the outside dark.
    EXPECT_TRUE(lit(320 + 10 * pixelsPerUnit, 240));
    EXPECT_TRUE(lit(320, 240 - 10 * pixelsPerUnit));
    EXPECT_FALSE(lit(320, 240));
    EXPECT_FALSE(lit(320 + 5 * pixelsPerUnit, 240));
    EXPECT_FALSE(lit(320 + 12 * pixelsPerUnit, 240));
    // 15 flat segments: the ring covers about the area of a tube of width 2 around it.
    double area = 2.0 * 3.14159 * 10 * 2 * pixelsPerUnit * pixelsPerUnit;
    EXPECT_NEAR(FramePixels().count({255, 255, 255}, 10), area, area * 0.1);

    // Seen edge on (turned about x), the ring is a bar two units high.
    clear();
    glRotatef(90, 1, 0, 0);
    solidTorus(1, 10);
    EXPECT_TRUE(lit(320, 240));
    EXPECT_TRUE(lit(320, 240 + pixelsPerUnit / 2));
    EXPECT_FALSE(lit(320, 240 + 2 * pixelsPerUnit));
    EXPECT_TRUE(lit(320 + 10 * pixelsPerUnit, 240));
}

TEST_F(SolidShapes, SphereAndCubeAreFilledAndSizedByRadiusAndCentredEdge) {
    glColor3f(1, 1, 1);
    solidSphere(5);
    double disc = 3.14159 * 25 * pixelsPerUnit * pixelsPerUnit;
    EXPECT_NEAR(FramePixels().count({255, 255, 255}, 10), disc, disc * 0.05);
    EXPECT_TRUE(lit(320, 240));
    EXPECT_FALSE(lit(320 + 6 * pixelsPerUnit, 240));

    clear();
    solidCube(10);
    int square = 10 * pixelsPerUnit * 10 * pixelsPerUnit;
    EXPECT_NEAR(FramePixels().count({255, 255, 255}, 10), square, square * 0.03);
    EXPECT_TRUE(lit(320 - 4.8 * pixelsPerUnit, 240 - 4.8 * pixelsPerUnit));
    EXPECT_FALSE(lit(320 + 5.3 * pixelsPerUnit, 240));
    EXPECT_FALSE(lit(320, 240 - 5.3 * pixelsPerUnit));
}

// With a light straight along the view, outward normals make a face turned to the viewer
// bright and one seen at a grazing angle dark; smooth normals grade the sphere's shading.
TEST_F(SolidShapes, NormalsPointOutwardAndShadeTheSphereSmoothly) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float towardsViewer[4] = {0, 0, 1, 0};
    const float white[4] = {1, 1, 1, 1};
    const float black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1, 1, 1);

    solidSphere(10);
    int centre = readPixel(320, 240).r;
    int half = readPixel(320 + 5 * pixelsPerUnit, 240).r;
    int rim = pixelAt(320 + 9.5 * pixelsPerUnit, 240).r;
    EXPECT_GT(centre, 240);
    // n.z = cos(asin(0.5)) = 0.87 halfway out; a flat-faceted sphere would step, not grade.
    EXPECT_NEAR(half, 0.87 * 255, 15);
    EXPECT_LT(rim, 110);

    clear();
    solidCube(10);
    EXPECT_GT(readPixel(320, 240).r, 240);  // the +z face, facing the viewer

    clear();
    solidTorus(2, 10);
    EXPECT_GT(readPixel(320 + 10 * pixelsPerUnit, 240).r, 230);  // top of the tube
    glDisable(GL_LIGHTING);
}

TEST_F(SolidShapes, EachDistinctSizeCompilesOneListThatLaterCallsReplay) {
    GLuint before = glGenLists(1);
    solidTorus(1, 10);
    solidTorus(1, 10);
    solidTorus(1, 7);
    solidSphere(1);
    solidSphere(1);
    solidCube(1);
    solidCube(1);
    GLuint after = glGenLists(1);
    EXPECT_EQ(after, before + 5);  // torus 1/10, torus 1/7, sphere 1, cube 1

    // The replay draws what the first call drew.
    clear();
    glColor3f(1, 1, 1);
    solidSphere(3);
    int first = FramePixels().count({255, 255, 255}, 10);
    clear();
    solidSphere(3);
    EXPECT_EQ(FramePixels().count({255, 255, 255}, 10), first);
    EXPECT_GT(first, 0);
}

TEST_F(SolidShapes, SizesBeyondTheCacheStillDraw) {
    glColor3f(1, 1, 1);
    for (int i = 1; i <= 60; ++i) solidTorus(0.1f * i, 10);
    clear();
    solidTorus(1, 3);  // a size the full cache has no room for
    EXPECT_TRUE(lit(320 + 3 * pixelsPerUnit, 240));
    EXPECT_FALSE(lit(320, 240));
}

}  // namespace
