// hud_text.cpp - reading the race's HUD texts off the screen by their near-plane pixels.
#include "hud_text.h"

#include <algorithm>

#include "frame_pixels.h"
#include "outline_text.h"
#include "race_display.h"
#include "world.h"

NearPlane::NearPlane(float maxDepth) : maxDepth_(maxDepth) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    width_ = viewport[2];
    height_ = viewport[3];
    depth_.resize(size_t(width_) * size_t(height_));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_DEPTH_COMPONENT, GL_FLOAT, depth_.data());
}

void printPieces(const std::vector<Piece>& pieces) {
    for (const Piece& piece : pieces) {
        glTranslatef(piece.x, piece.y, 0);
        glScalef(piece.scaleX, piece.scaleY, 1);
        printCentred(fontBase, piece.text.c_str());
    }
}

NearPlane drawnAlone(const std::vector<Piece>& pieces) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    beginRaceView();
    printPieces(pieces);
    NearPlane drawn;
    glPopMatrix();
    return drawn;
}

Reading compare(const NearPlane& shown, const NearPlane& expected, const Area& area,
                const NearPlane* background) {
    Reading reading;
    for (int y = area.y0; y < area.y1; ++y)
        for (int x = area.x0; x < area.x1; ++x) {
            const bool text = expected.at(x, y);
            const bool behind = background && background->at(x, y);
            if (text && !behind) ++reading.expected;
            if (shown.at(x, y) != (text || behind)) ++reading.differing;
        }
    return reading;
}

Area textBounds(const NearPlane& expected, const NearPlane& background, int margin) {
    const PixelRegion text =
        findPlaces([&](int x, int y) { return expected.at(x, y) && !background.at(x, y); }, 0, 0,
                   expected.width(), expected.height());
    if (text.count == 0) return Area{0, 0, 0, 0};
    return Area{std::max(0, text.minX - margin), std::max(0, text.minY - margin),
                std::min(expected.width(), text.maxX + 1 + margin),
                std::min(expected.height(), text.maxY + 1 + margin)};
}

std::string describe(const Reading& r) {
    return std::to_string(r.differing) + " of " + std::to_string(r.expected) +
           " text pixels differ";
}
