#!/usr/bin/env bash
# Hunts tests that fail only sometimes: builds both trees as tools/test.sh
# does, then runs both trees' whole suites at the same time, round after
# round, optionally beside busy loops, and prints each round's failed tests
# with the first line of their failure.
#   tools/flake-hunt.sh [--busy N] [--jobs N] [rounds]
# rounds: 4 by default; --busy N: N busy loops beside the suites (0);
# --jobs N: ctest's -j in each tree (the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."

busy=0
jobs=$(nproc)
while [ $# -gt 0 ]; do
  case $1 in
    --busy) busy=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
    *) break ;;
  esac
done
rounds=${1:-4}

tools/install-deps.sh --tests
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKARUTA_SANITIZE=ON >/dev/null
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-sanitize -j"$(nproc)" >/dev/null
cmake --build build -j"$(nproc)" >/dev/null

logs=$(mktemp -d)
loops=()
stop() {
  [ ${#loops[@]} -gt 0 ] && kill "${loops[@]}" 2>/dev/null
  rm -rf "$logs"
}
trap stop EXIT
for _ in $(seq "$busy"); do
  (while :; do :; done) &
  loops+=($!)
done

# The failed tests of a ctest log, each with the first line of its output
# that tells why.
failures() {
  awk '
    /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {
      name = $0; sub(/^.*Test +#[0-9]+: /, "", name); sub(/ .*/, "", name)
      failed = $0 !~ /(Passed|Not Run|Skipped)/
      if (failed) { order[++count] = name; why[name] = "" }
      current = failed ? name : ""
      next
    }
    current != "" && why[current] == "" &&
      /Failure|FAILED|ERROR|SEGV|Segmentation|Timeout|stalled|never|did not|still|error:|what\(\)/ {
      line = $0; gsub(/^[ \t]+/, "", line); why[current] = line
    }
    END { for (i = 1; i <= count; ++i) printf "  %s: %s\n", order[i], why[order[i]] == "" ? "(no line)" : why[order[i]] }
  ' "$1"
}

total=0
for round in $(seq "$rounds"); do
  start=$(date +%s)
  ctest --test-dir build --output-on-failure -j"$jobs" >"$logs/plain" 2>&1 &
  plain=$!
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs" >"$logs/sanitize" 2>&1 &
  sanitize=$!
  wait "$plain" || true
  wait "$sanitize" || true
  found=0
  for tree in plain sanitize; do
    lines=$(failures "$logs/$tree")
    [ -z "$lines" ] && continue
    found=$((found + $(printf '%s\n' "$lines" | wc -l)))
    echo "round $round, $tree tree:"
    printf '%s\n' "$lines"
  done
  total=$((total + found))
  echo "round $round: $found failed, $(( $(date +%s) - start )) s"
done
echo "$rounds rounds beside $busy busy loops: $total failed"
[ "$total" = 0 ]
