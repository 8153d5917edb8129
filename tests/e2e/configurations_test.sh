#!/bin/bash
# configurations_test.sh - configurations 3 to 6 started once each under a real X
# server: each shows its display size and draws its main menu over all of it, and Esc
# ends it with status 0. A full-screen one runs on a screen of exactly its size, with a
# window manager (what honours a full-screen request on X), and covers the screen; a
# windowed one gets a client area of its size on a larger screen. (Configurations 1 and
# 2 have tests of their own.)
source "$(dirname "$0")/screens.sh"

# configuration, size, how it starts
configurations=(
    "3 800x600 full"
    "4 800x600 windowed"
    "5 1024x768 full"
    "6 1024x786 windowed"
)

for row in "${configurations[@]}"; do
    read -r config size mode <<<"$row"
    what="configuration $config ($size, $mode)"
    if [ "$mode" = full ]; then
        e2e_start_xvfb "$size"
        e2e_start_window_manager
    else
        e2e_start_xvfb 1280x1024
    fi
    e2e_start_game "$(e2e_executable "Korvalinth-$config")"
    e2e_wait_window Korvalinth
    e2e_window_gone Error || e2e_fail "$what: a message box came up"
    shown=$(e2e_client_size "$WINDOW")
    [ "$shown" = "$size" ] || e2e_fail "$what: client area $shown, expected $size"
    state=$(xprop -id "$WINDOW" _NET_WM_STATE)
    if [ "$mode" = full ]; then
        origin=$(e2e_client_origin "$WINDOW")
        [ "$origin" = 0,0 ] || e2e_fail "$what: the window is at $origin, expected 0,0"
        [[ "$state" == *_NET_WM_STATE_FULLSCREEN* ]] || e2e_fail "$what: the window is not full screen"
    else
        [[ "$state" != *_NET_WM_STATE_FULLSCREEN* ]] || e2e_fail "$what: the window asks for full screen"
    fi
    e2e_wait_menu "$WINDOW" "$what"
    e2e_key "$WINDOW" Escape
    e2e_wait_exit
    e2e_expect_status 0 "$what, Esc"
    echo "PASS: $what: client area $shown, main menu across it ($PICTURE_REPORT)"
    e2e_cleanup
done

echo "PASS"
