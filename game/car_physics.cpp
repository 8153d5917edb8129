// car_physics.cpp - placeholder, replaced by its own work.
#include "hover_car.h"
void HoverCar::update(const HoverCar&) {}
bool HoverCar::collideWith(const HoverCar&) { return false; }
void HoverCar::bounceOffWalls(Vector3) {}
