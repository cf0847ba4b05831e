#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages named as arguments when any of them is missing, showing apt's
# progress. Runs apt-get directly as root, through sudo otherwise; without root and without sudo
# it prints the one command to run and stops.
set -euo pipefail
missing=()
for package in "$@"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

command=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -eq 0 ]; then
  as_root=(env DEBIAN_FRONTEND=noninteractive)
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo env DEBIAN_FRONTEND=noninteractive)
else
  echo "Missing packages: ${missing[*]}. Install them as root, then run this again:"
  echo "  apt-get update && ${command[*]}"
  exit 1
fi
echo "Installing missing packages: ${missing[*]}"
"${as_root[@]}" apt-get update
"${as_root[@]}" "${command[@]}"
