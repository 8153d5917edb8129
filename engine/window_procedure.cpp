// window_procedure.cpp - the game window's procedure: the OpenGL context on creation,
// the viewport and starting projection on resize, the key-state table, and the end of
// the message loop on close.
#include "window_procedure.h"

const PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {
    40,                                                           // nSize
    1,                                                            // nVersion
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,  // dwFlags
    PFD_TYPE_RGBA,                                                // iPixelType
    32,                                                           // cColorBits
    0, 0, 0, 0, 0, 0,                                             // colour bits and shifts
    0, 0,                                                         // alpha bits and shift
    0, 0, 0, 0, 0,                                                // accumulation buffer
    16,                                                           // cDepthBits
    16,                                                           // cStencilBits
    0,                                                            // cAuxBuffers
    PFD_MAIN_PLANE,                                               // iLayerType
    0,                                                            // bReserved
    0, 0, 0,                                                      // layer, visible, damage masks
};

HDC deviceContext = nullptr;
HGLRC renderContext = nullptr;
bool keyDown[256] = {};

BOOL setupPixelFormat(HDC dc) {
    int format = ChoosePixelFormat(dc, &pixelFormatDescriptor);
    return SetPixelFormat(dc, format, &pixelFormatDescriptor);
}

namespace {

void setStartingProjection(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(54.0, double(width) / double(height), 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        // Nothing is checked: without a context the game's drawing simply has no effect.
        deviceContext = GetDC(window);
        setupPixelFormat(deviceContext);
        renderContext = wglCreateContext(deviceContext);
        wglMakeCurrent(deviceContext, renderContext);
        return 0;
    case WM_SIZE:
        setStartingProjection(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        // The window itself stays until the process ends; only the context goes. The
        // handle is cleared so that a second close cannot delete it again.
        wglMakeCurrent(deviceContext, nullptr);
        wglDeleteContext(renderContext);
        renderContext = nullptr;
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam < 256) keyDown[wParam] = true;
        return 0;
    case WM_KEYUP:
        if (wParam < 256) keyDown[wParam] = false;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
