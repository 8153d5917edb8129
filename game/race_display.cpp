// race_display.cpp - placeholder, replaced by its own work.
// The race frame's drawing steps.
