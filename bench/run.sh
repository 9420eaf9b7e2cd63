#!/usr/bin/env bash
# Builds the benchmarks (RelWithDebInfo) and runs them, printing every figure
# as median and range (min-max) with its target.
#   bench/run.sh [handlers] [startup] [cadence]     (default: all three)
# Environment: BUILD_DIR (default build-bench), STARTUP_RUNS (20),
# CADENCE_TICKS (300, about five minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C

build=${BUILD_DIR:-build-bench}
startup_runs=${STARTUP_RUNS:-20}
cadence_ticks=${CADENCE_TICKS:-300}
sections=("$@")
[ "${#sections[@]}" -gt 0 ] || sections=(handlers startup cadence)


# Median and range of the numbers on stdin: "median (min-max)".
stats() {
  sort -g | awk -v f="${1:-%.1f}" '{ v[NR] = $1 }
    END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf f " (" f "-" f ")", m, v[1], v[NR] }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

run_handlers() {
  echo "== Handler costs (offscreen, fake clock; each call timed alone, 10 repetitions)"
  local csv=$out/handlers.csv
  QT_QPA_PLATFORM=offscreen "$build/bin/handlers_bench" --benchmark_min_time=0.05 --benchmark_repetitions=10 \
    --benchmark_report_aggregates_only=true --benchmark_out="$csv" --benchmark_out_format=csv \
    >"$out/handlers.txt" 2>"$out/handlers.log"
  # name target_us description
  while read -r name target label; do
    awk -F, -v name="$name" -v target="$target" -v label="$label" '
      $1 == "\"" name "/manual_time_median\"" { m = $3 }
      $1 == "\"" name "/manual_time_min\"" { lo = $3 }
      $1 == "\"" name "/manual_time_max\"" { hi = $3; wmax = $NF }
      END {
        gsub(/_/, " ", label)
        printf "%-36s median %7.1f us (%.1f-%.1f), slowest call %.0f us", label, m, lo, hi, wmax
        if (target > 0) printf "; target < %g us: %s", target, (m < target ? "met" : "NOT met")
        printf "\n"
      }' "$csv"
  done <<'EOF'
StartPress 1000 Start_press,_cached_pictures
FirstStartPress 10000 First_Start_(10_pictures_opened)
RevealTick 100 Timer_tick_during_a_reveal
CardClick 500 Card_click_(right_card,_rounds_1-9)
LastCardClick 500 Card_click_ending_the_game
RepaintAfterStart 0 Queued_repaint_after_a_Start
EOF
  echo "(median and range of the 10 repetition means; full output in $out/handlers.txt)"
}

# One platform's start-up runs: wall time and peak RSS, game against floor.
startup_on() {
  local platform=$1 runs=$out/startup_$1.txt
  if [ "$platform" = xcb ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
      bench/startup_times.sh "$startup_runs" "$build/bin/startup_probe" "$build/bin/bare_window_probe" >"$runs"
  else
    QT_QPA_PLATFORM=offscreen \
      bench/startup_times.sh "$startup_runs" "$build/bin/startup_probe" "$build/bin/bare_window_probe" >"$runs"
  fi
  local game_wall bare_wall game_rss bare_rss
  game_wall=$(awk '$1 == "startup_probe" { print $2 }' "$runs" | median)
  bare_wall=$(awk '$1 == "bare_window_probe" { print $2 }' "$runs" | median)
  game_rss=$(awk '$1 == "startup_probe" { print $3 }' "$runs" | median)
  bare_rss=$(awk '$1 == "bare_window_probe" { print $3 }' "$runs" | median)
  echo "-- $platform, $startup_runs runs each, alternating"
  echo "   wall ms   game $(awk '$1 == "startup_probe" { print $2 }' "$runs" | stats)," \
    "bare window $(awk '$1 == "bare_window_probe" { print $2 }' "$runs" | stats)"
  echo "   peak RSS KiB   game $(awk '$1 == "startup_probe" { print $3 }' "$runs" | stats %.0f)," \
    "bare window $(awk '$1 == "bare_window_probe" { print $3 }' "$runs" | stats %.0f)"
  awk -v g="$game_wall" -v b="$bare_wall" 'BEGIN {
    printf "   wall: game/bare %.2fx; target <= 1.2x: %s\n", g / b, (g <= 1.2 * b ? "met" : "NOT met") }'
  # At start the game holds one decoded picture: Green, shared by all twenty canvases.
  awk -v g="$game_rss" -v b="$bare_rss" -v pictures="$picture_kib" 'BEGIN {
    limit = 1.2 * b + pictures
    printf "   RSS: game %.0f KiB, limit 1.2 x %.0f + %.0f (pictures) = %.0f KiB (game/bare %.2fx); %s\n",
      g, b, pictures, limit, g / b, (g <= limit ? "met" : "NOT met") }'
}

run_startup() {
  echo "== Start-up to the first painted frame, whole processes"
  startup_on xcb
  startup_on offscreen
}

run_cadence() {
  echo "== Reveal cadence (offscreen, system clock, real 1000 ms timer, $cadence_ticks ticks)"
  QT_QPA_PLATFORM=offscreen "$build/bin/cadence_probe" "$cadence_ticks" >"$out/cadence.txt" 2>"$out/cadence.log"
  cat "$out/cadence.txt"
}

tools/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target handlers_bench startup_probe bare_window_probe cadence_probe >/dev/null

out=$build/bench-results
mkdir -p "$out"
picture_kib=$(awk 'BEGIN { print 140 * 320 * 4 / 1024 }')
echo "Conditions: $(nproc) CPUs, $(uname -r), Qt $(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null)," \
  "load average $(cut -d' ' -f1-3 /proc/loadavg); $(date -u +%Y-%m-%dT%H:%MZ)"
for section in "${sections[@]}"; do
  case $section in
    handlers) run_handlers ;;
    startup) run_startup ;;
    cadence) run_cadence ;;
    *) echo "unknown section $section (handlers, startup, cadence)" >&2; exit 2 ;;
  esac
done
