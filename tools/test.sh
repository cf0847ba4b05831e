#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the whole test
# suite twice: once as built for users, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" g++ make cmake qt6-base-dev qt6-svg-dev libbenchmark-dev fonts-dejavu-core fonts-liberation
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

start=$(date +%s)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DORVEK_WERROR=ON -DORVEK_BUILD_BENCH=ON >/dev/null
cmake --build "$root/build" --parallel "$jobs"
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"
echo "Normal build and tests took $(( $(date +%s) - start )) s."

start=$(date +%s)
cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEK_WERROR=ON \
  -DORVEK_SANITIZE=ON -DORVEK_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build-sanitize" --parallel "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
echo "Sanitizer build took $(( $(date +%s) - start )) s; its tests follow."
ctest --test-dir "$root/build-sanitize" --output-on-failure --parallel "$jobs"
