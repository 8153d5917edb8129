// race_view_test.cpp - the race as the player sees it from the chase camera, and the
// minimap in the window's corner, read off the frame, each test on every track.
//
// The view: the cars of the frame must show exactly where a camera placed by the chase
// rule shows them: the eye 5 units behind the player's car along its direction and 5
// above it (plus the camera offset's x and y), looking at the point 5 units ahead of the
// car. The test draws the same cars alone through a camera it builds from that rule and
// compares the two pictures' car pixels; on the grid the cars ahead show and those
// behind do not, and the ground shows where a ray through each pixel meets it, and
// nowhere else. During the countdown the eye stands low at the chase point and looks at
// the car itself. After the player has steered for a while the view has turned with the
// car, and the cars and the ground still show where the rule's camera puts them.
//
// The minimap: each car's block where its position puts it, world x up the window and
// world z across it, divided by the track's scale, from the map's origin at (150, 150).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "hud_text.h"
#include "images.h"
#include "key_bindings.h"
#include "race_frame.h"
#include "race_start.h"
#include "track.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const int width = 640, height = 480;

// Each test runs on one track, its parameter.
class RaceView : public GameFixture, public ::testing::WithParamInterface<int> {};

// A car body's pixel: the violet of the cars' magenta under their mirror skin. The HUD
// in front of the scene is left out by its depth, where a frame's pixel is compared.
bool carBody(Rgb c) { return c.g <= 12 && c.b >= 215 && c.r >= 60; }

// The chase rule's camera for the player's car as it stood when the frame began.
struct ChaseCamera {
    Vector3 eye, centre;
};

ChaseCamera cameraAtFrameStart() {
    const Vector3 p = playerCar.position, d = playerCar.direction;
    return {Vector3(p.x - 5 * d.x + cameraOffset.x, p.y + 5 + cameraOffset.y, p.z - 5 * d.z),
            p + d * 5};
}

// During the countdown, once the camera path has ended, the eye stands at the chase
// point at height 1 (plus the offset) and looks at the car itself.
ChaseCamera countdownCameraAtFrameStart() {
    const Vector3 p = playerCar.position, d = playerCar.direction;
    return {Vector3(p.x - 5 * d.x + cameraOffset.x, 1 + cameraOffset.y, p.z - 5 * d.z), p};
}

// The five racers drawn alone through the rule's camera, as a player would see them.
FramePixels carsThroughTheRule(const ChaseCamera& camera) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, double(width) / height, 1, 500);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.centre.x, camera.centre.y,
              camera.centre.z, 0, 1, 0);
    for (int j = 0; j < 4; ++j) otherCars[j].draw();
    playerCar.draw();
    FramePixels drawn;
    glLoadIdentity();
    return drawn;
}

// Where the ray through a pixel's centre meets the ground plane, and how far along the
// view's axis, if it does so between the near and the far plane of the race projection
// (60 degrees high, 1 to 500).
bool groundHit(const ChaseCamera& camera, int x, int y, Vector3& hit, float& distance) {
    const Vector3 forward = (camera.centre - camera.eye).normalized();
    const Vector3 right = forward.cross(Vector3(0, 1, 0)).normalized();
    const Vector3 up = right.cross(forward);
    const float halfHeight = float(std::tan(30.0 * 3.14159265358979 / 180.0));
    const float across = ((x + 0.5f) / width * 2 - 1) * halfHeight * width / height;
    const float upward = ((y + 0.5f) / height * 2 - 1) * halfHeight;
    const Vector3 ray = forward + right * across + up * upward;   // one unit along the view axis
    if (ray.y >= 0) return false;
    const float t = -camera.eye.y / ray.y;
    if (t < 1 || t > 500) return false;
    hit = camera.eye + ray * t;
    distance = t;
    return true;
}

// Each track's ground: its rectangle at y 0 from the origin, and its colour as the view
// shows it over the black background (the water's and the fire's are translucent).
struct Ground {
    float x1, z1;
    Rgb colour;
};

Ground groundOf(int track) {
    switch (track) {
    case 1: return {450, -150, {153, 25, 76}};              // (0.6, 0.1, 0.3)
    case 2: return {1400 / 3.0f, -200, {92, 207, 92}};      // (0.4, 0.9, 0.4) at 0.9
    case 3: return {1700 / 3.0f, -200, {20, 31, 82}};       // (0.2, 0.3, 0.8) at 0.4
    default: return {1400 / 3.0f, -300, {51, 31, 31}};      // (0.5, 0.3, 0.3) at 0.4
    }
}

// A pixel of the ground's own colour, dimmed a little or not by the fog: the same share
// of red, green and blue.
bool groundColoured(Rgb c, Rgb ground) {
    const float sum = float(c.r + c.g + c.b), want = float(ground.r + ground.g + ground.b);
    if (sum < 0.75f * want || sum > 1.05f * want) return false;
    return std::fabs(c.r / sum - ground.r / want) < 0.04f &&
           std::fabs(c.g / sum - ground.g / want) < 0.04f &&
           std::fabs(c.b / sum - ground.b / want) < 0.04f;
}

// The ground shows where the rule's view meets it and nowhere else: beyond its edges,
// beyond the far plane and above the horizon, no pixel has its colour. Where it is in
// view, the walls, posts, cars and HUD cover some of it.
template <typename Kept>
void expectGroundWhereTheRuleSeesIt(const FramePixels& frame, const ChaseCamera& camera,
                                    int track, const std::string& where, Kept kept) {
    const Ground ground = groundOf(track);
    int inside = 0, groundInside = 0, outside = 0, groundOutside = 0, far = 0, groundFar = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Vector3 hit;
            float distance = 0;
            const bool onGround = groundHit(camera, x, y, hit, distance) && hit.x >= 0 &&
                                  hit.x <= ground.x1 && hit.z <= 0 && hit.z >= ground.z1;
            const bool coloured = groundColoured(frame.at(x, y), ground.colour);
            (onGround ? inside : outside) += 1;
            (onGround ? groundInside : groundOutside) += coloured;
            if (onGround && distance > 60) {
                ++far;
                groundFar += coloured;
            }
        }
    EXPECT_GE(groundInside, inside / 2)
        << groundInside << " of " << inside << " pixels in view of the ground show it; " << where << kept();
    // The farthest ground in view, at the top of the window, is still well inside the
    // far plane.
    EXPECT_GE(groundFar, far / 2) << groundFar << " of " << far
                                  << " pixels in view of the ground beyond 60 units show it; "
                                  << where << kept();
    EXPECT_LE(groundOutside, outside / 100 + 20)
        << groundOutside << " of " << outside << " pixels out of view of the ground show its colour; "
        << where << kept();
}

struct CarPixels {
    int expected = 0, shown = 0, differing = 0;
};

// Pixel by pixel, car body or not, in the frame (leaving out the HUD) and through the
// rule; where the rule sees a car, the frame must show it there and nowhere else.
CarPixels compareCars(const FramePixels& frame, const NearPlane& hud, const FramePixels& rule) {
    CarPixels pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (hud.at(x, y)) continue;
            const bool want = carBody(rule.at(x, y)), got = carBody(frame.at(x, y));
            pixels.expected += want;
            pixels.shown += got;
            pixels.differing += want != got;
        }
    return pixels;
}

std::string describe(const CarPixels& p) {
    return std::to_string(p.differing) + " pixels differ (" + std::to_string(p.shown) +
           " car pixels shown, " + std::to_string(p.expected) + " through the chase rule)";
}

// Two opponents ahead of the player along its direction, a little to each side, and two
// behind it, out of the view; still (no cruise speed), so they stay where they are put.
void placeOpponentsAheadAndBehind() {
    const Vector3 p = playerCar.position, d = playerCar.direction.normalized();
    const Vector3 side(-d.z, 0, d.x);
    const float along[4] = {12, 26, -20, -40};
    const float across[4] = {0, 2, 0, 2};
    for (int j = 0; j < 4; ++j) {
        otherCars[j].position = p + d * along[j] + side * across[j];
        otherCars[j].direction = d;
        otherCars[j].heading = playerCar.heading;
        otherCars[j].aiCruiseSpeed = 0;
    }
}

}  // namespace

TEST_P(RaceView, OnTheGridTheChaseCameraShowsTheCarsAheadAndTheGroundInView) {
    const int track = GetParam();
    startRaceOnGrid(track);
    placeOpponentsAheadAndBehind();
    const ChaseCamera camera = cameraAtFrameStart();
    runRaceFrame();
    const FramePixels frame;
    const NearPlane hud(0.3f);   // the gauge's turned glyphs too
    const std::string where = "track " + std::to_string(track) + ": ";
    auto kept = [&] { return keptPicture(frame, "view-grid-track" + std::to_string(track)); };

    expectGroundWhereTheRuleSeesIt(frame, camera, track, where, kept);

    const FramePixels rule = carsThroughTheRule(camera);
    const CarPixels cars = compareCars(frame, hud, rule);
    EXPECT_GT(cars.expected, 1500) << where << "the cars ahead are in the rule's view";
    EXPECT_LE(cars.differing, cars.expected / 50) << where << describe(cars) << " " << kept();
    // The player's own car: in the middle column, below the centre of the view.
    const PixelRegion own = rule.find(carBody, width / 2 - 60, 0, width / 2 + 60, height / 2 - 60);
    EXPECT_GT(own.count, 1000) << where << "the player's car below the middle " << kept();
    EXPECT_NEAR(own.meanX, width / 2, 20) << where << kept();
}

TEST_P(RaceView, DuringTheCountdownTheCameraLooksAtTheCarFromBehindAndLow) {
    const int track = GetParam();
    startRaceOnGrid(track);
    raceCountdown = 3.5f;
    cameraPathDone = true;
    cameraPathStartSaved = true;
    placeOpponentsAheadAndBehind();
    const ChaseCamera camera = countdownCameraAtFrameStart();
    runRaceFrame();
    const FramePixels frame;
    const NearPlane hud(0.3f);
    const std::string where = "track " + std::to_string(track) + ", countdown: ";
    const FramePixels rule = carsThroughTheRule(camera);
    const CarPixels cars = compareCars(frame, hud, rule);
    EXPECT_GT(cars.expected, 1500) << where;
    EXPECT_LE(cars.differing, cars.expected / 50)
        << where << describe(cars) << " "
        << keptPicture(frame, "view-countdown-track" + std::to_string(track));
}

// Key Left held through the game's own key handler turns the car; the view turns with it.
TEST_P(RaceView, AfterTheCarHasTurnedTheViewHasTurnedWithIt) {
    const int track = GetParam();
    startRaceOnGrid(track);
    const Vector3 before = playerCar.direction;
    const int keyLeft = VK_LEFT;
    for (int turn = 0; turn < 90; ++turn) {
        keyDown[keyLeft] = true;
        pollKeys();
        runRaceFrame();
    }
    keyDown[keyLeft] = false;
    // The steering sets a direction the update does not make unit length.
    const Vector3 after = playerCar.direction.normalized();
    const float turned =
        std::acos(std::max(-1.0f, std::min(1.0f, before.normalized().dot(after))));
    ASSERT_GT(turned, 0.5f) << "track " << track << ": the car did not turn";

    // The opponents out of the view, beyond the far plane: a wall that touches a car
    // turns its blend additive, which the cars drawn alone cannot show.
    for (int j = 0; j < 4; ++j) {
        otherCars[j].position = playerCar.position - after * (1000.0f + 10 * j);
        otherCars[j].aiCruiseSpeed = 0;
    }
    const ChaseCamera camera = cameraAtFrameStart();
    runRaceFrame();
    const FramePixels frame;
    const NearPlane hud(0.3f);   // the gauge's turned glyphs too
    const std::string where = "track " + std::to_string(track) + ", turned " +
                              std::to_string(turned) + " radians: ";
    auto kept = [&] { return keptPicture(frame, "view-turned-track" + std::to_string(track)); };
    expectGroundWhereTheRuleSeesIt(frame, camera, track, where, kept);
    const FramePixels rule = carsThroughTheRule(camera);
    const CarPixels cars = compareCars(frame, hud, rule);
    EXPECT_GT(cars.expected, 1000) << where;
    EXPECT_LE(cars.differing, cars.expected / 50) << where << describe(cars) << " " << kept();
}

namespace {

// A marker's place in the window, in whole pixels: the block's lower left corner.
struct MapSpot {
    float x, y;   // before truncation
};

// Spots in the lower left quarter of the window, clear of the HUD, the gauge and the
// player's car, where the orthographic projection of 0 to width - 1 puts a block's
// corner on exactly its truncated raster position. Each car has its own column and row,
// and the fractions show a truncation.
const MapSpot playerSpot{140.6f, 200.3f};
const MapSpot opponentSpots[4] = {{20.2f, 120.9f}, {100.5f, 160.1f}, {220.8f, 130.4f}, {60.7f, 225.6f}};

// The world position whose marker goes to the spot on the track of this scale.
Vector3 worldAt(const MapSpot& spot, float scale) {
    return Vector3((spot.y - 150) * scale, 0, (spot.x - 150) * scale);
}

Rgb rgbOf(const Rgb8& c) { return {c.r, c.g, c.b}; }

}  // namespace

TEST_P(RaceView, MinimapBlocksStandWhereTheCarsAre) {
    const int track = GetParam();
    startRaceOnGrid(track);
    const float scale = trackScale;
    playerCar.position = worldAt(playerSpot, scale);
    for (int j = 0; j < 4; ++j) otherCars[j].position = worldAt(opponentSpots[j], scale);
    runRaceFrame();
    const FramePixels frame;
    const std::string where = "track " + std::to_string(track) + " (scale " +
                              std::to_string(int(scale)) + "): ";
    auto kept = [&] { return keptPicture(frame, "minimap-track" + std::to_string(track)); };

    // The player's 6 x 6 block is green but for its bottom row and a short dash.
    const Rgb green = rgbOf(playerMarkerColour), orange = rgbOf(opponentMarkerColour);
    auto isGreen = [&](Rgb c) { return near(c, green, 10); };
    auto isOrange = [&](Rgb c) { return near(c, orange, 10); };
    const int px = int(playerSpot.x), py = int(playerSpot.y);
    const PixelRegion player = frame.find(isGreen, px - 8, py - 8, px + 14, py + 14);
    EXPECT_GE(player.count, 25) << where << "the player's block " << kept();
    EXPECT_EQ(player.minX, px) << where << kept();
    EXPECT_EQ(player.maxX, px + 5) << where << kept();
    EXPECT_EQ(player.maxY, py + 5) << where << kept();
    // Each opponent's 4 x 4 block, orange-red but for its corner pixel.
    for (int j = 0; j < 4; ++j) {
        const int ox = int(opponentSpots[j].x), oy = int(opponentSpots[j].y);
        const PixelRegion block = frame.find(isOrange, ox - 8, oy - 8, ox + 12, oy + 12);
        EXPECT_GE(block.count, 14) << where << "opponent " << j << "'s block " << kept();
        EXPECT_EQ(block.minX, ox) << where << "opponent " << j << kept();
        EXPECT_EQ(block.maxX, ox + 3) << where << "opponent " << j << kept();
        EXPECT_EQ(block.minY, oy) << where << "opponent " << j << kept();
        EXPECT_EQ(block.maxY, oy + 3) << where << "opponent " << j << kept();
    }
}

INSTANTIATE_TEST_SUITE_P(Tracks, RaceView, ::testing::Range(1, 5), trackTestName);
