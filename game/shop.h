// shop.h - the shop catalogue and the purchase.
#ifndef KORVALINTH_GAME_SHOP_H
#define KORVALINTH_GAME_SHOP_H

struct ShopEntry {
    const char* name;
    const char* label;
    const char* secondLabel;  // boosts only, else null
    const char* priceText;
    float accel, topSpeed, boostPower, turnRate;  // the figures an entry sets; 0 leaves one alone
};

// Entry c (1 to 5) of a page: shopCatalogue[page - GameState::SetupEngine][c - 1].
extern const ShopEntry shopCatalogue[3][5];

// The entry of a shop page (GameState::SetupEngine to SetupTires) whose choice equals
// choice exactly; null for any other page or a choice that is not 1.0 to 5.0.
const ShopEntry* shopEntry(int page, float choice);

void purchase();

#endif
