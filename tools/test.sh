#!/usr/bin/env bash
# Builds everything and runs every test: offscreen, on a real X server
# (xvfb), and once more under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKARUTA_SANITIZE=ON >/dev/null
cmake --build build-sanitize -j"$jobs"

status=0
echo "== tests, offscreen"
ctest --test-dir build -LE xcb --output-on-failure -j"$jobs" || status=1
echo "== tests, on an X server"
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build -L xcb --output-on-failure -j"$jobs" || status=1
echo "== tests, sanitizers"
ctest --test-dir build-sanitize -LE xcb --output-on-failure -j"$jobs" || status=1
exit "$status"
