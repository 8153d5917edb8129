// data_files_test.cpp - the data files the build makes: the set of files, the same bytes
// on every run, the layouts the game's readers take, and the promises of the outlines
// and the camera path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bitmap.h"
#include "file_bytes.h"
#include "geometry.h"
#include "images.h"
#include "outlines.h"
#include "test_paths.h"
#include "track_walls.h"

namespace fs = std::filesystem;

namespace {

const char* const expectedFiles[] = {
    "models/ogro/tris.md2", "models/ogro/ball.md2", "sky.bmp",   "checker.bmp", "map.bmp",
    "windx.txt",  "windy.txt",  "rockx.txt", "rocky.txt",  "waterx.txt", "watery.txt",
    "firex.txt",  "firey.txt",  "camerax.txt", "cameray.txt",
};

std::vector<uint8_t> bytesOf(const fs::path& path) {
    const std::string bytes = fileBytes(path.string());
    return {bytes.begin(), bytes.end()};
}

uint32_t u32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t u16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
float f32At(const std::vector<uint8_t>& b, size_t at) {
    const uint32_t bits = u32At(b, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Pairs of numbers read from an x file and a z file the way the outline reader does,
// up to and including the first pair of two zeros.
std::vector<GroundPoint> readPairs(const std::string& xName, const std::string& zName, bool& ended) {
    std::ifstream xs(fs::path(dataDir()) / xName), zs(fs::path(dataDir()) / zName);
    std::vector<GroundPoint> pairs;
    ended = false;
    float x = 0, z = 0;
    while (pairs.size() < 10000 && (xs >> x) && (zs >> z)) {
        pairs.push_back({x, z});
        if (x == 0 && z == 0) {
            ended = true;
            break;
        }
    }
    return pairs;
}

std::vector<GroundPoint> readCameraPairs(bool& ended) {
    std::ifstream xs(fs::path(dataDir()) / "camerax.txt"), zs(fs::path(dataDir()) / "cameray.txt");
    std::vector<GroundPoint> pairs;
    ended = false;
    float x = 0, z = 0;
    while ((xs >> x) && (zs >> z)) {
        pairs.push_back({x, z});
        if (z == 0) {
            ended = true;
            break;
        }
    }
    return pairs;
}

struct Md2File {
    std::vector<uint8_t> bytes;
    int frameSize, vertexCount, texturePointCount, triangleCount, frameCount;
    int texturePointsAt, trianglesAt, framesAt, endAt;

    explicit Md2File(const std::string& name) : bytes(bytesOf(fs::path(dataDir()) / name)) {
        frameSize = static_cast<int>(u32At(bytes, 16));
        vertexCount = static_cast<int>(u32At(bytes, 24));
        texturePointCount = static_cast<int>(u32At(bytes, 28));
        triangleCount = static_cast<int>(u32At(bytes, 32));
        frameCount = static_cast<int>(u32At(bytes, 40));
        texturePointsAt = static_cast<int>(u32At(bytes, 48));
        trianglesAt = static_cast<int>(u32At(bytes, 52));
        framesAt = static_cast<int>(u32At(bytes, 56));
        endAt = static_cast<int>(u32At(bytes, 64));
    }
    // Decoded as the loader does: byte x scale + translate, axes as stored.
    std::vector<Vec3> frame(int f) const {
        const size_t at = static_cast<size_t>(framesAt) + static_cast<size_t>(f) * frameSize;
        std::vector<Vec3> v;
        for (int i = 0; i < vertexCount; ++i) {
            const size_t p = at + 40 + 4 * static_cast<size_t>(i);
            v.push_back({bytes[p] * f32At(bytes, at) + f32At(bytes, at + 12),
                         bytes[p + 1] * f32At(bytes, at + 4) + f32At(bytes, at + 16),
                         bytes[p + 2] * f32At(bytes, at + 8) + f32At(bytes, at + 20)});
        }
        return v;
    }
    int corner(int triangle, int k) const { return u16At(bytes, trianglesAt + 12 * triangle + 2 * k); }
};

// Signed volume of the triangles as the game issues them (corners 0, 2, 1):
// positive when their counter-clockwise sides, the front faces, are outside.
double drawnVolume(const Md2File& m, const std::vector<Vec3>& v) {
    double volume = 0;
    for (int t = 0; t < m.triangleCount; ++t) {
        const Vec3 a = v[m.corner(t, 0)], b = v[m.corner(t, 2)], c = v[m.corner(t, 1)];
        volume += dot(a, cross(b, c)) / 6.0;
    }
    return volume;
}

// The car drawing's fixed turns: 90 degrees about (-1, 0, 0), then 45 about (0, 0, 1),
// applied to a model direction (the last rotation acts first).
Vec3 drawnDirection(Vec3 d) {
    const float c = std::cos(0.785398f), s = std::sin(0.785398f);
    const Vec3 turned{d.x * c - d.y * s, d.x * s + d.y * c, d.z};
    return {turned.x, turned.z, -turned.y};
}

}  // namespace

TEST(DataFiles, TheBuildMakesExactlyTheGamesFilesAndTheSameBytesOnEveryRun) {
    const std::string first = freshWorkDir("data-run-1", false), second = freshWorkDir("data-run-2", false);
    ASSERT_EQ(std::system((std::string("\"") + KORV_MAKE_DATA + "\" \"" + first + "\"").c_str()), 0);
    ASSERT_EQ(std::system((std::string("\"") + KORV_MAKE_DATA + "\" \"" + second + "\"").c_str()), 0);

    size_t made = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first))
        if (entry.is_regular_file()) ++made;
    EXPECT_EQ(made, std::size(expectedFiles));
    for (const char* name : expectedFiles) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> a = bytesOf(fs::path(first) / name);
        ASSERT_FALSE(a.empty());
        EXPECT_EQ(a, bytesOf(fs::path(second) / name));
        EXPECT_EQ(a, bytesOf(fs::path(dataDir()) / name));
    }
    EXPECT_FALSE(fs::exists(fs::path(first) / "lifebar.bmp"));
    EXPECT_FALSE(fs::exists(fs::path(first) / "proto.bmp"));
}

TEST(DataFiles, PicturesAre24BitUncompressedBottomUpWithUnpaddedRows) {
    for (const char* name : {"sky.bmp", "checker.bmp", "map.bmp"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> b = bytesOf(fs::path(dataDir()) / name);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        const int32_t width = static_cast<int32_t>(u32At(b, 18)), height = static_cast<int32_t>(u32At(b, 22));
        EXPECT_GT(height, 0);  // bottom-up
        EXPECT_EQ(width % 4, 0);
        EXPECT_EQ(u16At(b, 28), 24);
        EXPECT_EQ(u32At(b, 30), 0u);
        EXPECT_EQ(u32At(b, 34), static_cast<uint32_t>(width * height * 3));  // biSizeImage
        EXPECT_EQ(b.size(), u32At(b, 10) + u32At(b, 34));
        EXPECT_EQ(u32At(b, 2), b.size());
    }
}

TEST(DataFiles, EveryPictureLoadsThroughTheGamesReader) {
    for (const char* name : {"sky.bmp", "checker.bmp", "map.bmp"}) {
        SCOPED_TRACE(name);
        freshWorkDir("data-load");
        copyDataFilesHere();
        BITMAPINFOHEADER info{};
        unsigned char* pixels = loadBitmapFile(name, &info);
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(info.biBitCount, 24);
        EXPECT_GE(info.biSizeImage, static_cast<DWORD>(info.biWidth * info.biHeight * 3));
        std::free(pixels);
    }
}

TEST(DataFiles, MinimapMarkersShowThePlayerTheOpponentsAndThePostsApart) {
    // What the minimap draws: the loaded buffer (bottom row first, red-green-blue),
    // read from its start in rows of the marker's width padded to 4 bytes.
    const std::vector<uint8_t> file = bytesOf(fs::path(dataDir()) / "map.bmp");
    std::vector<uint8_t> buffer(file.begin() + u32At(file, 10), file.end());
    for (size_t i = 0; i + 2 < buffer.size(); i += 3) std::swap(buffer[i], buffer[i + 2]);
    auto marker = [&](int size, Rgb8 colour) {
        const int row = (size * 3 + 3) / 4 * 4;
        int count = 0;
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c) {
                const size_t at = static_cast<size_t>(r) * row + 3 * c;
                count += buffer[at] == colour.r && buffer[at + 1] == colour.g && buffer[at + 2] == colour.b;
            }
        return count;
    };
    EXPECT_EQ(marker(1, postMarkerColour), 1);
    EXPECT_EQ(marker(4, opponentMarkerColour), 15);  // all but the shared first pixel
    EXPECT_EQ(marker(6, playerMarkerColour), 27);
    EXPECT_EQ(marker(6, opponentMarkerColour), 5);
    EXPECT_EQ(marker(4, playerMarkerColour), 0);
}

TEST(DataFiles, ModelsHaveTwoFramesAndShowTheirOutsides) {
    for (const char* name : {"models/ogro/tris.md2", "models/ogro/ball.md2"}) {
        SCOPED_TRACE(name);
        const Md2File m(name);
        ASSERT_GE(m.frameCount, 2);
        EXPECT_EQ(m.frameSize, 40 + 4 * m.vertexCount);
        EXPECT_EQ(static_cast<size_t>(m.endAt), m.bytes.size());
        EXPECT_EQ(static_cast<size_t>(m.framesAt + m.frameCount * m.frameSize), m.bytes.size());
        EXPECT_GE(m.triangleCount, 20);
        EXPECT_LE(m.triangleCount, 500);
        for (int t = 0; t < m.triangleCount; ++t)
            for (int k = 0; k < 3; ++k) {
                ASSERT_LT(m.corner(t, k), m.vertexCount);
                ASSERT_LT(u16At(m.bytes, m.trianglesAt + 12 * t + 6 + 2 * k), m.texturePointCount);
            }
        for (int f = 0; f < m.frameCount; ++f) EXPECT_GT(drawnVolume(m, m.frame(f)), 0) << "frame " << f;
    }
}

TEST(DataFiles, BallIsAboutOnePointFiveInRadiusAroundItsCentre) {
    const Md2File ball("models/ogro/ball.md2");
    EXPECT_LE(ball.triangleCount, 100);
    for (const Vec3& v : ball.frame(1)) {
        EXPECT_GT(length(v), 1.3f);
        EXPECT_LT(length(v), 1.7f);
    }
}

TEST(DataFiles, CarIsTwentyUnitsNoseForwardAndUpAboveItsShadowPlane) {
    const Md2File car("models/ogro/tris.md2");
    const std::vector<Vec3> v = car.frame(1);
    Vec3 low = v[0], high = v[0];
    for (const Vec3& p : v) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    EXPECT_GT(high.y - low.y, 15.0f);  // about two world units after the race's 0.1 scale
    EXPECT_LT(high.y - low.y, 21.0f);
    EXPECT_LT(high.x - low.x, high.y - low.y);
    EXPECT_LT(high.z - low.z, high.x - low.x);
    EXPECT_GE(low.z, 0.0f);  // the flattened shadow, 10 below, stays above the ground
    EXPECT_LT(low.z, 1.5f);
    EXPECT_NEAR(low.x + high.x, 0.0f, 0.2f);  // left and right alike
    EXPECT_LT(std::fabs(low.y + high.y) / 2, 4.0f);  // near its position in the race

    // The nose is the narrow end: the points within 2 units of each end.
    auto widthNear = [&](float y) {
        float w = 0;
        for (const Vec3& p : v)
            if (std::fabs(p.y - y) < 2.0f) w = std::max(w, std::fabs(p.x));
        return w;
    };
    EXPECT_LT(widthNear(low.y), widthNear(high.y));
    // Drawn at heading 0, model -y (the nose) points along the player's direction there,
    // (1, 0, 1) / sqrt 2, and model +z points up.
    const Vec3 nose = drawnDirection({0, -1, 0}), up = drawnDirection({0, 0, 1});
    EXPECT_NEAR(nose.x, 0.7071f, 1e-3f);
    EXPECT_NEAR(nose.y, 0.0f, 1e-3f);
    EXPECT_NEAR(nose.z, 0.7071f, 1e-3f);
    EXPECT_NEAR(up.y, 1.0f, 1e-3f);
}

// Rotation by `degrees` about `axis`, as glRotatef does.
Vec3 rotated(Vec3 p, float degrees, Vec3 axis) {
    const Vec3 a = unit(axis);
    const float t = degrees * 3.14159265f / 180, c = std::cos(t), s = std::sin(t);
    return p * c + cross(a, p) * s + a * (dot(a, p) * (1 - c));
}

// Whether an eye-space point lies inside the view (70 degrees high, the narrowest
// aspect of the six configurations, near plane 1).
bool inView(Vec3 eye) {
    const float depth = -eye.z, tangent = std::tan(35.0f * 3.14159265f / 180);
    return depth > 1 && std::fabs(eye.y) <= tangent * depth && std::fabs(eye.x) <= tangent * 1.30f * depth;
}

TEST(DataFiles, TheSpinningCarStaysInViewOnTheMainMenuAndTheSetUpPage) {
    const std::vector<Vec3> car = Md2File("models/ogro/tris.md2").frame(1);
    for (int degrees = 0; degrees < 360; degrees += 3) {
        SCOPED_TRACE("spin " + std::to_string(degrees));
        for (const Vec3& p : car) {
            // Main menu: moved to (0, 20, -40), spun about (0, 1, 1), unscaled.
            ASSERT_TRUE(inView(rotated(p, static_cast<float>(degrees), {0, 1, 1}) + Vec3{0, 20, -40}));
            // Set-up page: moved to (100, 70, -300), spun about (1, 1, 1), scaled by 7.
            ASSERT_TRUE(inView(rotated(p * 7.0f, static_cast<float>(degrees), {1, 1, 1}) + Vec3{100, 70, -300}));
        }
    }
}

class OutlineFiles : public ::testing::TestWithParam<int> {};

TEST_P(OutlineFiles, PointsRunInsideTheWallsOnceRoundAndEndWithTheEndPair) {
    const int track = GetParam();
    static const char* const names[4][2] = {
        {"windx.txt", "windy.txt"}, {"rockx.txt", "rocky.txt"}, {"waterx.txt", "watery.txt"}, {"firex.txt", "firey.txt"}};
    bool ended = false;
    std::vector<GroundPoint> points = readPairs(names[track - 1][0], names[track - 1][1], ended);
    ASSERT_TRUE(ended) << "no end pair";
    points.pop_back();
    const int last = static_cast<int>(points.size()) - 1;  // the game's trackPointCount
    ASSERT_GE(last, 20);
    const std::vector<WallSegment> walls = trackWallSegments(track);

    double lapLength = 0;
    for (int i = 0; i <= last; ++i) {
        SCOPED_TRACE("point " + std::to_string(i));
        ASSERT_FALSE(points[i].x == 0 && points[i].z == 0);
        // After the last point a car goes on at point 2.
        const GroundPoint next = i < last ? points[i + 1] : points[2];
        const double step = groundDistance(points[i], next);
        if (i < last) {
            EXPECT_LE(step, 10.01);
            EXPECT_GE(step, 1.0);
            lapLength += step;
        }
        for (const WallSegment& w : walls) EXPECT_GE(segmentDistance(points[i], next, w.from, w.to), 6.4);
        // A fireball destroys a car within 15 of it.
        if (track == 4) {
            for (const GroundPoint& f : fireballOrigins) EXPECT_GE(segmentDistance(points[i], next, f, f), 20.0);
        }
    }
    // Cars leave the grid aiming at point 1; the grid lies between the walls, so every
    // point joined to it by clear lines does too.
    for (const GroundPoint& slot : gridSlots)
        for (const WallSegment& w : walls) EXPECT_GE(segmentDistance(slot, points[1], w.from, w.to), 4.5);
    // Once round, not several times: the loop closes on itself, and a lap is the length
    // of one trip round the track.
    EXPECT_LT(groundDistance(points[last], points[0]), 10.01);
    EXPECT_GT(lapLength, 800.0);
    EXPECT_LT(lapLength, 2000.0);
    // The waypoint and checkpoint advances stop: from no place on the course does every
    // point lie within a waypoint's reach (50) or a checkpoint's reach (200 at most).
    for (const GroundPoint& from : points) {
        double farthest = 0;
        for (const GroundPoint& p : points) farthest = std::max(farthest, groundDistance(p, from));
        EXPECT_GT(farthest, 200.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Tracks, OutlineFiles, ::testing::Values(1, 2, 3, 4));

TEST(DataFiles, OutlineCheckCatchesAPointInAWallAndTheEndPairValue) {
    Outline outline = buildOutlines()[0];
    ASSERT_EQ(checkOutline(outline), "");
    Outline inWall = outline;
    inWall.points[10] = {inWall.points[10].x, -30};  // on the wind track's island wall
    EXPECT_NE(checkOutline(inWall), "");
    Outline atOrigin = outline;
    atOrigin.points[5] = {0, 0};
    EXPECT_NE(checkOutline(atOrigin), "");
}

TEST(DataFiles, CameraPathFliesOverTheWindTrackDuringTheCountdownAndEnds) {
    bool ended = false;
    const std::vector<GroundPoint> path = readCameraPairs(ended);
    ASSERT_TRUE(ended);
    // One pair a frame at about 60 a second, inside the 10-second countdown.
    EXPECT_GT(path.size(), 400u);
    EXPECT_LT(path.size(), 590u);
    const GroundPoint grid{40, -25};
    const std::vector<WallSegment> windWalls = trackWallSegments(1);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        SCOPED_TRACE("pair " + std::to_string(i));
        EXPECT_NE(path[i].z, 0.0);
        if (i + 2 < path.size()) {
            EXPECT_LT(groundDistance(path[i], path[i + 1]), 3.0);
        }
        EXPECT_LT(groundDistance(path[i], grid), 450.0);  // the view reaches 500
        for (const GroundPoint& slot : gridSlots) EXPECT_GT(groundDistance(path[i], slot), 4.0);
        // Clear of the walls and of the posts' tubes (radius 4) along them.
        for (const WallSegment& w : windWalls) EXPECT_GE(segmentDistance(path[i], path[i], w.from, w.to), 6.0);
        EXPECT_GT(path[i].x, -20.0);
        EXPECT_LT(path[i].x, 470.0);
        EXPECT_LT(path[i].z, 20.0);
        EXPECT_GT(path[i].z, -150.0);
    }
    // It settles behind the player, where the end pair puts the eye.
    EXPECT_LT(groundDistance(path[path.size() - 2], {35, -25}), 1.0);
    EXPECT_NEAR(path.back().x, 35.0, 0.01);
}
