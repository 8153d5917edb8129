// key_turns.cpp - one loop turn of the key polls with chosen keys held.
#include "key_turns.h"

#include <cstring>

#include "key_bindings.h"
#include "window_procedure.h"

void turnWith(std::initializer_list<int> keys) {
    std::memset(keyDown, 0, sizeof keyDown);
    for (int key : keys) keyDown[key] = true;
    pollKeys();
    std::memset(keyDown, 0, sizeof keyDown);
}
