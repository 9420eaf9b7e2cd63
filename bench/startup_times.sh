#!/usr/bin/env bash
# Runs programs alternately as whole processes, each RUNS times for wall time
# and RUNS times under /usr/bin/time for peak RSS, after one discarded warm-up
# run each. Prints one line per run: program, wall ms, peak RSS KiB.
#   startup_times.sh RUNS PROGRAM...
set -euo pipefail
export LC_ALL=C
runs=$1
shift
rss=$(mktemp)
trap 'rm -f "$rss"' EXIT

fail() {
  echo "$1 failed on ${QT_QPA_PLATFORM:-the default platform}" >&2
  exit 1
}

for program in "$@"; do "$program" >/dev/null 2>&1 || fail "$program"; done
for ((i = 0; i < runs; i++)); do
  for program in "$@"; do
    start=$EPOCHREALTIME
    "$program" >/dev/null 2>&1 || fail "$program"
    end=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$rss" "$program" >/dev/null 2>&1 || fail "$program"
    awk -v p="$(basename "$program")" -v s="$start" -v e="$end" -v r="$(cat "$rss")" \
      'BEGIN { printf "%s %.2f %d\n", p, (e - s) * 1000, r }'
  done
done
