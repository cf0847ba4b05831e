#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite twice: once as built for users, once under AddressSanitizer and UndefinedBehaviorSanitizer.
# Between the two: clang-tidy on the project's sources, the core built and tested without Qt
# Widgets, and the text readers fuzzed for about a minute when clang is available. With
# ORVEK_COVERAGE=1 it ends with a coverage build and gcovr's report per folder.
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

start=$(date +%s)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DORVEK_WERROR=ON -DORVEK_BUILD_BENCH=ON -DORVEK_PYTHON=ON >/dev/null
cmake --build "$root/build" --parallel "$jobs"
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"
echo "Normal build and tests took $(( $(date +%s) - start )) s."

"$root/tools/tidy.sh" "$root/build"

# The core, orvek-batch and their tests need no Qt Widgets, no Google Benchmark and no display.
cmake -S "$root" -B "$root/build-core" -DCMAKE_BUILD_TYPE=Release -DORVEK_WERROR=ON -DORVEK_BUILD_GUI=OFF -DORVEK_PYTHON=ON >/dev/null
cmake --build "$root/build-core" --parallel "$jobs"
ctest --test-dir "$root/build-core" --output-on-failure --parallel "$jobs"

# The readers of untrusted text (catalogue, typed numbers, strict numbers) under libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer, about 20 s each, from the seed corpus in fuzz/.
# New inputs go to a scratch folder, never into the repository.
"$root/tools/install-packages.sh" clang || echo "clang could not be installed: fuzzing skipped."
if command -v clang++ >/dev/null; then
  start=$(date +%s)
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEK_WERROR=ON \
    -DORVEK_FUZZ=ON -DORVEK_BUILD_GUI=OFF -DORVEK_PYTHON=OFF -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$root/build-fuzz" --parallel "$jobs" --target fuzz_catalogue fuzz_textnumber fuzz_decimal
  for target in catalogue textnumber decimal; do
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

# The Python module stays out of the sanitizer build: Debian's python3 does not load the sanitizers'
# run-time libraries first, which they require.
start=$(date +%s)
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEK_WERROR=ON \
  -DORVEK_SANITIZE=ON -DORVEK_BUILD_BENCH=OFF -DORVEK_PYTHON=OFF >/dev/null
cmake --build "$root/build-sanitize" --parallel "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
echo "Sanitizer build took $(( $(date +%s) - start )) s; its tests follow."
ctest --test-dir "$root/build-sanitize" --output-on-failure --parallel "$jobs"

if [ "${ORVEK_COVERAGE:-0}" = "1" ]; then
  "$root/tools/coverage.sh"
fi
