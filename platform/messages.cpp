// messages.cpp - placeholder, replaced by its own work.
#include "win32.h"
