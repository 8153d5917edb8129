// win32.h - the Win32 subset that the engine and the game are written against.
//
// On Windows the same sources include the real <windows.h>; on Linux this header
// stands in for it, and the files beside it implement every call listed here over
// SDL2 (window, events, GL context, display mode, message box) and FreeType +
// fontconfig + the GLU tessellator (outline font). Nothing outside platform/ may
// include SDL or depend on how these calls are implemented.
//
// Contract for a port: every type, constant and call below must exist, behave as the
// line beside it says, and nothing else is used by engine/ or game/.
#ifndef KORVALINTH_PLATFORM_WIN32_H
#define KORVALINTH_PLATFORM_WIN32_H

#include <cstddef>
#include <cstdint>

// ---- basic types -------------------------------------------------------------------
typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uint16_t ATOM;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef float FLOAT;

#define TRUE 1
#define FALSE 0
#define WINAPI
#define CALLBACK

// Opaque handles. Each is a distinct pointer type so that mixing them up fails to compile.
struct HWND__;      typedef HWND__* HWND;          // the one game window
struct HDC__;       typedef HDC__* HDC;            // its device context (GetDC)
struct HGLRC__;     typedef HGLRC__* HGLRC;        // the OpenGL rendering context
struct HINSTANCE__; typedef HINSTANCE__* HINSTANCE;
struct HICON__;     typedef HICON__* HICON;
struct HCURSOR__;   typedef HCURSOR__* HCURSOR;
struct HBRUSH__;    typedef HBRUSH__* HBRUSH;
struct HMENU__;     typedef HMENU__* HMENU;
struct HGDIOBJ__;   typedef HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HFONT;                             // CreateFontA result, selected with SelectObject

typedef LRESULT (CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))

// ---- structures ----------------------------------------------------------------------
typedef union _LARGE_INTEGER {
    struct { DWORD LowPart; LONG HighPart; } u;
    int64_t QuadPart;
} LARGE_INTEGER;

typedef struct tagRECT { LONG left, top, right, bottom; } RECT;
typedef struct tagPOINT { LONG x, y; } POINT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG;

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA;

typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits, cRedShift, cGreenBits, cGreenShift, cBlueBits, cBlueShift;
    BYTE cAlphaBits, cAlphaShift;
    BYTE cAccumBits, cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask, dwVisibleMask, dwDamageMask;
} PIXELFORMATDESCRIPTOR;

// Only the fields the game sets are meaningful; the rest exist so that zero-filling
// and sizeof behave as on Windows.
typedef struct _devicemodeA {
    BYTE dmDeviceName[32];
    WORD dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra;
    DWORD dmFields;
    BYTE dmUnionReserved[16];
    short dmColor, dmDuplex, dmYResolution, dmTTOption, dmCollate;
    BYTE dmFormName[32];
    WORD dmLogPixels;
    DWORD dmBitsPerPel, dmPelsWidth, dmPelsHeight, dmDisplayFlags, dmDisplayFrequency;
    DWORD dmReserved[8];
} DEVMODEA;

// Laid out as in the BMP file (40 bytes, little-endian on every target we build).
typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;

typedef struct _POINTFLOAT { FLOAT x, y; } POINTFLOAT;
typedef struct _GLYPHMETRICSFLOAT {
    FLOAT gmfBlackBoxX;
    FLOAT gmfBlackBoxY;
    POINTFLOAT gmfptGlyphOrigin;
    FLOAT gmfCellIncX;
    FLOAT gmfCellIncY;
} GLYPHMETRICSFLOAT;

// ---- constants -----------------------------------------------------------------------
// Window messages the game sees.
#define WM_CREATE     0x0001
#define WM_SIZE       0x0005
#define WM_CLOSE      0x0010
#define WM_QUIT       0x0012
#define WM_KEYDOWN    0x0100
#define WM_KEYUP      0x0101
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP   0x0105

// Virtual-key codes the key bindings poll (letters are their ASCII upper case).
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_LEFT   0x25
#define VK_UP     0x26
#define VK_RIGHT  0x27
#define VK_DOWN   0x28

#define PM_REMOVE 0x0001

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002

#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_POPUP            0x80000000L
#define WS_CLIPSIBLINGS     0x04000000L
#define WS_CLIPCHILDREN     0x02000000L
#define WS_EX_WINDOWEDGE    0x00000100L
#define WS_EX_APPWINDOW     0x00040000L
#define SW_SHOW 5

#define IDI_APPLICATION ((LPCSTR)(uintptr_t)32512)
#define IDI_WINLOGO     ((LPCSTR)(uintptr_t)32517)
#define IDC_ARROW       ((LPCSTR)(uintptr_t)32512)

#define PFD_DOUBLEBUFFER   0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH  0x00080000L
#define DM_PELSHEIGHT 0x00100000L
#define CDS_FULLSCREEN 0x00000004
#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_BADMODE (-2)

#define MB_OK 0x00000000L

#define TIMERR_NOERROR 0

#define FW_BOLD 700
#define ANSI_CHARSET 0
#define SYMBOL_CHARSET 2
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0
#define WGL_FONT_POLYGONS 1

// ---- calls ---------------------------------------------------------------------------
// USER: window class and window (entry point, Part of the game's start-up).
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);            // entry point: class "MyClass"
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     void* param);                                 // entry point; sends WM_CREATE, then WM_SIZE, before returning
BOOL ShowWindow(HWND window, int command);                         // entry point; shows the window
BOOL UpdateWindow(HWND window);                                    // entry point
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle); // entry point: client size -> window size
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam); // window procedure: everything it does not handle
HICON LoadIconA(HINSTANCE instance, LPCSTR name);                  // entry point: class icons
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);              // entry point: class cursor
int ShowCursor(BOOL show);                                         // entry point: hidden in full screen
HDC GetDC(HWND window);                                            // window procedure on WM_CREATE

// USER: the message queue (main loop). Messages are fed from SDL events.
BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove); // main loop: at most one, never waits
BOOL TranslateMessage(const MSG* message);                        // main loop
LRESULT DispatchMessageA(const MSG* message);                     // main loop: calls the window procedure
void PostQuitMessage(int exitCode);                               // window procedure on WM_CLOSE

// USER: display mode and message box (entry point).
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);         // entry point: full screen; null restores the desktop mode
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type); // entry point and start-up: modal, waits until closed

// GDI and WGL: pixel format, context, swap (window procedure, every frame).
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
BOOL SwapBuffers(HDC dc);                                         // race frame and menus: end of frame

// GDI and WGL: the outline font (text start-up).
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outputPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, FLOAT deviation,
                         FLOAT extrusion, int format, GLYPHMETRICSFLOAT* metrics);

// KERNEL: the high-resolution counter (Timer, frame pacing).
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
// KERNEL and WINMM: waiting out the rest of a frame (frame pacing).
void Sleep(DWORD milliseconds);                                   // at least that long; 0 gives up the rest of the time slice
UINT timeBeginPeriod(UINT milliseconds);                          // sleeps wake within about that; TIMERR_NOERROR

// Runtime: case-insensitive compare (text start-up: the "symbol" face).
int _strcmpi(const char* a, const char* b);

// The game's entry point; main() calls it with the command line ignored.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

#endif
