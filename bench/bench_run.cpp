// bench_run.cpp - one run of the frame benchmark at one display size: starts the game as
// its entry point does (window and context, initGame) in the working folder, which must
// hold the game's data, and times the start-up's parts, the first frame and every scene.
// It reports to korv_frame_benchmark, which starts one run per size, in the lines of
// bench_report.h.
//
//   korv_frame_benchmark_run --size WxH [--frames N] [--warmup N] [--scene KEY]
//                            [--spawned-at MONOTONIC_NS]
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_report.h"
#include "bench_scenes.h"
#include "frame_pacing.h"
#include "frame_steps.h"
#include "game_clock.h"
#include "game_window.h"
#include "main_loop.h"
#include "monotonic_clock.h"
#include "start_up.h"
#include "start_up_phases.h"
#include "world.h"

namespace {

// Taken before any other static object of the program is constructed (the game's world
// objects among them), so that their construction is measured as a part of its own.
int64_t staticStartNs = 0;
__attribute__((constructor(101))) void noteStaticStart() { staticStartNs = monotonicNanoseconds(); }

double millisecondsBetween(int64_t from, int64_t to) { return double(to - from) / 1e6; }

struct RunOptions {
    int width = 0, height = 0;
    int frames = 400;
    int warmup = 30;
    int scene = -1;             // all
    int64_t spawnedAtNs = 0;    // when the benchmark started this run, if it did
};

bool parseRunOptions(int argc, char** argv, RunOptions& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        if (arg == "--size") {
            if (std::sscanf(value, "%dx%d", &options.width, &options.height) != 2) return false;
        } else if (arg == "--frames") {
            options.frames = std::atoi(value);
        } else if (arg == "--warmup") {
            options.warmup = std::atoi(value);
        } else if (arg == "--scene") {
            options.scene = sceneIndex(value);
            if (options.scene < 0) return false;
        } else if (arg == "--spawned-at") {
            options.spawnedAtNs = std::atoll(value);
        } else {
            return false;
        }
    }
    return options.width > 0 && options.height > 0 && options.frames > 0 && options.warmup >= 0;
}

// Peak resident memory in KiB, from the kernel's high-water mark (VmHWM); ru_maxrss as
// a fallback.
long peakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void reportGlString(const char* label, GLenum name) {
    const GLubyte* text = glGetString(name);
    writeGlLine(std::string(label) + " " + (text ? reinterpret_cast<const char*>(text) : "?"));
}

// The process's minor page faults so far, every thread's (the renderer's among them).
long minorPageFaults() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// A fingerprint of the frame last drawn (FNV-1a over its pixels): with the steady game
// clock two runs of one build draw the same frames, and a change that must not change a
// pixel can be checked against the build before it. Read after the timed frames.
unsigned long long lastFrameHash(const RunOptions& options) {
    static std::vector<unsigned char> pixels;
    pixels.resize(size_t(options.width) * size_t(options.height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, options.width, options.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char byte : pixels) hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

// Nearest-rank percentile of sorted times.
double percentile(const std::vector<double>& sorted, double p) {
    size_t rank = size_t(std::ceil(p / 100.0 * double(sorted.size())));
    if (rank < 1) rank = 1;
    return sorted[std::min(rank, sorted.size()) - 1];
}

double median(const std::vector<double>& sorted) {
    size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

struct StartUpTimes {
    int64_t windowStartNs = 0, windowEndNs = 0, initEndNs = 0;
};

// Starts the game as its entry point does: the window with its context, then initGame,
// with the start-up's parts timed. Null, with the reason on stderr, if it cannot start.
HWND startGame(const RunOptions& options, StartUpTimes& times) {
    times.windowStartNs = monotonicNanoseconds();
    HWND window = openGameWindow(nullptr, options.width, options.height);
    if (!window) {
        std::fprintf(stderr, "no window or OpenGL context (is SDL_VIDEODRIVER=offscreen?)\n");
        return nullptr;
    }
    times.windowEndNs = monotonicNanoseconds();
    // The game holds itself to 60 frames a second; a frame here is timed for its own
    // work, so the pacing is off from the game's start.
    setFramePacing(false);
    beginTimingStartUp();
    const bool started = initGame();
    endTimingStartUp();
    times.initEndNs = monotonicNanoseconds();
    if (!started) {
        std::fprintf(stderr, "initGame failed (is the game's data in the working folder?)\n");
        return nullptr;
    }
    return window;
}

void reportStartUp(const RunOptions& options, int64_t mainNs, const StartUpTimes& times,
                   int64_t firstFrameNs) {
    const int64_t windowStartNs = times.windowStartNs, windowEndNs = times.windowEndNs;
    const int64_t initEndNs = times.initEndNs;
    if (options.spawnedAtNs > 0)
        writeStartUpLine({"exec", millisecondsBetween(options.spawnedAtNs, staticStartNs)});
    writeStartUpLine({"world", millisecondsBetween(staticStartNs, mainNs)});
    writeStartUpLine({"window", millisecondsBetween(windowStartNs, windowEndNs)});
    double partsMs = 0;
    for (int part = 0; part < startUpPartCount; ++part) {
        partsMs += startUpPartSeconds(part) * 1000.0;
        writeStartUpLine({"part" + std::to_string(part), startUpPartSeconds(part) * 1000.0});
    }
    writeStartUpLine({"rest", millisecondsBetween(windowEndNs, initEndNs) - partsMs});
    writeStartUpLine({"first", millisecondsBetween(initEndNs, firstFrameNs)});
}

// A frame is timed until it is drawn: the offscreen surface's swap shows nothing and so
// waits for nothing, where a window's swap would wait for the frame before it. glFinish
// after each turn takes that place; the turn alone (the game's own work and the driver's
// taking of its commands, on the game's thread) is reported beside it.
void measureScene(const RunOptions& options, int sceneNumber, HWND window, MSG& message) {
    const Scene& scene = benchScenes[sceneNumber];
    enterScene(scene);
    bool running = true;
    for (int f = 0; f < options.warmup && running; ++f) {
        running = runSceneTurn(scene, window, message);
        glFinish();
    }
    std::vector<double> times, turnTimes;
    times.reserve(size_t(options.frames));
    turnTimes.reserve(size_t(options.frames));
    clearStepTimes();
    const long faultsBefore = minorPageFaults();
    setStepTiming(true);
    for (int f = 0; f < options.frames && running; ++f) {
        const int64_t start = monotonicNanoseconds();
        running = runSceneTurn(scene, window, message);
        const int64_t turnEnd = monotonicNanoseconds();
        glFinish();
        times.push_back(millisecondsBetween(start, monotonicNanoseconds()));
        turnTimes.push_back(millisecondsBetween(start, turnEnd));
    }
    setStepTiming(false);
    const long faults = minorPageFaults() - faultsBefore;
    if (times.empty()) return;

    const double frames = double(times.size());
    double turnTotalMs = 0;
    for (double t : turnTimes) turnTotalMs += t;
    double stepsMs = 0;
    for (int step = 0; step < frameStepCount; ++step) {
        const double ms = stepSeconds(step) * 1000.0 / frames;
        stepsMs += ms;
        if (ms > 0) writeStepLine({sceneNumber, step, ms});
    }
    if (scene.kind != sceneEmpty) {
        writeStepLine({sceneNumber, stepRowRestOfTurn, turnTotalMs / frames - stepsMs});
        writeStepLine({sceneNumber, stepRowWholeTurn, turnTotalMs / frames});
    }
    std::sort(times.begin(), times.end());
    std::sort(turnTimes.begin(), turnTimes.end());
    SceneLine line;
    line.scene = sceneNumber;
    line.medianMs = median(times);
    line.p95Ms = percentile(times, 95);
    line.frames = int(times.size());
    line.destroyed = scene.kind == sceneRace ? destroyedRacers() : 0;
    line.turnMedianMs = median(turnTimes);
    line.turnP95Ms = percentile(turnTimes, 95);
    line.faultsPerFrame = double(faults) / frames;
    line.lastFrameHash = lastFrameHash(options);
    writeSceneLine(line);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int64_t mainNs = monotonicNanoseconds();
    RunOptions options;
    if (!parseRunOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: korv_frame_benchmark_run --size WxH [--frames N] "
                             "[--warmup N] [--scene KEY] [--spawned-at NS]\n"
                             "(in a folder that holds the game's data; korv_frame_benchmark "
                             "starts it)\n");
        return 2;
    }

    StartUpTimes startUp;
    HWND window = startGame(options, startUp);
    if (!window) return 2;

    // The first frame: the main menu, as the game starts.
    MSG message;
    std::memset(&message, 0, sizeof message);
    int exitCode = 0;
    mainLoopTurn(window, message, exitCode);
    glFinish();
    const int64_t firstFrameNs = monotonicNanoseconds();
    const long firstFrameKiB = peakMemoryKiB();

    reportGlString("GL_RENDERER:", GL_RENDERER);
    reportGlString("GL_VERSION:", GL_VERSION);
    GLint depth = 0, stencil = 0, red = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_RED_BITS, &red);
    writeGlLine("buffers: " + std::to_string(red) + "-bit colour channels, " +
                std::to_string(depth) + "-bit depth, " + std::to_string(stencil) + "-bit stencil");
    reportStartUp(options, mainNs, startUp, firstFrameNs);
    std::fflush(stdout);

    startSteadyGameClock();
    for (int s = 0; s < benchSceneCount; ++s) {
        // The empty frame always runs: every other figure is also given as a multiple of it.
        if (options.scene >= 0 && options.scene != s && benchScenes[s].kind != sceneEmpty) continue;
        measureScene(options, s, window, message);
    }
    writeMemoryLine({firstFrameKiB, peakMemoryKiB()});
    return 0;
}
