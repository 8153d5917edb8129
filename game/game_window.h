// game_window.h - the game's one window, opened the one way the entry point opens it: the
// window class, the full-screen display mode and the window with its rendering context.
// The benchmark and the GL tests open their windows through it too, so they run the
// entry point's own steps.
#ifndef KORVALINTH_GAME_GAME_WINDOW_H
#define KORVALINTH_GAME_GAME_WINDOW_H

#include "platform.h"

// The entry point's window, in the entry point's order:
//   1. screenWidth and screenHeight = width and height;
//   2. the class "MyClass" with the game's window procedure registered for instance;
//   3. only when fullScreen: the display switched to screenWidth x screenHeight at 16 bits
//      per pixel; when the display cannot take the mode the player is told so and
//      fullScreen is cleared, and the game runs windowed;
//   4. the window created with a client area of screenWidth x screenHeight: a popup with
//      the cursor hidden while fullScreen holds, else an overlapped window; the window
//      procedure makes the rendering context current while it is created;
//   5. the window shown and updated.
// Null, with nothing done after the failed step, when the class cannot be registered or
// no window can be made. A class name registers once per process, so a later call (a
// test's or the benchmark's second window) uses the class that the first registered.
HWND openGameWindow(HINSTANCE instance, int width, int height);

#endif
