# shellcheck shell=bash
# pictures.sh - reading what the game shows: pictures of a window, its pixels sorted by
# colour, waiting for a picture that passes a test, counting the frames drawn, and a key
# press checked by the change it makes on screen. A picture that failed its check is
# kept for a person to look at and named in the failure message.
#
# Needs: xwd (x11-apps) and convert and identify (imagemagick).

# shellcheck source=x_display.sh
source "$(dirname "${BASH_SOURCE[0]}")/x_display.sh"

# Pictures kept for a person (named in the failure message) go under the build folder.
E2E_PICTURES=${E2E_PICTURES:-${KORV_BINARY_DIR:-.}/e2e-pictures}
PICTURE_REPORT=

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

# e2e_shot WINDOW WHAT: a picture of the window in GAME_FOLDER/picture.png, or a
# failure naming WHAT.
e2e_shot() {
    e2e_screenshot "$1" "$GAME_FOLDER/picture.png" || e2e_fail "$2: no picture of the window"
}

# The window's picture passes e2e_colours (PICTURE_PASSED=1, its report in
# PICTURE_REPORT), or the game has ended.
e2e_picture_or_end() {
    local window=$1 what=$2
    shift 2
    e2e_shot "$window" "$what"
    PICTURE_REPORT=$(e2e_colours "$GAME_FOLDER/picture.png" "$@") && PICTURE_PASSED=1 && return 0
    e2e_game_ended
}

# e2e_wait_picture WINDOW WHAT SECONDS TEST NAME=CONDITION...: takes pictures of the
# window until one passes e2e_colours with TEST, and puts its report in PICTURE_REPORT.
# When the game ends first, or after SECONDS, it keeps the last picture
# (e2e_keep_picture) and fails naming it.
e2e_wait_picture() {
    local window=$1 what=$2 seconds=$3
    shift 3
    PICTURE_PASSED=
    e2e_until "$seconds" e2e_picture_or_end "$window" "$what" "$@"
    [ -n "$PICTURE_PASSED" ] ||
        e2e_fail "$what: not seen within $seconds s (colour, pixels, mean row and column: $PICTURE_REPORT);" \
            "the last picture is $(e2e_keep_picture "$GAME_FOLDER/picture.png" "$what")"
}

# The pixels of the window meeting AREA differ from the checksum BEFORE (AREA_CHANGED=1),
# or the game has ended.
e2e_area_changed_or_end() {
    local window=$1 what=$2 area=$3 before=$4
    e2e_shot "$window" "$what"
    [ "$(e2e_area_sum "$GAME_FOLDER/picture.png" "$area")" = "$before" ] || { AREA_CHANGED=1; return 0; }
    e2e_game_ended
}

# e2e_frame_sum WINDOW WHAT: a checksum of the window's picture, kept in
# GAME_FOLDER/frames.xwd (xwd's own form: quicker than a PNG, and enough to compare).
e2e_frame_sum() {
    xwd -silent -id "$1" -out "$GAME_FOLDER/frames.xwd" || e2e_fail "$2: no picture of the window"
    md5sum <"$GAME_FOLDER/frames.xwd"
}

# The window's picture differs from the last one taken (one more in FRAME_CHANGES), and
# FRAME_CHANGES has reached NEEDED; or the game has ended.
e2e_frames_counted_or_end() {
    local now
    now=$(e2e_frame_sum "$1" "$2") || exit 1
    [ "$now" = "$FRAME_LAST" ] || FRAME_CHANGES=$((FRAME_CHANGES + 1))
    FRAME_LAST=$now
    [ "$FRAME_CHANGES" -ge "$3" ] || e2e_game_ended
}

# e2e_frames_pass WINDOW WHAT SECONDS: waits until the game has drawn frames whose frame
# times add up to more than SECONDS, so that a key countdown of SECONDS armed before
# has run out; the window must show something that moves on every frame. A frame's
# time is the real time since the frame before, but at most 0.1 s, and the countdowns
# run down only by it, so a slow machine stretches them: they are counted here in the
# frames seen, not waited for by the clock. Pictures are taken at least 0.1 s apart
# (e2e_until's pause); each one that differs from the one before shows a frame drawn
# after that one was taken, so across every two such changes the frames drawn span
# more than 0.1 s of real time and add at least 0.1 s of frame time. Two changes for
# each tenth of SECONDS and two more, for the frame time lost between the pictures and
# the frames.
e2e_frames_pass() {
    local window=$1 what=$2 needed
    needed=$(awk -v s="$3" 'BEGIN { t = s * 10; n = int(t); if (n < t) n++; print 2 * (n + 1) }')
    FRAME_LAST=$(e2e_frame_sum "$window" "$what") || exit 1
    FRAME_CHANGES=0
    sleep 0.1
    e2e_until 60 e2e_frames_counted_or_end "$window" "$what" "$needed"
    if [ "$FRAME_CHANGES" -lt "$needed" ]; then
        convert "xwd:$GAME_FOLDER/frames.xwd" "$GAME_FOLDER/frames.png"
        e2e_fail "$what: $FRAME_CHANGES new frames seen of the $needed that let $3 s of frame time pass;" \
            "the last picture is $(e2e_keep_picture "$GAME_FOLDER/frames.png" "$what")"
    fi
}

# e2e_key_shows WINDOW WHAT AREA REPEAT KEY: presses KEY, waits until the pixels of the
# window meeting AREA (see e2e_area_sum) change, and then until REPEAT seconds of frame
# time have passed (e2e_frames_pass): the key countdown that the press armed has then
# run out, and the next press cannot be swallowed by it. Fails naming WHAT, with the
# last picture kept, when AREA does not change: the press was lost.
e2e_key_shows() {
    local window=$1 what=$2 area=$3 repeat=$4 key=$5 before seconds=60
    e2e_shot "$window" "$what"
    before=$(e2e_area_sum "$GAME_FOLDER/picture.png" "$area")
    e2e_key "$window" "$key"
    AREA_CHANGED=
    e2e_until "$seconds" e2e_area_changed_or_end "$window" "$what" "$area" "$before"
    [ -n "$AREA_CHANGED" ] ||
        e2e_fail "$what: $key changed nothing where it shows within $seconds s;" \
            "the last picture is $(e2e_keep_picture "$GAME_FOLDER/picture.png" "$what")"
    e2e_frames_pass "$window" "$what" "$repeat"
}
