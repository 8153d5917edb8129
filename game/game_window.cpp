// game_window.cpp - the game window: its class, the full-screen display mode and the window.
#include "game_window.h"

#include <cstring>

#include "window_procedure.h"
#include "world.h"

namespace {

const char* const windowClassName = "MyClass";
const char* const windowTitle = "Korvalinth";

bool registerGameWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = windowClassName;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_WINLOGO);
    return RegisterClassExA(&windowClass) != 0;
}

void enterFullScreenMode() {
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = 16;
    mode.dmPelsWidth = DWORD(screenWidth);
    mode.dmPelsHeight = DWORD(screenHeight);
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
        MessageBoxA(nullptr, "Display mode failed", nullptr, MB_OK);
        fullScreen = false;
    }
}

HWND createGameWindow(HINSTANCE instance, bool fullScreenStyle) {
    DWORD exStyle, style;
    if (fullScreenStyle) {
        exStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
        ShowCursor(FALSE);
    } else {
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        style = WS_OVERLAPPEDWINDOW;
    }
    RECT rect = {0, 0, screenWidth, screenHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return CreateWindowExA(exStyle, windowClassName, windowTitle,
                           style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
}

}  // namespace

HWND openGameWindow(HINSTANCE instance, int width, int height) {
    static bool registered = false;
    screenWidth = width;
    screenHeight = height;
    if (!registered) {
        if (!registerGameWindowClass(instance)) return nullptr;
        registered = true;
    }
    if (fullScreen) enterFullScreenMode();
    HWND window = createGameWindow(instance, fullScreen);
    if (!window) return nullptr;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}
