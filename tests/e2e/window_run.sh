#!/usr/bin/env bash
# The real programs in a real window on a virtual display: the window's size
# and caption, a picture on it, and the three ways a run ends with status 0.
set -u
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/virtual_display.sh"
shots="$build/e2e-screenshots"
mkdir -p "$shots"
export SDL_VIDEODRIVER=x11
export SDL_AUDIODRIVER=dummy
failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

start_virtual_display || exit 1
trap stop_virtual_display EXIT

# run PROGRAM HOW: starts the program in a window, checks it, ends it by HOW
# (escape, close or sigterm) and checks that it ended cleanly.
run() {
    local program=$1 how=$2 pid window geometry name code errors
    errors=$(mktemp)
    (cd "$build" && exec "./$program" w 2>"$errors") &
    pid=$!
    if ! window=$(find_demo_window); then
        fail "$program: no window with the caption appeared; stderr: $(head -c 300 "$errors")"
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        return
    fi
    geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
    [ "$geometry" = "800x600" ] || fail "$program: expected an 800x600 window, got $geometry"
    name=$(xdotool getwindowname "$window")
    [ "$name" = ".:Zorv scroll by Quillane:. 7.7.2007" ] || fail "$program: caption '$name'"

    sleep 1.5
    import -window root -crop 800x600+0+0 "$shots/$program-$how.png" 2>/dev/null
    local lit
    lit=$(convert "$shots/$program-$how.png" -format '%[fx:mean>0.01]' info: 2>/dev/null)
    [ "$lit" = "1" ] || fail "$program: the window shows nothing ($shots/$program-$how.png)"

    case $how in
    escape)
        xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
        xdotool key Escape
        ;;
    close) "$build/close_window" "$window" ;;
    sigterm) kill -TERM "$pid" ;;
    esac
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        fail "$program: still running ten seconds after $how"
        kill -KILL "$pid"
    fi
    wait "$pid"
    code=$?
    [ "$code" = 0 ] || fail "$program: ended by $how with status $code"
    [ ! -s "$errors" ] || fail "$program: wrote to standard error: $(head -c 300 "$errors")"
    rm -f "$errors"
    echo "ran  $program, ended by $how"
}

# tinted_pixels SHOT: counts of blue, magenta and green pixels inside the band
# between the bars, and of tinted pixels outside it.
tinted_pixels() {
    convert "$1" -depth 8 txt:- | awk -F'[,:() ]+' '
        NR > 1 {
            y = $2; r = $3; g = $4; b = $5
            blue = b > r + 40 && b > g + 10
            magenta = r > g + 30 && b > g + 30
            green = g > r + 30 && g > b + 20
            if (y >= 124 && y <= 477) { nb += blue; nm += magenta; ng += green }
            else if (blue || magenta || green) { outside++ }
        }
        END { printf "%d %d %d %d\n", nb, nm, ng, outside }'
}

# look PROGRAM: once all three panes have slid in, two pictures a fraction of
# a second apart show them tinted, inside the band, and moving.
look() {
    local program=$1 pid window a b changed
    (cd "$build" && exec "./$program" w 2>/dev/null) &
    pid=$!
    if window=$(find_demo_window); then
        sleep 9 # the last pane needs about seven seconds to come in
        a="$shots/$program-panes-1.png"
        b="$shots/$program-panes-2.png"
        import -window root -crop 800x600+0+0 "$a" 2>/dev/null
        sleep 0.3
        import -window root -crop 800x600+0+0 "$b" 2>/dev/null
        read -r blue magenta green outside < <(tinted_pixels "$a")
        for count in "$blue" "$magenta" "$green"; do
            [ "$count" -gt 1500 ] || fail "$program: expected three tinted panes in the band, got blue $blue, magenta $magenta, green $green pixels ($a)"
        done
        [ "$outside" -lt 50 ] || fail "$program: $outside tinted pixels outside the band ($a)"
        changed=$(compare -metric AE "$a" "$b" null: 2>&1 | cut -d' ' -f1)
        [ "${changed%.*}" -gt 2000 ] || fail "$program: the picture hardly changed in 0.3 s ($changed pixels)"
        echo "saw  $program: panes blue $blue, magenta $magenta, green $green pixels; $changed pixels changed in 0.3 s"
    else
        fail "$program: no window with the caption appeared"
    fi
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

look glass_scroller_en
run glass_scroller_en escape
run glass_scroller_en close
run glass_scroller_en sigterm
run glass_scroller_tr escape

echo "$failures failures"
[ "$failures" -eq 0 ]
