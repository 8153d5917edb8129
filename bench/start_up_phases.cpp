// start_up_phases.cpp - timing wrappers around the loaders and track steps that the
// start-up calls. The benchmark's link routes the game's calls to these through
// --wrap (bench/CMakeLists.txt), so initGame runs unchanged and is timed part by part.
//
// A wrapped call made inside another one (the model loader reads its skin through
// loadBitmapFile and uploads it through uploadTexture) is counted once, in the part of
// the outermost call.
#include "start_up_phases.h"

#include "bitmap.h"
#include "md2_model.h"
#include "monotonic_clock.h"
#include "platform.h"

namespace {

bool timing = false;
int depth = 0;
double seconds[startUpPartCount];

class PartTimer {
public:
    explicit PartTimer(int part) : part(part), startNs(monotonicNanoseconds()) { ++depth; }
    ~PartTimer() {
        --depth;
        if (timing && depth == 0) seconds[part] += double(monotonicNanoseconds() - startNs) / 1e9;
    }
    PartTimer(const PartTimer&) = delete;
    PartTimer& operator=(const PartTimer&) = delete;

private:
    int part;
    int64_t startNs;
};

}  // namespace

void beginTimingStartUp() {
    for (double& s : seconds) s = 0;
    timing = true;
}

void endTimingStartUp() { timing = false; }

double startUpPartSeconds(int part) {
    return part >= 0 && part < startUpPartCount ? seconds[part] : 0.0;
}

// The linker's names for the wrapped functions: __real_X is the game's own X, and the
// game's calls to X arrive at __wrap_X.
extern "C" {
void __real__Z12readSaveFilei(int);
Md2Model* __real__Z12loadMd2ModelPKcS0_(const char*, const char*);
unsigned char* __real__Z14loadBitmapFilePKcP19tagBITMAPINFOHEADER(const char*, BITMAPINFOHEADER*);
TextureImage* __real__Z15loadTextureFilePKc(const char*);
void __real__Z13uploadTextureP12TextureImage(TextureImage*);
void __real__Z12drawMd2FramePK8Md2Modeli(const Md2Model*, int);
GLuint __real__Z17createOutlineFontPKcif(const char*, int, float);
void __real__Z15buildTrackBlockv();
void __real__Z18openOutlineStreamsv();
void __real__Z16readTrackOutlinev();
void __real__Z10buildPostsv();
void __real__Z13placeBouldersv();
void __real__Z19closeOutlineStreamsv();

void __wrap__Z12readSaveFilei(int count) {
    PartTimer t(partSaveFile);
    __real__Z12readSaveFilei(count);
}
Md2Model* __wrap__Z12loadMd2ModelPKcS0_(const char* model, const char* skin) {
    PartTimer t(partModelsAndImages);
    return __real__Z12loadMd2ModelPKcS0_(model, skin);
}
unsigned char* __wrap__Z14loadBitmapFilePKcP19tagBITMAPINFOHEADER(const char* path,
                                                                 BITMAPINFOHEADER* info) {
    PartTimer t(partModelsAndImages);
    return __real__Z14loadBitmapFilePKcP19tagBITMAPINFOHEADER(path, info);
}
TextureImage* __wrap__Z15loadTextureFilePKc(const char* path) {
    PartTimer t(partModelsAndImages);
    return __real__Z15loadTextureFilePKc(path);
}
void __wrap__Z13uploadTextureP12TextureImage(TextureImage* image) {
    PartTimer t(partModelsAndImages);
    __real__Z13uploadTextureP12TextureImage(image);
}
void __wrap__Z12drawMd2FramePK8Md2Modeli(const Md2Model* model, int frame) {
    PartTimer t(partModelsAndImages);
    __real__Z12drawMd2FramePK8Md2Modeli(model, frame);
}
GLuint __wrap__Z17createOutlineFontPKcif(const char* face, int height, float extrusion) {
    PartTimer t(partFont);
    return __real__Z17createOutlineFontPKcif(face, height, extrusion);
}
void __wrap__Z15buildTrackBlockv() {
    PartTimer t(partTrack);
    __real__Z15buildTrackBlockv();
}
void __wrap__Z18openOutlineStreamsv() {
    PartTimer t(partTrack);
    __real__Z18openOutlineStreamsv();
}
void __wrap__Z16readTrackOutlinev() {
    PartTimer t(partTrack);
    __real__Z16readTrackOutlinev();
}
void __wrap__Z10buildPostsv() {
    PartTimer t(partTrack);
    __real__Z10buildPostsv();
}
void __wrap__Z13placeBouldersv() {
    PartTimer t(partTrack);
    __real__Z13placeBouldersv();
}
void __wrap__Z19closeOutlineStreamsv() {
    PartTimer t(partTrack);
    __real__Z19closeOutlineStreamsv();
}
}
