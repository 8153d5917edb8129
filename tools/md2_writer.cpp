// md2_writer.cpp - header, skin name, texture points, triangles, frames.
#include "md2_writer.h"

#include <algorithm>
#include <cmath>

#include "byte_sink.h"

namespace {

const int headerBytes = 17 * 4;
const int skinNameBytes = 64;
const int frameNameBytes = 16;

}  // namespace

std::vector<uint8_t> encodeMd2(const Md2Mesh& mesh) {
    const int vertexCount = mesh.frames.empty() ? 0 : static_cast<int>(mesh.frames[0].size());
    const int frameBytes = 40 + 4 * vertexCount;
    const int texturePointsAt = headerBytes + skinNameBytes;
    const int facesAt = texturePointsAt + 4 * static_cast<int>(mesh.texturePoints.size());
    const int framesAt = facesAt + 12 * static_cast<int>(mesh.faces.size());
    const int endAt = framesAt + frameBytes * static_cast<int>(mesh.frames.size());

    ByteSink out;
    out.u8('I');
    out.u8('D');
    out.u8('P');
    out.u8('2');
    out.i32(8);  // version
    out.i32(mesh.skinWidth);
    out.i32(mesh.skinHeight);
    out.i32(frameBytes);
    out.i32(1);  // one skin name
    out.i32(vertexCount);
    out.i32(static_cast<int32_t>(mesh.texturePoints.size()));
    out.i32(static_cast<int32_t>(mesh.faces.size()));
    out.i32(0);  // no drawing commands: the game draws the triangle list
    out.i32(static_cast<int32_t>(mesh.frames.size()));
    out.i32(headerBytes);
    out.i32(texturePointsAt);
    out.i32(facesAt);
    out.i32(framesAt);
    out.i32(endAt);  // drawing commands (none)
    out.i32(endAt);
    out.text(mesh.skinName, skinNameBytes);
    for (const Md2TexturePoint& p : mesh.texturePoints) {
        out.i16(p.s);
        out.i16(p.t);
    }
    for (const Md2Face& f : mesh.faces) {
        for (uint16_t v : f.vertex) out.u16(v);
        for (uint16_t v : f.vertex) out.u16(v);  // texture point k belongs to vertex k
    }
    for (size_t i = 0; i < mesh.frames.size(); ++i) {
        const std::vector<Vec3>& frame = mesh.frames[i];
        Vec3 low = frame.empty() ? Vec3{} : frame[0], high = low;
        for (const Vec3& v : frame) {
            low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
            high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
        }
        auto step = [](float span) { return span > 0 ? span / 255.0f : 1.0f; };
        const Vec3 scale{step(high.x - low.x), step(high.y - low.y), step(high.z - low.z)};
        out.f32(scale.x);
        out.f32(scale.y);
        out.f32(scale.z);
        out.f32(low.x);
        out.f32(low.y);
        out.f32(low.z);
        out.text("frame" + std::to_string(i), frameNameBytes);
        auto quantise = [](float value, float from, float by) {
            const long q = std::lround((value - from) / by);
            return static_cast<uint8_t>(std::clamp(q, 0L, 255L));
        };
        for (const Vec3& v : frame) {
            out.u8(quantise(v.x, low.x, scale.x));
            out.u8(quantise(v.y, low.y, scale.y));
            out.u8(quantise(v.z, low.z, scale.z));
            out.u8(0);  // normal index: the game computes a flat normal per triangle instead
        }
    }
    return out.bytes;
}
