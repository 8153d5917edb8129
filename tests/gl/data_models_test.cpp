// data_models_test.cpp - the generated models and tables in a real context: both models
// load through the game's loader with their skin, their front faces (counter-clockwise
// after the drawing's corner swap) are their outsides, and the wall tables the outlines
// were checked against are the ones the game's track build lays.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game_fixture.h"
#include "md2_model.h"
#include "track.h"
#include "track_walls.h"
#include "world.h"

namespace {

// Draws frame 1 as the race draws a car body (scaled 0.1, tipped over, turned 45
// degrees) or, for the ball, unscaled, seen from a few units away.
void drawModel(Md2Model* model, bool asCar, float spin) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40, 640.0 / 480.0, 0.5, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, asCar ? 1.2 : 3, asCar ? 2.2 : 6, 0, asCar ? 0.2 : 0, 0, 0, 1, 0);
    glRotatef(spin, 0, 1, 0);
    if (asCar) {
        glScalef(0.1f, 0.1f, 0.1f);
        glRotatef(90, -1, 0, 0);
        glRotatef(45, 0, 0, 1);
    }
    glColor3f(1, 1, 1);
    drawMd2Frame(model, 1);
}

std::vector<float> depths() {
    std::vector<float> d(static_cast<size_t>(screenWidth) * screenHeight);
    glReadPixels(0, 0, screenWidth, screenHeight, GL_DEPTH_COMPONENT, GL_FLOAT, d.data());
    return d;
}

}  // namespace

// The data's models, loaded by the tests themselves without the start-up.
class DataModels : public GameFixture {
protected:
    DataModels() : GameFixture(640, 480, StartUp::Leave) {}
    void SetUp() override {
        GameFixture::SetUp();
        if (HasFatalFailure()) return;
        glEnable(GL_DEPTH_TEST);
        glFrontFace(GL_CCW);
    }
};

TEST_F(DataModels, BothModelsLoadWithTheSkyAsSkinAndShowTheirOutsidesAsFrontFaces) {
    for (const char* path : {"models\\ogro\\tris.md2", "models\\ogro\\ball.md2"}) {
        SCOPED_TRACE(path);
        Md2Model* model = loadMd2Model(path, "sky.bmp");
        ASSERT_NE(model, nullptr);
        EXPECT_GE(model->frameCount, 2);
        ASSERT_NE(model->skin, nullptr);
        EXPECT_NE(model->skin->texture, 0u);
        const bool isCar = std::string(path).find("tris") != std::string::npos;
        for (float spin : {0.0f, 90.0f, 200.0f}) {
            // With back faces culled the nearest surface must be the same as with
            // nothing culled: what is left are the outsides, facing the eye.
            glDisable(GL_CULL_FACE);
            drawModel(model, isCar, spin);
            const std::vector<float> whole = depths();
            glEnable(GL_CULL_FACE);
            drawModel(model, isCar, spin);
            const std::vector<float> culled = depths();
            glDisable(GL_CULL_FACE);
            int covered = 0, differing = 0;
            for (size_t i = 0; i < whole.size(); ++i) {
                if (whole[i] >= 1.0f) continue;
                ++covered;
                if (std::fabs(culled[i] - whole[i]) > 1e-4f) ++differing;
            }
            EXPECT_GT(covered, 2000) << "spin " << spin;
            EXPECT_LT(differing, covered / 100 + 10) << "spin " << spin;
        }
    }
}

TEST_F(DataModels, TheOutlinesWereCheckedAgainstTheWallsTheGameBuilds) {
    quadric = gluNewQuadric();
    postList = glGenLists(1);
    for (int level = 1; level <= trackCount; ++level) {
        SCOPED_TRACE("track " + std::to_string(level));
        trackLevel = level;
        wallCount = 1;
        buildTrackBlock();
        const std::vector<WallSegment> walls = trackWallSegments(level);
        ASSERT_EQ(wallCount, static_cast<int>(walls.size()) + 1);
        for (size_t k = 0; k < walls.size(); ++k) {
            const TrackWall& built = trackWalls[k + 1];
            EXPECT_NEAR(built.corner[1].x, walls[k].from.x, 1e-3);
            EXPECT_NEAR(built.corner[1].z, walls[k].from.z, 1e-3);
            EXPECT_NEAR(built.corner[2].x, walls[k].to.x, 1e-3);
            EXPECT_NEAR(built.corner[2].z, walls[k].to.z, 1e-3);
        }
    }
}
