#!/usr/bin/env bash
# Installs what building, playing and testing need, when it is missing.
set -euo pipefail

packages=(cmake g++ libgtest-dev libbenchmark-dev qt6-base-dev libxcb1-dev fonts-ipafont-mincho xvfb xauth x11-utils openbox
          strace time locales)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests check numbers under a locale that writes a decimal comma.
if ! locale -a 2>/dev/null | grep -qx 'de_DE.utf8'; then
  echo "Making the locale de_DE.UTF-8"
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
