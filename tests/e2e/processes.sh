# shellcheck shell=bash
# processes.sh - the plumbing under every end-to-end test: the game run in a folder of
# its own, the other programs and scratch folders a test starts or makes (all stopped
# and removed when the script exits), failing with the game's output, and waiting on a
# condition by the clock.
#
# Sourced by the other helper files beside it; sourcing it again changes nothing.

[ -z "${E2E_PROCESSES_LOADED:-}" ] || return 0
E2E_PROCESSES_LOADED=1

E2E_PIDS=()
E2E_FOLDERS=()
GAME_FOLDER=
GAME_PID=
GAME_STATUS=

# e2e_cleanup: stops what the test started and removes the folders it made; runs at
# exit, and a test calls it to start afresh (another screen size).
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
    E2E_PIDS=()
    E2E_FOLDERS=()
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

# e2e_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds;
# false once SECONDS of real time have passed (a loaded machine makes each try slower, so
# the bound is kept by the clock, not by counting tries). COMMAND runs in this shell, so
# what it sets is kept. Every wait of the tests goes through here, with a bound that only
# a hang reaches: a wait ends as soon as what it waits for is there.
e2e_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# e2e_game_folder: a new folder holding the game's data files, in GAME_FOLDER.
e2e_game_folder() {
    GAME_FOLDER=$(mktemp -d)
    E2E_FOLDERS+=("$GAME_FOLDER")
    [ -d "${KORV_DATA_DIR:-}" ] || e2e_fail "no data folder: KORV_DATA_DIR='${KORV_DATA_DIR:-}'"
    cp -r "$KORV_DATA_DIR"/. "$GAME_FOLDER"/
    rm -f "$GAME_FOLDER/stamp"
}

# e2e_start_game EXECUTABLE [PREPARE...]: runs the game in GAME_FOLDER (a fresh one
# from e2e_game_folder); its pid goes to GAME_PID, its output to GAME_FOLDER/game.log.
# PREPARE, a command and its arguments (a function of the test, rm FILE), runs in the
# folder first, to change the data the game finds there.
e2e_start_game() {
    local executable=$1
    shift
    [ -x "$executable" ] || e2e_fail "no executable $executable"
    e2e_game_folder
    if [ $# -gt 0 ]; then
        (cd "$GAME_FOLDER" && "$@") || e2e_fail "could not prepare the game folder: $*"
    fi
    (cd "$GAME_FOLDER" && exec "$executable") >"$GAME_FOLDER/game.log" 2>&1 &
    GAME_PID=$!
    E2E_PIDS+=("$GAME_PID")
}

# e2e_game_running: whether the game started last is still running.
e2e_game_running() {
    [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null
}

e2e_game_ended() {
    ! e2e_game_running
}

# e2e_wait_exit [SECONDS]: waits for the game to end and puts its exit status in
# GAME_STATUS; after SECONDS (default 60) it stops the game and the status is 124.
e2e_wait_exit() {
    local seconds=${1:-60}
    if e2e_until "$seconds" e2e_game_ended; then
        wait "$GAME_PID"
        GAME_STATUS=$?
        return 0
    fi
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
