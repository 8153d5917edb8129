// track_walls.cpp - the wall tables, row by row, in track units (x1, z1, x2, z2).
#include "track_walls.h"

#include <cmath>

namespace {

struct TableRow {
    float x1, z1, x2, z2;
};

const TableRow windRows[] = {
    {40, 30, 400, 30},  {40, 0, 400, 0},   {40, 100, 400, 100}, {40, 130, 400, 130}, {40, 30, 40, 100},
    {400, 30, 400, 100}, {450, 30, 450, 100}, {400, 0, 450, 30},  {400, 0, 450, 30},   {400, 130, 450, 100},
    {40, 0, 0, 30},     {0, 30, 0, 100},   {40, 130, 0, 100},
};

const TableRow rockRows[] = {
    {0, 0, 1000, 0},       {1000, 0, 1000, 100},   {1000, 100, 1100, 100}, {1100, 100, 1100, 200},
    {1100, 200, 1200, 200}, {1200, 200, 1200, 300}, {1200, 300, 1400, 300}, {1400, 300, 1400, 600},
    {1400, 600, 800, 600},  {800, 600, 800, 500},   {800, 500, 700, 500},   {700, 500, 700, 400},
    {700, 400, 0, 400},     {0, 400, 0, 0},         {100, 100, 800, 100},   {800, 100, 800, 200},
    {800, 200, 1000, 200},  {1000, 200, 1000, 300}, {1000, 300, 1100, 300}, {1100, 300, 1100, 400},
    {1100, 400, 1300, 400}, {1300, 400, 1300, 500}, {1300, 500, 900, 500},  {900, 500, 900, 400},
    {900, 400, 800, 400},   {800, 400, 800, 300},   {800, 300, 100, 300},   {100, 300, 100, 100},
};

const TableRow waterRows[] = {
    {0, 600, 0, 0},         {0, 0, 800, 0},         {800, 0, 900, 100},     {900, 100, 1700, 100},
    {1700, 100, 1700, 600}, {1700, 600, 0, 600},    {700, 100, 800, 200},   {800, 200, 1200, 200},
    {1200, 200, 1500, 500}, {1500, 500, 1000, 500}, {1000, 500, 600, 100},  {700, 100, 100, 100},
    {100, 200, 600, 200},   {600, 200, 900, 500},   {900, 500, 100, 500},   {100, 500, 100, 200},
    {1300, 200, 1600, 200}, {1600, 200, 1600, 500}, {1600, 500, 1300, 200},
};

const TableRow fireRows[] = {
    {0, 0, 1400, 0},        {1400, 0, 1400, 900},   {1400, 900, 0, 900},    {0, 900, 0, 0},
    {100, 100, 800, 100},   {800, 100, 800, 400},   {800, 400, 1100, 400},  {1100, 400, 1100, 100},
    {1100, 100, 1300, 100}, {1300, 100, 1300, 400}, {1300, 400, 900, 800},  {900, 800, 500, 800},
    {500, 800, 100, 500},   {100, 500, 100, 100},   {900, 100, 1000, 100},  {1000, 100, 1000, 300},
    {1000, 300, 900, 300},  {900, 300, 900, 100},   {1000, 800, 1300, 500}, {1300, 500, 1300, 800},
    {1300, 800, 1000, 800},
};

template <size_t n>
std::vector<WallSegment> toWorld(const TableRow (&rows)[n], float scale) {
    std::vector<WallSegment> walls;
    for (const TableRow& r : rows)
        walls.push_back({{r.x1 / scale, -r.z1 / scale}, {r.x2 / scale, -r.z2 / scale}});
    return walls;
}

}  // namespace

std::vector<WallSegment> trackWallSegments(int track) {
    switch (track) {
    case 1: return toWorld(windRows, 1.0f);
    case 2: return toWorld(rockRows, 3.0f);
    case 3: return toWorld(waterRows, 3.0f);
    case 4: return toWorld(fireRows, 3.0f);
    default: return {};
    }
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
