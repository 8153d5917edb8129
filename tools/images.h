// images.h - the game's three pictures: "sky.bmp", "checker.bmp" and "map.bmp".
#ifndef KORVALINTH_TOOLS_IMAGES_H
#define KORVALINTH_TOOLS_IMAGES_H

#include "bmp_writer.h"

const int skySize = 256;

Picture makeSkyPicture();
Picture makeCheckerPicture();
Picture makeMapPicture();

// The minimap marker colours, read from the start of "map.bmp"'s pixel buffer.
const Rgb8 postMarkerColour{255, 240, 80};   // light yellow, like the walls
const Rgb8 opponentMarkerColour{255, 64, 0}; // orange-red
const Rgb8 playerMarkerColour{0, 255, 64};   // green

#endif
