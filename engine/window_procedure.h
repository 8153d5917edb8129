// window_procedure.h - the game window's procedure, its pixel format and key table.
#ifndef KORVALINTH_ENGINE_WINDOW_PROCEDURE_H
#define KORVALINTH_ENGINE_WINDOW_PROCEDURE_H

#include "platform.h"

extern const PIXELFORMATDESCRIPTOR pixelFormatDescriptor;
extern HDC deviceContext;     // from GetDC on WM_CREATE; kept for the whole run
extern HGLRC renderContext;   // made current on WM_CREATE; deleted on WM_CLOSE
extern bool keyDown[256];     // by virtual-key code; set on WM_KEYDOWN, cleared on WM_KEYUP

BOOL setupPixelFormat(HDC dc);
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
