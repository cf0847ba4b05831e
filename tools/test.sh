#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite twice: once as built for users, once under AddressSanitizer and UndefinedBehaviorSanitizer.
# Between the two: clang-tidy on the project's sources, the core built and tested without Qt
# Widgets, the core and the Python module under ThreadSanitizer, and the text readers fuzzed for
# about a minute when clang is available. With ORVEK_COVERAGE=1 it ends with a coverage build and
# gcovr's report per folder. The configurations are CMakePresets.json's.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" g++ make cmake qt6-base-dev libbenchmark-dev libsleef-dev fonts-dejavu-core fonts-liberation \
  clang-tidy
# Qt SVG draws the window's icon; the install check validates with desktop-file-utils, appstream, man-db.
"$root/tools/install-packages.sh" qt6-svg-dev desktop-file-utils appstream man-db
# The Python module, its tests and its example.
"$root/tools/install-packages.sh" pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen
# The configurations are CMakePresets.json's (cmake --list-presets); ccache is used when installed.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi

start=$(date +%s)
cmake -S "$root" --preset dev >/dev/null
cmake --build "$root/build" --parallel "$jobs"
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"
echo "Normal build and tests took $(( $(date +%s) - start )) s."

"$root/tools/tidy.sh" "$root/build"

# The core, orvek-batch and their tests need no Qt Widgets, no Google Benchmark and no display.
cmake -S "$root" --preset core >/dev/null
cmake --build "$root/build-core" --parallel "$jobs"
ctest --test-dir "$root/build-core" --output-on-failure --parallel "$jobs"

# The core, orvek-batch, the Python module and their tests again under ThreadSanitizer: the surface
# and flow work is shared among threads, and the module releases the GIL in its calls. The pytest
# suite runs too: Debian's python3 with the sanitizer's library preloaded (python/CMakeLists.txt).
# tools/tsan.supp names only the reports of Qt Test's own watchdog thread.
start=$(date +%s)
cmake -S "$root" --preset tsan >/dev/null
cmake --build "$root/build-tsan" --parallel "$jobs"
(cd "$root" && ctest --preset tsan --parallel "$jobs")
echo "ThreadSanitizer build and tests took $(( $(date +%s) - start )) s."

# The readers of untrusted text (catalogue, point file, typed numbers, strict numbers, compared files) under libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer, about 20 s each, from the seed corpus in fuzz/.
# New inputs go to a scratch folder, never into the repository.
"$root/tools/install-packages.sh" clang || echo "clang could not be installed: fuzzing skipped."
if command -v clang++ >/dev/null; then
  start=$(date +%s)
  cmake -S "$root" --preset fuzz >/dev/null
  cmake --build "$root/build-fuzz" --parallel "$jobs" --target fuzz_catalogue fuzz_points fuzz_textnumber fuzz_decimal fuzz_compare
  for target in catalogue points textnumber decimal compare; do
    scratch="$(mktemp -d)"
    if ! "$root/build-fuzz/fuzz/fuzz_$target" -max_total_time=20 -max_len=10000 -print_final_stats=1 "$scratch" "$root/fuzz/corpus/$target" \
        >"$scratch.log" 2>&1; then
      tail -n 40 "$scratch.log"
      echo "Fuzzing the $target reader failed (the input is saved as crash-* in $PWD)."
      exit 1
    fi
    echo "fuzz_$target: $(grep -aE '^#[0-9]+[[:space:]]+DONE' "$scratch.log" | tail -n 1)"
    rm -rf "$scratch" "$scratch.log"
  done
  echo "Fuzzing took $(( $(date +%s) - start )) s."
fi

# The web page: the core compiled to WebAssembly by Debian's emscripten, checked against this
# build's orvek-batch in node, and the page in headless chromium (puppeteer-core as pinned by
# tests/web/package-lock.json; it downloads no browser).
if "$root/tools/install-packages.sh" emscripten chromium; then
  start=$(date +%s)
  "$root/tools/build-web.sh"
  (cd "$root/tests/web" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
  ORVEK_SITE="$root/build-web/site" ORVEK_BATCH="$root/build/orvek-batch" \
    node --test "$root/tests/web/module.test.mjs" "$root/tests/web/page.test.mjs"
  echo "The web page's build and checks took $(( $(date +%s) - start )) s."
else
  echo "emscripten or chromium could not be installed: the web page's checks skipped."
fi

# The Python module stays out of the sanitizer build: Debian's python3 does not load the sanitizers'
# run-time libraries first, which they require.
start=$(date +%s)
cmake -S "$root" --preset sanitize >/dev/null
cmake --build "$root/build-sanitize" --parallel "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
echo "Sanitizer build took $(( $(date +%s) - start )) s; its tests follow."
ctest --test-dir "$root/build-sanitize" --output-on-failure --parallel "$jobs"

if [ "${ORVEK_COVERAGE:-0}" = "1" ]; then
  "$root/tools/coverage.sh"
fi
