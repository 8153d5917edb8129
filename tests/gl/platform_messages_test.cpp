// platform_messages_test.cpp - how the platform layer turns SDL input into the Windows
// messages the game's procedure knows: virtual-key codes, repeats and their folding, Alt, the window
// manager's close and a new size; and the queue that hands them out one at a time.
#include <gtest/gtest.h>

#include <filesystem>

#include "gl_test_context.h"
#include "main_loop.h"
#include "test_hooks.h"
#include "test_paths.h"
#include "timer.h"
#include "window_procedure.h"
#include "world.h"

namespace {

const LPARAM altHeld = LPARAM(1) << 29;
const LPARAM wasDown = LPARAM(1) << 30;
const LPARAM released = LPARAM(1) << 31;

class PlatformMessages : public ::testing::Test {
protected:
    void SetUp() override {
        window = openTestWindow();
        ASSERT_NE(window, nullptr);
    }
    // The next message of the game window, which must exist.
    MSG next() {
        MSG message = {};
        EXPECT_TRUE(PeekMessageA(&message, window, 0, 0, PM_REMOVE));
        return message;
    }
    bool queueEmpty() {
        MSG message;
        return !PeekMessageA(&message, window, 0, 0, PM_REMOVE);
    }
    HWND window = nullptr;
};

}  // namespace

TEST_F(PlatformMessages, KeysArriveWithTheirWindowsVirtualKeyCodes) {
    struct Case {
        const char* key;
        WPARAM virtualKey;
    };
    const Case cases[] = {
        {"A", 0x41},      {"D", 0x44},       {"P", 0x50},         {"Q", 0x51},
        {"Z", 0x5A},      {"0", 0x30},       {"9", 0x39},         {"Return", 0x0D},
        {"Keypad Enter", 0x0D}, {"Escape", 0x1B}, {"Space", 0x20}, {"Left", 0x25},
        {"Up", 0x26},     {"Right", 0x27},   {"Down", 0x28},      {"F1", 0x70},
        {"F12", 0x7B},    {"Tab", 0x09},     {"Backspace", 0x08}, {"Left Shift", 0x10},
        {"Right Ctrl", 0x11}, {"Delete", 0x2E}, {"Keypad 5", 0x65}, {";", 0xBA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ASSERT_TRUE(pushTestKey(window, c.key, true, false, false));
        ASSERT_TRUE(pushTestKey(window, c.key, false, false, false));
        MSG down = next();
        EXPECT_EQ(down.message, UINT(WM_KEYDOWN));
        EXPECT_EQ(down.wParam, c.virtualKey);
        EXPECT_EQ(down.hwnd, window);
        EXPECT_EQ(down.lParam & (wasDown | released), 0);
        MSG up = next();
        EXPECT_EQ(up.message, UINT(WM_KEYUP));
        EXPECT_EQ(up.wParam, c.virtualKey);
        EXPECT_EQ(up.lParam & (wasDown | released), wasDown | released);
    }
    EXPECT_TRUE(queueEmpty());
}

// As on Windows, the repeats of a held key that the game has not taken yet are one
// key-down with their count in lParam's low word; a repeat after the game took it, or
// after another key's message, is a message of its own.
TEST_F(PlatformMessages, AHeldKeysRepeatsWaitingTogetherAreOneKeyDownWithTheirCount) {
    pushTestKey(window, "Up", true, false, false);
    pushTestKey(window, "Up", true, true, false);
    pushTestKey(window, "Up", true, true, false);
    MSG first = next();
    EXPECT_EQ(first.message, UINT(WM_KEYDOWN));
    EXPECT_EQ(first.lParam & 0xffff, 3);
    EXPECT_EQ(first.lParam & wasDown, 0) << "the press itself was among them";
    DispatchMessageA(&first);
    EXPECT_TRUE(keyDown[VK_UP]);
    EXPECT_TRUE(queueEmpty());

    pushTestKey(window, "Up", true, true, false);
    pushTestKey(window, "Up", true, true, false);
    pushTestKey(window, "Down", true, false, false);
    pushTestKey(window, "Up", true, true, false);
    const struct {
        WPARAM key;
        LPARAM count;
    } expected[] = {{VK_UP, 2}, {VK_DOWN, 1}, {VK_UP, 1}};
    for (const auto& e : expected) {
        MSG message = next();
        EXPECT_EQ(message.message, UINT(WM_KEYDOWN));
        EXPECT_EQ(message.wParam, e.key);
        EXPECT_EQ(message.lParam & 0xffff, e.count);
        EXPECT_EQ((message.lParam & wasDown) != 0, e.key == VK_UP);
        DispatchMessageA(&message);
    }
    pushTestKey(window, "Up", false, false, false);
    MSG up = next();
    EXPECT_EQ(up.lParam & 0xffff, 1);
    DispatchMessageA(&up);
    EXPECT_FALSE(keyDown[VK_UP]);
    EXPECT_TRUE(queueEmpty());
}

// A key held through slow frames: its repeats wait in the queue with the Esc pressed
// after them, and the loop takes one message a turn.
TEST_F(PlatformMessages, EscAfterAHeldKeysRepeatsEndsTheGameWithinThreeTurns) {
    freshWorkDir("platform-messages-held-key");
    frameTimer = new Timer;
    ASSERT_TRUE(frameTimer->init());
    ASSERT_TRUE(pushTestKey(window, "A", true, false, false));
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(pushTestKey(window, "A", true, true, false));
    ASSERT_TRUE(pushTestKey(window, "Escape", true, false, false));
    MSG message = {};
    int exitCode = -1;
    int turns = 0;
    while (turns < 300 && mainLoopTurn(window, message, exitCode)) ++turns;
    EXPECT_LT(turns, 3) << "turns before the one that ended the game";
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists("save.car"));
    delete frameTimer;
    frameTimer = nullptr;
}

TEST_F(PlatformMessages, KeysWithAltAreSystemKeysAndLeaveTheTableAlone) {
    pushTestKey(window, "A", true, false, true);
    pushTestKey(window, "A", false, false, true);
    MSG down = next();
    EXPECT_EQ(down.message, UINT(WM_SYSKEYDOWN));
    EXPECT_EQ(down.wParam, WPARAM(0x41));
    EXPECT_NE(down.lParam & altHeld, 0);
    DispatchMessageA(&down);
    EXPECT_FALSE(keyDown[0x41]);
    MSG up = next();
    EXPECT_EQ(up.message, UINT(WM_SYSKEYUP));
    DispatchMessageA(&up);
    EXPECT_FALSE(keyDown[0x41]);
}

TEST_F(PlatformMessages, AltF4ClosesTheWindowAndTheLoopGetsTheQuit) {
    pushTestKey(window, "F4", true, false, true);
    MSG message = next();
    EXPECT_EQ(message.message, UINT(WM_SYSKEYDOWN));
    EXPECT_EQ(message.wParam, WPARAM(0x73));
    DispatchMessageA(&message);
    EXPECT_EQ(renderContext, nullptr);
    MSG quit = next();
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    EXPECT_EQ(quit.wParam, WPARAM(0));
}

TEST_F(PlatformMessages, TheWindowManagersCloseIsWmClose) {
    ASSERT_TRUE(pushTestClose(window));
    MSG message = next();
    EXPECT_EQ(message.message, UINT(WM_CLOSE));
    EXPECT_EQ(message.hwnd, window);
    DispatchMessageA(&message);
    EXPECT_EQ(next().message, UINT(WM_QUIT));
}

TEST_F(PlatformMessages, ANewClientSizeIsWmSizeOnceEach) {
    ASSERT_TRUE(pushTestResize(window, 800, 600));
    ASSERT_TRUE(pushTestResize(window, 800, 600));  // the same size: nothing new to say
    ASSERT_TRUE(pushTestResize(window, 300, 0));
    MSG first = next();
    EXPECT_EQ(first.message, UINT(WM_SIZE));
    EXPECT_EQ(LOWORD(first.lParam), 800);
    EXPECT_EQ(HIWORD(first.lParam), 600);
    DispatchMessageA(&first);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    MSG second = next();
    EXPECT_EQ(second.message, UINT(WM_SIZE));
    EXPECT_EQ(LOWORD(second.lParam), 300);
    EXPECT_EQ(HIWORD(second.lParam), 0);
    EXPECT_TRUE(queueEmpty());
}

TEST_F(PlatformMessages, PeekTakesOneMessageInOrderAndNeverWaits) {
    EXPECT_TRUE(queueEmpty());
    postTestMessage(window, WM_KEYDOWN, 0x41, 1);
    pushTestKey(window, "B", true, false, false);
    postTestMessage(window, WM_KEYDOWN, 0x43, 1);
    MSG message;
    // Without PM_REMOVE the message stays.
    ASSERT_TRUE(PeekMessageA(&message, window, 0, 0, 0));
    EXPECT_EQ(message.wParam, WPARAM(0x41));
    EXPECT_EQ(next().wParam, WPARAM(0x41));
    // Queued messages first; SDL input is read when the queue has nothing more.
    EXPECT_EQ(next().wParam, WPARAM(0x43));
    EXPECT_EQ(next().wParam, WPARAM(0x42));
    EXPECT_TRUE(queueEmpty());
}

TEST_F(PlatformMessages, QuitCarriesItsExitCodeAndComesBeforeWaitingInput) {
    postTestMessage(window, WM_KEYDOWN, 0x41, 1);
    PostQuitMessage(3);
    MSG quit = next();
    EXPECT_EQ(quit.message, UINT(WM_QUIT));
    EXPECT_EQ(quit.wParam, WPARAM(3));
    EXPECT_EQ(quit.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageA(&quit), 0);
    EXPECT_EQ(next().wParam, WPARAM(0x41));
    EXPECT_TRUE(queueEmpty());
}

TEST_F(PlatformMessages, ABacklogLongerThanTheQueueIsWorkedOffWithoutLoss) {
    const int presses = 600;
    for (int i = 0; i < presses; ++i) ASSERT_TRUE(pushTestKey(window, i % 2 ? "B" : "A", true, true, false));
    for (int i = 0; i < presses; ++i) {
        MSG message = next();
        ASSERT_EQ(message.wParam, WPARAM(i % 2 ? 0x42 : 0x41)) << "message " << i;
    }
    EXPECT_TRUE(queueEmpty());
}
