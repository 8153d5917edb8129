// frame_steps.h - where a loop turn's time goes on the game's thread, by step.
#ifndef KORVALINTH_BENCH_FRAME_STEPS_H
#define KORVALINTH_BENCH_FRAME_STEPS_H

enum FrameStep {
    stepKeysAndMessage,   // PeekMessageA, pollKeys
    stepMinimap,          // drawMinimap and its pixel blocks
    stepText,             // printCentred and printNumber, wherever called
    stepHud,              // race projection, HUD layout, engine gauge, shield bar (text apart)
    stepScenery,          // start line, ground and sky, pool stencil, water, fire ground
    stepCarBodies,        // HoverCar::draw: body and shadow, in the updates and the mirror pass
    stepCarPhysics,       // HoverCar::update and collideWith, their drawing apart
    stepWallsAndPosts,    // TrackWall::draw and the posts
    stepExplosions,       // HoverCar::drawExplosion, its debris apart
    stepParticles,        // ParticleBurst::animate (fireballs, debris), DriftField::animate
    stepShopPreviews,     // the shop pages' figures (their texts apart)
    stepSwap,             // glFlush and SwapBuffers
    frameStepCount
};

const char* frameStepName(int step);

// Times the wrapped calls, each step's own time without the steps called inside it.
void setStepTiming(bool on);
void clearStepTimes();
double stepSeconds(int step);

#endif
