// game_window.h - the game's one window: its class, the full-screen display mode and the
// window with its rendering context. The entry point makes them step by step; the
// benchmark and the GL tests open the same window, windowed, through openGameWindow.
#ifndef KORVALINTH_GAME_GAME_WINDOW_H
#define KORVALINTH_GAME_GAME_WINDOW_H

#include "platform.h"

// The class "MyClass" with the game's window procedure. False when it cannot be
// registered (a name registers once per process).
bool registerGameWindowClass(HINSTANCE instance);

// Switches the display to screenWidth x screenHeight at 16 bits per pixel. When the
// display cannot take the mode the player is told so and fullScreen is cleared: the game
// then runs windowed.
void enterFullScreenMode();

// Creates the window of the registered class with a client area of screenWidth x
// screenHeight: a popup with the cursor hidden when fullScreenStyle, else an overlapped
// window. The window procedure makes the rendering context current while it is created.
// Null when no window could be made.
HWND createGameWindow(HINSTANCE instance, bool fullScreenStyle);

// The game window, windowed with a client area of width x height, registered (on the
// first call), created and shown as the entry point does it, its context current; sets
// screenWidth and screenHeight. Null when no window could be made.
HWND openGameWindow(int width, int height);

#endif
