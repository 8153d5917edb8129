// hover_car_draw_test.cpp - a car drawn in a real context shows its body where the
// chase view expects it, tinted and sphere-mapped with the skin, and leaves the GL state
// the race frame relies on; a destroyed car shows its blue blast sphere.
#include <gtest/gtest.h>

#include <cstdlib>

#include "frame_pixels.h"
#include "gl_test_context.h"
#include "world.h"

namespace {

const int width = 320, height = 240;

// A stand-in body: a box 2 x 2 x 1 world units in model units (z up, as the model is).
void compileBoxBody(GLuint list) {
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    const float s = 10, h = 5;
    const float faces[6][4][3] = {
        {{-s, -s, h}, {s, -s, h}, {s, s, h}, {-s, s, h}},
        {{-s, -s, -h}, {-s, s, -h}, {s, s, -h}, {s, -s, -h}},
        {{-s, -s, -h}, {s, -s, -h}, {s, -s, h}, {-s, -s, h}},
        {{-s, s, -h}, {-s, s, h}, {s, s, h}, {s, s, -h}},
        {{-s, -s, -h}, {-s, -s, h}, {-s, s, h}, {-s, s, -h}},
        {{s, -s, -h}, {s, s, -h}, {s, s, h}, {s, -s, h}},
    };
    for (const auto& face : faces) {
        for (const auto& v : face) glVertex3f(v[0], v[1], v[2]);
    }
    glEnd();
    glEndList();
}

// A one-colour skin, so the sphere mapping gives the same texel everywhere.
GLuint makeSkinTexture(unsigned char grey) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const unsigned char texels[2 * 2 * 3] = {grey, grey, grey, grey, grey, grey,
                                             grey, grey, grey, grey, grey, grey};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

bool near(const Rgb& got, int r, int g, int b, int tolerance = 12) {
    return std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance &&
           std::abs(got.b - b) <= tolerance;
}

class HoverCarDraw : public ::testing::Test {
protected:
    TextureImage skin = {};
    Md2Model model = {};

    void SetUp() override {
        ASSERT_NE(openTestWindow(width, height), nullptr);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, double(width) / height, 0.1, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // As the start-up leaves it.
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glClearColor(0, 0, 0, 0);

        carModelList = glGenLists(1);
        compileBoxBody(carModelList);
        skin.texture = makeSkinTexture(128);
        model.skin = &skin;
        carModel = &model;
    }

    // The chase view: behind the car at (50, 0, -25) facing +x, looking ahead of it.
    void clearAndLookAtGrid() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(42, 4, -25, 50, 1, -25, 0, 1, 0);
    }
};

}  // namespace

TEST_F(HoverCarDraw, BodyShowsAtTheCarsPlaceTintedByItsColourAndSkin) {
    HoverCar& car = otherCars[0];
    car.position = Vector3(50, 0, -25);
    car.color = Vector3(1, 0, 0);

    clearAndLookAtGrid();
    car.draw();
    // The skin's grey halves the red under the default modulate environment.
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 128, 0, 0))
        << readPixel(width / 2, height / 2).r;
    EXPECT_TRUE(near(readPixel(5, height - 5), 0, 0, 0));
    EXPECT_GT(FramePixels().count(Rgb{128, 0, 0}, 12), 500);

    // Moved toward -z it shows on the left of a view that faces +x.
    clearAndLookAtGrid();
    car.position = Vector3(50, 0, -28);
    car.draw();
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 0, 0, 0));
    const FramePixels frame;
    auto body = [](Rgb c) { return near(c, 128, 0, 0); };
    EXPECT_GT(frame.count(body, 0, height / 2, width / 2, height / 2 + 1), 0);
    EXPECT_EQ(frame.count(body, width / 2, height / 2, width, height / 2 + 1), 0);
}

TEST_F(HoverCarDraw, LeavesOpaqueWhiteBlendTexturingOffAndTexGenOn) {
    for (bool hit : {false, true}) {
        SCOPED_TRACE(hit);
        HoverCar& car = otherCars[1];
        car.position = Vector3(50, 0, -25);
        car.hitThisFrame = hit;
        car.heading = 0.7f;
        clearAndLookAtGrid();
        GLfloat before[16], after[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);

        car.draw();

        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(after[i], before[i]) << i;
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 1);
        EXPECT_FLOAT_EQ(colour[1], 1);
        EXPECT_FLOAT_EQ(colour[2], 1);
        EXPECT_FLOAT_EQ(colour[3], 1);
        GLint source = 0, destination = 0;
        glGetIntegerv(GL_BLEND_SRC, &source);
        glGetIntegerv(GL_BLEND_DST, &destination);
        EXPECT_EQ(source, GL_SRC_ALPHA);
        EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
        GLint mode = 0;
        glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &mode);
        EXPECT_EQ(mode, GL_SPHERE_MAP);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(HoverCarDraw, AHitCarIsDrawnAdditively) {
    HoverCar& car = otherCars[2];
    car.position = Vector3(50, 0, -25);
    car.color = Vector3(0, 0.5f, 0);
    clearAndLookAtGrid();
    // A grey backdrop behind the car: additive drawing adds the body onto it.
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(0.25f, 0.25f, 0.25f);
    glRectf(-1, -1, 1, 1);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);

    car.hitThisFrame = true;
    car.draw();
    // 0.25 grey plus half of half green: (64, 128, 64), where blending over would
    // have given (0, 64, 0).
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 64, 128, 64))
        << readPixel(width / 2, height / 2).g;
}

TEST_F(HoverCarDraw, WithoutASkinTheBodyIsDrawnUntextured) {
    skin.texture = 0;
    model.skin = nullptr;
    HoverCar& car = otherCars[3];
    car.position = Vector3(50, 0, -25);
    car.color = Vector3(1, 0, 0);
    clearAndLookAtGrid();
    car.draw();
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 255, 0, 0));

    carModel = nullptr;
    clearAndLookAtGrid();
    car.draw();
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 255, 0, 0));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(HoverCarDraw, ADestroyedCarShowsItsBlastSphere) {
    quadric = gluNewQuadric();
    ballModelList = glGenLists(1);   // the debris balls: an empty list here
    glNewList(ballModelList, GL_COMPILE);
    glEndList();
    HoverCar& car = otherCars[0];
    car.position = Vector3(60, 0, -25);
    car.destroyed = true;
    car.blastRadius = 6;
    frameTime = 0.02f;
    clearAndLookAtGrid();
    car.drawExplosion();
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 0, 0, 255));
    EXPECT_EQ(car.blastRadius, 7);
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);

    // From radius 50 on the sphere adds nothing under the additive blend.
    car.blastRadius = 55;
    clearAndLookAtGrid();
    car.drawExplosion();
    EXPECT_TRUE(near(readPixel(width / 2, height / 2), 0, 0, 0));
}
