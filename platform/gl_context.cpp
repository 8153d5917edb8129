// gl_context.cpp - placeholder, replaced by its own work.
#include "win32.h"
