// platform.h - the one include that brings in the window system and OpenGL.
// Windows: the real headers. Linux: our Win32 subset (platform/win32.h) over SDL2.
#ifndef KORVALINTH_ENGINE_PLATFORM_H
#define KORVALINTH_ENGINE_PLATFORM_H

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "win32.h"
#endif

#include <GL/gl.h>
#include <GL/glu.h>

#endif
