#!/usr/bin/env bash
# Builds everything and runs every test: offscreen, on X servers of their own
# (one Xvfb per test), and all of it again under the address and
# undefined-behaviour sanitizers. The sanitizer build's tests, the slowest,
# start as soon as it is built and run on half the cores while the plain
# build builds and tests on the other half, so that the run never asks for
# more cores than the machine has.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)
half=$((jobs > 1 ? jobs / 2 : 1))

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKARUTA_SANITIZE=ON >/dev/null
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-sanitize -j"$jobs"

logs=$(mktemp -d)
sanitize=
trap '[ -n "$sanitize" ] && kill "$sanitize" 2>/dev/null; rm -rf "$logs"' EXIT
echo "== running the sanitizer build's tests while the plain build builds"
ctest --test-dir build-sanitize --output-on-failure -j"$half" >"$logs/sanitize" 2>&1 &
sanitize=$!
status=0
cmake --build build -j"$half"
echo "== tests"
ctest --test-dir build --output-on-failure -j"$half" || status=1
wait "$sanitize" || status=1
sanitize=
echo "== tests, sanitizers"
cat "$logs/sanitize"
exit "$status"
