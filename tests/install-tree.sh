#!/usr/bin/env bash
# Builds the game alone and installs it as a packager does, with absolute
# install folders, then removes the build tree: what is left must run alone.
#   install-tree.sh <source folder> <work folder> [build jobs]
set -euo pipefail
source=$1
work=$2
jobs=${3:-$(nproc)}
rm -rf "$work"
mkdir -p "$work"
cmake -S "$source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$work/usr" \
  -DCMAKE_INSTALL_BINDIR="$work/usr/games" -DCMAKE_INSTALL_DATADIR="$work/usr/share/games" >/dev/null
cmake --build "$work/build" -j"$jobs" --target karuta >/dev/null
cmake --install "$work/build" >/dev/null
rm -rf "$work/build"
test -x "$work/usr/games/karuta"
test -f "$work/usr/share/games/karuta/resources/Green.png"
