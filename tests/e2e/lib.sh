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
# Pictures kept for a person (named in the failure message) go under the build folder.
E2E_PICTURES=${E2E_PICTURES:-${KORV_BINARY_DIR:-.}/e2e-pictures}
PICTURE_REPORT=
WINDOW=
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

# e2e_until SECONDS COMMAND...: runs COMMAND every tenth of a second until it succeeds;
# false once SECONDS of real time have passed (a loaded machine makes each try slower, so
# the bound is kept by the clock, not by counting tries).
e2e_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# e2e_game_running: whether the game started last is still running.
e2e_game_running() {
    [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null
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
    WINDOW=$(e2e_visible_window "$1") || ! e2e_game_running
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

# e2e_key WINDOW KEY...: gives WINDOW the keyboard focus and presses the keys one after
# the other (xdotool names: Escape, Return, Down, q, alt+F4). Each press and its release
# are one xdotool call, a few milliseconds apart even on a loaded machine, where
# xdotool's keydown and keyup commands, even chained in one process, can stretch that
# to many frames. The game takes one window message per frame, so the
# press is still seen on a frame of its own, and it cannot last into the set-up pages'
# 0.1 s key repeat and act twice. The game takes the messages in order, so keys that
# no repeat countdown holds back act in the order pressed; the pause after each press
# only spaces them. A press that a countdown could swallow (a set-up page, a purchase)
# goes through e2e_key_shows, which waits for its effect instead.
e2e_key() {
    local window=$1 key
    shift
    e2e_focus "$window"
    for key in "$@"; do
        xdotool key --delay 12 "$key"
        sleep 0.4
    done
}

# e2e_screenshot WINDOW FILE.png: a picture of the window's client area.
e2e_screenshot() {
    e2e_need xwd convert
    xwd -silent -id "$1" | convert xwd:- "$2"
}

# e2e_keep_picture FILE.png WHAT: copies a picture for a person to look at into the
# build folder's e2e-pictures/ (E2E_PICTURES) and prints where it went.
e2e_keep_picture() {
    local name
    name="$E2E_PICTURES/$(basename "$0" .sh)-${2//[^A-Za-z0-9]/-}.png"
    mkdir -p "$E2E_PICTURES" && cp "$1" "$name" && echo "$name"
}

# e2e_pixels FILE.png PROGRAM: runs the awk PROGRAM over the picture's pixels, one
# line each in reading order, with x, y, r, g and b (0 to 255) set, width and height,
# and near(v, want), true within 12.
e2e_pixels() {
    local picture=$1 program=$2 size
    size=$(identify -format '%w %h' "$picture") || return 1
    # Raw bytes through od: several times quicker than ImageMagick's text form.
    convert "$picture" -alpha off -depth 8 rgb:- | od -An -v -tu1 -w3 |
        awk -v width="${size% *}" -v height="${size#* }" "
        function near(v, want) { return v >= want - 12 && v <= want + 12 }
        { x = (NR - 1) % width; y = int((NR - 1) / width); r = \$1; g = \$2; b = \$3 }
        $program"
}

# e2e_colours FILE.png TEST NAME=CONDITION...: reads a picture by its colours. Each
# CONDITION is an awk expression over the pixel's r, g and b (0 to 255) and its x and
# y, where near(v, want) means within 12; a pixel counts for the first condition it
# meets. Prints, for each NAME, its pixel count and mean row and column, and succeeds
# when TEST holds: an awk expression over count["NAME"], row["NAME"], column["NAME"],
# width and height.
e2e_colours() {
    local picture=$1 test=$2 spec classify="" names=""
    shift 2
    for spec in "$@"; do
        classify="$classify else if (${spec#*=}) add(\"${spec%%=*}\");"
        names="$names ${spec%%=*}"
    done
    e2e_pixels "$picture" "
        function add(name) { count[name]++; row[name] += y; column[name] += x }
        { if (0) {} ${classify} }
        END {
            n = split(\"$names\", name, \" \")
            for (i = 1; i <= n; i++) {
                k = name[i]
                if (count[k]) { row[k] /= count[k]; column[k] /= count[k] } else { row[k] = -1; column[k] = -1 }
                printf \"%s %d %d %d  \", k, count[k], row[k], column[k]
            }
            exit (${test}) ? 0 : 1
        }"
}

# e2e_area_sum FILE.png AREA: a checksum of where in the picture the pixels meeting
# AREA lie (a CONDITION as e2e_colours takes it), which changes when what is drawn
# there changes.
e2e_area_sum() {
    e2e_pixels "$1" "($2) { print NR }" | md5sum
}

# e2e_frames_pass WINDOW WHAT SECONDS: waits until the game has drawn frames whose frame
# times add up to more than SECONDS, so that a key countdown of SECONDS armed before
# has run out; the window must show something that moves on every frame. A frame's
# time is the real time since the frame before, but at most 0.1 s, and the countdowns
# run down only by it, so a slow machine stretches them: they are counted here in the
# frames seen, not waited for by the clock. Pictures are taken at least 0.1 s apart;
# each one that differs from the one before shows a frame drawn after that one was
# taken, so across every two such changes the frames drawn span more than 0.1 s of
# real time and add at least 0.1 s of frame time. Two changes for each tenth of
# SECONDS and two more, for the frame time lost between the pictures and the frames.
e2e_frames_pass() {
    local window=$1 what=$2 needed changes=0 shot="$GAME_FOLDER/frames.xwd" last now
    local deadline=$((SECONDS + 60))
    needed=$(awk -v s="$3" 'BEGIN { t = s * 10; n = int(t); if (n < t) n++; print 2 * (n + 1) }')
    xwd -silent -id "$window" -out "$shot" || e2e_fail "$what: no picture of the window"
    last=$(md5sum <"$shot")
    while [ "$changes" -lt "$needed" ]; do
        if [ "$SECONDS" -ge "$deadline" ] || ! e2e_game_running; then
            convert "xwd:$shot" "$GAME_FOLDER/frames.png"
            e2e_fail "$what: $changes new frames seen of the $needed that let $3 s of frame time pass;" \
                "the last picture is $(e2e_keep_picture "$GAME_FOLDER/frames.png" "$what")"
        fi
        sleep 0.1
        xwd -silent -id "$window" -out "$shot" || e2e_fail "$what: no picture of the window"
        now=$(md5sum <"$shot")
        [ "$now" = "$last" ] || changes=$((changes + 1))
        last=$now
    done
}

# e2e_key_shows WINDOW WHAT AREA REPEAT KEY: presses KEY, waits until the pixels of the
# window meeting AREA (see e2e_area_sum) change, and then until REPEAT seconds of frame
# time have passed (e2e_frames_pass): the key countdown that the press armed has then
# run out, and the next press cannot be swallowed by it. Fails naming WHAT, with the
# last picture kept, when AREA does not change: the press was lost.
e2e_key_shows() {
    local window=$1 what=$2 area=$3 repeat=$4 key=$5 shot="$GAME_FOLDER/picture.png" before
    local deadline
    e2e_screenshot "$window" "$shot" || e2e_fail "$what: no picture of the window"
    before=$(e2e_area_sum "$shot" "$area")
    e2e_focus "$window"
    xdotool key --delay 12 "$key"
    deadline=$((SECONDS + 30))
    while :; do
        e2e_screenshot "$window" "$shot" || e2e_fail "$what: no picture of the window"
        [ "$(e2e_area_sum "$shot" "$area")" = "$before" ] || break
        if [ "$SECONDS" -ge "$deadline" ] || ! e2e_game_running; then
            e2e_fail "$what: $key changed nothing where it shows within 30 s;" \
                "the last picture is $(e2e_keep_picture "$shot" "$what")"
        fi
        sleep 0.2
    done
    e2e_frames_pass "$window" "$what" "$repeat"
}

# e2e_wait_picture WINDOW WHAT SECONDS TEST NAME=CONDITION...: takes pictures of the
# window until one passes e2e_colours with TEST, and puts its report in PICTURE_REPORT.
# After SECONDS it keeps the last picture (e2e_keep_picture) and fails naming it.
e2e_wait_picture() {
    local window=$1 what=$2 seconds=$3 shot="$GAME_FOLDER/picture.png" deadline
    shift 3
    deadline=$((SECONDS + seconds))
    while :; do
        e2e_screenshot "$window" "$shot" || e2e_fail "$what: no picture of the window"
        PICTURE_REPORT=$(e2e_colours "$shot" "$@") && return 0
        [ "$SECONDS" -lt "$deadline" ] && e2e_game_running || break
        sleep 0.2
    done
    e2e_fail "$what: not seen within $seconds s (colour, pixels, mean row and column: $PICTURE_REPORT);" \
        "the last picture is $(e2e_keep_picture "$shot" "$what")"
}

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

# e2e_wait_box WINDOW WHAT: waits until the message box WINDOW has drawn its text: the
# light grey letters of SDL's colours across the upper half, left of the button's
# middle.
e2e_wait_box() {
    e2e_wait_picture "$1" "$2: its text" 30 \
        'count["text"] >= 150 && column["text"] < 0.5 * width' \
        'text=r >= 180 && g >= 180 && b >= 180 && y < 0.5 * height'
}

# e2e_wait_exit [SECONDS]: waits for the game to end and puts its exit status in
# GAME_STATUS; after SECONDS (default 60) it stops the game and the status is 124.
e2e_wait_exit() {
    local seconds=${1:-60}
    if e2e_until "$seconds" eval '! e2e_game_running'; then
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
