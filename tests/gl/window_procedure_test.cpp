// window_procedure_test.cpp - the game window's procedure: the context it makes, the
// projection it sets on resize, the key table, and what a close does.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gl_test_context.h"
#include "test_hooks.h"
#include "window_procedure.h"

namespace {

LPARAM sizeParameter(int width, int height) { return LPARAM(height) << 16 | LPARAM(width); }

// gluPerspective's matrix: [5] is 1 / tan(fovy / 2) and [0] is that divided by the aspect.
void expectStartingProjection(double aspect) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double pi = 3.14159265358979323846;
    double f = 1.0 / std::tan(27.0 * pi / 180.0);
    EXPECT_NEAR(m[5], f, 1e-6);
    EXPECT_NEAR(m[0], f / aspect, 1e-6);
    // near 1, far 1000
    EXPECT_NEAR(m[10], -1001.0 / 999.0, 1e-6);
    EXPECT_NEAR(m[14], -2000.0 / 999.0, 1e-6);
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0 : 0.0);
    GLint mode;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

class WindowProcedure : public ::testing::Test {
protected:
    void SetUp() override {
        window = openTestWindow();
        ASSERT_NE(window, nullptr);
    }
    HWND window = nullptr;
};

}  // namespace

TEST_F(WindowProcedure, CreationMakesACurrentContextWithDepthAndStencil) {
    ASSERT_NE(deviceContext, nullptr);
    EXPECT_EQ(deviceContext, GetDC(window));
    ASSERT_NE(renderContext, nullptr);
    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    GLint depth = 0, stencil = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_GE(depth, 16);
    EXPECT_GE(stencil, 8);
    // The first WM_SIZE came during creation, with the client size.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    expectStartingProjection(640.0 / 480.0);
}

TEST_F(WindowProcedure, TheFrameCanBeReadBackAfterTheSwap) {
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(SwapBuffers(deviceContext));
    Rgb pixel = readPixel(320, 240);
    EXPECT_EQ(pixel.r, 255);
    EXPECT_EQ(pixel.g, 0);
    EXPECT_EQ(pixel.b, 0);
}

TEST_F(WindowProcedure, ResizeSetsTheViewportAndTheStartingProjection) {
    struct Case {
        int width, height;
        int viewportHeight;
        double aspect;
    };
    // A height of 0 is taken as 1: the aspect is then the width itself.
    const Case cases[] = {{800, 600, 600, 800.0 / 600.0}, {1024, 786, 786, 1024.0 / 786.0},
                          {640, 0, 1, 640.0}, {1, 1, 1, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        EXPECT_EQ(windowProcedure(window, WM_SIZE, 0, sizeParameter(c.width, c.height)), 0);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.viewportHeight);
        expectStartingProjection(c.aspect);
    }
}

TEST_F(WindowProcedure, KeyDownStaysThroughRepeatsUntilOneKeyUp) {
    const WPARAM keyA = 0x41;
    EXPECT_FALSE(keyDown[keyA]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(windowProcedure(window, WM_KEYDOWN, keyA, i ? LPARAM(1) << 30 | 1 : 1), 0);
        EXPECT_TRUE(keyDown[keyA]);
    }
    EXPECT_EQ(windowProcedure(window, WM_KEYUP, keyA, 0), 0);
    EXPECT_FALSE(keyDown[keyA]);
    for (int k = 0; k < 256; ++k) EXPECT_FALSE(keyDown[k]) << k;
}

TEST_F(WindowProcedure, KeysWithAltLeaveTheKeyTableAlone) {
    const WPARAM keyA = 0x41;
    const LPARAM altHeld = LPARAM(1) << 29;
    windowProcedure(window, WM_SYSKEYDOWN, keyA, altHeld | 1);
    EXPECT_FALSE(keyDown[keyA]);
    windowProcedure(window, WM_KEYDOWN, keyA, 1);
    windowProcedure(window, WM_SYSKEYUP, keyA, altHeld | 1);
    EXPECT_TRUE(keyDown[keyA]);
}

TEST_F(WindowProcedure, CodesOutsideTheTableAreIgnored) {
    bool before[256];
    std::memcpy(before, keyDown, sizeof before);
    for (WPARAM code : {WPARAM(256), WPARAM(257), WPARAM(0x1000), ~WPARAM(0)}) {
        windowProcedure(window, WM_KEYDOWN, code, 1);
        windowProcedure(window, WM_KEYUP, code, 1);
        windowProcedure(window, WM_KEYDOWN, code, 1);
    }
    EXPECT_EQ(std::memcmp(before, keyDown, sizeof before), 0);
    // The edges of the table are in it.
    windowProcedure(window, WM_KEYDOWN, 255, 1);
    windowProcedure(window, WM_KEYDOWN, 0, 1);
    EXPECT_TRUE(keyDown[255]);
    EXPECT_TRUE(keyDown[0]);
}

TEST_F(WindowProcedure, CloseReleasesTheContextAndPostsQuitWithZero) {
    EXPECT_EQ(windowProcedure(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(glGetString(GL_VERSION), nullptr) << "a context is still current";
    EXPECT_EQ(renderContext, nullptr);
    // The window and its device context stay.
    EXPECT_EQ(GetDC(window), deviceContext);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    EXPECT_EQ(message.wParam, WPARAM(0));
    EXPECT_FALSE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    // A second close (two clicks before the loop takes the quit) has nothing to free.
    EXPECT_EQ(windowProcedure(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(renderContext, nullptr);
}

TEST_F(WindowProcedure, AltF4BecomesACloseThroughTheDefaultProcedure) {
    const WPARAM keyF4 = 0x73;
    const LPARAM altHeld = LPARAM(1) << 29;
    windowProcedure(window, WM_SYSKEYDOWN, keyF4, altHeld | 1);
    EXPECT_EQ(renderContext, nullptr);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
}

TEST_F(WindowProcedure, F4WithoutAltClosesNothing) {
    windowProcedure(window, WM_KEYDOWN, 0x73, 1);
    EXPECT_NE(renderContext, nullptr);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
}

TEST(PixelFormat, AsksForADoubleBufferedRgbaWindowFormat) {
    EXPECT_EQ(sizeof(PIXELFORMATDESCRIPTOR), 40u);
    const PIXELFORMATDESCRIPTOR& d = pixelFormatDescriptor;
    EXPECT_EQ(d.nSize, 40);
    EXPECT_EQ(d.nVersion, 1);
    EXPECT_EQ(d.dwFlags, DWORD(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER));
    EXPECT_EQ(d.iPixelType, PFD_TYPE_RGBA);
    EXPECT_EQ(d.cColorBits, 32);
    EXPECT_EQ(d.cDepthBits, 16);
    EXPECT_EQ(d.cStencilBits, 16);
    EXPECT_EQ(d.cAlphaBits, 0);
    EXPECT_EQ(d.cAccumBits, 0);
    EXPECT_EQ(d.iLayerType, PFD_MAIN_PLANE);
}
