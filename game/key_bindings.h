// key_bindings.h - the thirteen key polls of one loop turn.
#ifndef KORVALINTH_GAME_KEY_BINDINGS_H
#define KORVALINTH_GAME_KEY_BINDINGS_H

// Every key but Esc, in their fixed order; the main loop polls Esc itself.
void pollKeys();

#endif
