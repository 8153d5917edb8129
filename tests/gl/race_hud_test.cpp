// race_hud_test.cpp - the HUD's figures as a player reads them off the race frame: the
// frames-a-second and speed figures as the numbers they stand for, the engine gauge's
// length and where it changes colour, and the shield bar's width and colour.
//
// Every HUD element lies on the near plane (hud_text.h), so it is found by its depth
// whatever the track's scene shows behind it. The figures are compared with the text
// they must read, drawn alone at their place; the gauge and the bar are measured in
// pixels of the race projection, where one eye-space unit on the near plane is
// (height / 2) / tan 30 degrees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "hud_text.h"
#include "outline_text.h"
#include "race_display.h"
#include "race_frame.h"
#include "race_start.h"
#include "test_hooks.h"
#include "timer.h"
#include "world.h"

namespace {

const int width = 640, height = 480;
const double pixelsPerUnit = (height / 2.0) / std::tan(30.0 * 3.14159265358979 / 180.0);

// Each test runs on one track, its parameter.
class RaceHud : public GameFixture, public ::testing::WithParamInterface<int> {};

// The HUD's strings before the two figures, in its order (the place and the lap as the
// player's car holds them after startRaceOnGrid: 3 and 1).
const std::vector<Piece> upToFps = {{0, 0, 1, 1, "(Place) "}, {0, 0, 1, 1, "3"},
                                    {-2.2f, -1, 1, 1, "(Lap) "}, {0, 0, 1, 1, "1"},
                                    {-1.5f, -1, 1, 1, " (fps) "}, {1, 0, 1, 1, ""}};

// The figure drawn as the last piece after the given ones, read in the frame shown:
// only within its own bounds, with whatever the pieces before it put there.
Reading readFigure(const NearPlane& shown, std::vector<Piece> before, const Piece& figure) {
    const NearPlane background = drawnAlone(before);
    before.push_back(figure);
    const NearPlane expected = drawnAlone(before);
    return compare(shown, expected, textBounds(expected, background, 3), &background);
}

struct FigureCase {
    Vector3 velocity;   // world units per frame
    int framesPerSecond;
    const char* speedText;
    const char* rateText;
};

// Velocities of exact binary fractions, so the length x 1000 is a whole number in float.
const FigureCase figureCases[] = {
    {{0.125f, 0.25f, -0.25f}, 37, "375", "37"},
    {{-0.5f, 0, 0}, 8, "500", "8"},
};

}  // namespace

// The frame rate is the count of one frame over the counter time since the previous
// reading; the speed is the velocity's length in thousandths of a unit per frame.
TEST_P(RaceHud, FrameRateAndSpeedReadAsTheirValues) {
    const int track = GetParam();
    const int64_t frequency = 1000 * 1000;
    useTestCounter(frequency, 0);
    Timer timer;
    ASSERT_TRUE(timer.init());
    int64_t now = 0;
    for (const FigureCase& c : figureCases) {
        startRaceOnGrid(track);
        frameTimer = &timer;
        now += frequency / c.framesPerSecond;
        setTestCounter(now);
        playerCar.velocity = c.velocity;
        runRaceFrame();
        const FramePixels picture;
        const NearPlane shown;
        auto kept = [&] {
            return keptPicture(picture, "hud-track" + std::to_string(track) + "-" + c.speedText);
        };

        const Reading rate = readFigure(shown, upToFps, {0, 0, 1, 1, c.rateText});
        EXPECT_TRUE(rate.matches()) << "track " << track << ", " << c.framesPerSecond
                                    << " frames a second: " << describe(rate) << " "
                                    << kept();
        std::vector<Piece> upToSpeed = upToFps;
        upToSpeed.push_back({0, 0, 1, 1, c.rateText});
        const Reading speed = readFigure(shown, upToSpeed, {-2, -1, 1, 1, c.speedText});
        EXPECT_TRUE(speed.matches()) << "track " << track << ", speed " << c.speedText
                                     << ": " << describe(speed) << " "
                                     << kept();
    }
    frameTimer = nullptr;
    useRealCounter();
}

namespace {

enum class GaugeColour { None, Black, Green, Blue, Red, Other };

// A pixel of the gauge: on or just behind the near plane, in one of its four colours.
GaugeColour gaugeColour(const FramePixels& picture, const NearPlane& hud, int x, int y) {
    if (!hud.at(x, y)) return GaugeColour::None;
    const Rgb c = picture.at(x, y);
    if (near(c, {0, 0, 0}, 30)) return GaugeColour::Black;
    if (near(c, {0, 255, 0}, 30)) return GaugeColour::Green;
    if (near(c, {0, 0, 255}, 30)) return GaugeColour::Blue;
    if (near(c, {255, 0, 0}, 30)) return GaugeColour::Red;
    return GaugeColour::Other;
}

// The bottom third of the window, where the gauge is the only thing of the HUD.
const int gaugeBandTop = height / 3;
// The tilted glyphs show their sides just behind the near plane.
const float gaugeDepth = 0.3f;

// What a gauge of this many glyphs must look like: the HUD's strings up to the gauge
// (place 3, lap 1, no frame rate) and then the glyphs, each "|" turned a hundredth of
// its index further about the x axis than the one before, black to glyph 10, green to
// 50, blue to 90 and red from 91.
struct GaugePicture {
    FramePixels picture;
    NearPlane hud{gaugeDepth};
};

GaugePicture drawnGauge(int glyphs) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    beginRaceView();
    std::vector<Piece> strings = upToFps;
    strings.back().text = "0";
    strings.push_back({3.5f, 1.8f, 1, 1, "(Shield)"});
    printPieces(strings);
    glTranslatef(-8, -12, 0);
    for (int i = 0; i < glyphs; ++i) {
        if (i <= 10) glColor3f(0, 0, 0);
        else if (i <= 50) glColor3f(0, 1, 0);
        else if (i <= 90) glColor3f(0, 0, 1);
        else glColor3f(1, 0, 0);
        glRotatef(360.0f - float(i) / 100.0f, 1, 0, 0);
        printCentred(fontBase, "|");
    }
    GaugePicture drawn;
    glPopMatrix();
    return drawn;
}

struct GaugeCase {
    float thrust;
    int glyphs;   // thrust x 2.35, truncated
};

const GaugeCase gaugeCases[] = {
    {20, 47},   // black and green
    {30, 70},   // 70.5: on into blue
    {42, 98},   // 98.7: on into red
    {0.4f, 0},  // below 1 / 2.35: no gauge
};

}  // namespace

// The frame's gauge, pixel for pixel and colour for colour, is the one of its glyph count.
TEST_P(RaceHud, EngineGaugeShowsAGlyphPerThrustStepInTheColoursOfItsRange) {
    const int track = GetParam();
    for (const GaugeCase& c : gaugeCases) {
        startRaceOnGrid(track);
        playerCar.thrust = c.thrust;
        runRaceFrame();
        const FramePixels picture;
        const NearPlane hud(gaugeDepth);
        const GaugePicture expected = drawnGauge(c.glyphs);
        int glyphPixels = 0, differing = 0;
        for (int y = 0; y < gaugeBandTop; ++y)
            for (int x = 0; x < width; ++x) {
                const GaugeColour want = gaugeColour(expected.picture, expected.hud, x, y);
                if (want != GaugeColour::None) ++glyphPixels;
                if (gaugeColour(picture, hud, x, y) != want) ++differing;
            }
        EXPECT_LE(differing, 10) << "track " << track << ", thrust " << c.thrust << " ("
                                 << c.glyphs << " glyphs): " << differing << " of "
                                 << glyphPixels << " gauge pixels differ "
                                 << keptPicture(picture, "gauge-track" + std::to_string(track) +
                                                             "-" + std::to_string(c.glyphs));
    }
}

namespace {

struct ShieldCase {
    float shield;
    bool hit;
    Rgb colour;
};

const ShieldCase shieldCases[] = {
    {100, false, {0, 255, 0}},
    {70, false, {0, 255, 0}},
    {35, true, {255, 0, 0}},
    {0, false, {0, 255, 0}},    // no bar
    {-20, true, {255, 0, 0}},   // no bar
};

// The near-plane pixels within [x0, x1) x [y0, y1) of about this colour.
PixelRegion nearPlaneRegion(const FramePixels& picture, const NearPlane& shown, Rgb colour,
                            int x0, int y0, int x1, int y1) {
    return picture.findWhere(
        [&](int x, int y, Rgb c) { return shown.at(x, y) && near(c, colour, 30); }, x0, y0, x1, y1);
}

}  // namespace

// The bar runs right from the view's centre line, shield / 100 x 0.6 units wide on the
// near plane, 0.41 to 0.45 units above the centre: green, or red in a frame with a hit.
TEST_P(RaceHud, ShieldBarIsAsWideAsTheShieldAndRedOnAHit) {
    const int track = GetParam();
    for (const ShieldCase& c : shieldCases) {
        startRaceOnGrid(track);
        playerCar.shield = c.shield;
        playerCar.hitThisFrame = c.hit;
        runRaceFrame();
        const FramePixels picture;
        const NearPlane shown;
        const std::string where = "track " + std::to_string(track) + ", shield " +
                                  std::to_string(int(c.shield)) + ": ";
        auto kept = [&] {
            return keptPicture(picture, "shield-track" + std::to_string(track) + "-" +
                                            std::to_string(int(c.shield)));
        };
        const int bottom = int(std::ceil(height / 2 + 0.41 * pixelsPerUnit));
        const int top = int(height / 2 + 0.45 * pixelsPerUnit);
        const PixelRegion bar = nearPlaneRegion(picture, shown, c.colour, width / 2 - 20,
                                                bottom - 10, width, top + 10);
        if (c.shield <= 0) {
            EXPECT_EQ(bar.count, 0) << where << "a bar shows " << kept();
            continue;
        }
        const double barWidth = c.shield / 100 * 0.6 * pixelsPerUnit;
        EXPECT_NEAR(bar.minX, width / 2, 1) << where << kept();
        EXPECT_NEAR(bar.maxX + 1, width / 2 + barWidth, 1.5) << where << kept();
        EXPECT_NEAR(bar.minY, bottom, 1) << where << kept();
        EXPECT_NEAR(bar.maxY + 1, top, 1.5) << where << kept();
        EXPECT_GE(bar.count, int(0.95 * barWidth * (top - bottom))) << where << kept();
    }
}

INSTANTIATE_TEST_SUITE_P(Tracks, RaceHud, ::testing::Range(1, 5), trackTestName);
