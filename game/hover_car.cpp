// hover_car.cpp - placeholder, replaced by its own work.
#include "hover_car.h"
HoverCar::HoverCar() {}
void HoverCar::resetForRace() {}
void HoverCar::draw() const {}
void HoverCar::drawExplosion() {}
