// track.cpp - the walls, posts, outline and boulders of the current track, rebuilt
// whole into the fixed-size global tables by every build.
#include "track.h"

#include <cmath>

#include "random.h"
#include "text_streams.h"
#include "track_tables.h"
#include "world.h"

namespace {

const char* const outlineFileNames[8] = {
    "windx.txt", "windy.txt", "rockx.txt", "rocky.txt",
    "waterx.txt", "watery.txt", "firex.txt", "firey.txt",
};

const int wallSlots = 30;
const int postSlots = 250;
const int outlineSlots = 10000;

bool isRaceTrack(int level) { return level >= 1 && level <= 4; }

}  // namespace

TrackWall::TrackWall() : postCount(0) {}

void TrackWall::draw() const {
    glColor3f(1.0f, 1.0f, 0.0f);
    glPushMatrix();
    glBegin(GL_QUADS);
    glNormal3f(facing.x, facing.y, facing.z);
    glVertex3f(corner[1].x, corner[1].y, corner[1].z);
    glVertex3f(corner[2].x, corner[2].y, corner[2].z);
    glVertex3f(corner[3].x, corner[3].y, corner[3].z);
    glVertex3f(posts[0].x, posts[0].y, posts[0].z);
    glEnd();
    glPopMatrix();
}

void addTrackWall(float x1, float z1, float x2, float z2) {
    if (wallCount < 1 || wallCount >= wallSlots) return;   // slot 0 is never a wall
    z1 = -z1;
    z2 = -z2;
    x1 /= trackScale;
    z1 /= trackScale;
    x2 /= trackScale;
    z2 /= trackScale;
    TrackWall& wall = trackWalls[wallCount];
    wall.direction = Vector3(x2 - x1, 0.0f, z2 - z1);
    wall.direction.normalize();
    wall.postCount = 100;   // only until the post pass of the same build
    wall.corner[1] = Vector3(x1, 0.0f, z1);
    wall.corner[2] = Vector3(x2, 0.0f, z2);
    wall.corner[3] = Vector3(x2, 1.0f, z2);
    wall.posts[0] = Vector3(x1, 1.0f, z1);
    wallCount += 1;
}

void buildTrackBlock() {
    if (!isRaceTrack(trackLevel)) return;
    const TrackTable& table = trackTables[trackLevel - 1];
    trackScale = table.scale;
    for (int row = 0; row < table.rowCount; ++row) {
        const WallRow& r = table.rows[row];
        addTrackWall(r.x1, r.z1, r.x2, r.z2);
    }

    // One post: an open tube of radius 4 reaching from the list's origin one unit down.
    glNewList(postList, GL_COMPILE);
    glPushMatrix();
    if (table.postColoured) {
        glColor4f(table.postColour[0], table.postColour[1], table.postColour[2],
                  table.postColour[3]);
    }
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    if (quadric != nullptr) gluCylinder(quadric, 4.0, 4.0, 1.0, table.postSlices, 1);
    glPopMatrix();
    glEndList();
}

void openOutlineStreams() {
    for (int i = 0; i < 8; ++i) outlineStreams[i] = openTextInput(outlineFileNames[i], true);
}

void readTrackOutline() {
    const bool reading = isRaceTrack(trackLevel);
    std::ifstream& xs = outlineStreams[reading ? (trackLevel - 1) * 2 : 0];
    std::ifstream& zs = outlineStreams[reading ? (trackLevel - 1) * 2 + 1 : 1];
    // A failed extraction leaves the entry as an earlier build left it, so a short file
    // ends at the first entry that holds (0, 0); without an end pair in the whole table
    // trackPointCount keeps its previous value.
    for (int i = 0; i < outlineSlots; ++i) {
        Vector3& point = trackPoints[i];
        if (reading) {
            readFloat(xs, point.x);
            readFloat(zs, point.z);
        }
        if (point.x == 0.0f && point.z == 0.0f) {
            trackPointCount = i - 1;
            return;
        }
    }
}

void buildPosts() {
    for (int t = 1; t < wallSlots; ++t) {
        TrackWall& wall = trackWalls[t];
        const Vector3& start = wall.corner[1];
        for (int u = 1; u < postSlots; ++u) {
            const float along = static_cast<float>((u - 1) * 5);
            wall.posts[u] = Vector3(start.x + along * wall.direction.x, start.y,
                                    start.z + along * wall.direction.z);
            // An empty slot has both corners at the origin and ends here at u = 1.
            if (horizontalDistance(wall.corner[2], wall.posts[u]) < 4.0) {
                wall.postCount = u;
                break;
            }
        }
        wall.facing = Vector3(std::sqrt(wall.direction.z * wall.direction.z), 0.0f,
                              std::sqrt(wall.direction.x * wall.direction.x));
        // Not finite for an empty slot; the wall bounce never selects one.
        wallPlanes[t] = Plane::constructFromPoints(wall.corner[1], wall.corner[2], wall.corner[3]);
    }
}

void placeBoulders() {
    // trackScale is still 0 when the first build is for a level outside 1 to 4 (a save
    // file holding one); the boulders then take the wind track's scale of 1 instead of
    // becoming non-finite. They only take part on the rock track anyway.
    const float scale = trackScale != 0.0f ? trackScale : 1.0f;
    for (int k = 5; k <= 19; ++k) {
        otherCars[k].position.x = static_cast<float>(gameRand() % 1400) / scale;
        otherCars[k].position.z = -(static_cast<float>(gameRand() % 600) / scale);
    }
}

void closeOutlineStreams() {
    for (int i = 7; i >= 0; --i) outlineStreams[i].close();
}

void buildTrack() {
    wallCount = 1;
    for (TrackWall& wall : trackWalls) {
        for (Vector3& corner : wall.corner) corner = Vector3(0.0f, 0.0f, 0.0f);
        wall.posts[0] = Vector3(0.0f, 0.0f, 0.0f);
    }
    buildTrackBlock();
    openOutlineStreams();
    readTrackOutline();
    buildPosts();
    placeBoulders();
    raceCountdown = 5.0f;
    closeOutlineStreams();
}
