// main_loop_test.cpp - one turn of the main loop and the entry point around it.
//
// The turns run against a spy window whose procedure notes each message it gets and the
// frameTime of that moment; the frame timer reads a counter the test sets, so every
// frame has a frameTime of its own and a message dispatched after a frame shows it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "game_state.h"
#include "gl_test_context.h"
#include "main_loop.h"
#include "test_hooks.h"
#include "test_paths.h"
#include "window_procedure.h"
#include "world.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    float frameTime;
};

Seen seen[16];
int seenCount = 0;

LRESULT CALLBACK spyProcedure(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_CREATE && message != WM_SIZE && seenCount < 16)
        seen[seenCount++] = Seen{message, wParam, frameTime};
    return 0;
}

HWND openSpyWindow() {
    WNDCLASSEXA spyClass = {};
    spyClass.cbSize = sizeof spyClass;
    spyClass.lpfnWndProc = spyProcedure;
    spyClass.lpszClassName = "SpyClass";
    if (!RegisterClassExA(&spyClass)) return nullptr;
    return CreateWindowExA(0, "SpyClass", "spy", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                           nullptr, nullptr);
}

bool saveExists() { return std::filesystem::exists("save.car"); }

const int64_t perSecond = 1000;

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        freshWorkDir("main-loop");
        game = openTestWindow();
        ASSERT_NE(game, nullptr);
        spy = openSpyWindow();
        ASSERT_NE(spy, nullptr);
        useTestCounter(perSecond, 0);
        frameTimer = new Timer;
        ASSERT_TRUE(frameTimer->init());
    }
    void TearDown() override {
        delete frameTimer;
        frameTimer = nullptr;
    }
    // One turn on a window, after ticks more counts of the frame timer.
    bool turnOn(HWND window, int64_t ticks) {
        now += ticks;
        setTestCounter(now);
        return mainLoopTurn(window, message, exitCode);
    }
    bool turn(int64_t ticks) { return turnOn(spy, ticks); }
    HWND game = nullptr;
    HWND spy = nullptr;
    MSG message = {};
    int exitCode = -1;
    int64_t now = 0;
};

}  // namespace

TEST_F(MainLoop, AnEmptyQueueStillDrawsAFrameAndDispatchesNothing) {
    float spinBefore = menuSpin;
    // Under the stall cap, so that the frame's time is the measured one.
    EXPECT_TRUE(turn(70));
    EXPECT_FLOAT_EQ(frameTime, 0.07f);
    EXPECT_FLOAT_EQ(menuSpin, spinBefore + 80 * 0.07f) << "the main menu frame did not run";
    EXPECT_EQ(seenCount, 0);
    EXPECT_FALSE(saveExists());
}

TEST_F(MainLoop, OneMessagePerTurnDispatchedAfterThatTurnsFrame) {
    postTestMessage(spy, WM_KEYDOWN, 0x41, 1);
    postTestMessage(spy, WM_KEYUP, 0x41, 1);
    EXPECT_TRUE(turn(50));
    ASSERT_EQ(seenCount, 1);
    EXPECT_EQ(seen[0].message, UINT(WM_KEYDOWN));
    EXPECT_FLOAT_EQ(seen[0].frameTime, 0.05f) << "dispatched before the frame";
    EXPECT_TRUE(turn(80));
    ASSERT_EQ(seenCount, 2);
    EXPECT_EQ(seen[1].message, UINT(WM_KEYUP));
    EXPECT_FLOAT_EQ(seen[1].frameTime, 0.08f);
    EXPECT_TRUE(turn(300));
    EXPECT_EQ(seenCount, 2);
}

TEST_F(MainLoop, ATurnLongerThanATenthOfASecondIsAStallAndPassesAsATenth) {
    const struct {
        int64_t ticks;
        float frameTime;
    } turns[] = {{99, 0.099f}, {100, 0.1f}, {101, 0.1f}, {30 * perSecond, 0.1f}, {16, 0.016f}};
    for (const auto& t : turns) {
        EXPECT_TRUE(turn(t.ticks));
        EXPECT_FLOAT_EQ(frameTime, t.frameTime) << t.ticks << " ms";
    }
}

TEST_F(MainLoop, EveryRaceTurnIsOneSixtiethOfASecondAndTheMenusTurnsTheirOwnTime) {
    gameState = GameState::Race;
    for (int64_t ticks : {int64_t(4), int64_t(16), int64_t(17), int64_t(50), 30 * perSecond}) {
        EXPECT_TRUE(turn(ticks));
        EXPECT_EQ(frameTime, 1.0f / 60) << ticks << " ms";
        EXPECT_EQ(int(frameTime * 60.0f), 1) << "a wreck's blast would not grow";
    }
    // The first menu turn after the race measures only itself.
    gameState = GameState::MainMenu;
    EXPECT_TRUE(turn(40));
    EXPECT_FLOAT_EQ(frameTime, 0.04f);
}

TEST_F(MainLoop, TheQuitTurnPollsNoKeysDrawsNothingAndSavesNothing) {
    gameState = GameState::SetupColor;
    keyDown[0x51] = true;  // Q would take the game back to the main menu
    postTestMessage(spy, WM_KEYDOWN, 0x41, 1);
    PostQuitMessage(7);
    float frameTimeBefore = frameTime;
    EXPECT_FALSE(turn(100));
    EXPECT_EQ(exitCode, 7);
    EXPECT_EQ(frameTime, frameTimeBefore);
    EXPECT_EQ(gameState, GameState::SetupColor);
    EXPECT_EQ(seenCount, 0);
    EXPECT_FALSE(saveExists());
}

TEST_F(MainLoop, EscSavesDrawsNoFrameDispatchesNothingAndEndsWithZero) {
    keyDown[VK_ESCAPE] = true;
    postTestMessage(spy, WM_KEYDOWN, 0x41, 1);
    float frameTimeBefore = frameTime;
    float spinBefore = menuSpin;
    EXPECT_FALSE(turn(100));
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(saveExists());
    EXPECT_EQ(frameTime, frameTimeBefore);
    EXPECT_EQ(menuSpin, spinBefore);
    EXPECT_EQ(seenCount, 0);
    // The message taken in that turn is gone, undispatched.
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, spy, 0, 0, PM_REMOVE));
}

TEST_F(MainLoop, EscEndsWithZeroNotTheKeyCodeOfTheLastMessage) {
    // Through the game window: the key reaches keyDown when the first turn dispatches
    // it, and the second turn ends the loop with that key message the last one taken.
    postTestMessage(game, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(turnOn(game, 100));
    EXPECT_TRUE(keyDown[VK_ESCAPE]);
    EXPECT_FALSE(turnOn(game, 100));
    EXPECT_EQ(message.wParam, WPARAM(VK_ESCAPE));
    EXPECT_EQ(exitCode, 0);
}

TEST_F(MainLoop, AKeyPressedAndReleasedQuicklyIsSeenByTheKeyPolls) {
    gameState = GameState::SetupColor;
    const WPARAM keyQ = 0x51;
    postTestMessage(game, WM_KEYDOWN, keyQ, 1);
    postTestMessage(game, WM_KEYUP, keyQ, 1);
    EXPECT_TRUE(turnOn(game, 100));
    EXPECT_EQ(gameState, GameState::SetupColor) << "the key acted before it was dispatched";
    EXPECT_TRUE(keyDown[keyQ]);
    // The key-up waits for the next dispatch, so this turn's polls still see Q.
    EXPECT_TRUE(turnOn(game, 100));
    EXPECT_EQ(gameState, GameState::MainMenu);
    EXPECT_FALSE(keyDown[keyQ]);
}

// ---- the entry point -------------------------------------------------------------------------
// WinMain registers "MyClass" itself, so these tests open no test window first.
namespace {

class EntryPoint : public ::testing::Test {
protected:
    void SetUp() override { captureMessageBoxes(); }
    void TearDown() override { fullScreen = false; }
};

}  // namespace

TEST_F(EntryPoint, EscEndsWithStatusZeroAfterSavingTheCar) {
    freshWorkDirWithData("entry-esc");
    std::filesystem::remove("save.car");
    keyDown[VK_ESCAPE] = true;
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(screenWidth, configuredScreenWidth);
    EXPECT_EQ(screenHeight, configuredScreenHeight);
    EXPECT_TRUE(saveExists());
    EXPECT_EQ(frameTimer, nullptr) << "the frame timer outlived the shutdown";
    EXPECT_EQ(messageBoxCount(), 0) << messageBoxText(0);
}

TEST_F(EntryPoint, AQuitEndsWithItsOwnExitCodeAndSavesNothing) {
    freshWorkDirWithData("entry-quit");
    std::filesystem::remove("save.car");
    PostQuitMessage(4);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 4);
    EXPECT_FALSE(saveExists());
}

TEST_F(EntryPoint, AStartUpWithoutItsDataEndsWithStatusOne) {
    freshWorkDir("entry-no-data");
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 1);
    EXPECT_EQ(messageBoxCount(), 1);
}

TEST_F(EntryPoint, AClassThatCannotBeRegisteredEndsWithStatusZeroAndShowsNothing) {
    freshWorkDir("entry-no-class");
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = spyProcedure;
    taken.lpszClassName = "MyClass";
    ASSERT_TRUE(RegisterClassExA(&taken));
    fullScreen = true;
    offerTestDisplayMode(640, 480);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(messageBoxCount(), 0);
    EXPECT_FALSE(displayModeChanged());
    EXPECT_EQ(seenCount, 0) << "a window was made";
}

TEST_F(EntryPoint, FullScreenThatFailsShowsTheBoxAndRunsWindowed) {
    freshWorkDir("entry-mode-fails");
    offerTestDisplayMode(800, 600);
    fullScreen = true;
    WinMain(nullptr, nullptr, nullptr, 0);
    ASSERT_GE(messageBoxCount(), 1);
    EXPECT_STREQ(messageBoxText(0), "Display mode failed");
    EXPECT_STREQ(messageBoxCaption(0), "Error");
    EXPECT_FALSE(fullScreen);
    EXPECT_FALSE(displayModeChanged());
    EXPECT_EQ(cursorDisplayCount(), 0) << "the cursor was hidden in a window";
    // The windowed game window has the configured client area.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
}

TEST_F(EntryPoint, FullScreenThatWorksPutsModeAndCursorBackAtShutdown) {
    freshWorkDirWithData("entry-mode-works");
    offerTestDisplayMode(640, 480);
    fullScreen = true;
    keyDown[VK_ESCAPE] = true;
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 0);
    EXPECT_EQ(messageBoxCount(), 0) << messageBoxText(0);
    EXPECT_TRUE(fullScreen);
    EXPECT_FALSE(displayModeChanged()) << "the desktop mode was not put back";
    EXPECT_EQ(cursorDisplayCount(), 0) << "the cursor was not shown again";
}

TEST_F(EntryPoint, FullScreenWithoutItsDataStillPutsModeAndCursorBack) {
    freshWorkDir("entry-mode-no-data");
    offerTestDisplayMode(640, 480);
    fullScreen = true;
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 0), 1);
    EXPECT_FALSE(displayModeChanged());
    EXPECT_EQ(cursorDisplayCount(), 0);
}
