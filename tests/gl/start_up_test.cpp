// start_up_test.cpp - the start-up in a real rendering context: display lists, the
// OpenGL state it leaves, the starting places and the first track.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "file_bytes.h"
#include "frame_pixels.h"
#include "game_fixture.h"
#include "gl_test_context.h"
#include "md2_model.h"
#include "random.h"
#include "start_up.h"
#include "test_hooks.h"
#include "world.h"

namespace {

// Each test runs the start-up itself, after changing what it reads.
class StartUp : public GameFixture {
protected:
    StartUp() : GameFixture(640, 480, GameFixture::StartUp::Leave) {}
    void writeSave(const char* text) { writeFileBytes("save.car", text); }
};

// The runtime library's generator, replayed from a seed.
struct Replay {
    uint32_t state;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7fff);
    }
};

TEST_F(StartUp, WithoutASaveFileEverythingStartsInItsPlace) {
    ASSERT_TRUE(initGame());

    // The font's lists are the first of the context; the four of the start-up follow.
    EXPECT_EQ(fontBase, 1u);
    EXPECT_EQ(postList, 257u);
    EXPECT_EQ(carModelList, 258u);
    EXPECT_EQ(ballModelList, 259u);
    EXPECT_EQ(driftPointList, 260u);
    for (GLuint list = 257; list <= 260; ++list) EXPECT_TRUE(glIsList(list)) << list;

    EXPECT_EQ(trackLevel, 1);
    EXPECT_EQ(trackScale, 1.0f);
    EXPECT_EQ(wallCount, 14);   // the wind track's 13 walls
    EXPECT_GT(trackPointCount, 0);
    EXPECT_EQ(money, 3000);
    EXPECT_EQ(playerCar.color, Vector3(1, 0, 1));
    EXPECT_EQ(playerCar.accel, 2.0f);
    EXPECT_FALSE(playerCar.computerDriven);
    EXPECT_TRUE(otherCars[0].computerDriven);
    EXPECT_EQ(raceCountdown, 10.0f);
    EXPECT_EQ(shownPlace, 5);

    EXPECT_EQ(playerCar.position, Vector3(40, 0, -25));
    EXPECT_EQ(otherCars[3].position, Vector3(80, 0, -25));
    EXPECT_EQ(otherCars[4].position, Vector3(90, 0, -1000));
    EXPECT_EQ(cameraPosition, Vector3(35, 5, -25));

    const float cruise[4] = {4.0f, 0.6f, 1.8f, 2.9f};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(otherCars[k].aiCruiseSpeed, cruise[k]) << k;

    const Vector3 fireballs[4] = {{310, 0, -15}, {380, 0, -200}, {40, 0, -215}, {40, 0, -225}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(bursts[k].active) << k;
        EXPECT_EQ(bursts[k].origin, fireballs[k]) << k;
    }
    EXPECT_NE(frameTimer, nullptr);
    EXPECT_NE(quadric, nullptr);
    EXPECT_NE(mapPixels, nullptr);
}

// The save's writes beyond the process's file-size limit fail, as on a full disk, and the
// old save stays; the limit's signal would end the game at the write (the save tests
// show the rest).
TEST_F(StartUp, LetsASaveBeyondTheFileSizeLimitFailInsteadOfEndingTheGame) {
    ASSERT_TRUE(initGame());
    struct sigaction action;
    ASSERT_EQ(sigaction(SIGXFSZ, nullptr, &action), 0);
    EXPECT_EQ(action.sa_handler, SIG_IGN);
}

TEST_F(StartUp, LeavesTheOpenGLStateTheFramesRelyOn) {
    ASSERT_TRUE(initGame());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(std::max({clear[0], clear[1], clear[2], clear[3]}), 0.0f);

    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);

    EXPECT_TRUE(glIsEnabled(GL_FOG));
    glGetIntegerv(GL_FOG_MODE, &value);
    EXPECT_EQ(value, GL_EXP);
    GLfloat density = 0, fogColor[4] = {1, 1, 1, 1};
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_FLOAT_EQ(density, 0.001f);
    glGetFloatv(GL_FOG_COLOR, fogColor);
    EXPECT_EQ(std::max({fogColor[0], fogColor[1], fogColor[2], fogColor[3]}), 0.0f);

    GLfloat pointSize = 0;
    glGetFloatv(GL_POINT_SIZE, &pointSize);
    EXPECT_EQ(pointSize, 1.0f);
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CCW);

    // The start-line texture is left bound, repeating and linear; texturing is off.
    ASSERT_NE(checkerTexture, nullptr);
    EXPECT_NE(checkerTexture->texture, 0u);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(static_cast<GLuint>(value), checkerTexture->texture);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    const GLenum parameters[4][2] = {{GL_TEXTURE_WRAP_S, GL_REPEAT},
                                     {GL_TEXTURE_WRAP_T, GL_REPEAT},
                                     {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                                     {GL_TEXTURE_MAG_FILTER, GL_LINEAR}};
    for (const auto& parameter : parameters) {
        glGetTexParameteriv(GL_TEXTURE_2D, parameter[0], &value);
        EXPECT_EQ(static_cast<GLenum>(value), parameter[1]) << parameter[0];
    }
}

TEST_F(StartUp, RandomDrawsFollowTheSeedInTheirOrder) {
    ASSERT_TRUE(initGame());
    // From seed 14: 4800 for the fireballs, 4000 for the wind streaks, then the
    // boulders, x before z.
    Replay replay{14};
    for (int i = 0; i < 4800 + 4000; ++i) replay.next();
    for (int k = 5; k < 20; ++k) {
        float x = static_cast<float>(replay.next() % 1400) / trackScale;
        float z = -(static_cast<float>(replay.next() % 600) / trackScale);
        EXPECT_FLOAT_EQ(otherCars[k].position.x, x) << "boulder " << k;
        EXPECT_FLOAT_EQ(otherCars[k].position.z, z) << "boulder " << k;
    }
    EXPECT_EQ(randomState, replay.state);
}

TEST_F(StartUp, TheWindStreakShowsFivePointsAlongItsLength) {
    ASSERT_TRUE(initGame());
    // Looked at from the side, each unit of the streak's length one pixel column apart
    // by 64, every point on a pixel centre.
    const double half = 1.0 / 128;
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-5 - half, 5 - half, -3.75 - half, 3.75 - half, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90, 0, 1, 0);   // the streak's -z runs to the left
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(driftPointList);

    // The sixth point repeats the place of the fourth and loses the depth test to it;
    // nothing stands at the fifth unit.
    const Rgb expected[6] = {{255, 0, 0}, {179, 255, 0}, {255, 255, 0},
                             {0, 255, 0}, {0, 128, 255}, {0, 0, 0}};
    for (int k = 0; k < 6; ++k) {
        Rgb seen = readPixel(320 - 64 * k, 240);
        EXPECT_NEAR(seen.r, expected[k].r, 2) << "point at -" << k;
        EXPECT_NEAR(seen.g, expected[k].g, 2) << "point at -" << k;
        EXPECT_NEAR(seen.b, expected[k].b, 2) << "point at -" << k;
    }
    EXPECT_EQ(FramePixels().count({0, 0, 0}, 0), 640 * 480 - 5);
}

int drawnPixels(const Md2Model* model, GLuint list) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    if (list)
        glCallList(list);
    else
        drawMd2Frame(model, 1);
    return 640 * 480 - FramePixels().count({0, 0, 0}, 0);
}

TEST_F(StartUp, TheModelListsHoldFrameOneOfEachModel) {
    ASSERT_TRUE(initGame());
    const Md2Model* models[2] = {carModel, ballModel};
    const GLuint lists[2] = {carModelList, ballModelList};
    for (int m = 0; m < 2; ++m) {
        const Md2Model* model = models[m];
        ASSERT_NE(model, nullptr);
        ASSERT_GT(model->frameCount, 1);
        // Frame 1 fills the middle of the view.
        float low[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, high[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
        for (int j = 0; j < model->verticesPerFrame; ++j) {
            const Vector3& v = model->vertices[model->verticesPerFrame + j];
            const float c[3] = {v.x, v.y, v.z};
            for (int a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], c[a]);
                high[a] = std::max(high[a], c[a]);
            }
        }
        const float margin = std::max(high[0] - low[0], high[1] - low[1]) + 1;
        glViewport(0, 0, 640, 480);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(low[0] - margin, high[0] + margin, low[1] - margin, high[1] + margin,
                -high[2] - 1, -low[2] + 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_FOG);

        int fromList = drawnPixels(model, lists[m]);
        int fromFrame = drawnPixels(model, 0);
        EXPECT_GT(fromList, 100) << "model " << m;
        EXPECT_EQ(fromList, fromFrame) << "model " << m;
    }
}

TEST_F(StartUp, ASavedGameStartsWhereItWasSaved) {
    writeSave("0.2\r\n0.7\r\n0.4\r\n3.4\r\n2.4\r\n1.8\r\n4500\r\n3");
    ASSERT_TRUE(initGame());
    EXPECT_EQ(trackLevel, 3);
    EXPECT_EQ(trackScale, 3.0f);
    EXPECT_EQ(wallCount, 20);   // the water track's 19 walls
    EXPECT_EQ(money, 4500);
    EXPECT_FLOAT_EQ(playerCar.color.y, 0.7f);
    EXPECT_FLOAT_EQ(playerCar.accel, 3.4f);
    EXPECT_EQ(raceCountdown, 10.0f);
    EXPECT_EQ(cameraPosition, Vector3(35, 5, -25));
}

struct LevelCase {
    const char* name;
    const char* saved;
    int level, walls;
    float scale;
};

void PrintTo(const LevelCase& c, std::ostream* out) { *out << "saved level " << c.saved; }

std::string levelCaseName(const ::testing::TestParamInfo<LevelCase>& info) {
    return info.param.name;
}

class SavedTrackLevel : public StartUp, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(SavedTrackLevel, BeyondTheTracksStartsOnTheNearestOne) {
    const LevelCase& c = GetParam();
    writeSave((std::string("1 0 1 2 1.4 1.4 3000 ") + c.saved).c_str());
    ASSERT_TRUE(initGame());
    EXPECT_EQ(trackLevel, c.level);
    EXPECT_EQ(trackScale, c.scale);
    EXPECT_EQ(wallCount, c.walls + 1);
    EXPECT_GT(trackPointCount, 0);
    for (int k = 5; k < 20; ++k) {
        EXPECT_GE(otherCars[k].position.x, 0) << k;
        EXPECT_LE(otherCars[k].position.x, 1399 / c.scale) << k;
    }
}

const LevelCase levelCases[] = {
    {"Seven", "7", 4, 21, 3.0f},
    {"MinusThree", "-3", 1, 13, 1.0f},
    {"Letter", "fire", 1, 13, 1.0f},   // a letter in the level reads as 0
};
INSTANTIATE_TEST_SUITE_P(StartUpLevels, SavedTrackLevel, ::testing::ValuesIn(levelCases),
                         levelCaseName);

struct MissingCase {
    const char* name;
    const char* file;        // removed, or emptied when empty is set
    bool empty;
    const char* named;       // as the message names it
};

void PrintTo(const MissingCase& c, std::ostream* out) { *out << c.file; }

std::string missingCaseName(const ::testing::TestParamInfo<MissingCase>& info) {
    return info.param.name;
}

class RequiredFile : public StartUp, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(RequiredFile, MissingStopsTheStartUpWithAMessageNamingIt) {
    const MissingCase& c = GetParam();
    if (c.empty)
        std::ofstream(c.file, std::ios::binary | std::ios::trunc);
    else
        ASSERT_TRUE(std::filesystem::remove(c.file));
    captureMessageBoxes();
    EXPECT_FALSE(initGame());
    ASSERT_EQ(messageBoxCount(), 1);
    const std::string text = messageBoxText(0);
    EXPECT_NE(text.find(std::string("\"") + c.named + "\""), std::string::npos) << text;
    EXPECT_NE(text.find("data folder"), std::string::npos) << text;
}

const MissingCase missingCases[] = {
    {"CarModel", "models/ogro/tris.md2", false, "models\\ogro\\tris.md2"},
    {"BallModel", "models/ogro/ball.md2", false, "models\\ogro\\ball.md2"},
    {"Skin", "sky.bmp", false, "sky.bmp"},
    {"Checker", "checker.bmp", false, "checker.bmp"},
    {"EmptyCarModel", "models/ogro/tris.md2", true, "models\\ogro\\tris.md2"},
    {"EmptyChecker", "checker.bmp", true, "checker.bmp"},
};
INSTANTIATE_TEST_SUITE_P(StartUpData, RequiredFile, ::testing::ValuesIn(missingCases),
                         missingCaseName);

TEST_F(StartUp, WithoutTheMinimapImageTheGameStillStarts) {
    ASSERT_TRUE(std::filesystem::remove("map.bmp"));
    captureMessageBoxes();
    EXPECT_TRUE(initGame());
    EXPECT_EQ(mapPixels, nullptr);
    EXPECT_EQ(messageBoxCount(), 0);
    EXPECT_EQ(driftPointList, 260u);
}

}  // namespace
