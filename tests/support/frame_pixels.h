// frame_pixels.h - a whole frame read back from a GL test's window, with the questions
// the GL tests ask of it: pixels of a kind, where they lie, and a copy as a PNG file.
// Every GL test that counts pixels or looks for a lit region asks it here.
#ifndef KORVALINTH_TESTS_FRAME_PIXELS_H
#define KORVALINTH_TESTS_FRAME_PIXELS_H

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "gl_test_context.h"
#include "platform.h"

bool near(Rgb a, Rgb b, int tolerance);

// The pixels that pass a test within a rectangle: how many, their bounds and mean.
struct PixelRegion {
    int count = 0;
    int minX = 0, minY = 0, maxX = -1, maxY = -1;
    double meanX = 0, meanY = 0;
};

// The places (x, y) within [x0, x1) x [y0, y1) that pass a test. FramePixels asks it of
// colours; the HUD's reading asks it of the depth buffer (hud_text.h).
PixelRegion findPlaces(const std::function<bool(int, int)>& test, int x0, int y0, int x1, int y1);

class FramePixels {
public:
    // GL_BACK for what is being drawn; GL_FRONT for the frame last swapped to the screen.
    explicit FramePixels(GLenum buffer = GL_BACK);

    int width() const { return width_; }
    int height() const { return height_; }
    // y counted from the bottom row, as OpenGL does.
    Rgb at(int x, int y) const;
    // Within [x0, x1) x [y0, y1); a negative x1 or y1 stands for the width or height.
    PixelRegion find(const std::function<bool(Rgb)>& test, int x0 = 0, int y0 = 0,
                     int x1 = -1, int y1 = -1) const;
    // The same, for a test that also asks where the pixel is (x, y).
    PixelRegion findWhere(const std::function<bool(int, int, Rgb)>& test, int x0 = 0, int y0 = 0,
                          int x1 = -1, int y1 = -1) const;
    int count(const std::function<bool(Rgb)>& test, int x0 = 0, int y0 = 0, int x1 = -1,
              int y1 = -1) const {
        return find(test, x0, y0, x1, y1).count;
    }
    // Pixels within tolerance of the colour in each channel, in the whole frame.
    int count(Rgb colour, int tolerance) const {
        return count([&](Rgb c) { return near(c, colour, tolerance); });
    }
    // The same size and every pixel the same.
    bool operator==(const FramePixels& other) const {
        return width_ == other.width_ && height_ == other.height_ && rgb_ == other.rgb_;
    }
    bool writePng(const std::string& path) const;

private:
    int width_, height_;
    std::vector<unsigned char> rgb_;
};

// Where screenshot tests put their pictures: the folder KORV_SCREENSHOT_DIR names, or
// screenshots/ in the build folder.
std::filesystem::path screenshotDir();

// Writes the frame as test-pictures/<name>.png in the build folder, for a person to look
// at, and returns a line naming the file. Meant for a failure message, which gtest only
// builds when the check fails: EXPECT_...(...) << keptPicture(frame, "hud-20");
std::string keptPicture(const FramePixels& frame, const std::string& name);

#endif
