// test_hooks.h - seams for the tests, so that they can drive what the player and the
// clock would: a counter they set and clock, messages and SDL input they queue, message
// boxes and display modes they control. The game never calls any of these.
#ifndef KORVALINTH_PLATFORM_TEST_HOOKS_H
#define KORVALINTH_PLATFORM_TEST_HOOKS_H

#include <cstdint>

#include "win32.h"

// The performance counter: from now on QueryPerformanceFrequency gives frequency (0 or
// less: it fails, as on a machine without the counter) and QueryPerformanceCounter the
// count last set, until useRealCounter puts the monotonic clock back (and the steps
// below away). Sleep moves a test counter on by its time instead of sleeping.
void useTestCounter(int64_t frequency, int64_t count);
void useRealCounter();
void setTestCounter(int64_t count);
// Time passing on the test counter as on a thread that works and draws: afterRead is
// handed the count after each counter read has taken its reading, afterSwap after each
// SwapBuffers, and each may move it on (the work between two reads, the frame's drawing,
// a swap that waits for the display). Null: that event takes no time.
typedef void (*TestCounterStep)(int64_t& count);
void stepTestCounter(TestCounterStep afterRead, TestCounterStep afterSwap);

// Queues a message as if it had been posted to the window.
void postTestMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// SDL input for the window, turned into messages by the next PeekMessageA that finds
// nothing queued. scancodeName is SDL's name of the key ("A", "Escape", "Left", "F4").
// False when the event could not be queued.
bool pushTestKey(HWND window, const char* scancodeName, bool pressed, bool repeat, bool alt);
bool pushTestClose(HWND window);                      // the window manager's close
bool pushTestResize(HWND window, int width, int height);

// From now on message boxes are answered OK without being shown. Whether captured or
// not, every box is counted and the text and title of the first four are kept ("" for
// any other index).
void captureMessageBoxes();
int messageBoxCount();
const char* messageBoxText(int index);
const char* messageBoxCaption(int index);

// The display offers exactly one mode, of this size, in place of its own.
void offerTestDisplayMode(int width, int height);
// True while a mode set by ChangeDisplaySettingsA is in force.
bool displayModeChanged();
// ShowCursor's display count: the cursor shows while it is 0 or more.
int cursorDisplayCount();

#endif
