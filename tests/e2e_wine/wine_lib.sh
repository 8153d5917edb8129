# shellcheck shell=bash
# wine_lib.sh - what the Wine end-to-end tests add to the helpers of tests/e2e/: a fresh
# Wine prefix, a launcher that runs a Windows executable under Wine, the end of
# wineserver, and the texts of the message boxes the program showed.
#
# Source tests/e2e/x_display.sh (or a helper file that sources it) first. Wine's X11
# driver gives a Win32 window's client area an X window of its own, so x_display.sh's
# window size and origin are the client area's: a windowed game sits below and right of
# the frame that Wine draws, a full-screen one at (0, 0).

WINE_WORK=""

wine_pass() { echo "PASS: $*"; }

# wine_begin: the scratch folder (prefix, launchers) and the environment of every run.
wine_begin() {
    e2e_need wine wineserver wineboot
    WINE_WORK=$(mktemp -d)
    E2E_FOLDERS+=("$WINE_WORK")
    trap 'wine_stop_server; e2e_cleanup' EXIT
    # Wine keeps its server's socket folder in TMPDIR and leaves it behind; here it goes
    # with the rest of the scratch folder.
    export TMPDIR="$WINE_WORK/tmp"
    mkdir -p "$TMPDIR"
    export WINEPREFIX="$WINE_WORK/prefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono and no Gecko: their install prompts would wait for a click.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LIBGL_ALWAYS_SOFTWARE=1
}

# wine_fresh_prefix: makes the prefix, on the current DISPLAY; the runs then share it.
# wineboot returns once the prefix is made, and the wait for its wineserver to end
# covers the programs that the boot left running, so no run starts in a half-made
# prefix. The bounds only catch a hang: a fresh prefix takes well under them.
wine_fresh_prefix() {
    if ! timeout 300 wineboot -i >"$WINE_WORK/wineboot.log" 2>&1 || ! timeout 120 wineserver -w; then
        e2e_fail "wineboot could not make a fresh prefix: $(tail -n 5 "$WINE_WORK/wineboot.log")"
    fi
}

# wine_stop_server: ends the prefix's wineserver and every program still running in it.
# It would otherwise linger a few seconds after the last program, and a run on another
# X screen needs a new one.
wine_stop_server() {
    if [ -n "$WINE_WORK" ] && [ -d "$WINEPREFIX" ]; then
        timeout 10 wineserver -k 2>/dev/null
        timeout 10 wineserver -w 2>/dev/null
    fi
    return 0
}

# wine_launcher EXE: prints the path of a script that runs EXE under Wine, for
# e2e_start_game, which runs it in the game folder. Under a timeout longer than any of
# the test's waits (a stuck run is stopped all the same), with message-box tracing on, so
# the game's log holds the text of every box shown.
wine_launcher() {
    local exe launcher
    exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    [ -f "$exe" ] || e2e_fail "no executable $1"
    launcher="$WINE_WORK/run-$(basename "$exe" .exe)"
    printf '#!/bin/sh\nWINEDEBUG=-all,trace+msgbox exec timeout 600 wine "%s"\n' "$exe" >"$launcher"
    chmod +x "$launcher"
    echo "$launcher"
}

# wine_box_shown STRING: whether the game showed a message box whose text holds STRING,
# written as Wine's trace writes it: L"...", with quotes and backslashes escaped.
wine_box_shown() {
    grep -F "MSGBOX_OnInit" "$GAME_FOLDER/game.log" | grep -qF "$1"
}
