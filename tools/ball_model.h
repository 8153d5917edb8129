// ball_model.h - the ball, "models\ogro\ball.md2": boulders and every burst particle.
#ifndef KORVALINTH_TOOLS_BALL_MODEL_H
#define KORVALINTH_TOOLS_BALL_MODEL_H

#include "md2_writer.h"

const float ballRadius = 1.5f;  // boulders are drawn 1.5 above the ground, unscaled

Md2Mesh buildBallModel(int skinWidth, int skinHeight);

#endif
