// key_bindings.cpp - placeholder, replaced by its own work.
#include "key_bindings.h"
void pollKeys() {}
