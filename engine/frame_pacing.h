// frame_pacing.h - the end of every frame: flush, swap, and hold the game to at most
// 60 frames a second whatever the display's refresh rate.
//
// Every race turn advances the race by 1/60 s, so a faster display, or a driver that does
// not wait for the display at all, would otherwise run the race faster than it is meant
// to be seen.
#ifndef KORVALINTH_ENGINE_FRAME_PACING_H
#define KORVALINTH_ENGINE_FRAME_PACING_H

// glFlush and SwapBuffers on deviceContext, then, while pacing is on, waits until the
// next frame is due on a schedule of 1/60 s steps. A frame that already took that long,
// or ends within 2 ms of its due time, waits for nothing (one a little early moves the
// schedule earlier by a little, after a display slightly faster than 60 Hz); one that
// ends more than 2 ms late starts the schedule anew from its end.
void presentFrame();

// On from the start. Only tools that measure the frames' own work (the benchmark) and
// tests whose subject is not time turn it off; the game itself never does.
void setFramePacing(bool on);

#endif
