#!/bin/bash
# fullscreen_test.sh - configuration 2 (640 x 480, full screen) under a real X server.
# On a 1024 x 768 screen the mode cannot be set: the message box "Display mode failed"
# comes first, and once it is closed the game runs in an ordinary 640 x 480 window. On a
# screen of exactly 640 x 480 the mode is set and the game covers the screen.
# Esc ends the game with status 0 either way.
source "$(dirname "$0")/screens.sh"

game=$(e2e_executable Korvalinth-2)

# ---- the display cannot take the mode -----------------------------------------------------
e2e_start_xvfb 1024x768
e2e_start_game "$game"
e2e_wait_window Error
box=$WINDOW
# The box comes before the window and holds the start-up until it is closed: once its
# text is drawn, the game is waiting in it, and no game window may exist yet, not even
# an unmapped one.
e2e_wait_box "$box" "the message box \"Display mode failed\""
e2e_no_window Korvalinth || e2e_fail "the game window was made before the message box was closed"
e2e_key "$box" Return
e2e_wait_window Korvalinth
window=$WINDOW
e2e_window_gone Error || e2e_fail "the message box stayed after Return"
size=$(e2e_client_size "$window")
[ "$size" = 640x480 ] || e2e_fail "windowed client area is $size, expected 640x480"
if xprop -id "$window" _NET_WM_STATE | grep -q FULLSCREEN; then
    e2e_fail "the window asked for full screen after the mode failed"
fi
e2e_key "$window" Escape
e2e_wait_exit
e2e_expect_status 0 "Esc after the failed mode"
e2e_cleanup

# ---- the display has the mode ---------------------------------------------------------------
# With a window manager, which is what honours a full-screen request on X.
e2e_start_xvfb 640x480
e2e_start_window_manager
e2e_start_game "$game"
e2e_wait_window Korvalinth
window=$WINDOW
e2e_window_gone Error || e2e_fail "a message box came although the screen has the mode"
size=$(e2e_client_size "$window")
origin=$(e2e_client_origin "$window")
[ "$size" = 640x480 ] || e2e_fail "full-screen client area is $size, expected 640x480"
[ "$origin" = 0,0 ] || e2e_fail "full-screen window is at $origin, expected 0,0"
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
    e2e_fail "the window is not full screen"
e2e_key "$window" Escape
e2e_wait_exit
e2e_expect_status 0 "Esc in full screen"

echo "PASS"
