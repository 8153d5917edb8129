// solid_shapes.cpp - the solid torus, sphere and cube of the shop previews.
//
// Each shape is tessellated once per distinct size into a display list and replayed from
// then on, so a preview costs one glCallList per shape and frame. The caches are fixed
// arrays: a size that finds its cache full is drawn in immediate mode instead, which
// looks the same and allocates nothing.
#include "solid_shapes.h"

#include <cmath>

#include "platform.h"

namespace {

const double pi = 3.14159265358979323846;

const int torusSides = 8;    // around the tube
const int torusRings = 15;   // around the ring
const int sphereSlices = 16; // around z
const int sphereStacks = 16; // from +z to -z

struct CachedShape {
    float first;   // tube radius, sphere radius or cube edge
    float second;  // ring radius (torus only, else 0)
    GLuint list;
};

const int cacheSize = 24;

struct ShapeCache {
    CachedShape entries[cacheSize];
    int count = 0;
};

ShapeCache torusCache, sphereCache, cubeCache;

// Front faces wind counter-clockwise seen from outside, the start-up's glFrontFace.
void emitTorus(float tubeRadius, float ringRadius) {
    for (int ring = 0; ring < torusRings; ++ring) {
        double theta0 = ring * 2.0 * pi / torusRings;
        double theta1 = (ring + 1) * 2.0 * pi / torusRings;
        glBegin(GL_QUAD_STRIP);
        for (int side = 0; side <= torusSides; ++side) {
            double phi = side * 2.0 * pi / torusSides;
            double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
            double thetas[2] = {theta0, theta1};
            for (double theta : thetas) {
                double cosTheta = std::cos(theta), sinTheta = std::sin(theta);
                double distance = ringRadius + tubeRadius * cosPhi;
                glNormal3f(float(cosPhi * cosTheta), float(cosPhi * sinTheta), float(sinPhi));
                glVertex3f(float(distance * cosTheta), float(distance * sinTheta),
                           float(tubeRadius * sinPhi));
            }
        }
        glEnd();
    }
}

void emitSphere(float radius) {
    for (int stack = 0; stack < sphereStacks; ++stack) {
        double psi0 = stack * pi / sphereStacks;
        double psi1 = (stack + 1) * pi / sphereStacks;
        glBegin(GL_QUAD_STRIP);
        for (int slice = 0; slice <= sphereSlices; ++slice) {
            double theta = slice * 2.0 * pi / sphereSlices;
            double cosTheta = std::cos(theta), sinTheta = std::sin(theta);
            double psis[2] = {psi0, psi1};
            for (double psi : psis) {
                float nx = float(std::sin(psi) * cosTheta);
                float ny = float(std::sin(psi) * sinTheta);
                float nz = float(std::cos(psi));
                glNormal3f(nx, ny, nz);
                glVertex3f(nx * radius, ny * radius, nz * radius);
            }
        }
        glEnd();
    }
}

void emitCube(float edge) {
    // Per face: the normal axis and sign, then the two in-face axes chosen so that
    // (u, v, normal) is right-handed and the corners wind counter-clockwise from outside.
    static const int faces[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
    static const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    float half = edge / 2;
    glBegin(GL_QUADS);
    for (int face = 0; face < 6; ++face) {
        int axis = faces[face % 3][0];
        int u = faces[face % 3][1];
        int v = faces[face % 3][2];
        float sign = face < 3 ? 1.0f : -1.0f;
        float normal[3] = {0, 0, 0};
        normal[axis] = sign;
        glNormal3fv(normal);
        for (int corner = 0; corner < 4; ++corner) {
            // The negative face is seen from the other side: its corners go the other way.
            int k = sign > 0 ? corner : 3 - corner;
            float point[3];
            point[axis] = sign * half;
            point[u] = corners[k][0] * half;
            point[v] = corners[k][1] * half;
            glVertex3fv(point);
        }
    }
    glEnd();
}

enum class Shape { Torus, Sphere, Cube };

void emit(Shape shape, float first, float second) {
    switch (shape) {
    case Shape::Torus: emitTorus(first, second); break;
    case Shape::Sphere: emitSphere(first); break;
    case Shape::Cube: emitCube(first); break;
    }
}

// Replays the list made for these sizes, compiling it on first use.
void drawCached(ShapeCache& cache, Shape shape, float first, float second) {
    for (int i = 0; i < cache.count; ++i) {
        const CachedShape& entry = cache.entries[i];
        if (entry.first == first && entry.second == second) {
            glCallList(entry.list);
            return;
        }
    }
    GLuint list = cache.count < cacheSize ? glGenLists(1) : 0;
    if (list == 0) {
        emit(shape, first, second);
        return;
    }
    glNewList(list, GL_COMPILE);
    emit(shape, first, second);
    glEndList();
    cache.entries[cache.count++] = CachedShape{first, second, list};
    glCallList(list);
}

}  // namespace

void solidTorus(float tubeRadius, float ringRadius) {
    drawCached(torusCache, Shape::Torus, tubeRadius, ringRadius);
}

void solidSphere(float radius) { drawCached(sphereCache, Shape::Sphere, radius, 0); }

void solidCube(float edge) { drawCached(cubeCache, Shape::Cube, edge, 0); }
