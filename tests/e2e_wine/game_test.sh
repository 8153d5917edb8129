#!/usr/bin/env bash
# game_test.sh - the Windows executables end to end under Wine, on Xvfb with Mesa's
# software OpenGL, in a fresh prefix, driven by xdotool: the checks of the native
# end-to-end tests that apply to Windows, the main menu's picture, and what a race shows.
#
#   tests/e2e_wine/game_test.sh FOLDER
#
# FOLDER holds Korvalinth-1.exe to Korvalinth-6.exe and the data files made by our tool,
# as scripts/windows.sh assembles it. Prints a PASS line per check; stops at the first
# failure with a FAIL line and a non-zero status. A picture that failed its check is kept
# in e2e-pictures/ beside FOLDER (in the build folder) and named in the FAIL line.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../e2e/screens.sh
source "$here/../e2e/screens.sh"
# shellcheck source=wine_lib.sh
source "$here/wine_lib.sh"

if [ $# -ne 1 ] || [ ! -f "$1/Korvalinth-1.exe" ]; then
    echo "usage: $0 FOLDER (with Korvalinth-1.exe ... and the data files)" >&2
    exit 2
fi
folder="$(cd "$1" && pwd)"
E2E_PICTURES="$(dirname "$folder")/e2e-pictures"
e2e_need convert cmp

wine_begin
# The data files without the executables, for e2e_game_folder to copy into each run.
export KORV_DATA_DIR="$WINE_WORK/data"
mkdir -p "$KORV_DATA_DIR"
(cd "$folder" && tar --exclude='*.exe' --exclude=save.car -cf - .) | (cd "$KORV_DATA_DIR" && tar -xf -)
no_data="$WINE_WORK/no-data"
mkdir -p "$no_data"
windowed=$(wine_launcher "$folder/Korvalinth-1.exe")
full=$(wine_launcher "$folder/Korvalinth-2.exe")

# check_menu WINDOW WHAT: the main menu drawn over the client area (e2e_wait_menu).
check_menu() {
    e2e_wait_menu "$1" "$2"
    wine_pass "$2: main menu drawn (colour, pixels, mean row and column: $PICTURE_REPORT)"
}

# check_race WINDOW WHAT: what a race shows under Wine. Wine builds the outline glyphs
# flat, and in the race's HUD space their one face lies in front of the near clip plane,
# so no HUD text, countdown or track name; the rest is there: the wind track's maroon
# ground (darker with distance: the fog's colour is black) in the lower half, the green
# shield bar on the near plane at the top right, and
# the minimap's pixel blocks, the posts (light yellow dots), the four opponents
# (orange-red squares) and the player (a green square) at its lower left.
check_race() {
    e2e_wait_picture "$1" "$2: the race" 60 \
        'count["ground"] >= 0.1 * width * height && row["ground"] > 0.5 * height &&
         count["shield"] >= 1500 && row["shield"] < 0.2 * height && column["shield"] > 0.5 * width &&
         count["posts"] >= 100 && count["opponents"] >= 30 && count["player"] >= 10 &&
         column["player"] < 0.4 * width && row["player"] > 0.4 * height' \
        'ground=r >= 90 && r <= 165 && g <= 0.25 * r && b >= 0.4 * r && b <= 0.6 * r' \
        'shield=near(r, 0) && near(g, 255) && near(b, 0)' \
        'posts=near(r, 255) && near(g, 240) && near(b, 80)' \
        'opponents=near(r, 255) && near(g, 64) && near(b, 0)' \
        'player=near(r, 0) && near(g, 255) && near(b, 64)'
    wine_pass "$2: race drawn: ground, shield bar, minimap (colour, pixels, mean row and column: $PICTURE_REPORT)"
}

# check_window WINDOW WHAT MODE: a 640 x 480 client area, windowed (below the frame that
# Wine draws) or full screen (at the origin of a 640 x 480 screen, the window marked
# full screen for the window manager).
check_window() {
    local size origin
    size=$(e2e_client_size "$1")
    origin=$(e2e_client_origin "$1")
    [ "$size" = 640x480 ] || e2e_fail "$2: client area $size, expected 640x480"
    local state
    state=$(xprop -id "$1" _NET_WM_STATE)
    case "$3" in
    windowed)
        [ "$origin" != 0,0 ] || e2e_fail "$2: client area at 0,0, expected a frame around it"
        [[ "$state" != *_NET_WM_STATE_FULLSCREEN* ]] || e2e_fail "$2: the window asks for full screen"
        ;;
    full)
        [ "$origin" = 0,0 ] || e2e_fail "$2: client area at $origin, expected 0,0"
        [[ "$state" == *_NET_WM_STATE_FULLSCREEN* ]] || e2e_fail "$2: the window is not full screen"
        ;;
    esac
    wine_pass "$2: window \"Korvalinth\", 640x480 client area at $origin, $3"
}

check_status() {
    e2e_expect_status "$1" "$2"
    wine_pass "$2: exit status $GAME_STATUS"
}

check_first_run_save() {
    [ -f "$GAME_FOLDER/save.car" ] || e2e_fail "$1: no save.car written"
    cmp -s "$GAME_FOLDER/save.car" <(printf '1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1\r\n1') ||
        e2e_fail "$1: save.car is not the first run's: $(od -An -c "$GAME_FOLDER/save.car")"
    wine_pass "$1: save.car holds the first run's values byte for byte, CR LF line ends"
}

# A stray file at a pending name of the save whose process number, ten digits, is beyond
# any Windows process id: it names no save in progress, and it must not stop one.
stray_pending=save.car.new.9999999999.0
plant_stray_pending_file() { printf 'stray' >"$stray_pending"; }

start=$SECONDS
e2e_start_xvfb 1024x768
wine_fresh_prefix
wine_pass "fresh Wine prefix made in $((SECONDS - start)) s"
# Each run below starts a new wineserver and Wine's services before the game; that took
# up to half a minute on a loaded machine, so the wait for the first window is long (it
# ends as soon as the window shows, or the program ends).
wine_start=180

# ---- configuration 1, windowed: the menu, a race; Esc saves and ends with status 0 --
what="configuration 1"
e2e_start_game "$windowed"
e2e_wait_window Korvalinth "$wine_start"
check_window "$WINDOW" "$what" windowed
check_menu "$WINDOW" "$what"
e2e_menu_down "$WINDOW" "$what"
e2e_key "$WINDOW" Return
check_race "$WINDOW" "$what"
e2e_key "$WINDOW" Escape
e2e_wait_exit
check_status 0 "$what, Esc"
check_first_run_save "$what, Esc"
wine_stop_server

# ---- closing the window (Alt+F4) ends the game with status 0 and saves nothing ------
what="configuration 1, Alt+F4"
e2e_start_game "$windowed"
e2e_wait_window Korvalinth "$wine_start"
e2e_key "$WINDOW" alt+F4
e2e_wait_exit
check_status 0 "$what"
[ ! -f "$GAME_FOLDER/save.car" ] || e2e_fail "$what: closing the window saved the car"
wine_pass "$what: nothing saved"
wine_stop_server

# ---- no data files: the start-up names the missing model and fails ------------------
what="configuration 1 without data files"
KORV_DATA_DIR="$no_data" e2e_start_game "$windowed"
e2e_wait_window "Korvalinth: missing data file" "$wine_start"
box=$WINDOW
wine_box_shown 'tris.md2' || e2e_fail "$what: the message box does not name the model file"
e2e_key "$box" Return
e2e_wait_exit
if [ "$GAME_STATUS" = 0 ] || [ "$GAME_STATUS" = 124 ]; then
    e2e_fail "$what: exit status $GAME_STATUS, expected a failure"
fi
wine_pass "$what: the message box names the missing model; closed, exit status $GAME_STATUS"
wine_stop_server

# ---- configuration 2 where the screen lacks 640 x 480: the box, then windowed -------
what="configuration 2 on 1024x768"
e2e_start_game "$full"
e2e_wait_window Error "$wine_start"
box=$WINDOW
# The box's window is up once the trace names its text: the game waits in it, and no
# game window may exist yet, not even an unmapped one.
e2e_until 30 wine_box_shown 'L"Display mode failed"' || e2e_fail "$what: the box is not \"Display mode failed\""
e2e_no_window Korvalinth || e2e_fail "$what: the game window was made before the box was closed"
e2e_key "$box" Return
e2e_wait_window Korvalinth "$wine_start"
e2e_window_gone Error || e2e_fail "$what: the message box stayed after Return"
wine_pass "$what: \"Display mode failed\" shown before the window, closed with Return"
check_window "$WINDOW" "$what" windowed
check_menu "$WINDOW" "$what"
e2e_key "$WINDOW" Escape
e2e_wait_exit
check_status 0 "$what, Esc"
wine_stop_server

# ---- configuration 2 on a screen of exactly 640 x 480: full screen, a stray file -----
what="configuration 2 on 640x480"
e2e_start_xvfb 640x480
e2e_start_game "$full" plant_stray_pending_file
e2e_wait_window Korvalinth "$wine_start"
if ! e2e_window_gone Error || wine_box_shown 'L"Display mode failed"'; then
    e2e_fail "$what: \"Display mode failed\" although the screen has the mode"
fi
wine_pass "$what: the display mode was set, no message box"
check_window "$WINDOW" "$what" full
check_menu "$WINDOW" "$what"
e2e_key "$WINDOW" Escape
e2e_wait_exit
check_status 0 "$what, Esc"
check_first_run_save "$what, Esc"
[ "$(cat "$GAME_FOLDER/$stray_pending" 2>/dev/null)" = stray ] ||
    e2e_fail "$what: the stray $stray_pending, a minute young, was not left as it was"
wine_pass "$what: saved beside a stray $stray_pending, which stays"

echo "PASS: Wine end-to-end test, $((SECONDS - start)) s"
