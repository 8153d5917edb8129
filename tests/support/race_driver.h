// race_driver.h - the player's car in the whole-race test. Driving a car by its steering
// keys alone round a lap is a matter of skill the test does not have; instead the test
// holds key A through the game's own key handler and hands the steering to the game's
// own computer steering (waypoints, slowing near posts), the opponents' rules, so that a
// race runs to its end the way the game runs it.
#ifndef KORVALINTH_TESTS_RACE_DRIVER_H
#define KORVALINTH_TESTS_RACE_DRIVER_H

#include <string>

// In the current folder, which holds the data files: a save file on the given track,
// then the start-up: the first race of a run, with its countdown and camera path.
bool startRunHere(int track);
// The same in a fresh work folder of this name with the data files.
bool startRunOnTrack(const std::string& name, int track);

class RaceDriver {
public:
    // Called before each frame of frameTime, as the main loop polls the keys. Until the
    // countdown lets the player go, the car stays the player's, held on the grid as the
    // race holds it. Key A keeps it throttling: the race frame puts the player back in
    // Coast after every update, whatever the steering asked for.
    void drive() const;
};

#endif
