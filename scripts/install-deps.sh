#!/usr/bin/env bash
# Installs, through apt-get, whichever of the packages needed to build and run
# the demo (and, with --tests, its tests) are missing. Needs root or sudo.
set -euo pipefail

packages=(g++ cmake make pkg-config
          libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev
          fonts-liberation xvfb x11-xkb-utils xauth xdotool imagemagick)
if [ "${1:-}" = "--tests" ]; then
    packages+=(libgtest-dev libbenchmark-dev libx11-dev)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
