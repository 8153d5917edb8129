# lib.sh - shared helpers for the end-to-end tests: a private X server, the game in a
# folder of its own, and xdotool to find its windows, press keys and take pictures.
#
# Source it from a test script; the script then calls e2e_start_xvfb first. Everything
# started here is stopped again when the script exits.
#
# Needs: Xvfb (xvfb), xdotool, xwininfo and xprop (x11-utils), xwd (x11-apps), convert
# (imagemagick), the X fonts of xfonts-base (for the message box), and for the window
# manager's close openbox and wmctrl.

E2E_PIDS=()
E2E_FOLDERS=()
WINDOW=
GAME_FOLDER=
GAME_PID=
GAME_STATUS=

e2e_cleanup() {
    local pid folder
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    for folder in "${E2E_FOLDERS[@]}"; do
        rm -rf "$folder"
    done
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "$GAME_FOLDER" ] && [ -s "$GAME_FOLDER/game.log" ]; then
        echo "--- the game's output:" >&2
        cat "$GAME_FOLDER/game.log" >&2
    fi
    exit 1
}

e2e_need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || e2e_fail "$tool is not installed"
    done
}

# e2e_start_xvfb WIDTHxHEIGHT: an X server on a free display (Xvfb picks it), exported
# as DISPLAY.
e2e_start_xvfb() {
    local size=$1 folder
    e2e_need Xvfb xdotool xwininfo xprop
    folder=$(mktemp -d)
    E2E_FOLDERS+=("$folder")
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$folder/display" 2>"$folder/xvfb.log" &
    E2E_PIDS+=($!)
    local i
    for i in $(seq 100); do
        [ -s "$folder/display" ] && break
        sleep 0.1
    done
    [ -s "$folder/display" ] || e2e_fail "Xvfb did not start: $(cat "$folder/xvfb.log")"
    export DISPLAY=":$(head -n1 "$folder/display")"
    for i in $(seq 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    e2e_fail "the X server on $DISPLAY does not answer"
}

# e2e_start_window_manager: openbox, for closing a window the way a desktop does.
e2e_start_window_manager() {
    e2e_need openbox wmctrl
    local log pid i
    log=$(mktemp)
    E2E_FOLDERS+=("$log")
    openbox --sm-disable >"$log" 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    for i in $(seq 200); do
        wmctrl -m >/dev/null 2>&1 && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    e2e_fail "openbox did not start on $DISPLAY: $(cat "$log")"
}

# e2e_game_folder: a new folder holding the game's data files, in GAME_FOLDER.
e2e_game_folder() {
    GAME_FOLDER=$(mktemp -d)
    E2E_FOLDERS+=("$GAME_FOLDER")
    [ -d "${KORV_DATA_DIR:-}" ] || e2e_fail "no data folder: KORV_DATA_DIR='${KORV_DATA_DIR:-}'"
    cp -r "$KORV_DATA_DIR"/. "$GAME_FOLDER"/
    rm -f "$GAME_FOLDER/stamp"
}

# e2e_start_game EXECUTABLE: runs the game in GAME_FOLDER (a fresh one from
# e2e_game_folder); its pid goes to GAME_PID, its output to GAME_FOLDER/game.log.
e2e_start_game() {
    local executable=$1
    [ -x "$executable" ] || e2e_fail "no executable $executable"
    e2e_game_folder
    (cd "$GAME_FOLDER" && exec "$executable") >"$GAME_FOLDER/game.log" 2>&1 &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
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

# e2e_wait_window TITLE [SECONDS]: waits until a window with exactly this title is shown
# and puts its id in WINDOW; fails after SECONDS (default 20).
e2e_wait_window() {
    local title=$1 seconds=${2:-20} i
    for i in $(seq $((seconds * 10))); do
        WINDOW=$(e2e_visible_window "$title") && return 0
        sleep 0.1
    done
    e2e_fail "no window titled '$title' within $seconds s"
}

# e2e_window_gone TITLE: true when no window with this title is shown.
e2e_window_gone() {
    ! e2e_visible_window "$1" >/dev/null
}

# e2e_client_size WINDOW: prints WIDTHxHEIGHT of the window's client area.
e2e_client_size() {
    xwininfo -id "$1" | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w "x" h}'
}

# e2e_client_origin WINDOW: prints X,Y of the client area on the screen.
e2e_client_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x "," y}'
}

# e2e_key WINDOW KEY...: gives WINDOW the keyboard focus and types the keys (xdotool
# names: Escape, Return, alt+F4).
e2e_key() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --delay 50 "$@"
}

# e2e_screenshot WINDOW FILE.png: a picture of the window's client area.
e2e_screenshot() {
    e2e_need xwd convert
    xwd -silent -id "$1" | convert xwd:- "$2"
}

# e2e_wait_exit [SECONDS]: waits for the game to end and puts its exit status in
# GAME_STATUS; after SECONDS (default 20) it stops the game and the status is 124.
e2e_wait_exit() {
    local seconds=${1:-20} i
    for i in $(seq $((seconds * 10))); do
        if ! kill -0 "$GAME_PID" 2>/dev/null; then
            wait "$GAME_PID"
            GAME_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    kill -9 "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_STATUS=124
}

# e2e_expect_status EXPECTED WHAT: fails unless the game ended with EXPECTED.
e2e_expect_status() {
    [ "$GAME_STATUS" = "$1" ] || e2e_fail "$2: exit status $GAME_STATUS, expected $1"
}

# e2e_executable NAME: the path of a built game executable.
e2e_executable() {
    echo "${KORV_BINARY_DIR:?KORV_BINARY_DIR is not set}/$1"
}
