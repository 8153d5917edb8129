// number_files.cpp - fixed two-decimal figures, the same bytes on every run.
#include "number_files.h"

#include <cmath>
#include <cstdio>

namespace {

double toHundredths(double v) {
    const double r = std::round(v * 100.0) / 100.0;
    return r == 0 ? 0.0 : r;  // no "-0.00"
}

}  // namespace

GroundPoint roundedToFile(GroundPoint p) { return {toHundredths(p.x), toHundredths(p.z)}; }

std::string numberList(const std::vector<double>& values) {
    std::string text;
    char line[32];
    for (double v : values) {
        std::snprintf(line, sizeof line, "%.2f\n", toHundredths(v));
        text += line;
    }
    return text;
}
