// new_race.h - the game's two ways to a fresh race: a new game from the main menu and
// the next race after a race end. The game calls them at those places, and whatever
// must start the race the game starts (the tests, the benchmark) calls them too.
#ifndef KORVALINTH_GAME_NEW_RACE_H
#define KORVALINTH_GAME_NEW_RACE_H

// The player, then opponents 0 to 3, onto the grid from nextGridSlot. Each reset draws
// once and then reseeds with 14, so whatever draws next repeats in every run.
void resetRacers();

// Key P on the main menu: track 1 built, then the racers on its grid from slot 0, and
// the starting car (red, the base figures) with 3000 dollars. The screen stays the menu.
void startNewGame();

// The race a race end moves on to, on the given track: the racers back on the grid from
// slot 0 with the colour and figures the player chose and bought, then the track built
// (its boulders drawn from seed 14) with its 5-second countdown. The screen, the prize
// and the save are the race end's own.
void startNextRace(int track);

#endif
