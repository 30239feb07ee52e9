#!/usr/bin/env bash
# Installs what is missing, builds the demo, and starts it in a window:
#   bash scripts/run-demo.sh        the English edition
#   bash scripts/run-demo.sh tr     the Turkish edition
# With no display to open a window on, it plays the demo on a virtual display
# for about ten seconds instead and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

edition=${1:-en}
case $edition in
en | tr) ;;
*)
    echo "usage: bash scripts/run-demo.sh [en|tr]" >&2
    exit 2
    ;;
esac
program=glass_scroller_$edition

bash scripts/install-deps.sh
cmake -S . -B build -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" >/dev/null

if [ -z "${SDL_AUDIODRIVER:-}" ] && ! ls /dev/snd/pcm* >/dev/null 2>&1; then
    echo "No sound device found: playing silently (SDL_AUDIODRIVER=dummy)."
    export SDL_AUDIODRIVER=dummy
fi

cd build
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    exec "./$program" w
fi

echo "No display found: running the demo on a virtual display for ten seconds instead."
source "$root/tests/e2e/virtual_display.sh"
start_virtual_display
trap stop_virtual_display EXIT
export SDL_VIDEODRIVER=x11
"./$program" w &
pid=$!
shots=$root/build/screenshots
mkdir -p "$shots"
rm -f "$shots"/*.png
window=$(find_demo_window) || { echo "The demo's window did not appear." >&2; exit 1; }
for second in 2 4 6 8 10; do
    sleep 2
    import -window root -crop 800x600+0+0 "$shots/$program-$(printf %02d "$second")s.png"
done
xdotool windowfocus "$window" key Escape
status=0
wait "$pid" || status=$?
echo "The demo ended with status $status. Screenshots are in $shots:"
ls "$shots"
exit "$status"
