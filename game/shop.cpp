// shop.cpp - the fifteen engines, boosts and grav tires on sale, and buying one.
#include "shop.h"

#include "game_state.h"
#include "world.h"

// Names and labels are shown exactly as written here, padding included.
const ShopEntry shopCatalogue[3][5] = {
    {
        {"Fire Fission Engine", "1.2z", nullptr, "$1000", 1.5f, 1.5f, 0, 0},
        {"Hydro Fission Engine", "1.4z", nullptr, "$2000", 1.6f, 1.8f, 0, 0},
        {"Stone Fission Engine", "1.7z", nullptr, "$3000", 2.0f, 1.9f, 0, 0},
        {"Fire Wind Fusion   ", "3.0z", nullptr, "$4000", 3.4f, 2.4f, 0, 0},
        {"Elemental Light Engine", "6.0z", nullptr, "$5000", 5.4f, 3.3f, 0, 0},
    },
    {
        {"Inferno", "50%", "3x", "$1000", 0, 0, 1.6f, 0},
        {"Hydro  ", "60%", "2x", "$2000", 0, 0, 1.8f, 0},
        {"StoneWind", "40%", "6x", "$3000", 0, 0, 1.9f, 0},
        {"Sun Burst  ", "200%", "1x", "$4000", 0, 0, 2.2f, 0},
        {"Korvalinth", "100%", "3x", "$5000", 0, 0, 2.8f, 0},
    },
    {
        {"Flame Grav", "Slow", nullptr, "$1000", 0, 0, 0, 1.5f},
        {"Rock Grav", "Good", nullptr, "$2000", 0, 0, 0, 1.6f},
        {"Wind Lift", "Fast", nullptr, "$3000", 0, 0, 0, 1.7f},
        {"Ice Force", "Ex", nullptr, "$4000", 0, 0, 0, 3.0f},
        {"Omni Force", "Ex2", nullptr, "$5000", 0, 0, 0, 4.5f},
    },
};

const ShopEntry* shopEntry(int page, float choice) {
    if (page < GameState::SetupEngine || page > GameState::SetupTires) return nullptr;
    for (int c = 1; c <= 5; ++c)
        if (choice == float(c)) return &shopCatalogue[page - GameState::SetupEngine][c - 1];
    return nullptr;
}

void purchase() {
    float choice;
    switch (gameState) {
    case GameState::SetupEngine: choice = engineChoice; break;
    case GameState::SetupBoost: choice = boostChoice; break;
    case GameState::SetupTires: choice = tireChoice; break;
    default: return;
    }
    const ShopEntry* entry = shopEntry(gameState, choice);
    if (entry == nullptr) return;  // no such entry: nothing to sell, nothing charged
    int price = int(choice * 1000.0f);
    // Compared before subtracting, so a save file's large negative money cannot overflow.
    if (money < price) return;
    money -= price;
    if (entry->accel != 0) playerCar.accel = entry->accel;
    if (entry->topSpeed != 0) playerCar.topSpeed = entry->topSpeed;
    if (entry->boostPower != 0) playerCar.boostPower = entry->boostPower;
    if (entry->turnRate != 0) playerCar.turnRate = entry->turnRate;
}
