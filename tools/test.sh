#!/usr/bin/env bash
# Builds everything and runs every test: offscreen, on X servers of their own
# (one Xvfb per test), and all of it again under the address and
# undefined-behaviour sanitizers. The two builds' tests run side by side.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKARUTA_SANITIZE=ON >/dev/null
cmake --build build -j"$jobs"
cmake --build build-sanitize -j"$jobs"

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
echo "== running the tests of both builds"
ctest --test-dir build --output-on-failure -j"$jobs" >"$logs/plain" 2>&1 &
plain=$!
ctest --test-dir build-sanitize --output-on-failure -j"$jobs" >"$logs/sanitize" 2>&1 &
sanitize=$!
status=0
wait "$plain" || status=1
wait "$sanitize" || status=1
echo "== tests"
cat "$logs/plain"
echo "== tests, sanitizers"
cat "$logs/sanitize"
exit "$status"
