// mesh_builder.h - closed triangle meshes built from rings of points, with the faces
// wound so that the game's drawing (vertices 0, 2, 1 of each stored triangle,
// counter-clockwise front faces) shows their outsides.
#ifndef KORVALINTH_TOOLS_MESH_BUILDER_H
#define KORVALINTH_TOOLS_MESH_BUILDER_H

#include <vector>

#include "md2_writer.h"

using Ring = std::vector<Vec3>;

class MeshBuilder {
public:
    std::vector<Vec3> vertices;
    std::vector<Md2Face> faces;

    int vertex(Vec3 p);
    // a, b, c counter-clockwise as seen from outside.
    void face(int a, int b, int c);
    // A face whose outside is the side that `outward` points to.
    void faceFacing(int a, int b, int c, Vec3 outward);

    // A closed tube through the rings (each ring the same point count, a cross-section
    // round its own centre), each end closed by a fan to a tip point (the ring's centre
    // when the tip is not given).
    void loft(const std::vector<Ring>& rings, const Vec3* startTip = nullptr, const Vec3* endTip = nullptr);
    // An axis-aligned box between two corners.
    void box(Vec3 low, Vec3 high);
};

// Frames of one shape: every builder must have the same faces. Texture points map the
// top view of the last frame over the skin (the game sphere-maps the skin instead, but
// the file carries them).
Md2Mesh meshFromFrames(const std::vector<MeshBuilder>& frames, const char* skinName, int skinWidth,
                       int skinHeight);

// Signed volume enclosed by the faces as the game draws them: positive when every
// closed part shows its outside.
double drawnVolume(const std::vector<Vec3>& vertices, const std::vector<Md2Face>& faces);

#endif
