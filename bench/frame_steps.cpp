// frame_steps.cpp - timing wrappers around the steps of the game's frames. The
// benchmark's link routes the game's calls to these functions through --wrap
// (bench/CMakeLists.txt), so the frame code runs unchanged. Each step's time is its own:
// a wrapped call made inside another (a car's body drawn inside its update, the text of
// the HUD) is taken out of the outer step and counted in its own.
#include "frame_steps.h"

#include "hover_car.h"
#include "monotonic_clock.h"
#include "particles.h"
#include "platform.h"
#include "track.h"

namespace {

bool timing = false;
int64_t totals[frameStepCount];

struct Open {
    int step;
    int64_t start;
    int64_t inner;   // time of the wrapped calls made inside this one
};
const int maxDepth = 64;
Open open[maxDepth];
int depth = 0;

class StepTimer {
public:
    explicit StepTimer(int step) : active(timing && depth < maxDepth) {
        if (active) open[depth++] = Open{step, monotonicNanoseconds(), 0};
    }
    ~StepTimer() {
        if (!active) return;
        const Open& o = open[--depth];
        const int64_t elapsed = monotonicNanoseconds() - o.start;
        totals[o.step] += elapsed - o.inner;
        if (depth > 0) open[depth - 1].inner += elapsed;
    }
    StepTimer(const StepTimer&) = delete;
    StepTimer& operator=(const StepTimer&) = delete;

private:
    bool active;
};

}  // namespace

void setStepTiming(bool on) { timing = on; }

void clearStepTimes() {
    for (int64_t& t : totals) t = 0;
}

double stepSeconds(int step) {
    return step >= 0 && step < frameStepCount ? double(totals[step]) / 1e9 : 0.0;
}

// The linker's names: __real_X is the game's own X; the game's calls to X reach __wrap_X.
// Member functions take the object first.
#define TIMED_VOID(symbol, step, parameters, arguments) \
    extern "C" void __real_##symbol parameters;         \
    extern "C" void __wrap_##symbol parameters {        \
        StepTimer timer(step);                          \
        __real_##symbol arguments;                      \
    }
#define TIMED_RESULT(type, symbol, step, parameters, arguments) \
    extern "C" type __real_##symbol parameters;                 \
    extern "C" type __wrap_##symbol parameters {                \
        StepTimer timer(step);                                  \
        return __real_##symbol arguments;                       \
    }

TIMED_RESULT(BOOL, _Z12PeekMessageAP6tagMSGP6HWND__jjj, stepKeysAndMessage,
             (MSG * m, HWND w, UINT a, UINT b, UINT r), (m, w, a, b, r))
TIMED_VOID(_Z8pollKeysv, stepKeysAndMessage, (), ())
TIMED_VOID(_Z11drawMinimapv, stepMinimap, (), ())
TIMED_VOID(_Z10drawPixelsiiPKv, stepMinimap, (int w, int h, const void* p), (w, h, p))
TIMED_VOID(_Z12printCentredjPKc, stepText, (GLuint base, const char* text), (base, text))
TIMED_VOID(_Z11printNumberf, stepText, (float value), (value))
TIMED_VOID(_Z13beginRaceViewv, stepHud, (), ())
TIMED_VOID(_Z7drawHudv, stepHud, (), ())
TIMED_VOID(_Z13drawShieldBarv, stepHud, (), ())
TIMED_VOID(_Z13drawStartLinev, stepScenery, (), ())
TIMED_VOID(_Z16drawTrackSceneryv, stepScenery, (), ())
TIMED_VOID(_Z22drawPoolMarksAndMirrorv, stepScenery, (), ())
TIMED_VOID(_Z17drawWaterAndPoolsv, stepScenery, (), ())
TIMED_VOID(_Z14drawFireGroundv, stepScenery, (), ())
TIMED_VOID(_ZNK8HoverCar4drawEv, stepCarBodies, (const HoverCar* car), (car))
TIMED_VOID(_ZN8HoverCar6updateERKS_, stepCarPhysics, (HoverCar * car, const HoverCar& other),
           (car, other))
TIMED_RESULT(bool, _ZN8HoverCar11collideWithERKS_, stepCarPhysics,
             (HoverCar * car, const HoverCar& other), (car, other))
TIMED_VOID(_Z17drawWallsAndPostsv, stepWallsAndPosts, (), ())
TIMED_VOID(_ZNK9TrackWall4drawEv, stepWallsAndPosts, (const TrackWall* wall), (wall))
TIMED_VOID(_ZN8HoverCar13drawExplosionEv, stepExplosions, (HoverCar * car), (car))
TIMED_VOID(_ZN13ParticleBurst7animateEv, stepParticles, (ParticleBurst * burst), (burst))
TIMED_VOID(_ZN10DriftField7animateEv, stepParticles, (DriftField * field), (field))
TIMED_VOID(_Z17drawEnginePreviewf, stepShopPreviews, (float choice), (choice))
TIMED_VOID(_Z16drawBoostPreviewff, stepShopPreviews, (float choice, float pulse), (choice, pulse))
TIMED_VOID(_Z15drawTirePreviewff, stepShopPreviews, (float choice, float pulse), (choice, pulse))
TIMED_VOID(_Z12endRaceFramev, stepSwap, (), ())
TIMED_RESULT(BOOL, _Z11SwapBuffersP5HDC__, stepSwap, (HDC dc), (dc))
