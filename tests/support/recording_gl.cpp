// recording_gl.cpp - the recorder's stand-ins for the OpenGL and GLU calls the loaders make.
// The mipmap builder reads every byte of the image it is handed, the way OpenGL would, so
// that AddressSanitizer reports an upload that runs past its buffer.
#include "recording_gl.h"

RecordingGl recordedGl;

void glGenTextures(GLsizei n, GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) textures[i] = recordedGl.nextTexture++;
}

void glBindTexture(GLenum, GLuint texture) { recordedGl.boundTexture = texture; }

void glTexParameteri(GLenum, GLenum name, GLint value) {
    if (name == GL_TEXTURE_WRAP_S) recordedGl.wrapS = value;
    if (name == GL_TEXTURE_WRAP_T) recordedGl.wrapT = value;
    if (name == GL_TEXTURE_MIN_FILTER) recordedGl.minFilter = value;
    if (name == GL_TEXTURE_MAG_FILTER) recordedGl.magFilter = value;
}

void glPushClientAttrib(GLbitfield) { recordedGl.pushedAlignment.push_back(recordedGl.unpackAlignment); }

void glPopClientAttrib() {
    if (recordedGl.pushedAlignment.empty()) return;
    recordedGl.unpackAlignment = recordedGl.pushedAlignment.back();
    recordedGl.pushedAlignment.pop_back();
}

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT) recordedGl.unpackAlignment = value;
}

GLint gluBuild2DMipmaps(GLenum, GLint components, GLsizei width, GLsizei height, GLenum format,
                        GLenum, const void* data) {
    const int bytesPerPixel = format == GL_RGBA ? 4 : 3;
    const int64_t a = recordedGl.unpackAlignment;
    const int64_t stride = (int64_t(width) * bytesPerPixel + a - 1) / a * a;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    uint32_t sum = 0;
    for (int64_t row = 0; row < height; ++row)
        for (int64_t i = 0; i < int64_t(width) * bytesPerPixel; ++i) sum += bytes[row * stride + i];
    recordedGl.uploads.push_back({recordedGl.boundTexture, components, width, height, format, sum});
    return 0;
}

void glBegin(GLenum mode) {
    ++recordedGl.begins;
    recordedGl.mode = mode;
}

void glEnd() { ++recordedGl.ends; }

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    recordedGl.normal[0] = x;
    recordedGl.normal[1] = y;
    recordedGl.normal[2] = z;
}

void glVertex3fv(const GLfloat* v) {
    recordedGl.vertices.push_back(
        {v[0], v[1], v[2], recordedGl.normal[0], recordedGl.normal[1], recordedGl.normal[2]});
}
