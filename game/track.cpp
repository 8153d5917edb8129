// track.cpp - placeholder, replaced by its own work.
#include "track.h"
TrackWall::TrackWall() : postCount(0) {}
void TrackWall::draw() const {}
void addTrackWall(float, float, float, float) {}
void buildTrack() {}
void buildTrackBlock() {}
void openOutlineStreams() {}
void readTrackOutline() {}
void buildPosts() {}
void placeBoulders() {}
void closeOutlineStreams() {}
