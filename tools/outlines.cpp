// outlines.cpp - each course as a loop of key points along the middle of the track
// (world units: x, z), cut into points at most 10 apart.
//
// How the game uses them: a computer car aims at its waypoint until it is within
// 50 - 10 x speed of it (about 36 at full speed) and then takes the next, so with points
// 10 apart it always aims at the first point about 40 ahead along the course, and after
// the last point it goes on at point 2. A car passes a checkpoint when it comes within
// 100 of it (200 on the water track), in order, and the race ends once the player has
// passed three times the last index. The key points are placed where cars at full
// speed, which turn wide, keep clear of the posts (a car within 4 of a post loses
// shield); they were tuned in a simulation of the steering and physics.
//
// Where the list starts: the lap counter moves on when the last point comes within
// checkpoint reach, and the race ends when the third-last point of the third lap does.
// So the list is turned to end two points past the first point that lies a whole reach
// beyond the start line: the finish then falls on the start line and the lap counter
// moves on just after it. The list thus begins on the first straight, ahead of the grid,
// and runs once round in racing order (from the grid facing +x).
#include "outlines.h"

#include <cmath>
#include <cstdio>

#include "number_files.h"
#include "track_walls.h"

namespace {

struct Course {
    int track;
    const char* xFile;
    const char* zFile;
    double checkpointReach;
    std::vector<GroundPoint> loop;  // starts on the start line and closes on itself
};

// Wind: an oval round one long island; the lanes are 30 wide and the ends 40 and 50. The
// grid is on the first straight, 5 from the island's wall.
const Course wind{1, "windx.txt", "windy.txt", 100,
                  {
                      {105, -15},   {230, -15},   {371, -11.5}, {404.5, -15.8}, {417.3, -19.1},
                      {415.7, -36.5}, {429.2, -77.8}, {421.2, -84}, {419.4, -88.4}, {403.8, -108.3},
                      {360.2, -107.9}, {53.2, -121.3}, {47.6, -114.8}, {24.6, -102.7}, {20.5, -80.4},
                      {17.3, -64.5}, {20.7, -42.8}, {29.7, -25.3}, {31, -16}, {47, -22.7},
                  }};

// Rock: a lane 33 wide that climbs a staircase of walls to the far end, turns back in a
// tight bend round the tip of the island, comes down a second staircase and returns along
// the upper straight and the near side. The grid is on the first straight, 8 from the
// island. Cars at full speed turn wider than the lane, so the far bend is taken on a
// racing line with its apex at the island's tip.
const Course rock{2, "rockx.txt", "rocky.txt", 100,
                  {
                      {105, -16.7}, {150, -16.7}, {281.3, -8.9}, {297.3, -21.6}, {379.6, -101.6},
                      {407.8, -113.6}, {419.6, -114.3}, {422.7, -107.2}, {437.5, -107.1}, {438.5, -112},
                      {450, -113.1}, {456, -136.2}, {457.3, -136}, {455.9, -147.3}, {451.3, -148.6},
                      {442.2, -162.1}, {442.6, -167}, {437.7, -173.1}, {429, -175}, {421.5, -173.9},
                      {411.4, -174.1}, {311.1, -185}, {299.9, -182.2}, {243.5, -121.3}, {224, -112.9},
                      {36.4, -124.8}, {30.1, -120.5}, {22.7, -88.4}, {18.5, -34.9}, {24.9, -29},
                      {36.6, -20.7},
                  }};

// Water: the outer loop round the three islands, over all three pools; the two diagonal
// channels between the islands are left out. The grid is on the first straight, 8 from
// the divider wall.
const Course water{3, "waterx.txt", "watery.txt", 200,
                  {
                      {105, -16.7}, {150, -16.7}, {213.1, -14}, {248, -22}, {265, -35}, {277.3, -59.3},
                      {308.4, -46.3}, {514, -42.4}, {534.5, -54.1}, {547.5, -74.4}, {549.9, -159.7},
                      {540.5, -180.4}, {527.5, -179.1}, {32.2, -186}, {24.6, -191.6}, {23.2, -160.2},
                      {16.7, -49}, {31.2, -14.7}, {48.9, -23.4},
                  }};

// Fire: round the big island, clear of the fireballs that destroy a car within 15: the
// one on the first straight (310, -15) is passed by the detour into the notch and round
// the block inside it, the one in the diagonal channel (380, -200) by the lane round the
// outside of the triangle, and the pair at (40, -215) and (40, -225) on their inner side
// along the island's slanting wall. The grid is on the first straight, 8 from the island.
const Course fire{4, "firex.txt", "firey.txt", 100,
                  {
                      {108.6, -14.8}, {150, -16.7}, {243.3, -8.3}, {253, -14.4}, {281, -29.4},
                      {274.5, -42.4}, {276.3, -98.9}, {285.5, -110.2}, {306.9, -120.9}, {324.2, -115},
                      {333.8, -109.3}, {340.3, -103.9}, {341.4, -40.7}, {356.1, -21.3}, {384.8, -19.5},
                      {399.5, -22.3}, {419.6, -23}, {443.8, -25.6}, {447.6, -43.1}, {454.8, -267.1},
                      {431.8, -276.1}, {421.9, -277.6}, {192.1, -281.6}, {164.7, -278}, {118.5, -242.5},
                      {75.6, -215}, {42.1, -187.4}, {22.3, -172.4}, {14.7, -146.9}, {13, -46.5},
                      {25.3, -25.6}, {35.1, -19.8},
                  }};

std::vector<GroundPoint> cutIntoPoints(const std::vector<GroundPoint>& loop) {
    std::vector<GroundPoint> points;
    for (size_t i = 0; i < loop.size(); ++i) {
        const GroundPoint a = loop[i], b = loop[(i + 1) % loop.size()];
        const int pieces = static_cast<int>(std::ceil(groundDistance(a, b) / outlineSpacing - 1e-9));
        for (int k = 0; k < pieces; ++k) {
            const double u = static_cast<double>(k) / pieces;
            points.push_back(roundedToFile({a.x + (b.x - a.x) * u, a.z + (b.z - a.z) * u}));
        }
    }
    return points;
}

// The cars leave the grid aiming straight at point 1.
bool seenFromGrid(GroundPoint point, const std::vector<WallSegment>& walls) {
    for (const GroundPoint& slot : gridSlots)
        for (const WallSegment& w : walls)
            if (segmentDistance(slot, point, w.from, w.to) < gridSightClearance) return false;
    return true;
}

Outline outlineOf(const Course& course) {
    const std::vector<GroundPoint> loop = cutIntoPoints(course.loop);
    const std::vector<WallSegment> walls = trackWallSegments(course.track);
    size_t finish = 0;  // the point that the third lap's end waits for
    while (finish + 1 < loop.size() && groundDistance(loop[finish], startLineCentre) < course.checkpointReach) ++finish;
    // On the water track a whole reach (200) beyond the line lies round the first bend,
    // out of the grid's sight; there the list starts earlier and the finish comes
    // before the line.
    while (finish > 0 && !seenFromGrid(loop[(finish + 4) % loop.size()], walls)) --finish;
    Outline outline{course.track, course.xFile, course.zFile, {}};
    for (size_t k = 0; k < loop.size(); ++k) outline.points.push_back(loop[(finish + 3 + k) % loop.size()]);
    return outline;
}

}  // namespace

std::vector<Outline> buildOutlines() {
    return {outlineOf(wind), outlineOf(rock), outlineOf(water), outlineOf(fire)};
}

std::string checkOutline(const Outline& outline) {
    const std::vector<GroundPoint>& p = outline.points;
    const std::vector<WallSegment> walls = trackWallSegments(outline.track);
    char message[200];
    if (p.size() < 10 || p.size() > 9999) return "too few or too many points";
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i].x == 0 && p[i].z == 0) return "a point at (0, 0) would end the outline";
        // Segment i runs to the next point; the last one to point 2, where a car goes on.
        const GroundPoint to = i + 1 < p.size() ? p[i + 1] : p[2];
        const double step = groundDistance(p[i], to);
        if (i + 1 < p.size() && (step > outlineSpacing + 0.01 || step < 1.0)) {
            std::snprintf(message, sizeof message, "points %zu and %zu are %.2f apart", i, i + 1, step);
            return message;
        }
        if (outline.track == 4) {
            for (const GroundPoint& f : fireballOrigins) {
                if (segmentDistance(p[i], to, f, f) < fireballClearance) {
                    std::snprintf(message, sizeof message, "segment from point %zu passes within %.2f of a fireball", i,
                                  segmentDistance(p[i], to, f, f));
                    return message;
                }
            }
        }
        for (size_t w = 0; w < walls.size(); ++w) {
            const double clear = segmentDistance(p[i], to, walls[w].from, walls[w].to);
            if (clear < outlineWallClearance) {
                std::snprintf(message, sizeof message, "segment from point %zu (%.2f, %.2f) is %.2f from wall row %zu", i,
                              p[i].x, p[i].z, clear, w + 1);
                return message;
            }
        }
    }
    // The cars leave the grid aiming at point 1; the grid lies on the course, so an
    // outline joined to it by clear lines lies on the course too, not beyond its walls.
    if (!seenFromGrid(p[1], walls)) return "the way from the grid to point 1 passes too close to a wall";
    return "";
}
