#!/bin/bash
# menus_test.sh - the main menu, the set-up pages and the shop played from the keyboard
# on the real executable: the first-run save on Esc, an engine bought and kept across Q,
# and a race started from "Begin Race" with its countdown on the screen (a picture of it
# goes to KORV_SCREENSHOT_DIR, or to screenshots/ in the build folder).
source "$(dirname "$0")/lib.sh"

game=$(e2e_executable Korvalinth)
shots=${KORV_SCREENSHOT_DIR:-$KORV_BINARY_DIR/screenshots}
mkdir -p "$shots"
e2e_start_xvfb 1024x768

# hold KEY...: each key held down for a while and then released, with a pause after it.
# The game handles one window message per frame and its set-up keys repeat every 0.1 s
# of held time, so a key held 60 ms is seen on at least one turn and acts exactly once.
hold() {
    local key
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
    for key in "$@"; do
        xdotool keydown "$key"
        sleep 0.06
        xdotool keyup "$key"
        sleep 0.4
    done
}

# start: the game in a fresh folder (no save file), on its main menu.
start() {
    e2e_start_game "$game"
    e2e_wait_window Korvalinth
    sleep 1
}

expect_save() {
    local want=$1 what=$2 got
    [ -f "$GAME_FOLDER/save.car" ] || e2e_fail "$what: no save.car"
    got=$(od -An -c "$GAME_FOLDER/save.car" | tr -s ' \n' ' ')
    [ "$(cat "$GAME_FOLDER/save.car")" = "$(printf '%b' "$want")" ] ||
        e2e_fail "$what: save.car holds$got"
}

# A first run that ends at once writes the start values.
start
hold Escape
e2e_wait_exit
e2e_expect_status 0 "Esc on the main menu"
expect_save '1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1' "the first-run save"

# "Setup Car", the engine page, two choices on: the Stone Fission Engine for $3000, which
# sets acceleration 2 and top speed 1.9; Q keeps it. The first set-up frame gave the car
# the colour page's red of 250 / 255.
start
hold Return Down Right Right Return q Escape
e2e_wait_exit
e2e_expect_status 0 "Esc after the purchase"
expect_save '0.980392\r\n0\r\n0\r\n2\r\n1.9\r\n1.4\r\n0\r\n1' "the save after buying engine 3"

# "Begin Race": the race starts with its countdown, a big white digit above the track.
start
hold Down Return
sleep 1
picture="$shots/race-countdown.png"
e2e_screenshot "$WINDOW" "$picture"
digit=$(convert "$picture" -crop 200x140+220+90 +repage -fuzz 4% -fill black +opaque white \
    -format '%[fx:round(mean*w*h)]' info:)
[ "$digit" -gt 800 ] || e2e_fail "no countdown digit in $picture ($digit white pixels)"
hold Escape
e2e_wait_exit
e2e_expect_status 0 "Esc in the race"

echo "PASS"
