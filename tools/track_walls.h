// track_walls.h - the four tracks' wall tables as the game builds them, for checking
// the outlines against the walls the cars meet.
#ifndef KORVALINTH_TOOLS_TRACK_WALLS_H
#define KORVALINTH_TOOLS_TRACK_WALLS_H

#include <vector>

#include "geometry.h"

struct WallSegment {
    GroundPoint from, to;  // world units
};

const int trackCount = 4;

// Track 1 to 4: each table row in track units, divided by the track's scale (1 on the
// wind track, 3 on the others) with z negated, as the track build does it.
std::vector<WallSegment> trackWallSegments(int track);
// The posts along a wall: 5 apart from its first end, stopping within 4 of the other.
std::vector<GroundPoint> wallPosts(const WallSegment& wall);

#endif
