// car_model.h - the hover car, "models\ogro\tris.md2".
#ifndef KORVALINTH_TOOLS_CAR_MODEL_H
#define KORVALINTH_TOOLS_CAR_MODEL_H

#include "md2_writer.h"

Md2Mesh buildCarModel(int skinWidth, int skinHeight);

#endif
