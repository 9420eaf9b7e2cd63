#!/usr/bin/env bash
# Builds everything and runs every test: offscreen, on X servers of their own
# (one Xvfb per test), and all of it again under the address and
# undefined-behaviour sanitizers. The sanitizer build's tests, the slowest,
# start as soon as it is built and run while the plain build builds and tests.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKARUTA_SANITIZE=ON >/dev/null
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-sanitize -j"$jobs"

logs=$(mktemp -d)
sanitize=
trap '[ -n "$sanitize" ] && kill "$sanitize" 2>/dev/null; rm -rf "$logs"' EXIT
echo "== running the sanitizer build's tests while the plain build builds"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs" >"$logs/sanitize" 2>&1 &
sanitize=$!
status=0
cmake --build build -j"$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs" || status=1
wait "$sanitize" || status=1
sanitize=
echo "== tests, sanitizers"
cat "$logs/sanitize"
exit "$status"
