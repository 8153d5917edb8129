// recording_gl.h - the few OpenGL and GLU calls the image and model loaders make, taken
// over in a test executable that has no context: the loaders' texture uploads and frame
// drawing then run anywhere (unit tests, fuzzers), and what they issued can be read back.
//
// recording_gl.cpp goes into an executable as a source of its own, never through the
// support library: its definitions take the place of the system library's for the whole
// executable, so it is never combined with a real context.
#ifndef KORVALINTH_TESTS_RECORDING_GL_H
#define KORVALINTH_TESTS_RECORDING_GL_H

#include <cstdint>
#include <vector>

#include "platform.h"

struct RecordedVertex {
    float x, y, z;
    float nx, ny, nz;  // the normal current when it was issued
};

struct RecordedUpload {
    GLuint texture;
    GLint components;
    GLint width, height;
    GLenum format;
    uint32_t byteSum;  // of every byte read, so the reads cannot be optimised away
};

struct RecordingGl {
    GLuint nextTexture = 1;
    GLuint boundTexture = 0;
    GLint unpackAlignment = 4;
    std::vector<GLint> pushedAlignment;
    int wrapS = 0, wrapT = 0, minFilter = 0, magFilter = 0;
    std::vector<RecordedUpload> uploads;
    int begins = 0, ends = 0;
    GLenum mode = 0;
    float normal[3] = {0, 0, 1};
    std::vector<RecordedVertex> vertices;
};

// What the executable's loaders have issued so far; a test resets it to start afresh.
extern RecordingGl recordedGl;

#endif
