#!/bin/bash
# Installs what building and testing need, when it is missing (Debian, as
# root). Safe to run again: it installs only what is not there.
set -euo pipefail

packages=(
  cmake make g++ googletest clang-14
  wine wine64 fonts-wine g++-mingw-w64-x86-64-posix mingw-w64-tools
  xvfb xauth x11-utils imagemagick attr
  mariadb-server mariadb-client
  nsis zip unzip
)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
