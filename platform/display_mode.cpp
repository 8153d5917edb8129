// display_mode.cpp - the full-screen display mode and the message box.
//
// Windows changes the mode of the whole display; SDL changes it for a full-screen
// window. So ChangeDisplaySettingsA only checks and records the mode, and a pop-up
// window (the game's full-screen style) goes full screen on it when it is shown.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sdl_state.h"
#include "test_hooks.h"

namespace {

bool modeChanged = false;
SDL_DisplayMode chosenMode;

// Test seam: a display offering one mode of this size instead of its own.
int testModeWidth = 0, testModeHeight = 0;

bool findMode(int width, int height, SDL_DisplayMode* mode) {
    if (testModeWidth > 0) {
        if (width != testModeWidth || height != testModeHeight) return false;
        *mode = SDL_DisplayMode{};
        mode->w = width;
        mode->h = height;
        return true;
    }
    // Any colour depth: the 16 bits the game asks for are not offered by today's
    // displays, and the game draws the same at 32. SDL lists the deepest and fastest of
    // each size first.
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i)
        if (SDL_GetDisplayMode(0, i, mode) == 0 && mode->w == width && mode->h == height) return true;
    return false;
}

// Test seam: message boxes recorded, and answered without being shown when captured.
bool capturing = false;
const int keptBoxes = 4;
int boxCount = 0;
char boxText[keptBoxes][512];
char boxCaption[keptBoxes][128];

void copyText(char* to, size_t size, const char* from) {
    std::strncpy(to, from, size - 1);
    to[size - 1] = '\0';
}

bool headless() {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver()
                                                      : std::getenv("SDL_VIDEODRIVER");
    return driver && std::strcmp(driver, "offscreen") == 0;
}

}  // namespace

const SDL_DisplayMode* changedDisplayMode() { return modeChanged ? &chosenMode : nullptr; }

void applyDisplayMode(HWND window) {
    if (!window->sdl || !(window->style & WS_POPUP)) return;
    if (modeChanged) {
        SDL_SetWindowDisplayMode(window->sdl, &chosenMode);
        SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN);
    } else {
        SDL_SetWindowFullscreen(window->sdl, 0);
    }
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD) {
    if (mode) {
        if (!startVideo()) return DISP_CHANGE_BADMODE;
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return DISP_CHANGE_BADMODE;
        int width = (mode->dmFields & DM_PELSWIDTH) ? int(mode->dmPelsWidth) : desktop.w;
        int height = (mode->dmFields & DM_PELSHEIGHT) ? int(mode->dmPelsHeight) : desktop.h;
        SDL_DisplayMode found;
        if (!findMode(width, height, &found)) return DISP_CHANGE_BADMODE;
        chosenMode = found;
        modeChanged = true;
    } else {
        // No mode: the desktop's own comes back.
        modeChanged = false;
    }
    for (int i = 0; i < windowCount(); ++i)
        if (HWND window = windowAt(i)) applyDisplayMode(window);
    return DISP_CHANGE_SUCCESSFUL;
}

// A real modal box that waits for its OK. A headless run (the offscreen driver) has no
// screen to show it on and nobody to close it, so the text goes to stderr instead.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    const int okButton = 1;  // IDOK
    const char* title = caption ? caption : "Error";
    if (boxCount < keptBoxes) {
        copyText(boxText[boxCount], sizeof boxText[0], text ? text : "");
        copyText(boxCaption[boxCount], sizeof boxCaption[0], title);
    }
    ++boxCount;
    if (capturing) return okButton;
    if (headless()) {
        std::fprintf(stderr, "%s: %s\n", title, text ? text : "");
        return okButton;
    }
    SDL_MessageBoxButtonData button = {};
    button.flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    button.buttonid = okButton;
    button.text = "OK";
    SDL_MessageBoxData box = {};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.window = owner && owner->inUse ? owner->sdl : nullptr;
    box.title = title;
    box.message = text ? text : "";
    box.numbuttons = 1;
    box.buttons = &button;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) return 0;
    return okButton;
}

// ---- test seams (test_hooks.h) ---------------------------------------------------------
void offerTestDisplayMode(int width, int height) {
    testModeWidth = width;
    testModeHeight = height;
}

bool displayModeChanged() { return modeChanged; }

void captureMessageBoxes() { capturing = true; }

int messageBoxCount() { return boxCount; }

const char* messageBoxText(int index) {
    return index >= 0 && index < boxCount && index < keptBoxes ? boxText[index] : "";
}

const char* messageBoxCaption(int index) {
    return index >= 0 && index < boxCount && index < keptBoxes ? boxCaption[index] : "";
}
