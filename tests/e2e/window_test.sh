#!/bin/bash
# window_test.sh - the game window of configuration 1 under a real X server: a 640 x 480
# client area titled "Korvalinth", and the three ways out, each with exit status 0:
# Esc, Alt+F4, and the window manager's close. Only Esc saves the car. With no display
# to reach, the game says so and ends instead of running on with no window.
source "$(dirname "$0")/x_display.sh"

game=$(e2e_executable Korvalinth)

# start_game WHAT: the game in a fresh folder, its window in WINDOW, checked for size.
# save.car is read at start-up only; it is removed once the window is up, so whatever
# is there at the end was written at the end.
start_game() {
    e2e_start_game "$game"
    e2e_wait_window Korvalinth
    local size
    size=$(e2e_client_size "$WINDOW")
    [ "$size" = 640x480 ] || e2e_fail "$1: client area is $size, expected 640x480"
    rm -f "$GAME_FOLDER/save.car"
}

# No X server on this display and no other display: SDL would fall back to a driver with
# no screen, where the game would run on unseen.
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
export DISPLAY=:9999
e2e_start_game "$game"
e2e_wait_exit 30
[ "$GAME_STATUS" != 124 ] || e2e_fail "with no display the game ran on with no window"
grep -q "no display" "$GAME_FOLDER/game.log" || e2e_fail "with no display the game did not say so"
[ ! -f "$GAME_FOLDER/save.car" ] || e2e_fail "with no display the game saved the car"

e2e_start_xvfb 1024x768

start_game "Esc"
e2e_key "$WINDOW" Escape
e2e_wait_exit
e2e_expect_status 0 "Esc"
[ -f "$GAME_FOLDER/save.car" ] || e2e_fail "Esc did not save the car"

# With no window manager Alt+F4 reaches the game, whose window procedure closes.
start_game "Alt+F4"
e2e_key "$WINDOW" alt+F4
e2e_wait_exit
e2e_expect_status 0 "Alt+F4"
[ ! -f "$GAME_FOLDER/save.car" ] || e2e_fail "Alt+F4 saved the car"

# The window manager's close, what the close box sends.
e2e_start_window_manager
start_game "under a window manager"
wmctrl -i -c "$WINDOW" || e2e_fail "wmctrl could not close the window"
e2e_wait_exit
e2e_expect_status 0 "the window manager's close"
[ ! -f "$GAME_FOLDER/save.car" ] || e2e_fail "the window manager's close saved the car"

echo "PASS"
