#!/usr/bin/env bash
# missing_data_test.sh - the game started without one of its data files: a required one
# stops it with a message box and a failing exit status; the minimap image is optional.
set -u
source "$(dirname "$0")/screens.sh"

game=$(e2e_executable Korvalinth)
boxTitle="Korvalinth: missing data file"

# start_without FILE: the game in a fresh data folder from which FILE is removed.
start_without() {
    e2e_start_game "$game" rm "$1"
}

e2e_start_xvfb 1024x768

# A model is missing before anything is drawn; the start-line texture only after the
# font and the models are made. Both stop the same way.
for required in models/ogro/tris.md2 checker.bmp; do
    start_without "$required"
    e2e_wait_window "$boxTitle"
    kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "without $required: the game ended under its box"
    e2e_key "$WINDOW" Return
    e2e_wait_exit
    [ "$GAME_STATUS" != 0 ] && [ "$GAME_STATUS" != 124 ] ||
        e2e_fail "without $required: exit status $GAME_STATUS, expected a failure"
    e2e_window_gone "$boxTitle" || e2e_fail "without $required: the box is still open"
    [ ! -e "$GAME_FOLDER/save.car" ] || e2e_fail "without $required: a save was written"
done

# Without the minimap image the game starts as usual, and Esc saves a first run's values.
start_without map.bmp
e2e_wait_window Korvalinth
e2e_wait_menu "$WINDOW" "without map.bmp"
e2e_window_gone "$boxTitle" || e2e_fail "without map.bmp: a message box was shown"
e2e_key "$WINDOW" Escape
e2e_wait_exit
e2e_expect_status 0 "without map.bmp, Esc"
expected=$(printf '1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1\r\n1' | od -An -c)
actual=$(od -An -c "$GAME_FOLDER/save.car" 2>/dev/null)
[ "$actual" = "$expected" ] || e2e_fail "without map.bmp: save.car holds '$actual'"

echo "PASS"
