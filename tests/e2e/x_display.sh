# shellcheck shell=bash
# x_display.sh - the X side of the end-to-end tests: a private X server, a window
# manager, finding the game's windows and their size and place, and pressing keys in
# them with xdotool.
#
# Needs: Xvfb (xvfb), xdotool, xwininfo and xprop (x11-utils), and for the window
# manager's close openbox and wmctrl. A test calls e2e_start_xvfb before anything that
# needs a display.

# shellcheck source=processes.sh
source "$(dirname "${BASH_SOURCE[0]}")/processes.sh"

WINDOW=

e2e_display_answers() {
    xdotool getdisplaygeometry >/dev/null 2>&1
}

# e2e_start_xvfb WIDTHxHEIGHT: an X server on a free display (Xvfb picks it), exported
# as DISPLAY. Without -noreset the server resets whenever its last client leaves (a game
# that ended, a finished xwininfo), and a client that connects meanwhile is refused; the
# game's SDL then falls back to its offscreen driver without a word and runs with no
# window.
e2e_start_xvfb() {
    local size=$1 folder
    e2e_need Xvfb xdotool xwininfo xprop
    folder=$(mktemp -d)
    E2E_FOLDERS+=("$folder")
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$folder/display" 2>"$folder/xvfb.log" &
    E2E_PIDS+=($!)
    e2e_until 30 test -s "$folder/display" || e2e_fail "Xvfb did not start: $(cat "$folder/xvfb.log")"
    export DISPLAY=":$(head -n1 "$folder/display")"
    e2e_until 30 e2e_display_answers || e2e_fail "the X server on $DISPLAY does not answer"
}

# The window manager answers, or its process PID has ended.
e2e_window_manager_up_or_gone() {
    wmctrl -m >/dev/null 2>&1 || ! kill -0 "$1" 2>/dev/null
}

# e2e_start_window_manager: openbox, for closing a window the way a desktop does.
e2e_start_window_manager() {
    e2e_need openbox wmctrl
    local log pid
    log=$(mktemp)
    E2E_FOLDERS+=("$log")
    openbox --sm-disable >"$log" 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    e2e_until 30 e2e_window_manager_up_or_gone "$pid" && wmctrl -m >/dev/null 2>&1 ||
        e2e_fail "openbox did not start on $DISPLAY: $(cat "$log")"
}

# e2e_visible_window TITLE: prints the id of a shown window with exactly this title.
# (xwininfo rather than xdotool search, which misses titles set as UTF-8 text, as SDL's
# message box sets them.)
e2e_visible_window() {
    local title=$1 window
    for window in $(xwininfo -root -tree | grep -F "\"$title\": (" | awk '{print $1}'); do
        if xwininfo -id "$window" 2>/dev/null | grep -q 'Map State: IsViewable'; then
            echo "$window"
            return 0
        fi
    done
    return 1
}

# A window with this title is shown (its id in WINDOW), or the game has ended.
e2e_window_or_end() {
    WINDOW=$(e2e_visible_window "$1") || e2e_game_ended
}

# e2e_wait_window TITLE [SECONDS]: waits until a window with exactly this title is shown
# and puts its id in WINDOW. Fails when the game ends first, or after SECONDS (default
# 60: starting takes a second or two, but much longer on a loaded machine or under a
# fresh Wine).
e2e_wait_window() {
    local title=$1 seconds=${2:-60} started=$SECONDS
    WINDOW=
    e2e_until "$seconds" e2e_window_or_end "$title" ||
        e2e_fail "no window titled '$title' within $seconds s"
    [ -n "$WINDOW" ] ||
        e2e_fail "the game ended before a window titled '$title' was shown ($((SECONDS - started)) s)"
}

# e2e_window_gone TITLE: true when no window with this title is shown.
e2e_window_gone() {
    ! e2e_visible_window "$1" >/dev/null
}

# e2e_no_window TITLE: true when no window with this title exists at all, shown or not
# (xwininfo's tree lists unmapped windows too).
e2e_no_window() {
    ! xwininfo -root -tree | grep -qF "\"$1\": ("
}

# e2e_client_size WINDOW: prints WIDTHxHEIGHT of the window's client area.
e2e_client_size() {
    xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}'
}

# e2e_client_origin WINDOW: prints X,Y of the client area on the screen.
e2e_client_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x "," y}'
}

# e2e_focus WINDOW: gives WINDOW the keyboard focus.
e2e_focus() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
}

# e2e_key WINDOW KEY: gives WINDOW the keyboard focus and presses KEY (an xdotool name:
# Escape, Return, Down, q, alt+F4). The press and its release are one xdotool call, a
# few milliseconds apart even on a loaded machine, where xdotool's keydown and keyup
# commands, even chained in one process, can stretch that to many frames. The game
# takes one window message per frame, so the press is still seen on a frame of its own,
# and it cannot last into the set-up pages' 0.1 s key repeat and act twice.
# Nothing here waits for the key to act: the caller waits for what it shows (a picture,
# a file, the game's end) before the next press, and a press that a key countdown could
# swallow (a set-up page, a purchase) goes through e2e_key_shows.
e2e_key() {
    e2e_focus "$1"
    xdotool key --delay 12 "$2"
}
