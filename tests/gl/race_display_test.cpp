// race_display_test.cpp - what a player sees of the race frame's drawing steps: the
// minimap markers, the shield bar, the pool reflections of the water track, the
// reflections through the fire ground, and the start line's chequer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "frame_pixels.h"
#include "game_fixture.h"
#include "gl_test_context.h"
#include "outline_text.h"
#include "race_display.h"
#include "race_frame.h"
#include "start_up.h"
#include "track.h"
#include "world.h"

namespace {

const int width = 640, height = 480;

// Pixels in the window rectangle [x0, x1) x [y0, y1) that satisfy the test.
int countIn(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) {
    return FramePixels().count(test, x0, y0, x1, y1);
}

bool lit(Rgb c) { return c.r + c.g + c.b > 30; }

// The race projection with the eye straight above (x, z); world +x runs up the window
// and world +z to the right.
void lookDownAt(float x, float z, float eyeHeight) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    beginRaceView();
    glPopMatrix();   // the scene is drawn below the HUD matrix, from the identity
    gluLookAt(x, eyeHeight, z, x, 0, z, 1, 0, 0);
}

// Only the player stays in view; the opponents wait far off the track.
void parkOpponents() {
    for (int j = 0; j < 4; ++j) otherCars[j].position = Vector3(3000, 0, 3000 + 10.0f * j);
}

// The tests of the scene start the game themselves; those of the minimap and the HUD
// draw without it.
class RaceDisplay : public GameFixture {
protected:
    RaceDisplay() : GameFixture(width, height, StartUp::Leave) {}
};

}  // namespace

// Markers: the player 6 x 6, the opponents 4 x 4 and the posts 1 x 1, at X = z / s + 150
// and Y = x / s + 150, coloured by the first bytes of the map; a marker whose raster
// position falls outside the window is not drawn at all.
TEST_F(RaceDisplay, MinimapMarkersSitWhereTheMapPutsThemAndAreCutOffAtTheWindow) {
    static unsigned char map[256];
    for (unsigned char& b : map) b = 200;
    map[0] = 250, map[1] = 20, map[2] = 30;   // the first pixel of every block
    mapPixels = map;
    bitmapInfo.biSizeImage = sizeof map;
    trackScale = 3;
    for (TrackWall& wall : trackWalls) wall.postCount = 1;

    playerCar.position = Vector3(300, 0, -150);               // X 100, Y 250
    otherCars[0].position = Vector3(600, 0, -300);            // X 50, Y 350
    otherCars[1].position = Vector3(90, 0, -453);             // z / s = -151: X -1, cut
    otherCars[2].position = Vector3(90, 0, -451.5f);          // z / s = -150.5: X 0
    otherCars[3].position = Vector3(990, 0, -60);             // x / s = 330: Y 480, cut
    trackWalls[1].postCount = 3;
    trackWalls[1].posts[1] = Vector3(30, 0, -30);             // X 140, Y 160
    trackWalls[1].posts[2] = Vector3(30, 0, -480);            // cut
    trackWalls[29].postCount = 2;
    trackWalls[29].posts[1] = Vector3(1500, 0, -3);           // Y 650, cut

    drawMinimap();
    // The projection spans 0 to width - 1, so raster position X lands on window pixel
    // X x width / (width - 1), rounded to the pixel whose centre it reaches.
    auto px = [](int v, int size) { return int(std::ceil(v * size / (size - 1.0) - 0.5)); };
    auto block = [&](int X, int Y, int size) {
        return countIn(px(X, width), px(Y, height), px(X, width) + size, px(Y, height) + size, lit);
    };
    const Rgb first{250, 20, 30}, grey{200, 200, 200};
    auto isFirst = [&](Rgb c) { return near(c, first, 2); };
    auto isGrey = [&](Rgb c) { return near(c, grey, 2); };
    EXPECT_TRUE(near(readPixel(px(100, width), px(250, height)), first, 2));
    EXPECT_EQ(block(100, 250, 6), 36);
    EXPECT_EQ(block(50, 350, 4), 16);
    EXPECT_TRUE(near(readPixel(px(50, width), px(350, height)), first, 2));
    EXPECT_EQ(block(0, 180, 4), 16) << "z / s between -151 and -150 shows at X 0";
    EXPECT_TRUE(near(readPixel(px(140, width), px(160, height)), first, 2));
    EXPECT_EQ(countIn(0, 0, width, height, isFirst), 4) << "one first pixel per marker";
    EXPECT_EQ(countIn(0, 0, width, height, isGrey), 35 + 15 + 15);
    EXPECT_EQ(countIn(0, 0, width, height, lit), 36 + 16 + 16 + 1);

    // A map too small for the player's block still shows the opponents; none shows without
    // a map at all.
    bitmapInfo.biSizeImage = 48;
    drawMinimap();
    EXPECT_EQ(block(100, 250, 6), 0);
    EXPECT_EQ(block(50, 350, 4), 16);
    mapPixels = nullptr;
    drawMinimap();
    EXPECT_EQ(countIn(0, 0, width, height, lit), 0);
}

// In eye space on the near plane: from the centre line to 0.6 x shield / 100 at the top,
// green, red in a frame in which the car was hit, and nothing at 0 or below.
TEST_F(RaceDisplay, ShieldBarWidthAndColour) {
    // At depth 1 of a 60-degree view a unit is 240 / tan(30) pixels tall and wide.
    const double unit = 240 / 0.57735;
    const int row = int(240 + 0.43 * unit);
    auto endOf = [&](float shield) { return 320 + shield / 100 * 0.6 * unit; };
    const Rgb green{0, 255, 0}, red{255, 0, 0};
    struct Case {
        float shield;
        bool hit;
    } cases[] = {{100, false}, {50, false}, {75, true}};
    for (const Case& c : cases) {
        playerCar.shield = c.shield;
        playerCar.hitThisFrame = c.hit;
        drawMinimap();
        beginRaceView();
        glPopMatrix();
        drawShieldBar();
        Rgb colour = c.hit ? red : green;
        int end = int(endOf(c.shield));
        EXPECT_TRUE(near(readPixel(322, row), colour, 2)) << c.shield;
        EXPECT_TRUE(near(readPixel(end - 3, row), colour, 2)) << c.shield;
        EXPECT_FALSE(lit(readPixel(end + 3, row))) << c.shield;
        EXPECT_FALSE(lit(readPixel(317, row))) << "starts at the centre line";
        EXPECT_FALSE(lit(readPixel(330, row - 12))) << "0.04 high";
        EXPECT_NEAR(countIn(0, 0, width, height, [&](Rgb p) { return near(p, colour, 2); }),
                    (end - 320) * 0.04 * unit, 0.12 * (end - 320) * 0.04 * unit);
    }
    for (float shield : {0.0f, -5.0f}) {
        playerCar.shield = shield;
        drawMinimap();
        beginRaceView();
        glPopMatrix();
        drawShieldBar();
        EXPECT_EQ(countIn(0, 0, width, height, lit), 0) << shield;
    }
}

// The water track mirrors the racers below the ground only inside its three pools; the
// same car off the pools leaves no image, while the wind track's mirror pass is unmasked
// (its opaque ground hides it in a real frame).
TEST_F(RaceDisplay, WaterTrackShowsTheMirroredCarOnlyInsideThePools) {
    ASSERT_TRUE(initGame());
    parkOpponents();
    trackLevel = 3;
    buildTrack();
    const float s = trackScale;
    const Vector3 pools[3] = {{800 / s, 0, -100 / s}, {1200 / s, 0, -100 / s}, {1200 / s, 0, -500 / s}};
    for (const Vector3& pool : pools) {
        playerCar.position = pool;
        lookDownAt(pool.x, pool.z, 12);
        drawPoolMarksAndMirror();
        EXPECT_GT(countIn(0, 0, width, height, lit), 300) << pool.x << ", " << pool.z;
    }
    const Vector3 dry(150, 0, -100);
    playerCar.position = dry;
    lookDownAt(dry.x, dry.z, 12);
    drawPoolMarksAndMirror();
    EXPECT_EQ(countIn(0, 0, width, height, lit), 0);

    // Half in a pool: only the half inside the disk shows (world +z is to the right).
    playerCar.position = Vector3(pools[0].x, 0, pools[0].z + 50);
    lookDownAt(playerCar.position.x, playerCar.position.z, 12);
    drawPoolMarksAndMirror();
    EXPECT_GT(countIn(0, 0, 318, height, lit), 100);
    EXPECT_EQ(countIn(324, 0, width, height, lit), 0);

    trackLevel = 1;
    buildTrack();
    playerCar.position = dry;
    lookDownAt(dry.x, dry.z, 12);
    drawPoolMarksAndMirror();
    EXPECT_GT(countIn(0, 0, width, height, lit), 300) << "no stencil mask off the water track";
    glDisable(GL_STENCIL_TEST);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

// The wind track's opaque ground hides the mirrored car; the fire track's translucent
// ground, drawn after the mirror pass, lets it show through.
TEST_F(RaceDisplay, FireGroundLetsTheReflectionShowThrough) {
    ASSERT_TRUE(initGame());
    parkOpponents();
    const Vector3 at(100, 0, -100);
    playerCar.position = at;

    trackLevel = 4;
    buildTrack();
    lookDownAt(at.x, at.z, 12);
    drawFireGround();
    const Rgb ground = readPixel(320, 240);
    EXPECT_TRUE(near(ground, Rgb{51, 31, 31}, 4)) << ground.r << " " << ground.g << " " << ground.b;
    lookDownAt(at.x, at.z, 12);
    drawPoolMarksAndMirror();
    drawFireGround();
    int showing = countIn(0, 0, width, height, [&](Rgb c) { return !near(c, ground, 8); });
    EXPECT_GT(showing, 300);
    EXPECT_EQ(countIn(0, 0, 40, 40, [&](Rgb c) { return !near(c, ground, 4); }), 0);

    trackLevel = 1;
    buildTrack();
    lookDownAt(at.x, at.z, 12);
    drawTrackScenery();
    drawPoolMarksAndMirror();
    const Rgb windGround = readPixel(10, 10);
    EXPECT_TRUE(near(windGround, Rgb{153, 26, 77}, 4));
    EXPECT_EQ(countIn(0, 0, width, height, [&](Rgb c) { return !near(c, windGround, 4); }), 0);
}

// The start line is the checker texture, repeated twice across its 30 units of z, at
// x 100 to 110; texture generation left on by a car drawn before must not spoil it.
TEST_F(RaceDisplay, StartLineShowsItsChequer) {
    ASSERT_TRUE(initGame());
    parkOpponents();
    playerCar.position = Vector3(60, 0, -200);
    lookDownAt(105, -15, 30);
    playerCar.draw();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawStartLine();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // From 30 units up a unit is 240 / (30 tan 30) pixels: the line spans about 139
    // pixels of x (up) and 416 of z (across) around the window's centre.
    auto bright = [](Rgb c) { return c.r + c.g + c.b > 540; };
    auto dark = [](Rgb c) { return c.r + c.g + c.b < 225; };
    const int area = 380 * 110;
    int brightCount = countIn(130, 185, 510, 295, bright);
    int darkCount = countIn(130, 185, 510, 295, dark);
    EXPECT_GT(brightCount, area / 5);
    EXPECT_GT(darkCount, area / 5);
    // Along the middle row the two alternate, cell after cell.
    FramePixels p;
    int changes = 0, last = -1;
    for (int x = 130; x < 510; ++x) {
        Rgb c = p.at(x, 240);
        int kind = bright(c) ? 1 : dark(c) ? 0 : -1;
        if (kind >= 0 && last >= 0 && kind != last) ++changes;
        if (kind >= 0) last = kind;
    }
    EXPECT_GE(changes, 3);
    EXPECT_FALSE(lit(readPixel(320, 30))) << "nothing below x 100";
    EXPECT_FALSE(lit(readPixel(30, 240))) << "nothing beyond z -30";
}

// The HUD: yellow labels and green figures along the top left, and the engine gauge low
// on the left, its glyphs green from glyph 11, blue from 51 and red from 91.
TEST_F(RaceDisplay, HudLabelsFiguresAndEngineGauge) {
    fontBase = createOutlineFont("Arial", 4, 1.0f);
    ASSERT_NE(fontBase, 0u);
    glEnable(GL_DEPTH_TEST);
    const Rgb yellow{255, 255, 0}, green{0, 255, 0}, blue{0, 0, 255}, red{255, 0, 0};
    struct Case {
        float thrust;
        bool green, blue, red;
    } cases[] = {{0.4f, false, false, false}, {20, true, false, false},
                 {30, true, true, false}, {40, true, true, true}};
    for (const Case& c : cases) {
        playerCar.thrust = c.thrust;
        drawMinimap();
        beginRaceView();
        drawHud();
        const FramePixels frame;
        const std::string picture = "hud-thrust-" + std::to_string(int(c.thrust));
        auto colourIn = [&](int y0, int y1, Rgb colour) {
            return frame.count([&](Rgb p) { return near(p, colour, 40); }, 0, y0, width, y1);
        };
        EXPECT_GT(colourIn(height / 2, height, yellow), 300) << "labels " << keptPicture(frame, picture);
        EXPECT_GT(colourIn(height / 2, height, green), 100) << "figures " << keptPicture(frame, picture);
        EXPECT_EQ(colourIn(0, height / 3, green) > 30, c.green) << c.thrust << keptPicture(frame, picture);
        EXPECT_EQ(colourIn(0, height / 3, blue) > 30, c.blue) << c.thrust << keptPicture(frame, picture);
        EXPECT_EQ(colourIn(0, height / 3, red) > 10, c.red) << c.thrust << keptPicture(frame, picture);
    }
}

// A whole frame on each track leaves the OpenGL state as it found it: the stencil test,
// face culling and texturing off, the depth test on, all colours written, and the HUD's
// push matched by its pop, frame after frame.
TEST_F(RaceDisplay, RaceFrameRestoresTheStateItChanges) {
    ASSERT_TRUE(initGame());
    gameState = GameState::Race;
    frameTime = 1.0f / 60;
    for (int track = 1; track <= 4; ++track) {
        trackLevel = track;
        buildTrack();
        raceCountdown = track == 1 ? 0.5f : -6.0f;   // the countdown's view, then the race's
        for (int frame = 0; frame < 40; ++frame) {
            runRaceFrame();
            EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST)) << track;
            EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << track;
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << track;
            EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << track;
            GLboolean mask[4];
            glGetBooleanv(GL_COLOR_WRITEMASK, mask);
            EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]) << track;
            GLint depth = 0, mode = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            glGetIntegerv(GL_MATRIX_MODE, &mode);
            EXPECT_EQ(depth, 1) << track;
            EXPECT_EQ(mode, GL_MODELVIEW) << track;
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << track;
            if (HasFailure()) return;
        }
    }
}
