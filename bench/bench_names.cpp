// bench_names.cpp - the frame benchmark's scenes, frame steps and start-up parts.
#include "bench_names.h"

#include <cstring>

int sceneIndex(const char* key) {
    for (int s = 0; s < benchSceneCount; ++s)
        if (std::strcmp(benchScenes[s].key, key) == 0) return s;
    return -1;
}

const char* frameStepName(int step) {
    switch (step) {
    case stepKeysAndMessage: return "message and keys";
    case stepMinimap: return "minimap (pixel blocks)";
    case stepText: return "text (outline glyphs)";
    case stepHud: return "HUD layout, gauge, shield bar";
    case stepScenery: return "start line and scenery";
    case stepCarBodies: return "car bodies and shadows";
    case stepCarPhysics: return "car physics and steering";
    case stepWallsAndPosts: return "walls and posts";
    case stepExplosions: return "explosions";
    case stepParticles: return "particles and wind streaks";
    case stepShopPreviews: return "shop figures";
    case stepSwap: return "flush and swap";
    default: return "?";
    }
}

const char* startUpPartName(int part) {
    switch (part) {
    case partSaveFile: return "save file";
    case partModelsAndImages: return "models and images";
    case partFont: return "font";
    case partTrack: return "track";
    default: return "?";
    }
}
