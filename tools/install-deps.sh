#!/usr/bin/env bash
# Installs what building, playing and testing need, when it is missing; with
# --tests also the locale the tests use. Root installs with apt-get, another
# user through sudo where there is one; otherwise nothing is touched and one
# line says what to run as root.
set -euo pipefail

packages=(cmake g++ libgtest-dev libbenchmark-dev qt6-base-dev qt6-translations-l10n libxcb1-dev
          fonts-ipafont-mincho xvfb xauth x11-utils openbox strace time locales)
test_locale=de_DE.UTF-8  # writes a decimal comma

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
need_locale=no
if [ "${1-}" = --tests ] && ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
  need_locale=yes
fi
[ "${#missing[@]}" -eq 0 ] && [ "$need_locale" = no ] && exit 0

install_command="apt-get install --no-install-recommends ${missing[*]}"
locale_command="localedef -i de_DE -f UTF-8 $test_locale"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  commands=()
  [ "${#missing[@]}" -gt 0 ] && commands+=("$install_command")
  [ "$need_locale" = yes ] && commands+=("$locale_command")
  what="${missing[*]}"
  [ "$need_locale" = yes ] && what="${what:+$what and }the locale $test_locale"
  joined=$(printf ' && %s' "${commands[@]}")
  echo "Missing $what; run as root: ${joined:4}" >&2
  exit 1
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ "$need_locale" = yes ]; then
  echo "Making the locale $test_locale"
  "${as_root[@]}" localedef -i de_DE -f UTF-8 "$test_locale"
fi
