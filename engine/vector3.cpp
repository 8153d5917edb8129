// vector3.cpp - placeholder, replaced by its own work.
#include "vector3.h"
