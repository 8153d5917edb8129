// mesh_builder.cpp - rings, tubes, boxes and the drawn winding.
#include "mesh_builder.h"

#include <algorithm>
#include <cmath>

namespace {

Vec3 centreOf(const Ring& ring) {
    Vec3 sum;
    for (const Vec3& p : ring) sum = sum + p;
    return sum * (1.0f / static_cast<float>(ring.size()));
}

}  // namespace

int MeshBuilder::vertex(Vec3 p) {
    vertices.push_back(p);
    return static_cast<int>(vertices.size()) - 1;
}

void MeshBuilder::face(int a, int b, int c) {
    // Stored as (a, c, b) so that the drawn order (0, 2, 1) is a, b, c again.
    faces.push_back({{static_cast<uint16_t>(a), static_cast<uint16_t>(c), static_cast<uint16_t>(b)}});
}

void MeshBuilder::faceFacing(int a, int b, int c, Vec3 outward) {
    const Vec3 n = cross(vertices[b] - vertices[a], vertices[c] - vertices[a]);
    if (dot(n, outward) >= 0)
        face(a, b, c);
    else
        face(a, c, b);
}

void MeshBuilder::loft(const std::vector<Ring>& rings, const Vec3* startTip, const Vec3* endTip) {
    const size_t around = rings.front().size();
    std::vector<std::vector<int>> index;
    for (const Ring& ring : rings) {
        std::vector<int> ids;
        for (const Vec3& p : ring) ids.push_back(vertex(p));
        index.push_back(ids);
    }
    for (size_t r = 0; r + 1 < rings.size(); ++r) {
        const Vec3 middle = (centreOf(rings[r]) + centreOf(rings[r + 1])) * 0.5f;
        for (size_t k = 0; k < around; ++k) {
            const size_t next = (k + 1) % around;
            const int a = index[r][k], b = index[r][next], c = index[r + 1][next], d = index[r + 1][k];
            const Vec3 quadCentre = (vertices[a] + vertices[b] + vertices[c] + vertices[d]) * 0.25f;
            faceFacing(a, b, c, quadCentre - middle);
            faceFacing(a, c, d, quadCentre - middle);
        }
    }
    const Vec3 axis = centreOf(rings.back()) - centreOf(rings.front());
    auto cap = [&](const std::vector<int>& ids, const Ring& ring, const Vec3* tip, Vec3 outward) {
        const int t = vertex(tip ? *tip : centreOf(ring));
        for (size_t k = 0; k < around; ++k) faceFacing(t, ids[k], ids[(k + 1) % around], outward);
    };
    cap(index.front(), rings.front(), startTip, axis * -1.0f);
    cap(index.back(), rings.back(), endTip, axis);
}

void MeshBuilder::box(Vec3 low, Vec3 high) {
    int v[8];
    for (int i = 0; i < 8; ++i)
        v[i] = vertex({(i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z});
    const Vec3 centre = (low + high) * 0.5f;
    const int quads[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    for (const auto& q : quads) {
        const Vec3 mid = (vertices[v[q[0]]] + vertices[v[q[2]]]) * 0.5f;
        faceFacing(v[q[0]], v[q[1]], v[q[2]], mid - centre);
        faceFacing(v[q[0]], v[q[2]], v[q[3]], mid - centre);
    }
}

Md2Mesh meshFromFrames(const std::vector<MeshBuilder>& frames, const char* skinName, int skinWidth,
                       int skinHeight) {
    Md2Mesh mesh;
    mesh.skinName = skinName;
    mesh.skinWidth = skinWidth;
    mesh.skinHeight = skinHeight;
    mesh.faces = frames.back().faces;
    for (const MeshBuilder& f : frames) mesh.frames.push_back(f.vertices);
    const std::vector<Vec3>& top = frames.back().vertices;
    float minX = top[0].x, maxX = minX, minY = top[0].y, maxY = minY;
    for (const Vec3& p : top) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    for (const Vec3& p : top) {
        const float u = (p.x - minX) / std::max(maxX - minX, 1e-6f);
        const float v = (p.y - minY) / std::max(maxY - minY, 1e-6f);
        mesh.texturePoints.push_back({static_cast<int16_t>(std::lround(u * (skinWidth - 1))),
                                      static_cast<int16_t>(std::lround(v * (skinHeight - 1)))});
    }
    return mesh;
}

double drawnVolume(const std::vector<Vec3>& vertices, const std::vector<Md2Face>& faces) {
    double volume = 0;
    for (const Md2Face& f : faces) {
        const Vec3 a = vertices[f.vertex[0]], b = vertices[f.vertex[2]], c = vertices[f.vertex[1]];
        volume += dot(a, cross(b, c)) / 6.0;
    }
    return volume;
}
