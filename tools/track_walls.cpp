// track_walls.cpp - the game's wall tables in world units, for checking the outlines.
#include "track_walls.h"

#include <cmath>

#include "track_tables.h"

namespace {

std::vector<WallSegment> toWorld(const TrackTable& table) {
    std::vector<WallSegment> walls;
    const float scale = table.scale;
    for (int i = 0; i < table.rowCount; ++i) {
        const WallRow& r = table.rows[i];
        walls.push_back({{r.x1 / scale, -r.z1 / scale}, {r.x2 / scale, -r.z2 / scale}});
    }
    return walls;
}

}  // namespace

std::vector<WallSegment> trackWallSegments(int track) {
    if (track < 1 || track > 4) return {};
    return toWorld(trackTables[track - 1]);
}

std::vector<GroundPoint> wallPosts(const WallSegment& wall) {
    std::vector<GroundPoint> posts;
    const double length = groundDistance(wall.from, wall.to);
    const double dx = (wall.to.x - wall.from.x) / length, dz = (wall.to.z - wall.from.z) / length;
    for (int u = 1; u < 250; ++u) {
        const double s = (u - 1) * 5.0;
        const GroundPoint p{wall.from.x + s * dx, wall.from.z + s * dz};
        if (groundDistance(wall.to, p) < 4.0) break;
        posts.push_back(p);
    }
    return posts;
}
