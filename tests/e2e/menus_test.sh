#!/bin/bash
# menus_test.sh - the menus, the shop and a whole race played from the keyboard on the
# real executable, checked by the bytes it saves and by what it shows:
#   - a first run that ends at once with Esc saves the start values;
#   - "Setup Car", a purchase on each shop page, Q, and "Begin Race" on a wind track whose
#     outline ends the race at once: the result message, then the main menu with the
#     next track reached; the race end saves the prize and the track with the bought
#     colour and figures, and Esc keeps them;
#   - "Begin Race" on the real track shows the countdown.
source "$(dirname "$0")/screens.sh"

game=$(e2e_executable Korvalinth)
e2e_start_xvfb 1024x768

# start [PREPARE...]: the game in a fresh folder (no save file), on its main menu.
start() {
    e2e_start_game "$game" "$@"
    e2e_wait_window Korvalinth
    e2e_wait_menu "$WINDOW" "start-up${1:+ with $1}"
}

# save_holds BYTES: whether save.car holds exactly BYTES (printf's escapes).
save_holds() {
    cmp -s "$GAME_FOLDER/save.car" <(printf "$1") 2>/dev/null
}

# wait_save BYTES WHAT [SECONDS]: waits until the game has written exactly BYTES to
# save.car; once the game has ended, the file is checked at once.
wait_save() {
    e2e_until "${3:-30}" save_holds "$1" ||
        e2e_fail "$2: save.car holds '$(od -An -c "$GAME_FOLDER/save.car" 2>/dev/null | tr -s ' \n' ' ')'," \
            "expected '$1'"
}

# A first run that ends at once writes the start values, the turn rate last.
start
e2e_key "$WINDOW" Escape
e2e_wait_exit
e2e_expect_status 0 "Esc on the main menu"
wait_save '1\r\n0\r\n1\r\n2\r\n1.4\r\n1.4\r\n3000\r\n1\r\n1' "the first-run save" 0

# The race's wind outline: two points, both within checkpoint reach (100) of the
# player's grid slot (40, -25), the one passed first 95 behind the player and 105 behind
# the nearest opponent. From its first frame the player passes both on every frame, and
# the opponents neither while the countdown holds them, so the race is over on its third
# frame with the player first, and stays first until the race end pays.
short_wind_outline() {
    printf '40\n-55\n0\n' >windx.txt && printf '%s\n' -20 -25 0 >windy.txt
}
bought='0.980392\r\n0\r\n0\r\n1.5\r\n1.5\r\n1.6'
start short_wind_outline
# The first set-up frame gives the car the colour page's red of 250 / 255. The cheapest
# engine (acceleration 1.5, top speed 1.5), boost (1.6) and grav tires (turn rate 1.5)
# take the $3000; Q saves them and goes back to the menu. Each press waits for what it
# shows: the page's label drawn in red after Enter on the menu and after each Down, the
# yellow money figure at the right of the page changing after each purchase. Then the
# press's countdown must run out on set-up frames before the next press: 0.1 s after a
# page, 0.5 s after a purchase (Enter on the menu may arm it too).
page='near(r, 153) && g <= 12 && b <= 12 && x < 0.45 * width && y < 0.48 * height'
money='r >= 230 && g >= 230 && b <= 40 && x > 0.55 * width && y > 0.48 * height && y < 0.6 * height'
e2e_key_shows "$WINDOW" "Enter on Setup Car" "$page" 0.5 Return
e2e_key_shows "$WINDOW" "Down to the engine page" "$page" 0.1 Down
e2e_key_shows "$WINDOW" "buying the engine" "$money" 0.5 Return
e2e_key_shows "$WINDOW" "Down to the boost page" "$page" 0.1 Down
e2e_key_shows "$WINDOW" "buying the boost" "$money" 0.5 Return
e2e_key_shows "$WINDOW" "Down to the grav-tire page" "$page" 0.1 Down
e2e_key_shows "$WINDOW" "buying the grav tires" "$money" 0.5 Return
e2e_key "$WINDOW" q
wait_save "$bought\r\n0\r\n1\r\n1.5" "Q after the purchases"
e2e_menu_down "$WINDOW" "Q after the purchases"
e2e_key "$WINDOW" Return
# The result message, white and wide above the track's name: "YOU A WINNER! 1st"
# reaches from the left quarter of the window to the right one.
white='r >= 240 && g >= 240 && b >= 240'
band='y > 0.35 * height && y < 0.45 * height'
e2e_wait_picture "$WINDOW" "the result of the race" 30 'count["left"] >= 150 && count["right"] >= 150' \
    "left=$white && $band && x < 0.25 * width" "right=$white && $band && x > 0.75 * width"
# Five seconds on, the race end pays 4000 for first place, moves on to track 2 and saves.
# Race seconds are 300 fixed steps, one a frame: a machine drawing a few frames a
# second takes minutes over them, hence the long bound.
wait_save "$bought\r\n4000\r\n2\r\n1.5" "the race end" 120
e2e_wait_menu "$WINDOW" "after the race" 'count["earth"] >= 150 * width * height / 307200'
e2e_key "$WINDOW" Escape
e2e_wait_exit
e2e_expect_status 0 "Esc after the race"
wait_save "$bought\r\n4000\r\n2\r\n1.5" "Esc after the race" 0

# "Begin Race" on the real wind track: the countdown, a big white digit above the track.
start
e2e_menu_down "$WINDOW" "the real track"
e2e_key "$WINDOW" Return
e2e_wait_picture "$WINDOW" "the countdown" 30 'count["digit"] > 800' \
    "digit=$white && x >= 220 && x < 420 && y >= 90 && y < 230"
e2e_key "$WINDOW" Escape
e2e_wait_exit
e2e_expect_status 0 "Esc in the race"

echo "PASS"
