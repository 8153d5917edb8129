// frame_benchmark.cpp - the frame benchmark: renders every screen of the game headless
// (SDL's offscreen driver, Mesa's software renderer) and reports the median and 95th
// percentile frame time of each, its ratio to an empty frame (clear and swap) of the
// same run and size, where each screen's time goes on the game's thread, the time from
// the program's start to its first frame in parts, and the peak memory.
//
// Each display size is one run of korv_frame_benchmark_run, the game itself with the
// benchmark's scenes and timers, started from here in a process of its own and in a copy
// of the data folder, as the game is started in its folder: every size starts the game
// from scratch (a window and context of that size, the world objects, the start-up), and
// its start-up time and peak memory are its own. This program does not link the game, so
// it opens no file of the game's wherever it is started.
//
//   korv_frame_benchmark [--frames N] [--warmup N] [--sizes 640x480,1024x768]
//                        [--scene KEY] [--data DIR]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_report.h"
#include "monotonic_clock.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

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
        } else {
            return false;
        }
    }
    if (options.frames < 20 || options.warmup < 0 || options.sizes.empty()) return false;
    return options.scene.empty() || sceneIndex(options.scene.c_str()) >= 0;
}

void printUsage() {
    std::fprintf(stderr,
                 "usage: korv_frame_benchmark [--frames N (>= 20)] [--warmup N] "
                 "[--sizes WxH,WxH] [--scene KEY] [--data DIR]\nscenes:");
    for (int s = 0; s < benchSceneCount; ++s) std::fprintf(stderr, " %s", benchScenes[s].key);
    std::fprintf(stderr, "\n");
}

// ---- the machine, the runs, the tables -----------------------------------------------

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
    SceneLine figures;
    bool measured = false;
};

struct SizeResult {
    Size size;
    std::vector<std::string> glLines;
    std::vector<StartUpLine> startUp;
    SceneResult scenes[benchSceneCount];
    double stepMs[benchSceneCount][stepRowCount] = {};   // by StepRow
    MemoryLine memory;
    bool ok = false;
};

// The run's program, beside this one.
std::string runProgram() {
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "";
    self[length] = '\0';
    return (fs::path(self).parent_path() / "korv_frame_benchmark_run").string();
}

// Starts the run for one size in the work folder and reads what it reports.
bool runSize(const Options& options, const std::string& workDir, SizeResult& result) {
    std::string program = runProgram();
    int pipeEnds[2];
    if (program.empty() || pipe(pipeEnds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    // Started in the data folder, as the game is: its world objects open the camera path
    // there before its main runs.
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());

    std::string sizeText = std::to_string(result.size.width) + "x" + std::to_string(result.size.height);
    std::vector<std::string> args = {program, "--size", sizeText, "--frames",
                                     std::to_string(options.frames), "--warmup",
                                     std::to_string(options.warmup)};
    if (!options.scene.empty()) args.insert(args.end(), {"--scene", options.scene});
    args.insert(args.end(), {"--spawned-at", std::to_string(monotonicNanoseconds())});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);

    pid_t pid;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        return false;
    }

    FILE* reader = fdopen(pipeEnds[0], "r");
    char text[1024];
    while (reader && std::fgets(text, sizeof text, reader)) {
        std::string glLine;
        StartUpLine startUp;
        SceneLine scene;
        StepLine step;
        if (readGlLine(text, glLine))
            result.glLines.push_back(glLine);
        else if (readStartUpLine(text, startUp))
            result.startUp.push_back(startUp);
        else if (readSceneLine(text, scene))
            result.scenes[scene.scene] = SceneResult{scene, true};
        else if (readStepLine(text, step))
            result.stepMs[step.scene][step.row] = step.ms;
        else
            readMemoryLine(text, result.memory);
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

// A scene that no size measured (another --scene was asked for) has no row.
bool measuredAtAnySize(const std::vector<SizeResult>& results, int scene) {
    for (const SizeResult& r : results)
        if (r.scenes[scene].measured) return true;
    return false;
}

// A table of one row for each scene that any size measured, from firstScene on, and a
// column group for each size: printCell(result, scene) prints one size's cells.
template <typename PrintCell>
void printSceneTable(const std::vector<SizeResult>& results, const char* title,
                     const char* sizeHeading, int firstScene, PrintCell printCell) {
    std::printf("%-28s", title);
    for (const SizeResult& r : results)
        std::printf(" | %4dx%-4d%s", r.size.width, r.size.height, sizeHeading);
    std::printf("\n");
    for (int s = firstScene; s < benchSceneCount; ++s) {
        if (!measuredAtAnySize(results, s)) continue;
        std::printf("%-28s", benchScenes[s].name);
        for (const SizeResult& r : results) printCell(r, s);
        std::printf("\n");
    }
}

// What shows that a run repeats: the racers destroyed by the end of each race and a
// fingerprint of each scene's last frame (equal in two runs of one build, and in two
// builds that must draw the same), beside the page faults of a measured frame.
void printRepeatTable(const std::vector<SizeResult>& results) {
    std::printf("\n");
    printSceneTable(results, "last frame, faults", " destroyed  faults/frame  last frame's fingerprint",
                    0, [](const SizeResult& r, int s) {
                        const SceneLine& scene = r.scenes[s].figures;
                        if (r.scenes[s].measured)
                            std::printf(" | %18d %13.1f  %8s%016llx", scene.destroyed,
                                        scene.faultsPerFrame, "", scene.lastFrameHash);
                        else
                            std::printf(" | %58s", "-");
                    });
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
    for (int row = 0; row < stepRowCount; ++row) {
        bool any = false;
        for (int s = 1; s < benchSceneCount; ++s) any = any || r.stepMs[s][row] > 0.0005;
        if (!any && row < frameStepCount) continue;
        std::printf("%-32s", stepRowName(row));
        for (int s = 1; s < benchSceneCount; ++s)
            if (r.scenes[s].measured) std::printf(" %7.3f", r.stepMs[s][row]);
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

    printSceneTable(results, "frame time (ms)", " median    p95  x empty  x e.p95", 0,
                    [](const SizeResult& r, int s) {
                        const SceneLine& scene = r.scenes[s].figures;
                        const SceneLine& empty = r.scenes[0].figures;
                        if (!r.scenes[s].measured || !r.scenes[0].measured || empty.medianMs <= 0)
                            std::printf(" | %41s", "-");
                        else
                            std::printf(" | %16.3f %6.3f %8.1f %8.1f", scene.medianMs, scene.p95Ms,
                                        scene.medianMs / empty.medianMs, scene.p95Ms / empty.p95Ms);
                    });

    // What the game's thread spends before the rasteriser's threads finish the frame.
    std::printf("\n");
    printSceneTable(results, "turn alone, before glFinish", " median    p95", 1,
                    [](const SizeResult& r, int s) {
                        const SceneLine& scene = r.scenes[s].figures;
                        if (r.scenes[s].measured)
                            std::printf(" | %16.3f %6.3f", scene.turnMedianMs, scene.turnP95Ms);
                        else
                            std::printf(" | %23s", "-");
                    });
    printRepeatTable(results);

    for (const SizeResult& r : results) printStepTable(r);

    std::printf("\n%-48s", "start-up to the first frame (ms)");
    for (const SizeResult& r : results) std::printf(" | %4dx%-4d", r.size.width, r.size.height);
    std::printf("\n");
    for (size_t i = 0; i < results[0].startUp.size(); ++i) {
        std::printf("%-48s", startUpLabel(results[0].startUp[i].part).c_str());
        for (const SizeResult& r : results)
            std::printf(" | %9.1f", i < r.startUp.size() ? r.startUp[i].ms : 0.0);
        std::printf("\n");
    }
    std::printf("%-48s", "total");
    for (const SizeResult& r : results) {
        double total = 0;
        for (const StartUpLine& part : r.startUp) total += part.ms;
        std::printf(" | %9.1f", total);
    }
    std::printf("\n\n%-48s", "peak memory (VmHWM, MiB)");
    for (const SizeResult& r : results) std::printf(" | %4dx%-4d", r.size.width, r.size.height);
    std::printf("\n%-48s", "at the first frame");
    for (const SizeResult& r : results) std::printf(" | %9.1f", double(r.memory.firstFrameKiB) / 1024.0);
    std::printf("\n%-48s", "at the end of the run");
    for (const SizeResult& r : results) std::printf(" | %9.1f", double(r.memory.endKiB) / 1024.0);
    std::printf("\n");
}

int runBenchmark(const Options& options) {
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
    // runs, made before any of them starts, so no run's timing includes it.
    // In the temporary folder the machine's user chose (TMPDIR), /tmp without one.
    std::string pattern = (fs::temp_directory_path(error) / "korv-bench-XXXXXX").string();
    if (error || !mkdtemp(&pattern[0])) {
        std::fprintf(stderr, "cannot make a work folder from %s\n", pattern.c_str());
        return 2;
    }
    const std::string workDir = pattern;
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
        if (!runSize(options, workDir, result)) {
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
    return runBenchmark(options);
}
