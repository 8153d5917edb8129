// frame_pacing.h - the end of every frame: flush, swap, and hold the game to at most
// 60 frames a second whatever the display's refresh rate.
//
// The cars move a fixed distance per frame and the wreck's blast grows by whole steps of
// 1/60 s, so the game plays as it was tuned only at about 60 frames a second. A faster
// display, or a driver that does not wait for the display at all, would otherwise run
// the race faster and the blast not at all.
#ifndef KORVALINTH_ENGINE_FRAME_PACING_H
#define KORVALINTH_ENGINE_FRAME_PACING_H

// glFlush and SwapBuffers on deviceContext, then, while pacing is on, waits until the
// next frame is due: 1/60 s (and a hair) after the previous frame's end. A frame that
// already took that long waits for nothing.
void presentFrame();

// On from the start. Only tools that measure the frames' own work (the benchmark) and
// tests whose subject is not time turn it off; the game itself never does.
void setFramePacing(bool on);

#endif
