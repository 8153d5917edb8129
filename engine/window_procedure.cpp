// window_procedure.cpp - placeholder, replaced by its own work.
#include "window_procedure.h"
HDC deviceContext; HGLRC renderContext; bool keyDown[256];
const PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {};
BOOL setupPixelFormat(HDC) { return FALSE; }
LRESULT CALLBACK windowProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
