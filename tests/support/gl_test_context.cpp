// gl_test_context.cpp - the game window for GL tests.
#include "gl_test_context.h"

#include "frame_pacing.h"
#include "game_window.h"
#include "world.h"

HWND openTestWindow(int width, int height) {
    // A test's frames run as fast as they can: their subject is not the time between
    // them. The tests of the pacing turn it back on.
    setFramePacing(false);
    return openGameWindow(nullptr, width, height);
}

Rgb readPixel(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return Rgb{p[0], p[1], p[2]};
}
