// bench_names.h - what the frame benchmark measures, by name: its scenes, the steps of
// a frame and the parts of the start-up. Shared by the benchmark and the run it starts
// for each display size.
#ifndef KORVALINTH_BENCH_BENCH_NAMES_H
#define KORVALINTH_BENCH_BENCH_NAMES_H

#include "game_state.h"

enum SceneKind { sceneEmpty, sceneMainMenu, sceneSetupPage, sceneRace };

struct Scene {
    const char* key;    // for --scene and the run's report lines
    const char* name;   // as the tables show it
    SceneKind kind;
    int value;          // the set-up page (its GameState) or the track
};

// The empty frame is scene 0: every other figure is also given as a multiple of it.
inline constexpr Scene benchScenes[] = {
    {"empty", "empty frame (clear, swap)", sceneEmpty, 0},
    {"menu", "main menu", sceneMainMenu, 0},
    {"colour", "set-up: colour", sceneSetupPage, GameState::SetupColor},
    {"engine", "set-up: engine", sceneSetupPage, GameState::SetupEngine},
    {"boost", "set-up: boost", sceneSetupPage, GameState::SetupBoost},
    {"tires", "set-up: grav tires", sceneSetupPage, GameState::SetupTires},
    {"wind", "race: wind (track 1)", sceneRace, 1},
    {"earth", "race: earth (track 2)", sceneRace, 2},
    {"water", "race: water (track 3)", sceneRace, 3},
    {"fire", "race: fire (track 4)", sceneRace, 4},
};
constexpr int benchSceneCount = int(sizeof benchScenes / sizeof benchScenes[0]);
int sceneIndex(const char* key);   // -1 for none

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

enum StartUpPart {
    partSaveFile,         // reading "save.car"
    partModelsAndImages,  // the two models with their skin, the map, the checker texture,
                          // and the model frames compiled into their lists
    partFont,             // the outline font's 256 display lists
    partTrack,            // wall table, post list, outline files, posts, boulders
    startUpPartCount
};

const char* startUpPartName(int part);

#endif
