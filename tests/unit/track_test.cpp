// track_test.cpp - the track build: wall tables, posts, planes, the outline files and
// the boulders (no window: the post list's GL calls go nowhere).
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "file_bytes.h"
#include "random.h"
#include "test_paths.h"
#include "world.h"

namespace {

void build(int level) {
    trackLevel = level;
    buildTrack();
}

bool hasWall(const TrackWall& wall) { return wall.corner[1] != wall.corner[2]; }

int wallsBuilt() {
    int count = 0;
    for (int t = 1; t < 30; ++t) count += hasWall(trackWalls[t]) ? 1 : 0;
    return count;
}

}  // namespace

class TrackBuild : public ::testing::Test {
protected:
    void SetUp() override {
        freshWorkDir(std::string("track-") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
};

TEST_F(TrackBuild, EachTrackHasItsWallsScaleAndPostCounts) {
    struct Case {
        int level;
        int walls;
        float scale;
        int slot;
        int postCount;
    };
    const Case cases[] = {
        {1, 13, 1.0f, 1, 73},    // 360 units: posts 0 to 355, element 73 on corner 2
        {1, 13, 1.0f, 11, 11},   // 50 units
        {2, 28, 3.0f, 2, 7},     // 100 track units: element 7 lies 3.33 from corner 2
        {3, 19, 3.0f, 6, 114},   // the longest wall, 566.67 world units
        {4, 21, 3.0f, 1, 94},    // 1400 track units, 466.67 world units
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level * 100 + c.slot);
        build(c.level);
        EXPECT_EQ(wallsBuilt(), c.walls);
        EXPECT_EQ(trackScale, c.scale);
        EXPECT_EQ(trackWalls[c.slot].postCount, c.postCount);
        EXPECT_EQ(raceCountdown, 5.0f);
    }
}

TEST_F(TrackBuild, PostsStartOnCornerOneFiveUnitsApart) {
    for (int level = 1; level <= 4; ++level) {
        build(level);
        for (int t = 1; t < 30; ++t) {
            SCOPED_TRACE(level * 100 + t);
            const TrackWall& wall = trackWalls[t];
            if (!hasWall(wall)) {
                EXPECT_EQ(wall.postCount, 1);
                continue;
            }
            EXPECT_EQ(wall.posts[1], wall.corner[1]);
            for (int u = 2; u < wall.postCount; ++u) {
                EXPECT_NEAR(horizontalDistance(wall.posts[u - 1], wall.posts[u]), 5.0, 1e-3);
                EXPECT_GE(horizontalDistance(wall.posts[u], wall.corner[2]), 4.0);
            }
            EXPECT_LT(horizontalDistance(wall.posts[wall.postCount], wall.corner[2]), 4.0);
            EXPECT_EQ(wall.corner[3], Vector3(wall.corner[2].x, 1, wall.corner[2].z));
            EXPECT_EQ(wall.posts[0], Vector3(wall.corner[1].x, 1, wall.corner[1].z));
        }
    }
}

TEST_F(TrackBuild, WindTrackCoordinatesPlaneAndDoubledWall) {
    build(1);
    const TrackWall& first = trackWalls[1];   // (40, 30)-(400, 30) in track units
    EXPECT_EQ(first.corner[1], Vector3(40, 0, -30));
    EXPECT_EQ(first.corner[2], Vector3(400, 0, -30));
    EXPECT_EQ(first.direction, Vector3(1, 0, 0));
    EXPECT_EQ(first.facing, Vector3(0, 0, 1));
    // The right-hand normal of a walker from corner 1 to corner 2.
    EXPECT_NEAR(wallPlanes[1].normal.x, 0, 1e-6);
    EXPECT_NEAR(wallPlanes[1].normal.z, 1, 1e-6);

    const TrackWall& diagonal = trackWalls[11];   // (40, 0)-(0, 30)
    EXPECT_NEAR(diagonal.direction.x, -0.8f, 1e-6);
    EXPECT_NEAR(diagonal.direction.z, -0.6f, 1e-6);
    EXPECT_NEAR(diagonal.facing.x, 0.6f, 1e-6);
    EXPECT_NEAR(diagonal.facing.z, 0.8f, 1e-6);

    for (int u = 0; u <= trackWalls[8].postCount; ++u) {
        EXPECT_EQ(trackWalls[8].posts[u], trackWalls[9].posts[u]) << u;
    }
    EXPECT_EQ(trackWalls[8].postCount, trackWalls[9].postCount);
    EXPECT_GT(trackWalls[8].postCount, 1);
}

TEST_F(TrackBuild, WindAfterRockEmptiesTheHigherSlots) {
    build(2);
    build(1);
    for (int t = 14; t <= 28; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(trackWalls[t].corner[1], Vector3());
        EXPECT_EQ(trackWalls[t].corner[2], Vector3());
        EXPECT_EQ(trackWalls[t].corner[3], Vector3());
        EXPECT_EQ(trackWalls[t].posts[0], Vector3());
        EXPECT_EQ(trackWalls[t].postCount, 1);
    }
}

TEST_F(TrackBuild, ALevelOutsideOneToFourBuildsNoWalls) {
    build(3);
    build(7);
    EXPECT_EQ(wallsBuilt(), 0);
    for (int t = 1; t < 30; ++t) EXPECT_EQ(trackWalls[t].postCount, 1) << t;
    EXPECT_EQ(trackScale, 3.0f);
    EXPECT_EQ(raceCountdown, 5.0f);
}

TEST_F(TrackBuild, OutlineFilesEndAtTheFirstZeroPair) {
    struct Case {
        const char* xs;
        const char* zs;
        int count;
        Vector3 third;   // entry 2, where there is one
    };
    const Case cases[] = {
        {"10 20 30 0", "-1 -2 -3 0", 2, Vector3(30, 0, -3)},
        {"10\n20\t30  0\n", "-1 -2\n-3 0", 2, Vector3(30, 0, -3)},
        {"0 5", "0 5", -1, Vector3()},
        {"10 0 30 0", "-1 0 -3 0", 0, Vector3()},   // a zero pair mid-file ends it
        // A failed extraction leaves the coordinate as it stood (0 in a fresh table).
        {"10 20 text 40", "-1 -2 -3 -4", 3, Vector3(0, 0, -3)},
        {"", "", -1, Vector3()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xs);
        for (Vector3& p : trackPoints) p = Vector3();
        writeFileBytes("rockx.txt", c.xs);
        writeFileBytes("rocky.txt", c.zs);
        build(2);
        EXPECT_EQ(trackPointCount, c.count);
        EXPECT_EQ(trackPoints[c.count + 1], Vector3());   // the end pair stays in the table
        EXPECT_EQ(trackPoints[2], c.third);
        if (c.count >= 0) {
            EXPECT_EQ(trackPoints[0], Vector3(10, 0, -1));
        }
    }
}

TEST_F(TrackBuild, OnlyTheCurrentTracksFilesAreReadAndMissingOnesAreCreated) {
    writeFileBytes("windx.txt", "1 2 0");
    writeFileBytes("windy.txt", "3 4 0");
    build(1);
    EXPECT_EQ(trackPointCount, 1);
    EXPECT_EQ(trackPoints[1], Vector3(2, 0, 4));
    for (const char* name : {"rockx.txt", "rocky.txt", "waterx.txt", "watery.txt", "firex.txt",
                             "firey.txt"}) {
        EXPECT_TRUE(std::ifstream(name).good()) << name;
    }
    // Shorter data leaves the later entries of the earlier outline in place; here the
    // earlier end pair in entry 2 ends the new one too.
    writeFileBytes("firex.txt", "7");
    writeFileBytes("firey.txt", "8");
    build(4);
    EXPECT_EQ(trackPoints[0], Vector3(7, 0, 8));
    EXPECT_EQ(trackPointCount, 1);
}

TEST_F(TrackBuild, TenThousandPointsWithoutAnEndPairKeepTheCount) {
    std::string xs, zs;
    for (int i = 0; i < 10000; ++i) {
        xs += "1 ";
        zs += "2 ";
    }
    writeFileBytes("waterx.txt", xs);
    writeFileBytes("watery.txt", zs);
    trackPointCount = 42;
    build(3);
    EXPECT_EQ(trackPointCount, 42);
    EXPECT_EQ(trackPoints[9999], Vector3(1, 0, 2));
}

TEST_F(TrackBuild, BouldersLieWithinTheScaledField) {
    struct Case {
        int level;
        float scale;   // 0: trackScale as no track has set it yet
    };
    const Case cases[] = {{2, 3.0f}, {1, 1.0f}, {0, 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        trackScale = c.scale;
        gameSrand(14);
        build(c.level);
        const float divisor = c.scale != 0.0f ? c.scale : 1.0f;
        for (int k = 5; k <= 19; ++k) {
            const Vector3& p = otherCars[k].position;
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.z)) << k;
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x, 1399 / divisor + 1e-3f);
            EXPECT_LE(p.z, 0);
            EXPECT_GE(p.z, -599 / divisor - 1e-3f);
            EXPECT_EQ(p.y, 0);
        }
        // Seed 14 draws 84 and 27125 first: x before z.
        EXPECT_FLOAT_EQ(otherCars[5].position.x, 84 / divisor);
        EXPECT_FLOAT_EQ(otherCars[5].position.z, -(27125 % 600) / divisor);
    }
}
