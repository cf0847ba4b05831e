#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds OrvekAnalysis and starts it through the same launcher the
# installed desktop entry uses (packaging/orvek-analysis): in the working folder ORVEK_WORKDIR,
# else <documents folder>/OrvekAnalysis, else ~/OrvekAnalysis, with a copy of the sample
# catalogue put there the first time. ORVEK_result.txt is written there too.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" g++ make cmake qt6-base-dev qt6-svg-dev libbenchmark-dev libsleef-dev fonts-dejavu-core \
  fonts-liberation
# The configurations are CMakePresets.json's (cmake --list-presets); ccache is used when installed.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
cmake -S "$root" --preset app >/dev/null
cmake --build "$root/build" --parallel "$(nproc)" --target OrvekAnalysis orvek-batch
exec "$root/packaging/orvek-analysis" --program "$root/build/app/OrvekAnalysis" --sample "$root/data/ORVEK_Input.txt" "$@"
