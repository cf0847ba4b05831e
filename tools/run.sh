#!/usr/bin/env bash
# Installs what is missing, builds OrvekAnalysis and starts it in a working folder that holds a
# copy of the sample catalogue (ORVEK_Input.txt); ORVEK_result.txt is written there too.
# The folder is ~/OrvekAnalysis unless ORVEK_WORKDIR names another.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" g++ make cmake qt6-base-dev qt6-svg-dev libbenchmark-dev fonts-dejavu-core fonts-liberation
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" --parallel "$(nproc)" --target OrvekAnalysis orvek-batch
workdir="${ORVEK_WORKDIR:-$HOME/OrvekAnalysis}"
mkdir -p "$workdir"
[ -e "$workdir/ORVEK_Input.txt" ] || cp "$root/data/ORVEK_Input.txt" "$workdir/"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: start it under a virtual X server with 'xvfb-run -a $0' (apt-get install xvfb)."
  exit 1
fi
cd "$workdir"
echo "Starting OrvekAnalysis in $workdir"
exec "$root/build/app/OrvekAnalysis"
