// race_display.h - the drawing steps of the race frame: minimap, HUD, shield bar, start
// line, scenery, reflections, walls and posts, and the end of the frame. Each step
// restores the OpenGL state it changes, except texture-coordinate generation, which the
// car drawing leaves on and the start line turns off.
#ifndef KORVALINTH_GAME_RACE_DISPLAY_H
#define KORVALINTH_GAME_RACE_DISPLAY_H

void drawMinimap();              // orthographic projection, clears all three buffers
void beginRaceView();            // race projection; pushes the HUD matrix
void drawHud();                  // labels, figures and engine gauge; pops the HUD matrix
void drawShieldBar();            // in eye space, after the ranking
void drawStartLine();
void drawTrackScenery();         // ground and sky of the current track
void drawPoolMarksAndMirror();   // pool stencil (water track) and the mirrored racers
void drawWaterAndPools();        // water track only
void drawFireGround();           // fire track only
void drawWallsAndPosts();
void drawWindStreaks();          // wind track only
void endRaceFrame();             // flush, swap and pace (presentFrame)

// trackScale as a divisor of the scenery, pool and minimap coordinates: 1 while no track
// table has set it.
float sceneryScale();

#endif
