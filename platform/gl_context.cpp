// gl_context.cpp - pixel format, rendering context and buffer swap, over SDL's GL calls.
//
// A pixel format here is a set of SDL GL attributes: SetPixelFormat turns the
// descriptor's requests into attributes and makes the window's SDL window with them.
// Like a Windows driver it settles for what the hardware has when a request cannot be
// met exactly (Mesa offers 24 depth and 8 stencil bits, not 16 and 16).
#include "sdl_state.h"

namespace {

// The one format this subset offers: RGBA drawn to a window through OpenGL.
const int onlyFormat = 1;

bool formatWeOffer(const PIXELFORMATDESCRIPTOR* descriptor) {
    return descriptor && descriptor->iPixelType == PFD_TYPE_RGBA &&
           (descriptor->dwFlags & PFD_SUPPORT_OPENGL) && (descriptor->dwFlags & PFD_DRAW_TO_WINDOW);
}

int atMost(int value, int limit) { return value < limit ? value : limit; }

void setAttributes(const PIXELFORMATDESCRIPTOR& descriptor, int depthBits, int stencilBits) {
    int colourBits = descriptor.cColorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, colourBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colourBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, colourBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, descriptor.cAlphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencilBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, descriptor.cAccumRedBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, descriptor.cAccumGreenBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, descriptor.cAccumBlueBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, descriptor.cAccumAlphaBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (descriptor.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
    // The game draws in immediate mode with display lists: a compatibility context.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

}  // namespace

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
    return dc && formatWeOffer(descriptor) ? onlyFormat : 0;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) {
    if (!dc || format != onlyFormat || !formatWeOffer(descriptor)) return FALSE;
    HWND window = dc->window;
    // A window's format is set once; setting the same one again succeeds, as on Windows.
    if (window->sdl) return window->hasPixelFormat ? TRUE : FALSE;
    // The exact request first, then what common drivers have, then any depth and stencil.
    const int depthTries[3] = {descriptor->cDepthBits, atMost(descriptor->cDepthBits, 24), 0};
    const int stencilTries[3] = {descriptor->cStencilBits, atMost(descriptor->cStencilBits, 8), 0};
    for (int i = 0; i < 3 && !window->sdl; ++i) {
        setAttributes(*descriptor, depthTries[i], stencilTries[i]);
        makeSdlWindow(window, true);
    }
    window->hasPixelFormat = window->sdl != nullptr;
    return window->hasPixelFormat ? TRUE : FALSE;
}

HGLRC wglCreateContext(HDC dc) {
    if (!dc || !dc->window->hasPixelFormat) return nullptr;
    // SDL makes a new context current; wglCreateContext leaves the current one alone.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(dc->window->sdl);
    if (context) {
        // Paced by the display where it has vertical sync, as Windows drivers do by
        // default; where it has none (Xvfb, offscreen) the call fails and frames run free.
        SDL_GL_SetSwapInterval(1);
        SDL_GL_MakeCurrent(previous ? previousWindow : nullptr, previous);
    }
    return reinterpret_cast<HGLRC>(context);
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
    if (!context) {
        SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
        return TRUE;
    }
    if (!dc || !dc->window->hasPixelFormat) return FALSE;
    return SDL_GL_MakeCurrent(dc->window->sdl, reinterpret_cast<SDL_GLContext>(context)) == 0
               ? TRUE
               : FALSE;
}

BOOL wglDeleteContext(HGLRC context) {
    if (!context) return FALSE;
    SDL_GL_DeleteContext(reinterpret_cast<SDL_GLContext>(context));
    return TRUE;
}

BOOL SwapBuffers(HDC dc) {
    if (!dc || !dc->window->hasPixelFormat) return FALSE;
    SDL_GL_SwapWindow(dc->window->sdl);
    passTestSwapTime();
    return TRUE;
}
