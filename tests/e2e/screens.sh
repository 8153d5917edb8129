# shellcheck shell=bash
# screens.sh - how the game's screens look in a picture: the main menu's colour model
# and where its parts lie, Down on the main menu seen by the selection it moves, and
# the text of SDL's message box.
#
# Needs: the X fonts of xfonts-base, for the message box's text.

# shellcheck source=pictures.sh
source "$(dirname "${BASH_SOURCE[0]}")/pictures.sh"

# The main menu's colours: the reached tracks' lines (wind dark blue, earth green), the
# greyed lines of the tracks not reached and the two hints (0.4 grey), the selected item
# (white once it has brightened) and the other one (0.2 grey), and the spinning car, in
# the player's red or the first run's magenta at 0.4 alpha over black.
E2E_MENU_COLOURS=(
    'wind=near(r, 0) && near(g, 25) && near(b, 102)'
    'earth=near(r, 0) && near(g, 178) && near(b, 25)'
    'white=r >= 240 && g >= 240 && b >= 240'
    'grey40=near(r, 102) && near(g, 102) && near(b, 102)'
    'grey20=near(r, 51) && near(g, 51) && near(b, 51)'
    'car=g <= 12 && r >= 60 && (near(b, r) || b <= 12)'
)

# e2e_wait_menu WINDOW WHAT [TEST]: waits until the window shows the main menu, drawn over
# the whole client area: its colours in a fair amount for the window's size, the track
# lines below the car and above the items and about 0.4 of the height down, the items
# and the car about the middle column (a frame drawn into part of the window misses
# these). TEST adds a condition (for instance count["earth"] > 0 once a race is won).
# The selected item is dark for a moment after each Up or Down, so this may take a few
# pictures.
e2e_wait_menu() {
    local scale='(width * height / 307200)'
    e2e_wait_picture "$1" "$2: the main menu" 30 \
        "count[\"wind\"] >= 200 * $scale && count[\"white\"] >= 500 * $scale &&
         count[\"grey40\"] >= 1000 * $scale && count[\"grey20\"] >= 500 * $scale &&
         count[\"car\"] >= 300 * $scale &&
         row[\"car\"] < row[\"wind\"] && row[\"wind\"] < row[\"white\"] && row[\"wind\"] < row[\"grey20\"] &&
         row[\"wind\"] > 0.3 * height && row[\"wind\"] < 0.5 * height &&
         column[\"white\"] > 0.45 * width && column[\"white\"] < 0.62 * width &&
         column[\"car\"] > 0.42 * width && column[\"car\"] < 0.62 * width && (${3:-1})" \
        "${E2E_MENU_COLOURS[@]}"
}

# e2e_menu_down WINDOW WHAT: on the main menu with "Setup Car" selected, presses Down
# and waits until "Begin Race", the lower item, shows selected: white below the grey
# "Setup Car". Return then acts on it at once: on the main menu it waits for no key
# countdown.
e2e_menu_down() {
    e2e_key "$1" Down
    e2e_wait_menu "$1" "$2, Down to Begin Race" 'row["white"] > row["grey20"]'
}

# e2e_wait_box WINDOW WHAT: waits until the message box WINDOW has drawn its text: the
# light grey letters of SDL's colours across the upper half, left of the button's
# middle.
e2e_wait_box() {
    e2e_wait_picture "$1" "$2: its text" 30 \
        'count["text"] >= 150 && column["text"] < 0.5 * width' \
        'text=r >= 180 && g >= 180 && b >= 180 && y < 0.5 * height'
}
