// car_model.cpp - the hover car: a low body with a pointed nose, a canopy bubble, two
// side pods and a rear wing.
//
// Model axes, as the car drawing turns them: +z is up, the nose points along -y and +x
// is the car's left. The drawing tips the model over (-90 degrees about x), turns it 45
// degrees and then by the heading about the up axis, so at heading 0 the nose points
// along world (1, 0, 1) / sqrt 2, the player's travel direction there, and at any heading
// h along (sin(h + 45), 0, cos(h + 45)), which is the same direction the steering gives.
//
// Size: designed 20 units long and then scaled to 17 (1.7 world units after the race
// drawing's 0.1 scale; cars touch within 2), about 10 wide and 4 high. The main menu
// spins the unscaled model about (0, 1, 1) 20 units above the view's centre and 40 in
// front of the eye, where the view's top edge is only 28 units up: a longer car, or one
// centred on its origin, leaves the picture at the top for part of every turn. So the
// model also sits 3.5 units forward of its origin (its rear reaches less far along the
// spin axis), which keeps the whole car in view on the menu; in the race that puts the
// body 0.35 ahead of the car's position, which nobody can see.
// The body's underside sits at z 0.5: the shadow is the same model pushed 10 units down
// and flattened to a tenth, which puts it just above the ground only for a model that
// lies at z >= 0.
#include "car_model.h"

#include <cmath>

#include "mesh_builder.h"

namespace {

const float pi = 3.14159265f;

// A rounded cross-section across x and z at distance y along the car: half width w,
// from zLow to zHigh, `points` around; `roundness` 2 is an ellipse, larger is boxier.
Ring section(float y, float w, float zLow, float zHigh, int points, float roundness) {
    Ring ring;
    const float zMid = (zLow + zHigh) * 0.5f, h = (zHigh - zLow) * 0.5f;
    for (int k = 0; k < points; ++k) {
        const float a = 2 * pi * (static_cast<float>(k) + 0.5f) / static_cast<float>(points);
        const float c = std::cos(a), s = std::sin(a);
        const float e = 2.0f / roundness;
        ring.push_back({w * std::copysign(std::pow(std::fabs(c), e), c), y,
                        zMid + h * std::copysign(std::pow(std::fabs(s), e), s)});
    }
    return ring;
}

// A round section about an axis along y, centred at (x, z).
Ring roundSection(float x, float y, float z, float radius, int points) {
    Ring ring;
    for (int k = 0; k < points; ++k) {
        const float a = 2 * pi * static_cast<float>(k) / static_cast<float>(points);
        ring.push_back({x + radius * std::cos(a), y, z + radius * std::sin(a)});
    }
    return ring;
}

struct BodyStation {
    float y, halfWidth, low, high;
};

// The body from nose to tail: y, half width, underside, top.
const BodyStation bodyStations[] = {
    {-9.2f, 0.9f, 1.1f, 1.7f},  //
    {-7.8f, 1.9f, 0.8f, 2.1f},  //
    {-5.5f, 2.9f, 0.65f, 2.5f}, //
    {-2.5f, 3.6f, 0.6f, 2.85f}, //
    {1.0f, 3.9f, 0.6f, 3.0f},   //
    {5.0f, 3.8f, 0.65f, 3.0f},  //
    {8.0f, 3.4f, 0.8f, 2.9f},   //
    {10.0f, 3.0f, 1.0f, 2.7f},  //
};
const Vec3 noseTip{0.0f, -10.0f, 1.35f};

struct PodStation {
    float y, radius;
};

// Each side pod: a round engine nacelle from a point ahead of the cockpit to the tail.
const PodStation podStations[] = {
    {-3.5f, 0.55f}, {-1.5f, 1.1f}, {5.0f, 1.2f}, {8.6f, 1.1f}, {9.6f, 0.8f},
};
const Vec3 podFrontTip{0.0f, -5.0f, 0.0f};  // relative to the pod's axis
const float podSide = 4.5f, podHeight = 1.45f;

struct CanopyStation {
    float y, halfWidth, top;
};

// The canopy bubble over the front half; its lower half lies inside the body.
const CanopyStation canopyStations[] = {
    {-3.6f, 0.9f, 3.2f}, {-2.2f, 1.6f, 3.9f}, {-0.2f, 1.8f, 4.3f}, {1.6f, 1.5f, 4.1f},
};
const float canopyBase = 2.2f;
const Vec3 canopyFront{0.0f, -4.6f, 2.7f}, canopyBack{0.0f, 2.6f, 3.3f};

const float modelScale = 0.85f;
const float forwardShift = 3.5f;

MeshBuilder carShape(float lift) {
    MeshBuilder mesh;
    const Vec3 up{0, 0, lift};

    std::vector<Ring> body;
    for (const BodyStation& s : bodyStations) body.push_back(section(s.y, s.halfWidth, s.low, s.high, 10, 3.0f));
    for (Ring& r : body)
        for (Vec3& p : r) p = p + up;
    const Vec3 nose = noseTip + up;
    mesh.loft(body, &nose, nullptr);

    for (float sideSign : {1.0f, -1.0f}) {
        std::vector<Ring> pod;
        for (const PodStation& s : podStations)
            pod.push_back(roundSection(sideSign * podSide, s.y, podHeight + lift, s.radius, 6));
        const Vec3 tip = podFrontTip + Vec3{sideSign * podSide, 0, podHeight + lift};
        mesh.loft(pod, &tip, nullptr);
    }

    std::vector<Ring> canopy;
    for (const CanopyStation& s : canopyStations) {
        const float half = s.top - canopyBase;
        canopy.push_back(section(s.y, s.halfWidth, canopyBase - half + lift, s.top + lift, 8, 2.0f));
    }
    const Vec3 front = canopyFront + up, back = canopyBack + up;
    mesh.loft(canopy, &front, &back);

    // Rear wing on two struts.
    mesh.box(Vec3{-4.2f, 8.0f, 3.7f} + up, Vec3{4.2f, 9.9f, 4.05f} + up);
    for (float x : {-2.4f, 2.4f}) mesh.box(Vec3{x - 0.25f, 8.6f, 2.5f} + up, Vec3{x + 0.25f, 9.5f, 3.75f} + up);

    for (Vec3& p : mesh.vertices) p = Vec3{p.x, p.y, p.z} * modelScale - Vec3{0, forwardShift, 0};
    return mesh;
}

}  // namespace

Md2Mesh buildCarModel(int skinWidth, int skinHeight) {
    // Frame 0 sits a little lower; frame 1, the one the game draws, is the car at rest.
    return meshFromFrames({carShape(-0.25f), carShape(0.0f)}, "sky.bmp", skinWidth, skinHeight);
}
