// window.cpp - window classes, the game window and its device context, over SDL2.
//
// A Windows window and an SDL window differ in one way that shapes this file: Windows
// picks the pixel format after the window exists (SetPixelFormat inside WM_CREATE),
// SDL when it makes the window. So CreateWindowExA makes the record first, lets
// WM_CREATE choose the format (which makes the SDL window), and only then makes a plain
// SDL window for a procedure that asked for none.
#include <malloc.h>

#include <cstdio>
#include <cstring>

#include "sdl_state.h"
#include "test_hooks.h"

namespace {

// Styles that decide the frame; the rest of the style bits change nothing here.
const DWORD styleCaption = 0x00C00000L;
const DWORD styleThickFrame = 0x00040000L;

// The frame that AdjustWindowRectEx adds and CreateWindowExA takes off again, so that a
// window made from an adjusted rectangle gets exactly the client area asked for. SDL
// sizes the client area; the window manager draws whatever frame it likes around it.
const int frameSide = 8;
const int captionHeight = 23;

struct WindowClass {
    char name[64];
    WNDPROC procedure;
};

WindowClass classes[8];
int classCount = 0;

// Few windows ever exist: the game makes one, a test may make a second.
HWND__ windows[8];

int cursorCount = 0;  // ShowCursor's display count; the cursor shows while it is >= 0

void applyCursor() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

const WindowClass* findClass(LPCSTR name) {
    for (int i = 0; i < classCount; ++i)
        if (std::strcmp(classes[i].name, name) == 0) return &classes[i];
    return nullptr;
}

void frameOf(DWORD style, RECT* frame) {
    frame->left = frame->top = frame->right = frame->bottom = 0;
    if (style & WS_POPUP) return;
    if (style & styleThickFrame) frame->left = frame->right = frame->bottom = frameSide;
    frame->top = frame->left;
    if ((style & styleCaption) == styleCaption) frame->top += captionHeight;
}

void freeRecord(HWND window) {
    if (window->sdl) SDL_DestroyWindow(window->sdl);
    forgetWindowMessages(window);
    *window = HWND__{};
}

// Mesa's software renderer allocates and frees blocks of 64 KiB by the hundred in every
// frame (by the thousand in a race). With the C library's default policy the top of the
// heap went back to the kernel each time they were freed and was faulted in again by the
// next frame: about 1,400 page faults and more than half of a menu frame's time. The heap
// is kept instead; what it holds is what the busiest frame needed anyway. (Raising the
// mmap threshold as well, which this setting fixes at 128 KiB, measured no different.)
// Set once, before the first window and its context, which bring the renderer's threads.
void keepFreedHeap() { mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024); }

// With no display to reach (no X server, no Wayland compositor) SDL falls back to a
// driver without a screen of its own accord, and the game would run on with a window
// that nobody can see or close. Such a driver is taken only when it was asked for by
// name, as the headless tests and the benchmark do.
bool onAScreen() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked && std::strstr(asked, driver) != nullptr;
}

}  // namespace

bool startVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    keepFreedHeap();
    // Ctrl+C and kill end the process as they would a Windows program; SDL would turn
    // them into a quit event that no window procedure knows about.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A Windows full-screen window stays put when another window takes the focus.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Never shut down again: like a Windows program's window and context, SDL's video
    // lives until the process ends (the entry point puts a changed mode back itself).
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    if (!onAScreen()) {
        std::fprintf(stderr, "Korvalinth: no display to open the window on\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // The game reads key messages only; text input events would just fill SDL's queue.
    SDL_StopTextInput();
    applyCursor();
    return true;
}

HWND windowFromSdlId(Uint32 id) {
    for (HWND__& w : windows)
        if (w.inUse && w.sdl && SDL_GetWindowID(w.sdl) == id) return &w;
    return nullptr;
}

int windowCount() { return int(sizeof windows / sizeof windows[0]); }

HWND windowAt(int index) {
    return windows[index].inUse && windows[index].sdl ? &windows[index] : nullptr;
}

bool makeSdlWindow(HWND window, bool opengl) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (opengl) flags |= SDL_WINDOW_OPENGL;
    if (window->style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (window->style & styleThickFrame) flags |= SDL_WINDOW_RESIZABLE;
    // A pop-up made while a changed mode is in force starts out full screen on it, so
    // that the window system knows before the window is first shown.
    const SDL_DisplayMode* mode = changedDisplayMode();
    if ((window->style & WS_POPUP) && mode) flags |= SDL_WINDOW_FULLSCREEN;
    int width = window->clientWidth > 0 ? window->clientWidth : 1;
    int height = window->clientHeight > 0 ? window->clientHeight : 1;
    window->sdl = SDL_CreateWindow(window->title, window->x, window->y, width, height, flags);
    if (window->sdl && (flags & SDL_WINDOW_FULLSCREEN)) SDL_SetWindowDisplayMode(window->sdl, mode);
    return window->sdl != nullptr;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window || !window->inUse || !window->procedure) return 0;
    return window->procedure(window, message, wParam, lParam);
}

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA) || !windowClass->lpfnWndProc ||
        !windowClass->lpszClassName)
        return 0;
    size_t length = std::strlen(windowClass->lpszClassName);
    if (length == 0 || length >= sizeof classes[0].name) return 0;
    // As on Windows, a name registers once.
    if (findClass(windowClass->lpszClassName) || classCount == 8) return 0;
    WindowClass& entry = classes[classCount++];
    std::memcpy(entry.name, windowClass->lpszClassName, length + 1);
    entry.procedure = windowClass->lpfnWndProc;
    return ATOM(0xC000 + classCount);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND, HMENU, HINSTANCE, void*) {
    const WindowClass* windowClass = className ? findClass(className) : nullptr;
    if (!windowClass || !startVideo()) return nullptr;
    HWND window = nullptr;
    for (HWND__& w : windows)
        if (!w.inUse) {
            window = &w;
            break;
        }
    if (!window) return nullptr;

    RECT frame;
    frameOf(style, &frame);
    *window = HWND__{};
    window->inUse = true;
    window->procedure = windowClass->procedure;
    window->style = style;
    window->exStyle = exStyle;
    std::strncpy(window->title, title ? title : "", sizeof window->title - 1);
    window->x = x;
    window->y = y;
    window->clientWidth = width - frame.left - frame.right;
    window->clientHeight = height - frame.top - frame.bottom;
    if (window->clientWidth < 0) window->clientWidth = 0;
    if (window->clientHeight < 0) window->clientHeight = 0;
    window->dc.window = window;

    // A procedure that answers WM_CREATE with -1 refuses the window.
    if (sendMessage(window, WM_CREATE, 0, 0) == -1 || (!window->sdl && !makeSdlWindow(window, false))) {
        freeRecord(window);
        return nullptr;
    }
    sendMessage(window, WM_SIZE, 0,
                LPARAM((window->clientHeight & 0xffff) << 16 | (window->clientWidth & 0xffff)));
    return window;
}

BOOL ShowWindow(HWND window, int) {
    if (!window || !window->inUse || !window->sdl) return FALSE;
    BOOL wasVisible = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    SDL_ShowWindow(window->sdl);
    applyDisplayMode(window);
    return wasVisible;
}

// Nothing to paint: the game draws every frame itself and handles no WM_PAINT.
BOOL UpdateWindow(HWND window) { return window && window->inUse ? TRUE : FALSE; }

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD) {
    if (!rect) return FALSE;
    RECT frame;
    frameOf(style, &frame);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

// Alt+F4 arrives as WM_SYSKEYDOWN and becomes the close request, as the system menu
// makes it on Windows. A WM_CLOSE passed on here would destroy the window there; the
// game's procedure never passes it on, and this subset destroys no windows.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WPARAM keyF4 = 0x73;
    const LPARAM altHeld = LPARAM(1) << 29;
    if (message == WM_SYSKEYDOWN && wParam == keyF4 && (lParam & altHeld))
        return sendMessage(window, WM_CLOSE, 0, 0);
    return 0;
}

// The stock icons and cursors need no resources: any non-null handle will do.
HICON LoadIconA(HINSTANCE, LPCSTR name) { return reinterpret_cast<HICON>(const_cast<char*>(name)); }

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
    return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

int ShowCursor(BOOL show) {
    cursorCount += show ? 1 : -1;
    applyCursor();
    return cursorCount;
}

HDC GetDC(HWND window) { return window && window->inUse ? &window->dc : nullptr; }

// Test seam (test_hooks.h).
int cursorDisplayCount() { return cursorCount; }
