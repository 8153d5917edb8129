// bench_report.h - the lines in which one run (korv_frame_benchmark_run) reports to the
// benchmark (korv_frame_benchmark) on its standard output, one kind per leading word:
//   gl TEXT
//   startup PART MS
//   step SCENE ROW MS
//   scene SCENE MEDIAN P95 FRAMES DESTROYED TURN_MEDIAN TURN_P95 FAULTS_PER_FRAME HASH
//   memory FIRST_FRAME_KIB END_KIB
// Each kind's writer and reader stand side by side in bench_report.cpp.
#ifndef KORVALINTH_BENCH_BENCH_REPORT_H
#define KORVALINTH_BENCH_BENCH_REPORT_H

#include <string>

#include "bench_names.h"

// The rows of a scene's step table, mean ms per frame: each frame step's own time, then
// two rows of the turn as a whole.
enum StepRow {
    stepRowRestOfTurn = frameStepCount,   // the turn outside the timed steps
    stepRowWholeTurn,
    stepRowCount
};
const char* stepRowName(int row);

struct StartUpLine {
    std::string part;   // exec, world, window, part0 to part3, rest, first
    double ms = 0;
};

struct StepLine {
    int scene = 0;   // its row of benchScenes
    int row = 0;     // a StepRow
    double ms = 0;
};

// Frame times in ms; a frame is a loop turn and the glFinish after it, the turn alone is
// timed before that glFinish.
struct SceneLine {
    int scene = 0;
    double medianMs = 0, p95Ms = 0;
    int frames = 0;
    int destroyed = 0;   // racers destroyed by the end of a race
    double turnMedianMs = 0, turnP95Ms = 0;
    double faultsPerFrame = 0;            // minor page faults
    unsigned long long lastFrameHash = 0;   // a fingerprint of the scene's last frame
};

struct MemoryLine {
    long firstFrameKiB = 0, endKiB = 0;   // peak resident memory
};

void writeGlLine(const std::string& text);
void writeStartUpLine(const StartUpLine& line);
void writeStepLine(const StepLine& line);
void writeSceneLine(const SceneLine& line);
void writeMemoryLine(const MemoryLine& line);

// Each is false for a line of another kind, or one that names no scene or row.
bool readGlLine(const char* text, std::string& line);
bool readStartUpLine(const char* text, StartUpLine& line);
bool readStepLine(const char* text, StepLine& line);
bool readSceneLine(const char* text, SceneLine& line);
bool readMemoryLine(const char* text, MemoryLine& line);

#endif
