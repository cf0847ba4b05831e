#!/usr/bin/env bash
# Builds the project instrumented for coverage, runs the tests and prints gcovr's report: one line
# per source file and the totals of each folder (solver, export, case, cli, app).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" gcovr
build="$root/build-coverage"
export QT_QPA_PLATFORM=offscreen
# The configurations are CMakePresets.json's (cmake --list-presets); ccache is used when installed.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
cmake -S "$root" --preset coverage >/dev/null
find "$build" -name '*.gcda' -delete
cmake --build "$build" --parallel "$(nproc)"
ctest --test-dir "$build" --parallel "$(nproc)" >/dev/null || echo "(some tests failed in the coverage build)"
cd "$root"
gcovr --root "$root" --object-directory "$build" --filter 'solver/' --filter 'export/' --filter 'case/' \
  --filter 'cli/' --filter 'app/' --exclude '.*_autogen/.*' --print-summary
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
echo "Per folder:"
for folder in solver export case cli app; do
  printf '%-8s ' "$folder/"
  # The per-file report goes to a scratch file: gcovr replaces its output file, so it must never be
  # pointed at a device such as /dev/null.
  gcovr --root "$root" --object-directory "$build" --filter "$folder/" --exclude '.*_autogen/.*' --print-summary \
    --output "$scratch/$folder.txt" | grep -E '^lines' || echo "no data"
done
