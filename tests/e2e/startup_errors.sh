#!/usr/bin/env bash
# The real programs with data files missing or broken: the first file that
# cannot be loaded, in start-up order, names itself on standard error and
# the program ends with status 1.
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
failures=0

# expect NAME PROGRAM STATUS EXPECTED_STDERR
expect() {
    local name=$1 program=$2 status=$3 wanted=$4 got code
    got=$(cd "$work" && timeout 20 "$build/$program" w 2>&1 >/dev/null)
    code=$?
    if [ "$code" != "$status" ] || [ "$got" != "$wanted" ]; then
        echo "FAIL $program, $name: expected status $status and stderr '$wanted', got status $code and stderr '$got'"
        failures=$((failures + 1))
    else
        echo "ok   $program, $name"
    fi
}

files=(zak.dat bigFont.ttf glass.dat glass2.dat glass3.dat)
lines=("Music load error! File: res/zak.dat"
       "Font load failed! : res/bigFont.ttf"
       "Image load error!  File: res/glass.dat"
       "Image load error!  File: res/glass2.dat"
       "Image load error!  File: res/glass3.dat")

for program in glass_scroller_en glass_scroller_tr; do
    for i in "${!files[@]}"; do
        # The file and every one after it are missing: the earliest is reported.
        rm -rf "$work/res" && cp -r "$build/res" "$work/res"
        for later in "${files[@]:$i}"; do
            rm -f "$work/res/$later"
        done
        expect "missing ${files[$i]} and later files" "$program" 1 "${lines[$i]}"

        # Present but empty.
        rm -rf "$work/res" && cp -r "$build/res" "$work/res"
        : > "$work/res/${files[$i]}"
        expect "empty ${files[$i]}" "$program" 1 "${lines[$i]}"
    done
done

rm -rf "$work/res"
expect "no res folder at all" glass_scroller_en 1 "${lines[0]}"

echo "$failures failures"
[ "$failures" -eq 0 ]
