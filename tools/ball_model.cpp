// ball_model.cpp - a once-divided icosahedron (42 points, 80 triangles) of radius 1.5,
// centred on the origin. It is drawn for every particle of four fireballs and five debris
// bursts in one frame, so it stays at tens of triangles. Frame 1, the one the game draws,
// is slightly lumpy so that a boulder's outline reads as rock; frame 0 is round.
#include "ball_model.h"

#include <cmath>
#include <array>
#include <map>
#include <utility>

#include "mesh_builder.h"

namespace {

const int icosahedronFaces[20][3] = {
    {0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
    {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
    {3, 8, 9},  {4, 9, 5},  {2, 4, 11},  {6, 2, 10}, {8, 6, 7},   {9, 8, 1},
};

// Radius factor of each direction on the lumpy frame: a few gentle bulges, no noise.
float lump(Vec3 d) {
    return 1.0f + 0.05f * std::sin(3.0f * d.x + 1.0f) * std::cos(2.0f * d.y) + 0.03f * std::sin(4.0f * d.z + 2.0f);
}

MeshBuilder ballShape(bool lumpy) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    std::vector<Vec3> directions = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                                    {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (Vec3& d : directions) d = unit(d);
    std::map<std::pair<int, int>, int> middles;
    auto middle = [&](int a, int b) {
        const std::pair<int, int> key{std::min(a, b), std::max(a, b)};
        auto found = middles.find(key);
        if (found != middles.end()) return found->second;
        directions.push_back(unit(directions[a] + directions[b]));
        const int id = static_cast<int>(directions.size()) - 1;
        middles[key] = id;
        return id;
    };
    std::vector<std::array<int, 3>> triangles;
    for (const auto& f : icosahedronFaces) {
        const int ab = middle(f[0], f[1]), bc = middle(f[1], f[2]), ca = middle(f[2], f[0]);
        triangles.push_back({f[0], ab, ca});
        triangles.push_back({f[1], bc, ab});
        triangles.push_back({f[2], ca, bc});
        triangles.push_back({ab, bc, ca});
    }
    MeshBuilder mesh;
    for (const Vec3& d : directions) mesh.vertex(d * (ballRadius * (lumpy ? lump(d) : 1.0f)));
    for (const auto& tri : triangles) {
        const Vec3 centre = (directions[tri[0]] + directions[tri[1]] + directions[tri[2]]) * (1.0f / 3.0f);
        mesh.faceFacing(tri[0], tri[1], tri[2], centre);
    }
    return mesh;
}

}  // namespace

Md2Mesh buildBallModel(int skinWidth, int skinHeight) {
    return meshFromFrames({ballShape(false), ballShape(true)}, "sky.bmp", skinWidth, skinHeight);
}
