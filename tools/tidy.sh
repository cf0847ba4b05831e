#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy on the project's own sources (not the generated
# ones) of a configured build folder. Usage: tools/tidy.sh [BUILD_DIR]   (default: build)
# Exits non-zero when clang-tidy reports anything.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
"$root/tools/install-packages.sh" clang-tidy
# The developers' configuration (preset dev) writes compile_commands.json.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
cmake -S "$root" --preset dev -B "$build" >/dev/null
files=$(cd "$root" && git ls-files 'solver/*.cpp' 'export/*.cpp' 'case/*.cpp' 'cli/*.cpp' 'app/*.cpp' 'python/*.cpp' | sed "s|^|$root/|")
log="$(mktemp)"
# shellcheck disable=SC2086
run-clang-tidy -quiet -p "$build" -j "$(nproc)" $files >"$log" 2>&1 || true
findings=$(grep -E '(warning|error):' "$log" | sed 's/\x1b\[[0-9;]*m//g' | sort -u || true)
rm -f "$log"
if [ -n "$findings" ]; then
  echo "$findings"
  echo "clang-tidy: $(echo "$findings" | wc -l) finding(s)"
  exit 1
fi
echo "clang-tidy: no findings in $(echo "$files" | wc -w) files"
