#!/usr/bin/env bash
# Installs what is missing, builds everything from scratch in build-tests/,
# and runs every test (headless; the window tests start their own Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --tests
rm -rf build-tests
cmake -S . -B build-tests -DBUILD_TESTING=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
cd build-tests
ctest --output-on-failure --no-tests=error
