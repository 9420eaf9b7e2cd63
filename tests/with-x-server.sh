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
command -v xprop >/dev/null || skip "xprop is not installed (apt-get install x11-utils)"
if [ "$wm" = yes ]; then
  command -v openbox >/dev/null || skip "openbox is not installed (apt-get install openbox)"
fi

folder=$(mktemp -d)
server=
manager=
started=
command=
cleanup() {
  [ -n "$command" ] && kill "$command" 2>/dev/null
  [ -n "$manager" ] && kill "$manager" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$folder"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# Waits for the command to succeed while the process lives: 0 once it does,
# 1 when the process died, 2 after a minute. Up to dozens of servers start at
# once on a loaded machine.
await() {
  local process=$1
  shift
  for _ in $(seq 1200); do
    "$@" >/dev/null 2>&1 && return 0
    kill -0 "$process" 2>/dev/null || return 1
    sleep 0.05
  done
  return 2
}

# Servers starting at once can collide on a display number, so a program
# that dies or never gets ready is started again, a few times. The starter
# leaves the process it started in `started`.
three_tries() {
  for _ in 1 2 3; do
    "$@" && return 0
    kill "$started" 2>/dev/null
    wait "$started" 2>/dev/null
  done
  return 1
}

# The X server, ready once it answers; -displayfd takes the first free
# display number and writes it when ready.
try_server() {
  : >"$folder/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$folder/display" 2>>"$folder/log" &
  started=$!
  server=$started
  await "$server" test -s "$folder/display" || return 1
  export DISPLAY=":$(head -n 1 "$folder/display")"
  await "$server" xprop -root
}

try_manager() {
  openbox --sm-disable >>"$folder/log" 2>&1 &
  started=$!
  manager=$started
  await "$manager" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

fail() {
  echo "with-x-server: $1" >&2
  cat "$folder/log" >&2
  exit 1
}

three_tries try_server || fail "the X server did not start"
if [ "$wm" = yes ]; then
  three_tries try_manager || fail "the window manager did not start"
fi

# In the background, so that a signal to this script ends the command too.
"$@" &
command=$!
wait "$command"
status=$?
command=
exit "$status"
