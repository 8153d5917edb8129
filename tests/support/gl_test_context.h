// gl_test_context.h - a real game window and OpenGL context for GL tests, made the way
// the entry point makes it (class, window procedure, WM_CREATE), headless under SDL's
// offscreen driver.
#ifndef KORVALINTH_TESTS_GL_TEST_CONTEXT_H
#define KORVALINTH_TESTS_GL_TEST_CONTEXT_H

#include "platform.h"

struct Rgb {
    int r, g, b;
};

// Opens the game window through the entry point's own steps (openGameWindow): client
// width x height, windowed as configuration 1 starts, the context current; sets
// screenWidth and screenHeight, and turns the frame pacing off. Returns null when no
// window could be made.
HWND openTestWindow(int width = 640, int height = 480);

// Pixel (x, y) of the back buffer, y counted from the bottom row as OpenGL does. Counts
// and regions of pixels are FramePixels' (frame_pixels.h).
Rgb readPixel(int x, int y);

#endif
