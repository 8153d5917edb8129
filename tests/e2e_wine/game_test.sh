#!/usr/bin/env bash
# game_test.sh - the Windows executables end to end under Wine, on Xvfb with Mesa's
# software OpenGL, in a fresh prefix, driven by xdotool: the checks of the native
# end-to-end tests that apply to Windows, and the main menu's picture.
#
#   tests/e2e_wine/game_test.sh FOLDER
#
# FOLDER holds Korvalinth-1.exe to Korvalinth-6.exe and the data files made by our tool,
# as scripts/windows.sh assembles it. Prints a PASS line per check; stops at the first
# failure with a FAIL line and a non-zero status.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../e2e/lib.sh
source "$here/../e2e/lib.sh"
# shellcheck source=wine_lib.sh
source "$here/wine_lib.sh"

if [ $# -ne 1 ] || [ ! -f "$1/Korvalinth-1.exe" ]; then
    echo "usage: $0 FOLDER (with Korvalinth-1.exe ... and the data files)" >&2
    exit 2
fi
folder="$(cd "$1" && pwd)"
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

# menu_colours PNG: for each colour of a first run's main menu, its pixel count and mean
# row: the "Wind" line (0, 0.1, 0.4), the greyed lines of the tracks not reached yet and
# the two hints (0.4 grey), the selected "Setup Car" (white), "Begin Race" (0.2 grey),
# and the spinning car in the first run's magenta at 0.4 alpha over black.
menu_colours() {
    convert "$1" -depth 8 txt:- | awk -F'[,:() ]+' '
        function near(v, want) { return v >= want - 12 && v <= want + 12 }
        function add(name) { count[name]++; rows[name] += y }
        NR > 1 {
            y = $2; r = $3; g = $4; b = $5
            if (near(r, 0) && near(g, 25) && near(b, 102)) add("wind")
            else if (r >= 240 && g >= 240 && b >= 240) add("white")
            else if (near(r, 102) && near(g, 102) && near(b, 102)) add("grey40")
            else if (near(r, 51) && near(g, 51) && near(b, 51)) add("grey20")
            else if (g <= 12 && r >= 60 && near(b, r)) add("car")
        }
        END {
            n = split("wind white grey40 grey20 car", names, " ")
            for (i = 1; i <= n; i++)
                printf "%s %d %d ", names[i], count[names[i]],
                    count[names[i]] ? rows[names[i]] / count[names[i]] : -1
        }'
}

# check_menu WINDOW WHAT: a first run's main menu fills the 640 x 480 client area: each
# of its colours in a fair amount, the lines in their order from the top, the car in the
# upper half. The selected item brightens during its first half second, so the picture
# is taken again until it shows all that, for at most about 10 seconds. With
# KORV_WINE_SHOTS set to a folder, the last picture is kept there.
check_menu() {
    local shot="$GAME_FOLDER/menu.png" report="" _
    for _ in $(seq 10); do
        e2e_screenshot "$1" "$shot"
        report=$(menu_colours "$shot")
        if [ -n "${KORV_WINE_SHOTS:-}" ]; then cp "$shot" "$KORV_WINE_SHOTS/menu-${2//[^A-Za-z0-9]/-}.png"; fi
        if awk -v r="$report" 'BEGIN {
                n = split(r, f, " ")
                for (i = 1; i + 2 <= n; i += 3) { c[f[i]] = f[i + 1]; y[f[i]] = f[i + 2] }
                ok = c["wind"] >= 200 && c["grey40"] >= 1500 && c["white"] >= 500 &&
                     c["grey20"] >= 500 && c["car"] >= 300 &&
                     y["wind"] < y["white"] && y["white"] < y["grey20"] && y["car"] < 240
                exit ok ? 0 : 1 }'; then
            wine_pass "$2: main menu drawn (colour, pixels, mean row: $report)"
            return 0
        fi
        sleep 0.5
    done
    e2e_fail "$2: the main menu is not as expected (colour, pixels, mean row: $report)"
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
    cmp -s "$GAME_FOLDER/save.car" <(printf '1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1') ||
        e2e_fail "$1: save.car is not the first run's: $(od -An -c "$GAME_FOLDER/save.car")"
    wine_pass "$1: save.car holds the first run's values byte for byte, CR LF line ends"
}

start=$SECONDS
e2e_start_xvfb 1024x768
wine_fresh_prefix
wine_pass "fresh Wine prefix made in $((SECONDS - start)) s"

# ---- configuration 1, windowed: the menu; Esc saves and ends with status 0 ----------
what="configuration 1"
e2e_start_game "$windowed"
e2e_wait_window Korvalinth 30
check_window "$WINDOW" "$what" windowed
check_menu "$WINDOW" "$what"
e2e_key "$WINDOW" Escape
e2e_wait_exit 20
check_status 0 "$what, Esc"
check_first_run_save "$what, Esc"
wine_stop_server

# ---- closing the window (Alt+F4) ends the game with status 0 and saves nothing ------
what="configuration 1, Alt+F4"
e2e_start_game "$windowed"
e2e_wait_window Korvalinth 30
e2e_key "$WINDOW" alt+F4
e2e_wait_exit 20
check_status 0 "$what"
[ ! -f "$GAME_FOLDER/save.car" ] || e2e_fail "$what: closing the window saved the car"
wine_pass "$what: nothing saved"
wine_stop_server

# ---- no data files: the start-up names the missing model and fails ------------------
what="configuration 1 without data files"
KORV_DATA_DIR="$no_data" e2e_start_game "$windowed"
e2e_wait_window "Korvalinth: missing data file" 30
box=$WINDOW
wine_box_shown 'tris.md2' || e2e_fail "$what: the message box does not name the model file"
e2e_key "$box" Return
e2e_wait_exit 20
if [ "$GAME_STATUS" = 0 ] || [ "$GAME_STATUS" = 124 ]; then
    e2e_fail "$what: exit status $GAME_STATUS, expected a failure"
fi
wine_pass "$what: the message box names the missing model; closed, exit status $GAME_STATUS"
wine_stop_server

# ---- configuration 2 where the screen lacks 640 x 480: the box, then windowed -------
what="configuration 2 on 1024x768"
e2e_start_game "$full"
e2e_wait_window Error 30
box=$WINDOW
wine_box_shown 'L"Display mode failed"' || e2e_fail "$what: the box is not \"Display mode failed\""
sleep 1
e2e_window_gone Korvalinth || e2e_fail "$what: the game window opened before the box was closed"
e2e_key "$box" Return
e2e_wait_window Korvalinth 30
e2e_window_gone Error || e2e_fail "$what: the message box stayed after Return"
wine_pass "$what: \"Display mode failed\" shown before the window, closed with Return"
check_window "$WINDOW" "$what" windowed
check_menu "$WINDOW" "$what"
e2e_key "$WINDOW" Escape
e2e_wait_exit 20
check_status 0 "$what, Esc"
wine_stop_server

# ---- configuration 2 on a screen of exactly 640 x 480: full screen ------------------
what="configuration 2 on 640x480"
e2e_start_xvfb 640x480
e2e_start_game "$full"
e2e_wait_window Korvalinth 30
if ! e2e_window_gone Error || wine_box_shown 'L"Display mode failed"'; then
    e2e_fail "$what: \"Display mode failed\" although the screen has the mode"
fi
wine_pass "$what: the display mode was set, no message box"
check_window "$WINDOW" "$what" full
check_menu "$WINDOW" "$what"
e2e_key "$WINDOW" Escape
e2e_wait_exit 20
check_status 0 "$what, Esc"
check_first_run_save "$what, Esc"

echo "PASS: Wine end-to-end test, $((SECONDS - start)) s"
