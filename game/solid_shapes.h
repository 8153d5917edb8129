// solid_shapes.h - the shop previews' solid torus, sphere and cube, each compiled into
// a display list on first use for each size and replayed afterwards.
#ifndef KORVALINTH_GAME_SOLID_SHAPES_H
#define KORVALINTH_GAME_SOLID_SHAPES_H

void solidTorus(float tubeRadius, float ringRadius);  // 8 sides, 15 rings, ring about z
void solidSphere(float radius);                       // 16 slices, 16 stacks
void solidCube(float edge);                           // centred on the origin

#endif
