// number_files.h - the outline and camera-path files: one decimal number a line, read
// by the game with stream extraction.
#ifndef KORVALINTH_TOOLS_NUMBER_FILES_H
#define KORVALINTH_TOOLS_NUMBER_FILES_H

#include <string>
#include <vector>

#include "geometry.h"

// The x file and the z file of a point list followed by the "0 0" end pair, two
// decimals each. Points are rounded to the written figures before being checked, so
// what the game reads is what the checks saw.
std::string numberList(const std::vector<double>& values);
GroundPoint roundedToFile(GroundPoint p);

#endif
