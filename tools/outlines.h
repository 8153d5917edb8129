// outlines.h - the eight outline files: for each track the points that computer cars
// steer along and that count checkpoints and laps.
#ifndef KORVALINTH_TOOLS_OUTLINES_H
#define KORVALINTH_TOOLS_OUTLINES_H

#include <string>
#include <vector>

#include "geometry.h"

struct Outline {
    int track;                  // 1 wind, 2 rock, 3 water, 4 fire
    const char* xFile;          // "windx.txt"
    const char* zFile;          // "windy.txt"
    std::vector<GroundPoint> points;  // racing order, once round, without the end pair
};

// Limits every outline keeps (checked by the tool before it writes anything).
const double outlineSpacing = 10.0;         // at most this far from one point to the next
const double outlineWallClearance = 6.5;    // every segment this far from every wall
const double fireballClearance = 22.0;      // from the fire track's fireballs, which
                                            // destroy a car that comes within 15
const double gridSightClearance = 4.5;      // the lines from the grid to point 1 (the grid
                                            // stands 5 from the wind track's island)

std::vector<Outline> buildOutlines();
// Empty when the outline keeps its promises, else what is wrong.
std::string checkOutline(const Outline& outline);

// The starting grid, where every race begins: x 40 to 80 at z -25, facing +x.
const GroundPoint gridSlots[5] = {{40, -25}, {50, -25}, {60, -25}, {70, -25}, {80, -25}};
// The fireballs' fixed places on the fire track (the same on every track, unscaled).
const GroundPoint fireballOrigins[4] = {{310, -15}, {380, -200}, {40, -215}, {40, -225}};
// The middle of the start line (x 100 to 110, z -30 to 0).
const GroundPoint startLineCentre{105, -15};

#endif
