// race_frame.h - one frame of a race: rules, ranking, race end, camera, and the drawing.
#ifndef KORVALINTH_GAME_RACE_FRAME_H
#define KORVALINTH_GAME_RACE_FRAME_H

void runRaceFrame();

// Rules of the frame, callable on their own.
void rankRacers();
void raceEndStep();    // the result screen and the move to the next track

#endif
