// frame_pixels.cpp - reading a frame back and asking it where its pixels are.
#include "frame_pixels.h"

#include <cstdlib>

#include "png_writer.h"
#include "test_paths.h"
#include "world.h"

bool near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

FramePixels::FramePixels(GLenum buffer)
    : width_(screenWidth), height_(screenHeight), rgb_(size_t(screenWidth) * screenHeight * 3) {
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb_.data());
    glReadBuffer(GL_BACK);
}

Rgb FramePixels::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{0, 0, 0};
    const unsigned char* p = &rgb_[(size_t(y) * width_ + x) * 3];
    return Rgb{p[0], p[1], p[2]};
}

PixelRegion FramePixels::find(const std::function<bool(Rgb)>& test, int x0, int y0, int x1,
                              int y1) const {
    return findWhere([&](int, int, Rgb c) { return test(c); }, x0, y0, x1, y1);
}

PixelRegion FramePixels::findWhere(const std::function<bool(int, int, Rgb)>& test, int x0,
                                   int y0, int x1, int y1) const {
    if (x1 < 0 || x1 > width_) x1 = width_;
    if (y1 < 0 || y1 > height_) y1 = height_;
    return findPlaces([&](int x, int y) { return test(x, y, at(x, y)); }, x0, y0, x1, y1);
}

PixelRegion findPlaces(const std::function<bool(int, int)>& test, int x0, int y0, int x1, int y1) {
    PixelRegion region;
    double sumX = 0, sumY = 0;
    for (int y = y0 < 0 ? 0 : y0; y < y1; ++y)
        for (int x = x0 < 0 ? 0 : x0; x < x1; ++x) {
            if (!test(x, y)) continue;
            if (region.count == 0) {
                region.minX = region.maxX = x;
                region.minY = region.maxY = y;
            }
            if (x < region.minX) region.minX = x;
            if (x > region.maxX) region.maxX = x;
            if (y < region.minY) region.minY = y;
            if (y > region.maxY) region.maxY = y;
            sumX += x;
            sumY += y;
            ++region.count;
        }
    if (region.count > 0) {
        region.meanX = sumX / region.count;
        region.meanY = sumY / region.count;
    }
    return region;
}

bool FramePixels::writePng(const std::string& path) const {
    return png::write(path, width_, height_, rgb_);
}

std::filesystem::path screenshotDir() {
    const char* wanted = std::getenv("KORV_SCREENSHOT_DIR");
    if (wanted && *wanted) return std::filesystem::absolute(wanted);
    return std::filesystem::path(binaryDir()) / "screenshots";
}

std::string keptPicture(const FramePixels& frame, const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(binaryDir()) / "test-pictures";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    std::filesystem::path file = dir / (name + ".png");
    if (!frame.writePng(file.string())) return "(could not write " + file.string() + ")";
    return "(the frame is in " + file.string() + ")";
}
