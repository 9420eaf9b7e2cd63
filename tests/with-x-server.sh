#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb), so that no other process
# can hold the keyboard focus it needs. With --wm a window manager runs there
# too. Exits 77, which ctest counts as skipped, when a program is missing.
#   with-x-server.sh [--wm] command [argument...]
set -u

wm=no
if [ "${1-}" = --wm ]; then
  wm=yes
  shift
fi

skip() {
  echo "skipped: $1"
  exit 77
}
command -v Xvfb >/dev/null || skip "Xvfb is not installed (apt-get install xvfb)"
if [ "$wm" = yes ]; then
  command -v openbox >/dev/null || skip "openbox is not installed (apt-get install openbox)"
  command -v xprop >/dev/null || skip "xprop is not installed (apt-get install x11-utils)"
fi

folder=$(mktemp -d)
server=
manager=
command=
cleanup() {
  [ -n "$command" ] && kill "$command" 2>/dev/null
  [ -n "$manager" ] && kill "$manager" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# Within a minute, or not at all: up to dozens of servers start at once on a
# loaded machine.
await() {
  local what=$1
  shift
  for _ in $(seq 1200); do
    "$@" && return 0
    sleep 0.05
  done
  echo "with-x-server: $what" >&2
  cat "$folder/log" >&2
  exit 1
}

# -displayfd takes the first free display number and writes it when ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" 2>"$folder/log" &
server=$!
await "the X server did not start" test -s "$folder/display"
export DISPLAY=":$(head -n 1 "$folder/display")"

if [ "$wm" = yes ]; then
  openbox --sm-disable >>"$folder/log" 2>&1 &
  manager=$!
  await "the window manager did not start" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
fi

# In the background, so that a signal to this script ends the command too.
"$@" &
command=$!
wait "$command"
status=$?
command=
exit "$status"
