#!/usr/bin/env bash
# tools/install-deps.sh as root, as a user with sudo and as a user without,
# against stand-ins for id, dpkg-query, apt-get, sudo, locale and localedef
# that log what they are asked to do.
set -u
script=$(cd "$(dirname "$0")/.." && pwd)/tools/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The stand-ins, and of the real tools only what the script uses besides them.
mkdir "$work/bin"
for tool in bash env grep printf; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
stub() { printf '#!/bin/bash\n%s\n' "$2" >"$work/bin/$1"; chmod +x "$work/bin/$1"; }
stub id '[ "$1" = -u ] && echo "$FAKE_UID"'
stub dpkg-query 'for p in $FAKE_MISSING; do [ "$p" = "${@: -1}" ] && exit 1; done; printf "install ok installed"'
stub apt-get 'echo "${AS:-$(id -u)} apt-get $*" >>"$LOG"
[ "${AS:-$FAKE_UID}" = 0 ] || { echo "E: Could not open lock file - open (13: Permission denied), are you root?"; exit 100; }'
stub localedef 'echo "${AS:-$(id -u)} localedef $*" >>"$LOG"'
stub locale 'echo C; echo POSIX; [ -n "${FAKE_LOCALE-}" ] && echo de_DE.utf8; true'
stub sudo-present 'AS=0 exec "$@"'

passes=0
failures=0
# name | uid | sudo | missing packages | locale present | argument | exit | log | output
check() {
  local name=$1 uid=$2 sudo=$3 missing=$4 locale=$5 argument=$6 expected_status=$7 expected_log=$8 expected_output=$9
  rm -f "$work/bin/sudo" "$work/log"
  touch "$work/log"
  [ "$sudo" = yes ] && cp "$work/bin/sudo-present" "$work/bin/sudo"
  output=$(PATH="$work/bin" LOG="$work/log" FAKE_UID=$uid FAKE_MISSING=$missing FAKE_LOCALE=$locale \
    "$work/bin/bash" "$script" $argument 2>&1)
  status=$?
  log=$(cat "$work/log")
  local problems=()
  [ "$status" = "$expected_status" ] || problems+=("exit $status, expected $expected_status")
  [ "$log" = "$expected_log" ] || problems+=("ran [$log], expected [$expected_log]")
  [[ "$output" == $expected_output ]] || problems+=("said [$output], expected [$expected_output]")
  if [ "${#problems[@]}" -eq 0 ]; then
    passes=$((passes + 1))
    echo "ok: $name"
  else
    failures=$((failures + 1))
    echo "FAILED: $name"
    printf '  %s\n' "${problems[@]}"
  fi
}

installs=$'0 apt-get update\n0 apt-get install -y --no-install-recommends cmake xvfb'
check "root installs what is missing" 0 no "cmake xvfb" yes "" 0 "$installs" "Installing: cmake xvfb*"
check "a user with sudo installs through it" 1000 yes "cmake xvfb" yes "" 0 "$installs" "Installing: cmake xvfb*"
check "a user without sudo is told what to run" 1000 no "cmake xvfb" yes "" 1 "" \
  "Missing cmake xvfb; run as root: apt-get install --no-install-recommends cmake xvfb"
check "nothing missing, nothing done" 1000 no "" yes "--tests" 0 "" ""
check "root makes the tests' locale" 0 no "" "" "--tests" 0 "0 localedef -i de_DE -f UTF-8 de_DE.UTF-8" \
  "Making the locale de_DE.UTF-8"
check "the game alone needs no test locale" 1000 no "" "" "" 0 "" ""
check "a user without sudo is told how to make the locale too" 1000 no "cmake" "" "--tests" 1 "" \
  "Missing cmake and the locale de_DE.UTF-8; run as root: apt-get install --no-install-recommends cmake && localedef -i de_DE -f UTF-8 de_DE.UTF-8"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
