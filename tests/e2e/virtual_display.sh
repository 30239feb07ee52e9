# Starts Xvfb on a free display number and points DISPLAY at it; stop with
# stop_virtual_display. Sourced by the end-to-end tests and the demo runner.

start_virtual_display() {
    local n
    for n in $(seq 90 250); do
        [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
        Xvfb ":${n}" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        VIRTUAL_DISPLAY_PID=$!
        export DISPLAY=":${n}"
        local tries
        for tries in $(seq 1 50); do
            if xdotool getdisplaygeometry >/dev/null 2>&1; then
                return 0
            fi
            if ! kill -0 "$VIRTUAL_DISPLAY_PID" 2>/dev/null; then
                break # lost the race for this number; try the next
            fi
            sleep 0.1
        done
        kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null
        wait "$VIRTUAL_DISPLAY_PID" 2>/dev/null
    done
    echo "could not start a virtual display (is xvfb installed?)" >&2
    return 1
}

stop_virtual_display() {
    if [ -n "${VIRTUAL_DISPLAY_PID:-}" ]; then
        kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null
        wait "$VIRTUAL_DISPLAY_PID" 2>/dev/null
        VIRTUAL_DISPLAY_PID=
    fi
}

# Waits up to thirty seconds for the demo's window; prints its id.
find_demo_window() {
    local tries id
    for tries in $(seq 1 300); do
        id=$(xdotool search --name '^\.:Zorv scroll by Quillane:\. 7\.7\.2007$' 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}
