// images.cpp - the pictures, drawn by formula.
#include "images.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {


Rgb8 mix(Rgb8 a, Rgb8 b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {static_cast<uint8_t>(std::lround(a.r + (b.r - a.r) * t)),
            static_cast<uint8_t>(std::lround(a.g + (b.g - a.g) * t)),
            static_cast<uint8_t>(std::lround(a.b + (b.b - a.b) * t))};
}

// Smooth value noise on a lattice, from an integer hash: the same on every run.
double latticeValue(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

double smoothNoise(double x, double y) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = latticeValue(ix, iy) + (latticeValue(ix + 1, iy) - latticeValue(ix, iy)) * sx;
    const double bottom = latticeValue(ix, iy + 1) + (latticeValue(ix + 1, iy + 1) - latticeValue(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

// The world seen in direction (x, y, z) (y up, the viewer looking along -z): a bright
// sky with clouds and a sun over a warm grey ground, split by a white horizon.
Rgb8 environment(double x, double y, double z) {
    const Rgb8 zenith{96, 150, 230}, skyLow{214, 230, 250}, horizon{255, 255, 255};
    const Rgb8 groundNear{62, 54, 48}, groundFar{120, 112, 104};
    const double elevation = std::asin(std::clamp(y, -1.0, 1.0));
    if (elevation < 0) {
        const Rgb8 ground = mix(groundFar, groundNear, -elevation / 1.2);
        return mix(horizon, ground, -elevation / 0.06);
    }
    Rgb8 sky = mix(skyLow, zenith, elevation / 1.3);
    const double azimuth = std::atan2(x, -z);
    const double cloud = smoothNoise(azimuth * 2.5 + 10.0, elevation * 6.0) * 0.6 +
                         smoothNoise(azimuth * 6.0 + 3.0, elevation * 14.0) * 0.4;
    sky = mix(sky, Rgb8{250, 250, 252}, (cloud - 0.55) * 2.2 * (1.0 - elevation / 1.6));
    const double sunX = -0.45, sunY = 0.6, sunZ = -0.66;  // up and to the left, ahead
    const double toSun = x * sunX + y * sunY + z * sunZ;
    sky = mix(sky, Rgb8{255, 252, 235}, std::pow(std::max(toSun, 0.0), 60.0) * 1.5);
    return mix(horizon, sky, elevation / 0.05);
}

}  // namespace

// The body samples this image by sphere mapping: texel (s, t) shows what a mirror ball
// reflects at s, t, so the picture is the environment as a mirror ball shows it, with
// the sky in the upper half (t > 0.5) and the ground in the lower half.
Picture makeSkyPicture() {
    Picture picture(skySize, skySize);
    for (int row = 0; row < skySize; ++row) {
        for (int col = 0; col < skySize; ++col) {
            const double u = 2.0 * (col + 0.5) / skySize - 1.0;
            const double v = 1.0 - 2.0 * (row + 0.5) / skySize;  // row 0 is the top: t = 1
            const double d2 = std::min(u * u + v * v, 1.0);
            const double nz = std::sqrt(1.0 - d2);
            const double scale = std::sqrt(u * u + v * v) > 1.0 ? 1.0 / std::sqrt(u * u + v * v) : 1.0;
            const double nx = u * scale, ny = v * scale;
            // Reflection of the view ray (0, 0, -1) about the ball's normal.
            picture.at(col, row) = environment(2 * nz * nx, 2 * nz * ny, 2 * nz * nz - 1);
        }
    }
    return picture;
}

// The start line repeats the picture 2 times across its 30 units and 10 times along its
// 10 units, so one picture covers 15 x 1 world units. 32 x 2 cells of 8 x 8 pixels give
// cells of about half a unit square, and the even counts keep the chequer seamless.
Picture makeCheckerPicture() {
    const int cell = 8, across = 32, along = 2;
    Picture picture(across * cell, along * cell);
    const Rgb8 light{240, 240, 240}, dark{16, 16, 16};
    for (int row = 0; row < picture.height; ++row)
        for (int col = 0; col < picture.width; ++col)
            picture.at(col, row) = ((row / cell + col / cell) % 2 == 0) ? light : dark;
    return picture;
}

// The minimap draws each marker from the very start of the pixel buffer (bottom row
// first, red-green-blue after the loader's swap), in rows of the marker's own width
// padded to 4 bytes:
//   posts, 1 x 1:      bytes 0-2,
//   opponents, 4 x 4:  bytes 0-47 (rows of 12 bytes),
//   player, 6 x 6:     bytes 20r + 3c + 0..2 for row r, column c (rows of 18 bytes
//                      padded to 20).
// So bytes 0-2 are shared by all three and bytes 3-47 by both cars. The choice here:
//   - pixel 0 is the post colour (light yellow), so every car marker has one yellow
//     corner pixel (bottom left);
//   - buffer pixels 1-15 are orange-red: the opponents are orange-red squares;
//   - the player's rows 3-5 and the free part of row 2 are green. Its row 0 is buffer
//     pixels 0-5 (yellow and orange-red); row 1 starts at byte 20, one byte into a pixel,
//     so it reads the orange-red bytes turned (blue, red, green) = (0, 255, 64): the
//     green chosen for the player. Row 2's first three pixels start two bytes into a
//     pixel and read (green, blue, red) = (64, 0, 255), a short violet dash.
// The player's marker is therefore a larger green square (27 of its 36 pixels) with an
// orange-red bottom row, the opponents small orange-red squares, the posts yellow dots.
Picture makeMapPicture() {
    const int width = 16, height = 8;
    std::vector<uint8_t> buffer(width * height * 3, 40);  // unused: dark grey
    auto put = [&](size_t at, Rgb8 c) {
        buffer[at] = c.r;
        buffer[at + 1] = c.g;
        buffer[at + 2] = c.b;
    };
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 6; ++c) put(20 * r + 3 * c, playerMarkerColour);
    for (int p = 0; p < 16; ++p) put(3 * p, opponentMarkerColour);
    buffer[48] = 255;  // third byte of the player's row-2 column-2 pixel: violet like its neighbours
    put(0, postMarkerColour);

    // The buffer is the file's pixel block after the loader's swap; the file holds it
    // blue-green-red, and its first row is the picture's bottom row.
    Picture picture(width, height);
    for (int p = 0; p < width * height; ++p) {
        const int row = p / width, col = p % width;
        picture.at(col, height - 1 - row) = {buffer[3 * p], buffer[3 * p + 1], buffer[3 * p + 2]};
    }
    return picture;
}
