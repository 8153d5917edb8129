// start_up_phases.h - the parts of the game's start-up, timed where initGame calls them.
#ifndef KORVALINTH_BENCH_START_UP_PHASES_H
#define KORVALINTH_BENCH_START_UP_PHASES_H

enum StartUpPart {
    partSaveFile,         // reading "save.car"
    partModelsAndImages,  // the two models with their skin, the map, the checker texture,
                          // and the model frames compiled into their lists
    partFont,             // the outline font's 256 display lists
    partTrack,            // wall table, post list, outline files, posts, boulders
    startUpPartCount
};

const char* startUpPartName(int part);

// Times the wrapped calls between the two; calls outside them are not counted.
void beginTimingStartUp();
void endTimingStartUp();
double startUpPartSeconds(int part);

#endif
