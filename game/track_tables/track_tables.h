// track_tables.h - the four tracks' wall tables and post looks, as data. The game
// builds its walls from them and the data maker checks its outlines against them, so
// there is one copy.
#ifndef KORVALINTH_GAME_TRACK_TABLES_H
#define KORVALINTH_GAME_TRACK_TABLES_H

struct WallRow {
    float x1, z1, x2, z2;   // track units: world x = x / scale, world z = -z / scale
};

struct TrackTable {
    const WallRow* rows;
    int rowCount;
    float scale;
    int postSlices;
    bool postColoured;
    float postColour[4];
};

// Track 1 (wind) to 4 (fire) at index 0 to 3.
extern const TrackTable trackTables[4];

#endif
