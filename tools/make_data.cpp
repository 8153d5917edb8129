// make_data.cpp - writes every data file the game reads into the folder given as the
// only argument: the two models, the three pictures, the eight outline files and the
// camera path. The same source always gives the same bytes. An outline that breaks
// its promises (see outlines.cpp) stops the tool before anything is written.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ball_model.h"
#include "bmp_writer.h"
#include "byte_sink.h"
#include "camera_path.h"
#include "car_model.h"
#include "images.h"
#include "md2_writer.h"
#include "number_files.h"
#include "outlines.h"

namespace {

struct PendingFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> textBytes(const std::string& text) { return {text.begin(), text.end()}; }

void addPointFiles(std::vector<PendingFile>& files, const char* xName, const char* zName,
                   const std::vector<GroundPoint>& points) {
    std::vector<double> xs, zs;
    for (const GroundPoint& p : points) {
        xs.push_back(p.x);
        zs.push_back(p.z);
    }
    files.push_back({xName, textBytes(numberList(xs))});
    files.push_back({zName, textBytes(numberList(zs))});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korv_make_data OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];

    std::vector<PendingFile> files;
    const Picture sky = makeSkyPicture();
    files.push_back({"models/ogro/tris.md2", encodeMd2(buildCarModel(sky.width, sky.height))});
    files.push_back({"models/ogro/ball.md2", encodeMd2(buildBallModel(sky.width, sky.height))});
    files.push_back({"sky.bmp", encodeBmp(sky)});
    files.push_back({"checker.bmp", encodeBmp(makeCheckerPicture())});
    files.push_back({"map.bmp", encodeBmp(makeMapPicture())});

    for (const Outline& outline : buildOutlines()) {
        const std::string fault = checkOutline(outline);
        if (!fault.empty()) {
            std::fprintf(stderr, "korv_make_data: outline of track %d: %s\n", outline.track, fault.c_str());
            return 1;
        }
        std::vector<GroundPoint> withEnd = outline.points;
        withEnd.push_back({0, 0});
        addPointFiles(files, outline.xFile, outline.zFile, withEnd);
    }
    std::vector<GroundPoint> camera = buildCameraPath();
    for (GroundPoint& p : camera) p = roundedToFile(p);
    addPointFiles(files, "camerax.txt", "cameray.txt", camera);

    for (const PendingFile& f : files) {
        const std::filesystem::path path = folder / f.name;
        std::error_code made;
        std::filesystem::create_directories(path.parent_path(), made);
        if (f.bytes.empty() || !writeFileBytes(path.string(), f.bytes)) {
            std::fprintf(stderr, "korv_make_data: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
