// game_state.h - the screen codes held in gameState.
#ifndef KORVALINTH_GAME_GAME_STATE_H
#define KORVALINTH_GAME_GAME_STATE_H

namespace GameState {
enum : int {
    SetupColor = 1,
    SetupEngine = 2,
    SetupBoost = 3,
    SetupTires = 4,
    Race = 10,
    MainMenu = 11,
};
}

#endif
