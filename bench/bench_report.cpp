// bench_report.cpp - writing and reading the run's report lines.
#include "bench_report.h"

#include <cstdio>
#include <cstring>

const char* stepRowName(int row) {
    switch (row) {
    case stepRowRestOfTurn: return "the rest (rules, camera, layout)";
    case stepRowWholeTurn: return "whole turn (mean)";
    default: return frameStepName(row);
    }
}

void writeGlLine(const std::string& text) { std::printf("gl %s\n", text.c_str()); }

bool readGlLine(const char* text, std::string& line) {
    if (std::strncmp(text, "gl ", 3) != 0) return false;
    line = text + 3;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
}

void writeStartUpLine(const StartUpLine& line) {
    std::printf("startup %s %.3f\n", line.part.c_str(), line.ms);
}

bool readStartUpLine(const char* text, StartUpLine& line) {
    char part[64];
    if (std::sscanf(text, "startup %63s %lf", part, &line.ms) != 2) return false;
    line.part = part;
    return true;
}

void writeStepLine(const StepLine& line) {
    std::printf("step %s %d %.4f\n", benchScenes[line.scene].key, line.row, line.ms);
}

bool readStepLine(const char* text, StepLine& line) {
    char key[64];
    if (std::sscanf(text, "step %63s %d %lf", key, &line.row, &line.ms) != 3) return false;
    line.scene = sceneIndex(key);
    return line.scene >= 0 && line.row >= 0 && line.row < stepRowCount;
}

void writeSceneLine(const SceneLine& line) {
    std::printf("scene %s %.4f %.4f %d %d %.4f %.4f %.1f %016llx\n", benchScenes[line.scene].key,
                line.medianMs, line.p95Ms, line.frames, line.destroyed, line.turnMedianMs,
                line.turnP95Ms, line.faultsPerFrame, line.lastFrameHash);
}

bool readSceneLine(const char* text, SceneLine& line) {
    char key[64];
    if (std::sscanf(text, "scene %63s %lf %lf %d %d %lf %lf %lf %llx", key, &line.medianMs,
                    &line.p95Ms, &line.frames, &line.destroyed, &line.turnMedianMs,
                    &line.turnP95Ms, &line.faultsPerFrame, &line.lastFrameHash) != 9)
        return false;
    line.scene = sceneIndex(key);
    return line.scene >= 0;
}

void writeMemoryLine(const MemoryLine& line) {
    std::printf("memory %ld %ld\n", line.firstFrameKiB, line.endKiB);
}

bool readMemoryLine(const char* text, MemoryLine& line) {
    return std::sscanf(text, "memory %ld %ld", &line.firstFrameKiB, &line.endKiB) == 2;
}
