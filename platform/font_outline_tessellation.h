// font_outline_tessellation.h - turns one glyph outline into extruded OpenGL geometry.
// Internal to platform/ (the outline font); nothing in engine/ or game/ includes it.
#ifndef KORVALINTH_PLATFORM_FONT_OUTLINE_TESSELLATION_H
#define KORVALINTH_PLATFORM_FONT_OUTLINE_TESSELLATION_H

#include <ft2build.h>
#include FT_FREETYPE_H

// Emits, into the display list being compiled, the filled glyph: front faces at z = 0
// facing +z, back faces at z = -extrusion facing -z and the side walls between them,
// each counter-clockwise seen from outside. The outline is in font design units;
// unitsPerEm of them make 1.0, and curves are flattened to within tolerance design
// units. Emits nothing for an outline without area.
void emitExtrudedOutline(const FT_Outline& outline, double unitsPerEm, double tolerance,
                         float extrusion);

#endif
