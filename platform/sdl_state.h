// sdl_state.h - what the platform files share: the window records behind HWND and HDC,
// and the few calls one file makes into another. Internal to platform/; nothing in
// engine/ or game/ includes it.
#ifndef KORVALINTH_PLATFORM_SDL_STATE_H
#define KORVALINTH_PLATFORM_SDL_STATE_H

#include <SDL.h>

#include "win32.h"

// A window's device context is part of the window: GetDC hands out the same one every
// time and it lives as long as the window.
struct HDC__ {
    HWND window;
};

// One window made by CreateWindowExA. The SDL window is made late, by SetPixelFormat
// during WM_CREATE (SDL picks the GL surface's format when it makes the window), or at
// the end of CreateWindowExA for a window that never asked for a pixel format.
struct HWND__ {
    bool inUse;
    WNDPROC procedure;
    DWORD style, exStyle;
    char title[128];
    int x, y;
    int clientWidth, clientHeight;   // as last reported by WM_SIZE
    SDL_Window* sdl;
    bool hasPixelFormat;
    HDC__ dc;
};

// SDL's video subsystem, started on first need; false when no video driver works.
bool startVideo();

// The window whose SDL id this is, or null.
HWND windowFromSdlId(Uint32 id);
// The windows that have their SDL window, for the display mode and stray keys.
int windowCount();
HWND windowAt(int index);

// Makes the SDL window of a record, with a GL surface when opengl is set.
bool makeSdlWindow(HWND window, bool opengl);
// Calls the window procedure at once, as SendMessage does.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The display mode that ChangeDisplaySettingsA put in force, or null for the desktop's.
const SDL_DisplayMode* changedDisplayMode();
// Puts a pop-up window full screen on the changed mode, or back to windowed without one.
void applyDisplayMode(HWND window);

// Time passing on a test counter (performance_counter.cpp): the tests' step after each
// swap, and a sleep's time, which is then all the sleep there is (false on the real
// counter, where the caller sleeps).
void passTestSwapTime();
bool passTestSleepTime(DWORD milliseconds);

// The message queue (messages.cpp).
void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops the queued messages of a window that goes away.
void forgetWindowMessages(HWND window);

#endif
