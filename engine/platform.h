// platform.h - the one include that brings in the window system and OpenGL.
// Windows: the real headers. Linux: our Win32 subset (platform/include/win32.h) over SDL2.
#ifndef KORVALINTH_ENGINE_PLATFORM_H
#define KORVALINTH_ENGINE_PLATFORM_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// std::min and std::max must stay functions.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// timeBeginPeriod, which the lean windows.h leaves out.
#include <mmsystem.h>
#else
#include "win32.h"
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef _WIN32
// Leftovers of 16-bit Windows, defined empty; they would swallow the ordinary words.
#undef near
#undef far
#endif

#endif
