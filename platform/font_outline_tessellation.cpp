// font_outline_tessellation.cpp - glyph outlines to extruded OpenGL geometry: FreeType's
// contours flattened to line segments, filled by the GLU tessellator (non-zero winding,
// plain triangles), and walled along every contour edge.
#include "font_outline_tessellation.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Point {
    double x, y;
};

bool samePoint(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

// A curve is cut into at most this many segments, however tight the tolerance.
const int maxCurveSegments = 256;

// The glyph being built. Contour points come first in `points`; the tessellator's
// intersection vertices are appended behind them. The tessellator hands back vertex
// references as index + 1 (never a pointer into the vector, which may grow while it
// runs), so every vertex lives until the glyph has been emitted.
struct GlyphScratch {
    std::vector<Point> points;
    std::vector<size_t> contourEnds;  // one past each contour's last point
    size_t contourStart = 0;
    bool hasPoint = false;            // a contour has been started
    Point pen = {0, 0};
    double tolerance = 1.0;
    std::vector<GLdouble> coords;     // the contour points as the tessellator reads them
    std::vector<size_t> triangles;    // point indices, three per triangle
    bool failed = false;
};

GlyphScratch& scratch() {
    static GlyphScratch s;
    if (s.points.capacity() == 0) {
        s.points.reserve(8192);
        s.contourEnds.reserve(64);
        s.coords.reserve(3 * 8192);
        s.triangles.reserve(3 * 8192);
    }
    return s;
}

// Closes the current contour: drops repeated points (zero-length edges), the closing
// point that repeats the first, and contours too small to enclose anything.
void finishContour(GlyphScratch& s) {
    if (!s.hasPoint) return;
    s.hasPoint = false;
    size_t kept = s.contourStart;
    for (size_t i = s.contourStart; i < s.points.size(); ++i) {
        if (kept > s.contourStart && samePoint(s.points[kept - 1], s.points[i])) continue;
        s.points[kept++] = s.points[i];
    }
    while (kept - s.contourStart > 1 && samePoint(s.points[kept - 1], s.points[s.contourStart]))
        --kept;
    if (kept - s.contourStart < 3) kept = s.contourStart;
    s.points.resize(kept);
    if (kept > s.contourStart) s.contourEnds.push_back(kept);
}

void addPoint(GlyphScratch& s, Point p) {
    s.points.push_back(p);
    s.pen = p;
}

Point toPoint(const FT_Vector* v) { return Point{double(v->x), double(v->y)}; }

int segmentsFor(double bend, double tolerance) {
    // bend bounds the chord error of one segment spanning the whole curve.
    double n = std::ceil(std::sqrt(bend / tolerance));
    if (!(n >= 1)) return 1;
    return n > maxCurveSegments ? maxCurveSegments : int(n);
}

int moveTo(const FT_Vector* to, void* user) {
    GlyphScratch& s = *static_cast<GlyphScratch*>(user);
    finishContour(s);
    s.contourStart = s.points.size();
    s.hasPoint = true;
    addPoint(s, toPoint(to));
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    GlyphScratch& s = *static_cast<GlyphScratch*>(user);
    addPoint(s, toPoint(to));
    return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    GlyphScratch& s = *static_cast<GlyphScratch*>(user);
    Point p0 = s.pen, p1 = toPoint(control), p2 = toPoint(to);
    // A quadratic's chord error over a parameter step h is |p0 - 2 p1 + p2| h^2 / 4.
    double bend = std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y) / 4;
    int n = segmentsFor(bend, s.tolerance);
    for (int i = 1; i < n; ++i) {
        double t = double(i) / n, u = 1 - t;
        addPoint(s, Point{u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
                          u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
    addPoint(s, p2);
    return 0;
}

int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
            void* user) {
    GlyphScratch& s = *static_cast<GlyphScratch*>(user);
    Point p0 = s.pen, p1 = toPoint(control1), p2 = toPoint(control2), p3 = toPoint(to);
    // A cubic's second derivative is at most 6 max(|p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|),
    // so its chord error over a step h is at most 3/4 of that maximum times h^2.
    double bend = 0.75 * std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                  std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    int n = segmentsFor(bend, s.tolerance);
    for (int i = 1; i < n; ++i) {
        double t = double(i) / n, u = 1 - t;
        double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        addPoint(s, Point{a * p0.x + b * p1.x + c * p2.x + d * p3.x,
                          a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    addPoint(s, p3);
    return 0;
}

void* vertexRef(size_t index) { return reinterpret_cast<void*>(uintptr_t(index) + 1); }
size_t vertexIndex(void* ref) { return size_t(reinterpret_cast<uintptr_t>(ref) - 1); }

void GLAPIENTRY tessBegin(GLenum, void*) {}
void GLAPIENTRY tessEnd(void*) {}
// Registered only so that the tessellator emits separate triangles, never fans or strips.
void GLAPIENTRY tessEdgeFlag(GLboolean, void*) {}

void GLAPIENTRY tessVertex(void* vertex, void* user) {
    static_cast<GlyphScratch*>(user)->triangles.push_back(vertexIndex(vertex));
}

void GLAPIENTRY tessCombine(GLdouble coords[3], void* [4], GLfloat [4], void** out,
                            void* user) {
    GlyphScratch& s = *static_cast<GlyphScratch*>(user);
    s.points.push_back(Point{coords[0], coords[1]});
    *out = vertexRef(s.points.size() - 1);
}

void GLAPIENTRY tessError(GLenum, void* user) { static_cast<GlyphScratch*>(user)->failed = true; }

template <typename F>
void setCallback(GLUtesselator* tess, GLenum which, F* function) {
    gluTessCallback(tess, which, reinterpret_cast<_GLUfuncptr>(function));
}

bool tessellate(GlyphScratch& s) {
    GLUtesselator* tess = gluNewTess();
    if (!tess) return false;
    setCallback(tess, GLU_TESS_BEGIN_DATA, tessBegin);
    setCallback(tess, GLU_TESS_END_DATA, tessEnd);
    setCallback(tess, GLU_TESS_EDGE_FLAG_DATA, tessEdgeFlag);
    setCallback(tess, GLU_TESS_VERTEX_DATA, tessVertex);
    setCallback(tess, GLU_TESS_COMBINE_DATA, tessCombine);
    setCallback(tess, GLU_TESS_ERROR_DATA, tessError);
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);

    s.coords.clear();
    for (const Point& p : s.points) {
        s.coords.push_back(p.x);
        s.coords.push_back(p.y);
        s.coords.push_back(0);
    }
    s.triangles.clear();
    s.failed = false;
    gluTessBeginPolygon(tess, &s);
    size_t start = 0;
    for (size_t end : s.contourEnds) {
        gluTessBeginContour(tess);
        for (size_t i = start; i < end; ++i) gluTessVertex(tess, &s.coords[3 * i], vertexRef(i));
        gluTessEndContour(tess);
        start = end;
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    return !s.failed && s.triangles.size() % 3 == 0;
}

}  // namespace

void emitExtrudedOutline(const FT_Outline& outline, double unitsPerEm, double tolerance,
                         float extrusion) {
    if (outline.n_contours <= 0 || outline.n_points <= 0 || !(unitsPerEm > 0)) return;
    GlyphScratch& s = scratch();
    s.points.clear();
    s.contourEnds.clear();
    s.hasPoint = false;
    s.tolerance = tolerance > 0 ? tolerance : 1.0;

    FT_Outline_Funcs funcs = {};
    funcs.move_to = moveTo;
    funcs.line_to = lineTo;
    funcs.conic_to = conicTo;
    funcs.cubic_to = cubicTo;
    FT_Outline copy = outline;  // Decompose takes a non-const outline but does not change it
    if (FT_Outline_Decompose(&copy, &funcs, &s) != 0) return;
    finishContour(s);
    if (s.contourEnds.empty()) return;

    // From here on every contour keeps the filled side on its left (outer contours run
    // counter-clockwise), whichever way the font's format draws them.
    if (FT_Outline_Get_Orientation(&copy) == FT_ORIENTATION_FILL_RIGHT) {
        size_t start = 0;
        for (size_t end : s.contourEnds) {
            std::reverse(s.points.begin() + long(start), s.points.begin() + long(end));
            start = end;
        }
    }
    if (!tessellate(s)) return;

    const double scale = 1.0 / unitsPerEm;
    auto vertex = [&](size_t i, float z) {
        glVertex3f(float(s.points[i].x * scale), float(s.points[i].y * scale), z);
    };

    // Faces: counter-clockwise seen from +z in front and from -z behind.
    glBegin(GL_TRIANGLES);
    glNormal3f(0, 0, 1);
    for (size_t t = 0; t + 2 < s.triangles.size(); t += 3) {
        size_t a = s.triangles[t], b = s.triangles[t + 1], c = s.triangles[t + 2];
        const Point &pa = s.points[a], &pb = s.points[b], &pc = s.points[c];
        double area = (pb.x - pa.x) * (pc.y - pa.y) - (pc.x - pa.x) * (pb.y - pa.y);
        if (area == 0) {
            s.triangles[t] = s.triangles[t + 1] = s.triangles[t + 2] = a;
            continue;
        }
        if (area < 0) std::swap(s.triangles[t + 1], s.triangles[t + 2]);
        vertex(s.triangles[t], 0);
        vertex(s.triangles[t + 1], 0);
        vertex(s.triangles[t + 2], 0);
    }
    glNormal3f(0, 0, -1);
    for (size_t t = 0; t + 2 < s.triangles.size(); t += 3) {
        if (s.triangles[t] == s.triangles[t + 1]) continue;
        vertex(s.triangles[t], -extrusion);
        vertex(s.triangles[t + 2], -extrusion);
        vertex(s.triangles[t + 1], -extrusion);
    }
    glEnd();
    if (extrusion == 0) return;

    // Walls: the filled side is left of each edge, so the outward normal is its right.
    glBegin(GL_QUADS);
    size_t start = 0;
    for (size_t end : s.contourEnds) {
        for (size_t i = start; i < end; ++i) {
            size_t j = i + 1 < end ? i + 1 : start;
            double dx = s.points[j].x - s.points[i].x, dy = s.points[j].y - s.points[i].y;
            double length = std::hypot(dx, dy);
            glNormal3f(float(dy / length), float(-dx / length), 0);
            vertex(i, 0);
            vertex(i, -extrusion);
            vertex(j, -extrusion);
            vertex(j, 0);
        }
        start = end;
    }
    glEnd();
}
