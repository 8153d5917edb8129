// shop_previews.h - the animated figure and the texts of the shown choice on each shop
// page of the set-up screen. Each draws in the set-up screen's base frame and leaves
// the matrix as it found it; a choice that is not a whole 1 to 5 draws nothing.
#ifndef KORVALINTH_GAME_SHOP_PREVIEWS_H
#define KORVALINTH_GAME_SHOP_PREVIEWS_H

void drawEnginePreview(float choice);             // spun by engineSpin
void drawBoostPreview(float choice, float pulse);  // pulse 0 to 2
void drawTirePreview(float choice, float pulse);

#endif
