// frame_benchmark.cpp - the frame benchmark: renders every screen of the game headless
// (SDL's offscreen driver, Mesa's software renderer) and reports the median and 95th
// percentile frame time of each, its ratio to an empty frame (clear and swap) of the
// same run and size, where each screen's time goes on the game's thread, the time from
// the program's start to its first frame in parts, and the peak memory.
//
// Each display size runs in a process of its own, started from this one, so that every
// size starts the game from scratch (a window and context of that size, the world
// objects, the start-up) and its start-up time and peak memory are its own.
//
//   korv_frame_benchmark [--frames N] [--warmup N] [--sizes 640x480,1024x768]
//                        [--scene KEY] [--data DIR]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_scenes.h"
#include "frame_pacing.h"
#include "frame_steps.h"
#include "main_loop.h"
#include "start_up.h"
#include "start_up_phases.h"
#include "window_procedure.h"
#include "world.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// ---- clocks -------------------------------------------------------------------------

int64_t monotonicNanoseconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Taken before any other static object of the program is constructed (the game's world
// objects among them), so that their construction is measured as a part of its own.
int64_t staticStartNs = 0;
__attribute__((constructor(101))) void noteStaticStart() { staticStartNs = monotonicNanoseconds(); }

double millisecondsBetween(int64_t from, int64_t to) { return double(to - from) / 1e6; }

// ---- options ------------------------------------------------------------------------

struct Size {
    int width, height;
};

struct Options {
    int frames = 400;
    int warmup = 30;
    std::vector<Size> sizes = {{640, 480}, {1024, 768}};
    std::string scene;            // empty: all
    std::string dataDir = KORV_DATA_DIR;
    // In a child: its size, where to work, and when the parent started it.
    bool child = false;
    std::string workDir;
    int64_t spawnedAtNs = 0;
};

bool parseSize(const std::string& text, Size& size) {
    return std::sscanf(text.c_str(), "%dx%d", &size.width, &size.height) == 2 && size.width > 0 &&
           size.height > 0;
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            options.frames = std::atoi(argv[++i]);
        } else if (arg == "--warmup" && hasValue) {
            options.warmup = std::atoi(argv[++i]);
        } else if (arg == "--sizes" && hasValue) {
            options.sizes.clear();
            std::string list = argv[++i];
            size_t at = 0;
            while (at <= list.size()) {
                size_t comma = list.find(',', at);
                if (comma == std::string::npos) comma = list.size();
                Size size;
                if (!parseSize(list.substr(at, comma - at), size)) return false;
                options.sizes.push_back(size);
                at = comma + 1;
            }
        } else if (arg == "--scene" && hasValue) {
            options.scene = argv[++i];
        } else if (arg == "--data" && hasValue) {
            options.dataDir = argv[++i];
        } else if (arg == "--child" && i + 3 < argc) {
            Size size;
            if (!parseSize(argv[++i], size)) return false;
            options.sizes = {size};
            options.workDir = argv[++i];
            options.spawnedAtNs = std::atoll(argv[++i]);
            options.child = true;
        } else {
            return false;
        }
    }
    if (options.frames < 20 || options.warmup < 0 || options.sizes.empty()) return false;
    if (options.scene.empty()) return true;
    for (int s = 0; s < benchSceneCount; ++s)
        if (options.scene == benchScenes[s].key) return true;
    return false;
}

void printUsage() {
    std::fprintf(stderr,
                 "usage: korv_frame_benchmark [--frames N (>= 20)] [--warmup N] "
                 "[--sizes WxH,WxH] [--scene KEY] [--data DIR]\nscenes:");
    for (int s = 0; s < benchSceneCount; ++s) std::fprintf(stderr, " %s", benchScenes[s].key);
    std::fprintf(stderr, "\n");
}

// ---- the child: one size ------------------------------------------------------------

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

// The window the entry point makes: the same class, styles and client size, and the
// window procedure makes the rendering context current while it is created.
HWND openGameWindow(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.lpszClassName = "MyClass";
    if (!RegisterClassExA(&windowClass)) return nullptr;
    DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = WS_OVERLAPPEDWINDOW;
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    HWND window = CreateWindowExA(exStyle, "MyClass", "Korvalinth",
                                  style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void printGlString(const char* key, GLenum name) {
    const GLubyte* text = glGetString(name);
    std::printf("%s %s\n", key, text ? reinterpret_cast<const char*>(text) : "?");
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

// Writes machine-readable lines to stdout for the parent:
//   gl KEY TEXT / startup PART MS / scene KEY MEDIAN_MS P95_MS FRAMES DESTROYED /
//   memory FIRST_FRAME_KIB END_KIB
int runChild(const Options& options) {
    const int64_t mainNs = monotonicNanoseconds();
    const Size size = options.sizes[0];
    if (chdir(options.workDir.c_str()) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", options.workDir.c_str());
        return 2;
    }

    const int64_t windowStartNs = monotonicNanoseconds();
    HWND window = openGameWindow(size.width, size.height);
    if (!window) {
        std::fprintf(stderr, "no window or OpenGL context (is SDL_VIDEODRIVER=offscreen?)\n");
        return 2;
    }
    const int64_t windowEndNs = monotonicNanoseconds();

    // The game holds itself to 60 frames a second; a frame here is timed for its own
    // work, so the pacing is off from the game's start.
    setFramePacing(false);
    beginTimingStartUp();
    const bool started = initGame();
    endTimingStartUp();
    const int64_t initEndNs = monotonicNanoseconds();
    if (!started) return 2;

    // The first frame: the main menu, as the game starts.
    MSG message;
    std::memset(&message, 0, sizeof message);
    int exitCode = 0;
    mainLoopTurn(window, message, exitCode);
    glFinish();
    const int64_t firstFrameNs = monotonicNanoseconds();
    const long firstFrameKiB = peakMemoryKiB();

    printGlString("gl GL_RENDERER:", GL_RENDERER);
    printGlString("gl GL_VERSION:", GL_VERSION);
    GLint bits[3] = {0, 0, 0};
    glGetIntegerv(GL_DEPTH_BITS, &bits[0]);
    glGetIntegerv(GL_STENCIL_BITS, &bits[1]);
    glGetIntegerv(GL_RED_BITS, &bits[2]);
    std::printf("gl buffers: %d-bit colour channels, %d-bit depth, %d-bit stencil\n", bits[2],
                bits[0], bits[1]);

    double initSeconds = millisecondsBetween(windowEndNs, initEndNs) / 1000.0;
    double partsSeconds = 0;
    if (options.spawnedAtNs > 0)
        std::printf("startup exec %.3f\n", millisecondsBetween(options.spawnedAtNs, staticStartNs));
    std::printf("startup world %.3f\n", millisecondsBetween(staticStartNs, mainNs));
    std::printf("startup window %.3f\n", millisecondsBetween(windowStartNs, windowEndNs));
    for (int part = 0; part < startUpPartCount; ++part) {
        partsSeconds += startUpPartSeconds(part);
        std::printf("startup part%d %.3f\n", part, startUpPartSeconds(part) * 1000.0);
    }
    std::printf("startup rest %.3f\n", (initSeconds - partsSeconds) * 1000.0);
    std::printf("startup first %.3f\n", millisecondsBetween(initEndNs, firstFrameNs));
    std::fflush(stdout);

    // A frame is timed until it is drawn: the offscreen surface's swap shows nothing and
    // so waits for nothing, where a window's swap would wait for the frame before it.
    // glFinish after each turn takes that place; the turn alone (the game's own work and
    // the driver's taking of its commands, on the game's thread) is reported beside it.
    std::vector<double> times, turnTimes;
    times.reserve(size_t(options.frames));
    turnTimes.reserve(size_t(options.frames));
    for (int s = 0; s < benchSceneCount; ++s) {
        const Scene& scene = benchScenes[s];
        if (!options.scene.empty() && options.scene != scene.key && scene.kind != sceneEmpty)
            continue;
        enterScene(scene);
        bool running = true;
        for (int f = 0; f < options.warmup && running; ++f) {
            running = runSceneTurn(scene, window, message);
            glFinish();
        }
        times.clear();
        turnTimes.clear();
        clearStepTimes();
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
        if (times.empty()) continue;
        double turnTotalMs = 0;
        for (double t : turnTimes) turnTotalMs += t;
        const double frames = double(times.size());
        double stepsMs = 0;
        for (int step = 0; step < frameStepCount; ++step) {
            const double ms = stepSeconds(step) * 1000.0 / frames;
            stepsMs += ms;
            if (ms > 0) std::printf("step %s %d %.4f\n", scene.key, step, ms);
        }
        if (scene.kind != sceneEmpty) {
            std::printf("step %s %d %.4f\n", scene.key, frameStepCount, turnTotalMs / frames - stepsMs);
            std::printf("step %s %d %.4f\n", scene.key, frameStepCount + 1, turnTotalMs / frames);
        }
        std::sort(times.begin(), times.end());
        std::sort(turnTimes.begin(), turnTimes.end());
        std::printf("scene %s %.4f %.4f %d %d %.4f %.4f\n", scene.key, median(times),
                    percentile(times, 95), int(times.size()),
                    scene.kind == sceneRace ? destroyedRacers() : 0, median(turnTimes),
                    percentile(turnTimes, 95));
        std::fflush(stdout);
    }
    std::printf("memory %ld %ld\n", firstFrameKiB, peakMemoryKiB());
    return 0;
}

// ---- the parent: machine, children, table --------------------------------------------

std::string cpuModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            size_t colon = line.find(':');
            if (colon != std::string::npos) return line.substr(colon + 2);
        }
    }
    return "unknown CPU";
}

// The 1, 5 and 15 minute load averages: how busy the machine was around the run.
std::string firstLoadAverages() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one.empty() ? "unknown" : one + " " + five + " " + fifteen;
}

struct SceneResult {
    double medianMs = 0, p95Ms = 0;
    double turnMedianMs = 0, turnP95Ms = 0;   // before the glFinish
    int frames = 0, destroyed = 0;
    bool measured = false;
};

struct SizeResult {
    Size size;
    std::vector<std::string> glLines;
    std::vector<std::pair<std::string, double>> startUp;
    SceneResult scenes[16];
    // Mean ms per frame by step; then the rest of the turn, then the whole turn.
    double stepMs[16][frameStepCount + 2] = {};
    long firstFrameKiB = 0, peakKiB = 0;
    bool ok = false;
};

// Runs this program again for one size and reads what it reports.
bool runSizeInChild(const Options& options, const std::string& workDir, SizeResult& result) {
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return false;
    self[length] = '\0';

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);

    std::string sizeText = std::to_string(result.size.width) + "x" + std::to_string(result.size.height);
    std::string frames = std::to_string(options.frames);
    std::string warmup = std::to_string(options.warmup);
    std::string spawnedAt = std::to_string(monotonicNanoseconds());
    std::vector<std::string> args = {self, "--frames", frames, "--warmup", warmup};
    if (!options.scene.empty()) args.insert(args.end(), {"--scene", options.scene});
    args.insert(args.end(), {"--child", sizeText, workDir, spawnedAt});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);

    pid_t pid;
    int spawned = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return false;
    }

    FILE* reader = fdopen(pipeEnds[0], "r");
    char line[1024];
    while (reader && std::fgets(line, sizeof line, reader)) {
        char key[64], name[64];
        double a = 0, b = 0, c = 0, d = 0;
        int frameCount = 0, destroyed = 0;
        if (std::sscanf(line, "gl %63s", key) == 1) {
            std::string text = line + 3;
            while (!text.empty() && text.back() == '\n') text.pop_back();
            result.glLines.push_back(text);
        } else if (std::sscanf(line, "startup %63s %lf", name, &a) == 2) {
            result.startUp.emplace_back(name, a);
        } else if (std::sscanf(line, "scene %63s %lf %lf %d %d %lf %lf", name, &a, &b, &frameCount,
                               &destroyed, &c, &d) == 7) {
            for (int s = 0; s < benchSceneCount; ++s) {
                if (std::strcmp(benchScenes[s].key, name) == 0)
                    result.scenes[s] = SceneResult{a, b, c, d, frameCount, destroyed, true};
            }
        } else if (std::sscanf(line, "step %63s %d %lf", name, &frameCount, &a) == 3) {
            for (int s = 0; s < benchSceneCount; ++s)
                if (std::strcmp(benchScenes[s].key, name) == 0 && frameCount >= 0 &&
                    frameCount < frameStepCount + 2)
                    result.stepMs[s][frameCount] = a;
        } else if (std::sscanf(line, "memory %lf %lf", &a, &b) == 2) {
            result.firstFrameKiB = long(a);
            result.peakKiB = long(b);
        }
    }
    if (reader) std::fclose(reader);
    int status = 0;
    waitpid(pid, &status, 0);
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result.ok;
}

std::string startUpLabel(const std::string& key) {
    if (key == "exec") return "exec, dynamic loading";
    if (key == "world") return "world objects (before main)";
    if (key == "window") return "window and context";
    if (key.rfind("part", 0) == 0) return "initGame: " + std::string(startUpPartName(std::atoi(key.c_str() + 4)));
    if (key == "rest") return "initGame: the rest (GL state, particles, lists)";
    if (key == "first") return "first frame (main menu)";
    return key;
}

// Mean time per frame of each step on the game's thread, the steps' own times (what
// they call of each other apart), and what the turn spends outside them.
void printStepTable(const SizeResult& r) {
    std::printf("\nwhere the turn goes at %dx%d, mean ms per frame, game's thread\n", r.size.width,
                r.size.height);
    std::printf("%-32s", "");
    for (int s = 1; s < benchSceneCount; ++s)
        if (r.scenes[s].measured) std::printf(" %7s", benchScenes[s].key);
    std::printf("\n");
    for (int step = 0; step < frameStepCount + 2; ++step) {
        bool any = false;
        for (int s = 1; s < benchSceneCount; ++s) any = any || r.stepMs[s][step] > 0.0005;
        if (!any && step < frameStepCount) continue;
        const char* name = step < frameStepCount      ? frameStepName(step)
                           : step == frameStepCount ? "the rest (rules, camera, layout)"
                                                    : "whole turn (mean)";
        std::printf("%-32s", name);
        for (int s = 1; s < benchSceneCount; ++s)
            if (r.scenes[s].measured) std::printf(" %7.3f", r.stepMs[s][step]);
        std::printf("\n");
    }
}

void printTables(const Options& options, const std::vector<SizeResult>& results,
                 const std::string& loadAverage) {
    std::printf("Korvalinth frame benchmark\n");
    std::printf("machine: %s, %ld CPUs (nproc); load average before the run: %s\n",
                cpuModel().c_str(), sysconf(_SC_NPROCESSORS_ONLN), loadAverage.c_str());
    for (const std::string& line : results[0].glLines) std::printf("%s\n", line.c_str());
    const char* threads = std::getenv("LP_NUM_THREADS");
    std::printf("llvmpipe threads: %s\n", threads ? threads : "default (one per CPU)");
    std::printf("%d frames per scene after %d warm-up frames. A frame is one main-loop turn "
                "(message, keys, frame, swap) and a glFinish;\nthe empty frame is a clear, a "
                "swap and a glFinish. Ratios are to the empty frame of the same size.\nThe game's pacing "
                "to 60 frames a second is off: each frame runs as soon as the one before ends.\n\n",
                options.frames, options.warmup);

    std::printf("%-28s", "frame time (ms)");
    for (const SizeResult& r : results)
        std::printf(" | %4dx%-4d median    p95  x empty  x e.p95", r.size.width, r.size.height);
    std::printf("\n");
    for (int s = 0; s < benchSceneCount; ++s) {
        bool any = false;
        for (const SizeResult& r : results) any = any || r.scenes[s].measured;
        if (!any) continue;
        std::printf("%-28s", benchScenes[s].name);
        for (const SizeResult& r : results) {
            const SceneResult& scene = r.scenes[s];
            const SceneResult& empty = r.scenes[0];
            if (!scene.measured || !empty.measured || empty.medianMs <= 0) {
                std::printf(" | %41s", "-");
                continue;
            }
            std::printf(" | %16.3f %6.3f %8.1f %8.1f", scene.medianMs, scene.p95Ms,
                        scene.medianMs / empty.medianMs, scene.p95Ms / empty.p95Ms);
        }
        std::printf("\n");
    }

    // What the game's thread spends before the rasteriser's threads finish the frame.
    std::printf("\n%-28s", "turn alone, before glFinish");
    for (const SizeResult& r : results)
        std::printf(" | %4dx%-4d median    p95", r.size.width, r.size.height);
    std::printf("\n");
    for (int s = 1; s < benchSceneCount; ++s) {
        bool any = false;
        for (const SizeResult& r : results) any = any || r.scenes[s].measured;
        if (!any) continue;
        std::printf("%-28s", benchScenes[s].name);
        for (const SizeResult& r : results) {
            const SceneResult& scene = r.scenes[s];
            if (scene.measured)
                std::printf(" | %16.3f %6.3f", scene.turnMedianMs, scene.turnP95Ms);
            else
                std::printf(" | %23s", "-");
        }
        std::printf("\n");
    }
    for (const SizeResult& r : results)
        for (int s = 0; s < benchSceneCount; ++s)
            if (r.scenes[s].destroyed > 0)
                std::printf("(%dx%d, %s: %d of the 5 racers destroyed by the end)\n", r.size.width,
                            r.size.height, benchScenes[s].name, r.scenes[s].destroyed);

    for (const SizeResult& r : results) printStepTable(r);

    std::printf("\n%-48s", "start-up to the first frame (ms)");
    for (const SizeResult& r : results) std::printf(" | %4dx%-4d", r.size.width, r.size.height);
    std::printf("\n");
    for (size_t i = 0; i < results[0].startUp.size(); ++i) {
        std::printf("%-48s", startUpLabel(results[0].startUp[i].first).c_str());
        for (const SizeResult& r : results)
            std::printf(" | %9.1f", i < r.startUp.size() ? r.startUp[i].second : 0.0);
        std::printf("\n");
    }
    std::printf("%-48s", "total");
    for (const SizeResult& r : results) {
        double total = 0;
        for (const auto& part : r.startUp) total += part.second;
        std::printf(" | %9.1f", total);
    }
    std::printf("\n\n%-48s", "peak memory (VmHWM, MiB)");
    for (const SizeResult& r : results) std::printf(" | %4dx%-4d", r.size.width, r.size.height);
    std::printf("\n%-48s", "at the first frame");
    for (const SizeResult& r : results) std::printf(" | %9.1f", double(r.firstFrameKiB) / 1024.0);
    std::printf("\n%-48s", "at the end of the run");
    for (const SizeResult& r : results) std::printf(" | %9.1f", double(r.peakKiB) / 1024.0);
    std::printf("\n");
}

int runParent(const Options& options) {
    // Headless on Mesa's software renderer unless the caller chose otherwise.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);

    std::error_code error;
    if (!fs::is_directory(options.dataDir, error)) {
        std::fprintf(stderr, "no data folder %s (build the game_data target)\n",
                     options.dataDir.c_str());
        return 2;
    }
    // The game reads its files from the working folder: one copy of the data for all
    // children, made before any of them starts, so no child's timing includes it.
    char pattern[] = "/tmp/korv-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 2;
    std::string workDir = pattern;
    fs::copy(options.dataDir, workDir, fs::copy_options::recursive, error);
    if (error) {
        std::fprintf(stderr, "cannot copy the data: %s\n", error.message().c_str());
        fs::remove_all(workDir, error);
        return 2;
    }

    const std::string loadAverage = firstLoadAverages();
    std::vector<SizeResult> results;
    bool ok = true;
    for (const Size& size : options.sizes) {
        SizeResult result;
        result.size = size;
        if (!runSizeInChild(options, workDir, result)) {
            std::fprintf(stderr, "the run at %dx%d failed\n", size.width, size.height);
            ok = false;
        }
        results.push_back(result);
    }
    fs::remove_all(workDir, error);
    printTables(options, results, loadAverage);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        printUsage();
        return 2;
    }
    return options.child ? runChild(options) : runParent(options);
}
