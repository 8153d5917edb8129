// messages.cpp - the window message queue, fed from SDL's events.
//
// SDL events are turned into Windows messages when PeekMessageA finds the queue empty
// of what it looks for, so the order of input is kept and nothing ever waits. Keys
// become WM_KEYDOWN / WM_KEYUP (WM_SYSKEYDOWN / WM_SYSKEYUP with Alt held) carrying the
// Windows virtual-key code; the close box becomes WM_CLOSE and a new client size WM_SIZE.
#include <cstring>

#include "sdl_state.h"
#include "test_hooks.h"

namespace {

// ---- SDL keys to Windows virtual-key codes ---------------------------------------------
struct KeyMapping {
    SDL_Keycode key;
    WPARAM virtualKey;
};

// Letters and digits are looked up by the character their key gives, so they follow the
// keyboard layout as Windows' codes do; the other keys are the same on every layout.
const KeyMapping keyTable[] = {
    {SDLK_a, 0x41},             // A
    {SDLK_b, 0x42},             // B
    {SDLK_c, 0x43},             // C
    {SDLK_d, 0x44},             // D
    {SDLK_e, 0x45},             // E
    {SDLK_f, 0x46},             // F
    {SDLK_g, 0x47},             // G
    {SDLK_h, 0x48},             // H
    {SDLK_i, 0x49},             // I
    {SDLK_j, 0x4A},             // J
    {SDLK_k, 0x4B},             // K
    {SDLK_l, 0x4C},             // L
    {SDLK_m, 0x4D},             // M
    {SDLK_n, 0x4E},             // N
    {SDLK_o, 0x4F},             // O
    {SDLK_p, 0x50},             // P
    {SDLK_q, 0x51},             // Q
    {SDLK_r, 0x52},             // R
    {SDLK_s, 0x53},             // S
    {SDLK_t, 0x54},             // T
    {SDLK_u, 0x55},             // U
    {SDLK_v, 0x56},             // V
    {SDLK_w, 0x57},             // W
    {SDLK_x, 0x58},             // X
    {SDLK_y, 0x59},             // Y
    {SDLK_z, 0x5A},             // Z
    {SDLK_0, 0x30},             // 0
    {SDLK_1, 0x31},             // 1
    {SDLK_2, 0x32},             // 2
    {SDLK_3, 0x33},             // 3
    {SDLK_4, 0x34},             // 4
    {SDLK_5, 0x35},             // 5
    {SDLK_6, 0x36},             // 6
    {SDLK_7, 0x37},             // 7
    {SDLK_8, 0x38},             // 8
    {SDLK_9, 0x39},             // 9
    {SDLK_LEFT, 0x25},          // VK_LEFT
    {SDLK_UP, 0x26},            // VK_UP
    {SDLK_RIGHT, 0x27},         // VK_RIGHT
    {SDLK_DOWN, 0x28},          // VK_DOWN
    {SDLK_RETURN, 0x0D},        // VK_RETURN
    {SDLK_KP_ENTER, 0x0D},      // VK_RETURN (the keypad's, an extended key on Windows)
    {SDLK_ESCAPE, 0x1B},        // VK_ESCAPE
    {SDLK_SPACE, 0x20},         // VK_SPACE
    {SDLK_BACKSPACE, 0x08},     // VK_BACK
    {SDLK_TAB, 0x09},           // VK_TAB
    {SDLK_CLEAR, 0x0C},         // VK_CLEAR
    {SDLK_LSHIFT, 0x10},        // VK_SHIFT (key messages do not tell left from right)
    {SDLK_RSHIFT, 0x10},        // VK_SHIFT
    {SDLK_LCTRL, 0x11},         // VK_CONTROL
    {SDLK_RCTRL, 0x11},         // VK_CONTROL
    {SDLK_LALT, 0x12},          // VK_MENU
    {SDLK_RALT, 0x12},          // VK_MENU
    {SDLK_PAUSE, 0x13},         // VK_PAUSE
    {SDLK_CAPSLOCK, 0x14},      // VK_CAPITAL
    {SDLK_PAGEUP, 0x21},        // VK_PRIOR
    {SDLK_PAGEDOWN, 0x22},      // VK_NEXT
    {SDLK_END, 0x23},           // VK_END
    {SDLK_HOME, 0x24},          // VK_HOME
    {SDLK_SELECT, 0x29},        // VK_SELECT
    {SDLK_EXECUTE, 0x2B},       // VK_EXECUTE
    {SDLK_PRINTSCREEN, 0x2C},   // VK_SNAPSHOT
    {SDLK_INSERT, 0x2D},        // VK_INSERT
    {SDLK_DELETE, 0x2E},        // VK_DELETE
    {SDLK_HELP, 0x2F},          // VK_HELP
    {SDLK_LGUI, 0x5B},          // VK_LWIN
    {SDLK_RGUI, 0x5C},          // VK_RWIN
    {SDLK_APPLICATION, 0x5D},   // VK_APPS
    {SDLK_SLEEP, 0x5F},         // VK_SLEEP
    {SDLK_KP_0, 0x60},          // VK_NUMPAD0
    {SDLK_KP_1, 0x61},          // VK_NUMPAD1
    {SDLK_KP_2, 0x62},          // VK_NUMPAD2
    {SDLK_KP_3, 0x63},          // VK_NUMPAD3
    {SDLK_KP_4, 0x64},          // VK_NUMPAD4
    {SDLK_KP_5, 0x65},          // VK_NUMPAD5
    {SDLK_KP_6, 0x66},          // VK_NUMPAD6
    {SDLK_KP_7, 0x67},          // VK_NUMPAD7
    {SDLK_KP_8, 0x68},          // VK_NUMPAD8
    {SDLK_KP_9, 0x69},          // VK_NUMPAD9
    {SDLK_KP_MULTIPLY, 0x6A},   // VK_MULTIPLY
    {SDLK_KP_PLUS, 0x6B},       // VK_ADD
    {SDLK_KP_MINUS, 0x6D},      // VK_SUBTRACT
    {SDLK_KP_PERIOD, 0x6E},     // VK_DECIMAL
    {SDLK_KP_DECIMAL, 0x6E},    // VK_DECIMAL
    {SDLK_KP_DIVIDE, 0x6F},     // VK_DIVIDE
    {SDLK_F1, 0x70},            // VK_F1
    {SDLK_F2, 0x71},            // VK_F2
    {SDLK_F3, 0x72},            // VK_F3
    {SDLK_F4, 0x73},            // VK_F4
    {SDLK_F5, 0x74},            // VK_F5
    {SDLK_F6, 0x75},            // VK_F6
    {SDLK_F7, 0x76},            // VK_F7
    {SDLK_F8, 0x77},            // VK_F8
    {SDLK_F9, 0x78},            // VK_F9
    {SDLK_F10, 0x79},           // VK_F10
    {SDLK_F11, 0x7A},           // VK_F11
    {SDLK_F12, 0x7B},           // VK_F12
    {SDLK_F13, 0x7C},           // VK_F13
    {SDLK_F14, 0x7D},           // VK_F14
    {SDLK_F15, 0x7E},           // VK_F15
    {SDLK_F16, 0x7F},           // VK_F16
    {SDLK_F17, 0x80},           // VK_F17
    {SDLK_F18, 0x81},           // VK_F18
    {SDLK_F19, 0x82},           // VK_F19
    {SDLK_F20, 0x83},           // VK_F20
    {SDLK_F21, 0x84},           // VK_F21
    {SDLK_F22, 0x85},           // VK_F22
    {SDLK_F23, 0x86},           // VK_F23
    {SDLK_F24, 0x87},           // VK_F24
    {SDLK_NUMLOCKCLEAR, 0x90},  // VK_NUMLOCK
    {SDLK_SCROLLLOCK, 0x91},    // VK_SCROLL
    {SDLK_MUTE, 0xAD},          // VK_VOLUME_MUTE
    {SDLK_VOLUMEDOWN, 0xAE},    // VK_VOLUME_DOWN
    {SDLK_VOLUMEUP, 0xAF},      // VK_VOLUME_UP
    {SDLK_AUDIONEXT, 0xB0},     // VK_MEDIA_NEXT_TRACK
    {SDLK_AUDIOPREV, 0xB1},     // VK_MEDIA_PREV_TRACK
    {SDLK_AUDIOSTOP, 0xB2},     // VK_MEDIA_STOP
    {SDLK_AUDIOPLAY, 0xB3},     // VK_MEDIA_PLAY_PAUSE
    {SDLK_SEMICOLON, 0xBA},     // VK_OEM_1 (;:)
    {SDLK_EQUALS, 0xBB},        // VK_OEM_PLUS (=+)
    {SDLK_COMMA, 0xBC},         // VK_OEM_COMMA
    {SDLK_MINUS, 0xBD},         // VK_OEM_MINUS
    {SDLK_PERIOD, 0xBE},        // VK_OEM_PERIOD
    {SDLK_SLASH, 0xBF},         // VK_OEM_2 (/?)
    {SDLK_BACKQUOTE, 0xC0},     // VK_OEM_3 (`~)
    {SDLK_LEFTBRACKET, 0xDB},   // VK_OEM_4 ([{)
    {SDLK_BACKSLASH, 0xDC},     // VK_OEM_5 (\|)
    {SDLK_RIGHTBRACKET, 0xDD},  // VK_OEM_6 (]})
    {SDLK_QUOTE, 0xDE},         // VK_OEM_7 ('")
    {SDLK_LESS, 0xE2},          // VK_OEM_102 (the extra key of ISO keyboards)
};

WPARAM virtualKeyOf(const SDL_Keysym& keysym) {
    for (const KeyMapping& mapping : keyTable)
        if (mapping.key == keysym.sym) return mapping.virtualKey;
    // A layout whose letter keys give other letters (Cyrillic, Greek) still has Windows
    // codes by position for them.
    if (keysym.scancode >= SDL_SCANCODE_A && keysym.scancode <= SDL_SCANCODE_Z)
        return WPARAM(0x41 + (keysym.scancode - SDL_SCANCODE_A));
    if (keysym.scancode >= SDL_SCANCODE_1 && keysym.scancode <= SDL_SCANCODE_9)
        return WPARAM(0x31 + (keysym.scancode - SDL_SCANCODE_1));
    if (keysym.scancode == SDL_SCANCODE_0) return 0x30;
    return 0;
}

// ---- the queue ---------------------------------------------------------------------------
// Fixed size: input is taken from SDL only while there is room for what one event makes,
// so a long backlog waits in SDL's queue instead of being dropped.
const int queueSize = 256;
const int mostPerEvent = 2;
MSG queue[queueSize];
int queued = 0;

// PostQuitMessage sets a flag rather than queueing: the quit is taken before any input
// still waiting, as on Windows, so a held key cannot keep the game from ending.
bool quitPosted = false;
int quitCode = 0;

bool inFilter(UINT message, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

LPARAM sizeParameter(int width, int height) {
    return LPARAM((height & 0xffff) << 16 | (width & 0xffff));
}

void reportClientSize(HWND window, int width, int height) {
    if (width == window->clientWidth && height == window->clientHeight) return;
    window->clientWidth = width;
    window->clientHeight = height;
    postMessage(window, WM_SIZE, 0, sizeParameter(width, height));
}

// SDL names no window for a key that comes before it has seen the focus arrive (right
// after a window is shown, or while it goes full screen); the key is the game's all the
// same, so it goes to the first window.
HWND keyWindow(Uint32 id) {
    if (HWND window = windowFromSdlId(id)) return window;
    for (int i = 0; i < windowCount(); ++i)
        if (HWND window = windowAt(i)) return window;
    return nullptr;
}

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

// As Windows does, the auto-repeats of a key the game has not taken yet add to the
// repeat count (lParam's low word) of its key-down still waiting, when no other key
// message came after it, so a slow frame rate cannot build up a backlog of one held key.
bool foldRepeat(HWND window, UINT message, WPARAM virtualKey) {
    for (int i = queued - 1; i >= 0; --i) {
        MSG& waiting = queue[i];
        if (waiting.hwnd != window || !isKeyMessage(waiting.message)) continue;
        if (waiting.message != message || waiting.wParam != virtualKey) return false;
        if ((waiting.lParam & 0xffff) < 0xffff) ++waiting.lParam;
        return true;
    }
    return false;
}

void translateKey(const SDL_KeyboardEvent& key) {
    HWND window = keyWindow(key.windowID);
    WPARAM virtualKey = virtualKeyOf(key.keysym);
    if (!window || virtualKey == 0) return;
    bool down = key.type == SDL_KEYDOWN;
    // Ctrl+Alt (AltGr on many layouts) types characters: ordinary key messages.
    bool alt = (key.keysym.mod & KMOD_ALT) || virtualKey == 0x12;
    bool system = alt && !(key.keysym.mod & KMOD_CTRL);
    // lParam: repeat count 1, bit 29 Alt held, bit 30 the key was down before, bit 31 up.
    LPARAM lParam = 1;
    if (alt) lParam |= LPARAM(1) << 29;
    if (key.repeat || !down) lParam |= LPARAM(1) << 30;
    if (!down) lParam |= LPARAM(1) << 31;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    if (key.repeat && down && foldRepeat(window, message, virtualKey)) return;
    postMessage(window, message, virtualKey, lParam);
}

void translateWindowEvent(const SDL_WindowEvent& event) {
    HWND window = windowFromSdlId(event.windowID);
    if (!window) return;
    if (event.event == SDL_WINDOWEVENT_CLOSE) postMessage(window, WM_CLOSE, 0, 0);
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) reportClientSize(window, event.data1, event.data2);
}

void takeSdlEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    while (queued + mostPerEvent <= queueSize && SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) translateKey(event.key);
        if (event.type == SDL_WINDOWEVENT) translateWindowEvent(event.window);
    }
}

int findMessage(HWND window, UINT filterMin, UINT filterMax) {
    for (int i = 0; i < queued; ++i)
        if ((!window || queue[i].hwnd == window) && inFilter(queue[i].message, filterMin, filterMax))
            return i;
    return -1;
}

void removeAt(int index) {
    std::memmove(&queue[index], &queue[index + 1], sizeof(MSG) * size_t(queued - index - 1));
    --queued;
}

}  // namespace

void postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (queued == queueSize) return;
    MSG& entry = queue[queued++];
    entry = MSG{};
    entry.hwnd = window;
    entry.message = message;
    entry.wParam = wParam;
    entry.lParam = lParam;
    entry.time = SDL_WasInit(SDL_INIT_VIDEO) ? DWORD(SDL_GetTicks()) : 0;
}

void forgetWindowMessages(HWND window) {
    for (int i = queued - 1; i >= 0; --i)
        if (queue[i].hwnd == window) removeAt(i);
}

BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (!message) return FALSE;
    if (quitPosted && inFilter(WM_QUIT, filterMin, filterMax)) {
        *message = MSG{};
        message->message = WM_QUIT;
        message->wParam = WPARAM(quitCode);
        if (remove & PM_REMOVE) quitPosted = false;
        return TRUE;
    }
    int index = findMessage(window, filterMin, filterMax);
    if (index < 0) {
        takeSdlEvents();
        index = findMessage(window, filterMin, filterMax);
    }
    if (index < 0) return FALSE;
    *message = queue[index];
    if (remove & PM_REMOVE) removeAt(index);
    return TRUE;
}

// The game handles no WM_CHAR, so no character messages are made; the result says, as
// on Windows, whether the message was a key message.
BOOL TranslateMessage(const MSG* message) {
    if (!message) return FALSE;
    return isKeyMessage(message->message) ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (!message || !message->hwnd) return 0;
    return sendMessage(message->hwnd, message->message, message->wParam, message->lParam);
}

void PostQuitMessage(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

// ---- test seams (test_hooks.h) -------------------------------------------------------------
void postTestMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    postMessage(window, message, wParam, lParam);
}

namespace {

bool pushWindowEvent(HWND window, Uint8 kind, int data1, int data2) {
    if (!window || !window->sdl) return false;
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window->sdl);
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return SDL_PushEvent(&event) == 1;
}

}  // namespace

bool pushTestKey(HWND window, const char* scancodeName, bool pressed, bool repeat, bool alt) {
    SDL_Scancode scancode = SDL_GetScancodeFromName(scancodeName);
    if (!window || !window->sdl || scancode == SDL_SCANCODE_UNKNOWN) return false;
    SDL_Event event = {};
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SDL_GetWindowID(window->sdl);
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    event.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    return SDL_PushEvent(&event) == 1;
}

bool pushTestClose(HWND window) { return pushWindowEvent(window, SDL_WINDOWEVENT_CLOSE, 0, 0); }

bool pushTestResize(HWND window, int width, int height) {
    return pushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, width, height);
}
