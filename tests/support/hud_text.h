// hud_text.h - reading the race's HUD texts off the screen. Every HUD glyph reaches the
// near plane, where nothing of the 3D scene can come, so the pixels whose depth is that
// of the near plane are the text, whatever the scene behind it. A text is read by
// comparing them with the expected text drawn on its own at its place in the HUD.
#ifndef KORVALINTH_TESTS_HUD_TEXT_H
#define KORVALINTH_TESTS_HUD_TEXT_H

#include <string>
#include <vector>

#include "platform.h"

// Which pixels of the frame just drawn lie on the near plane (read from the viewport):
// of a depth up to maxDepth. A glyph turned out of the HUD's plane shows its sides just
// behind the near plane; 0.3 takes those in and still nothing of the scene, which
// stays more than 1.4 units from the eye.
class NearPlane {
public:
    explicit NearPlane(float maxDepth = 1e-4f);
    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const { return depth_[size_t(y) * size_t(width_) + size_t(x)] <= maxDepth_; }

private:
    float maxDepth_;
    int width_, height_;
    std::vector<float> depth_;
};

// A window rectangle [x0, x1) x [y0, y1), y counted from the bottom row.
struct Area {
    int x0, y0, x1, y1;
};

// One piece of the expected text: translate, scale, then the string centred, each
// continuing where the one before left the matrix (as the HUD's strings do).
struct Piece {
    float x, y, scaleX, scaleY;
    std::string text;
};

// Prints the pieces in the current matrix, which they leave where the last one ended.
void printPieces(const std::vector<Piece>& pieces);

// The expected text alone, at its place in the HUD space of the race view; leaves the
// model-view at the identity below the HUD matrix.
NearPlane drawnAlone(const std::vector<Piece>& pieces);

// How far the frame's text within the area differs from the expected: the pixels that
// are text in one and not in the other, against the expected text's own pixels.
struct Reading {
    int expected = 0, differing = 0;
    bool matches() const { return expected > 40 && differing <= 10 + expected / 50; }
};

// The pixels of background count as text wherever they are (what the frame shows there
// anyway), and not as the expected text's own.
Reading compare(const NearPlane& shown, const NearPlane& expected, const Area& area,
                const NearPlane* background = nullptr);

// The near-plane pixels in expected and not in background, as an area grown by margin.
Area textBounds(const NearPlane& expected, const NearPlane& background, int margin);

std::string describe(const Reading& r);

#endif
