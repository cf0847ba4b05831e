#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows check. Cross-builds the core and orvek-batch.exe for 64-bit Windows with MinGW-w64
# (toolchain file cmake/mingw-w64-x86_64.cmake), compiles the version resources with windres and
# checks their strings, then runs orvek-batch.exe under Wine beside a Linux build of orvek-batch:
# the same JSON, two saves in a row to one --output file, result files through standard output
# byte for byte the Linux ones, and the exit statuses 0, 1 and 2.
# Usage: tools/test-windows.sh      (builds in build-windows/; .ci/run runs it after tools/test.sh)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" g++ make cmake g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64

out="$root/build-windows"
jobs="$(nproc)"
windres=x86_64-w64-mingw32-windres
objdump=x86_64-w64-mingw32-objdump

echo "== Building orvek-batch for Linux and, cross, for Windows"
# The configurations are CMakePresets.json's (cmake --list-presets); ccache is used when installed.
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
cmake -S "$root" --preset batch-linux >/dev/null
cmake --build "$out/linux" --parallel "$jobs" --target orvek-batch >/dev/null
cmake -S "$root" --preset batch-windows >/dev/null
cmake --build "$out/windows" --parallel "$jobs" --target orvek-batch >/dev/null
linux_batch="$out/linux/orvek-batch"
windows_batch="$out/windows/orvek-batch.exe"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/windows/CMakeCache.txt")"
echo "built $windows_batch (version $version)"

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok    $1"; }
fail() { failed=$((failed + 1)); echo "FAIL  $1"; }

echo "== Version resources"
# The resource files as CMake wrote them, compiled on their own, and the one linked into the .exe.
rc_text() {  # a .rc file, or an .exe with resources: windres prints the compiled resource as text
  case "$1" in
    *.rc) "$windres" -i "$1" -O res -o "$out/check.res" && "$windres" -i "$out/check.res" -J res -O rc ;;
    *.exe) "$windres" -i "$1" -J coff -O rc ;;
  esac
}
check_resource() {  # source, internal name
  local source="$1" name="$2" text
  text="$(rc_text "$source")" || { fail "windres cannot compile $(basename "$source")"; return; }
  echo "$(basename "$source"):"
  grep -E 'LANGUAGE|VALUE "(ProductName|InternalName|OriginalFilename|FileVersion|ProductVersion|Translation)"' <<< "$text" \
    | sed 's/^ */      /'
  local expected
  for expected in "\"ProductName\", \"ORVEK\"" "\"InternalName\", \"$name\"" \
                  "\"OriginalFilename\", \"$name.exe\"" "\"FileVersion\", \"$version\"" \
                  "\"ProductVersion\", \"$version\"" "\"Translation\", 0x409, 1200" "BLOCK \"040904B0\""; do
    if grep -qF -- "$expected" <<< "$text"; then pass "$(basename "$source"): $expected"
    else fail "$(basename "$source"): $expected missing"; fi
  done
  if grep -qx 'LANGUAGE 9, 1' <<< "$text"; then pass "$(basename "$source"): language US English (9, 1)"
  else fail "$(basename "$source"): resource language is not US English"; fi
}
check_resource "$out/windows/packaging/OrvekAnalysis.rc" OrvekAnalysis
check_resource "$out/windows/packaging/orvek-batch.rc" orvek-batch
check_resource "$windows_batch" orvek-batch

echo "== Runs on its own: no MinGW DLLs needed"
dlls="$("$objdump" -p "$windows_batch" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
if grep -qiE 'libstdc|libgcc|libwinpthread' <<< "$dlls"; then fail "orvek-batch.exe needs MinGW DLLs: $dlls"
else pass "orvek-batch.exe imports only system DLLs: $dlls"; fi

echo "== orvek-batch.exe under Wine against the Linux build"
wine="$(command -v wine64 || command -v wine || true)"
[ -n "$wine" ] || { [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64; }
[ -n "$wine" ] || { echo "test-windows: no wine64 found"; exit 1; }
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
work="$out/run"
rm -rf "$work"; mkdir -p "$work/linux" "$work/windows"
cp "$windows_batch" "$work/windows/"
run_linux() { (cd "$work/linux" && "$linux_batch" "$@"); }
run_windows() { (cd "$work/windows" && "$wine" orvek-batch.exe "$@" 2>>"$work/wine.log"); }
run_windows --help > /dev/null || true   # the first start sets up the Wine prefix

cases=(
  "--F 0.1 --G 0.05 --m 2 --alpha 5 --np 51"
  "--F 0.1 --G 0.05 --m 1.9 --alpha 5 --np 51"
  "--F 0 --G 0.1 --m 2 --alpha 3 --np 21"
  "--F 0.15 --G 0.05 --m 1.9 --alpha -4 --np 1001"
)
# JSON as one token per line: "CL": value, ..., "x": then the array's values one by one.
json_tokens() { tr -d '\r' | sed 's/[][{},]/\n/g' | sed 's/^ *//; /^$/d'; }
# Compares the JSON of both builds: the same keys in the same order, null in the same places, and
# every number equal to within 1e-12 of max(1, |value|), the accuracy the solver promises against
# the exact values. The Linux build computes the surface in SLEEF's vector kernels, the Windows
# build in the scalar kernel with the Windows C library's sine, cosine, arc tangent and power, so
# the last bits of the 17 significant digits differ (by up to a few 1e-15); the result file's five
# decimals never do. Prints how many numbers are bit for bit the same.
compare_json() {
  paste "$1" "$2" | awk -F '\t' '
    function magnitude(v) { return v < 0 ? -v : v }
    function key(t) { return match(t, /^"[^"]*": */) ? substr(t, 1, RLENGTH) : "" }
    {
      n++
      if ($1 == $2) { same++; next }
      if (key($1) != key($2)) { unequal++; next }
      a = substr($1, length(key($1)) + 1); b = substr($2, length(key($2)) + 1)
      if (a == "null" || b == "null" || a !~ /^-?[0-9]/ || b !~ /^-?[0-9]/) { unequal++; next }
      a += 0; b += 0   # numbers from here on, not text
      d = magnitude(a - b); scale = magnitude(a) > 1 ? magnitude(a) : 1
      if (d / scale > largest) largest = d / scale
      if (d > 1e-12 * scale) unequal++
    }
    END {
      printf "%d of %d tokens bit for bit equal, largest difference %.2g (relative to max(1, |value|))", same, n, largest
      exit (n == 0 || unequal > 0)
    }'
}
for case in "${cases[@]}"; do
  summary=""
  # shellcheck disable=SC2086 # the case is a list of options
  run_linux solve $case | json_tokens > "$work/linux.json"
  # shellcheck disable=SC2086
  run_windows solve $case | json_tokens > "$work/windows.json"
  if [ "$(wc -l < "$work/linux.json")" -eq "$(wc -l < "$work/windows.json")" ] &&
     summary="$(compare_json "$work/linux.json" "$work/windows.json")"; then
    pass "solve JSON equal: $case ($summary)"
  else
    fail "solve JSON differs: $case (${summary:-token counts differ})"
  fi
done

case="--F 0.1 --G 0.05 --m 1.9 --alpha 5 --np 51"
for layout in 1 2 3 4 none; do
  # shellcheck disable=SC2086
  run_linux solve $case --layout "$layout" > "$work/linux/stdout-$layout.txt"
  # shellcheck disable=SC2086
  run_windows solve $case --layout "$layout" > "$work/windows/stdout-$layout.txt" || true
  if cmp -s "$work/linux/stdout-$layout.txt" "$work/windows/stdout-$layout.txt"; then
    pass "result file (layout $layout) through stdout byte-identical to Linux's"
  else
    fail "result file (layout $layout) through stdout differs from Linux's ($(wc -c < "$work/linux/stdout-$layout.txt") bytes on Linux, $(wc -c < "$work/windows/stdout-$layout.txt") under Wine; line ends there: $(head -n 1 "$work/windows/stdout-$layout.txt" | od -An -c | tr -s ' ' | tail -c 14))"
  fi
done

# shellcheck disable=SC2086
run_linux solve $case --layout 4 --output result.txt
for save in first second; do
  status=0
  # shellcheck disable=SC2086
  run_windows solve $case --layout 4 --output result.txt > "$work/save.out" || status=$?
  if [ "$status" -eq 0 ] && cmp -s "$work/linux/result.txt" "$work/windows/result.txt"; then
    pass "$save save to the same --output succeeds, file equal to Linux's"
  else
    fail "$save save to the same --output: exit status $status ($(tail -n 1 "$work/wine.log" 2>/dev/null))"
  fi
done

exit_case() {  # expected status, description, arguments...
  local expected="$1" what="$2" linux_status=0 windows_status=0; shift 2
  run_linux "$@" > /dev/null 2>&1 || linux_status=$?
  run_windows "$@" > /dev/null || windows_status=$?
  if [ "$linux_status" -eq "$expected" ] && [ "$windows_status" -eq "$expected" ]; then
    pass "exit status $expected ($what) on both"
  else
    fail "exit status for $what: Linux $linux_status, Windows $windows_status, expected $expected"
  fi
}
exit_case 0 "a case solved" solve --F 0.1 --G 0.05 --m 2 --alpha 5 --np 51
exit_case 1 "m = 0 cannot be calculated" solve --F 0.1 --G 0.05 --m 0 --alpha 5 --np 51
exit_case 2 "an unknown option" solve --F 0.1 --G 0.05 --m 2 --alpha 5 --np 51 --colour red

echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
