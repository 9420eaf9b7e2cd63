#!/usr/bin/env bash
# Installs what building, playing and testing need, when it is missing.
set -euo pipefail

packages=(cmake g++ libgtest-dev libbenchmark-dev qt6-base-dev fonts-ipafont-mincho xvfb xauth strace time)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
