// track.h - walls, posts, outline and the track build.
#ifndef KORVALINTH_GAME_TRACK_H
#define KORVALINTH_GAME_TRACK_H

#include "vector3.h"

class TrackWall {
public:
    Vector3 corner[4];     // 1..3 hold quad corners 1..3; 0 is cleared and never read
    Vector3 posts[250];    // 0 holds quad corner 4; 1..postCount-1 are the posts
    int postCount;
    Vector3 direction;     // unit, corner 1 to corner 2
    Vector3 facing;        // (|direction.z|, 0, |direction.x|)

    TrackWall();
    void draw() const;
};

void addTrackWall(float x1, float z1, float x2, float z2);
void buildTrack();

// The steps of the build that the start-up also runs on its own, in its own order.
void buildTrackBlock();        // trackScale, the wall table rows, postList
void openOutlineStreams();     // the eight outline files, in their order
void readTrackOutline();       // the current track's outline into trackPoints
void buildPosts();             // posts, postCount, facing and wallPlanes of slots 1..29
void placeBoulders();          // otherCars[5..19]
void closeOutlineStreams();    // in reverse order of opening

#endif
