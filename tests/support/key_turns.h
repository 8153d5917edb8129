// key_turns.h - one loop turn of the key polls with chosen keys held, as the tests drive
// the set-up pages, the shop and the race keys without a window.
#ifndef KORVALINTH_TESTS_KEY_TURNS_H
#define KORVALINTH_TESTS_KEY_TURNS_H

#include <initializer_list>

// One loop turn with exactly these keys held (virtual-key codes): every other key is up
// before the polls, and all of them are up again after, so no press lasts into the next.
void turnWith(std::initializer_list<int> keys);

#endif
