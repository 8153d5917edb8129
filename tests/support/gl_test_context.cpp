// gl_test_context.cpp - the game window for GL tests.
#include "gl_test_context.h"

#include <cstdlib>
#include <vector>

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

static std::vector<unsigned char> backBuffer() {
    std::vector<unsigned char> pixels(size_t(screenWidth) * screenHeight * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

int countPixels(Rgb c, int tolerance) {
    std::vector<unsigned char> pixels = backBuffer();
    int count = 0;
    for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
        if (std::abs(pixels[i] - c.r) <= tolerance && std::abs(pixels[i + 1] - c.g) <= tolerance &&
            std::abs(pixels[i + 2] - c.b) <= tolerance)
            ++count;
    }
    return count;
}
