// camera_path.h - "camerax.txt" and "cameray.txt": the eye's flight over the wind track
// during the first race's countdown.
#ifndef KORVALINTH_TOOLS_CAMERA_PATH_H
#define KORVALINTH_TOOLS_CAMERA_PATH_H

#include <vector>

#include "geometry.h"

const int cameraFramesPerSecond = 60;

// One eye position (x, z) per frame, the last being the end pair (x, 0).
std::vector<GroundPoint> buildCameraPath();

#endif
