#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs a build of OrvekAnalysis into a temporary prefix and checks what a user gets: every
# installed file and nothing else, the desktop entry (desktop-file-validate), the AppStream
# metadata (appstreamcli validate --no-net), both manual pages (man -l), the icon sizes, the
# installed orvek-batch, and the launcher's choice of working folder, its first-start copy of the
# sample catalogue, its respect for an edited one and its refusal to start without a display; with
# the Python module built, the package orvek in the prefix's Python folder, imported from there.
# Usage: tools/check-install.sh BUILD_DIR      (CTest runs it as the test "install")
# Needs desktop-file-utils, appstream and man-db (tools/test.sh installs them).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:?usage: tools/check-install.sh BUILD_DIR}" && pwd)"
app_id=org.example.OrvekAnalysis

for tool in desktop-file-validate appstreamcli man cmake; do
  command -v "$tool" >/dev/null || { echo "check-install: '$tool' is missing (tools/test.sh installs it)"; exit 1; }
done
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version="$(cached CMAKE_PROJECT_VERSION)"
[ -n "$version" ] || { echo "check-install: no project version in $build/CMakeCache.txt"; exit 1; }
python_module=""
if [ "$(cached ORVEK_PYTHON)" = ON ]; then
  python="$(cached Python3_EXECUTABLE)"
  [ -n "$python" ] || python="$(cached _Python3_EXECUTABLE)"
  python_dir="$(cached ORVEK_PYTHON_INSTALL_DIR)"
  python_module="$python_dir/orvek/_orvek$("$python" -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')"
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok    $1"; }
fail() { failed=$((failed + 1)); echo "FAIL  $1"; }
check() {  # description, command...; the command's output is shown only when it fails
  local what="$1"; shift
  if "$@" > "$scratch/check.log" 2>&1; then
    pass "$what"
  else
    fail "$what"; sed 's/^/      /' "$scratch/check.log"
  fi
}

# --- Every file, and nothing else -------------------------------------------------------------
expected="$scratch/expected"
sort > "$expected" <<EOF
bin/OrvekAnalysis
bin/orvek-analysis
bin/orvek-batch
share/applications/$app_id.desktop
share/doc/orvek-analysis/copyright
share/icons/hicolor/256x256/apps/$app_id.png
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/OrvekAnalysis.1.gz
share/man/man1/orvek-analysis.1.gz
share/man/man1/orvek-batch.1.gz
share/metainfo/$app_id.metainfo.xml
share/orvek-analysis/ORVEK_Input.txt
EOF
if [ -n "$python_module" ]; then
  printf '%s\n' "$python_module" "$python_dir/orvek/__init__.py" "$python_dir/orvek/__init__.pyi" \
    "$python_dir/orvek/py.typed" >> "$expected"
  sort -o "$expected" "$expected"
fi
(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) > "$scratch/installed"
if diff -u "$expected" "$scratch/installed" > "$scratch/files.diff"; then
  pass "installed files are exactly the $(wc -l < "$expected") expected ones"
else
  fail "installed files differ from the expected list:"; sed 's/^/      /' "$scratch/files.diff"
fi
for program in OrvekAnalysis orvek-analysis orvek-batch; do
  check "bin/$program is executable" test -x "$prefix/bin/$program"
done
check "the sample catalogue is data/ORVEK_Input.txt" cmp -s "$root/data/ORVEK_Input.txt" "$prefix/share/orvek-analysis/ORVEK_Input.txt"
check "the copyright file is LICENSE" cmp -s "$root/LICENSE" "$prefix/share/doc/orvek-analysis/copyright"

# --- Desktop entry and AppStream metadata ------------------------------------------------------
desktop="$prefix/share/applications/$app_id.desktop"
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
check "desktop-file-validate passes" desktop-file-validate "$desktop"
check "the desktop entry starts the installed launcher" \
  test -x "$prefix/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
check "the desktop entry names the installed icon" grep -qx "Icon=$app_id" "$desktop"
check "the desktop entry's categories" grep -qx 'Categories=Education;Science;Physics;' "$desktop"
check "appstreamcli validate --no-net passes" appstreamcli validate --no-net "$metainfo"
check "appstreamcli validate-tree --no-net passes (metainfo with its desktop entry)" appstreamcli validate-tree --no-net "$prefix"
check "the metainfo's release is $version" grep -q "<release version=\"$version\"" "$metainfo"
check "the metainfo launches the desktop entry" grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo"
check "the metainfo names the MIT licence" grep -q '<project_license>MIT</project_license>' "$metainfo"
check "the metainfo has a screenshot" grep -q '<image>https://.*\.png</image>' "$metainfo"
for category in Education Science Physics; do
  check "the metainfo's category $category" grep -q "<category>$category</category>" "$metainfo"
done

# --- Icons ---------------------------------------------------------------------------------------
png_size() {  # width x height from the PNG's header chunk
  local file="$1"
  [ "$(od -An -tx1 -N8 "$file" | tr -d ' \n')" = "89504e470d0a1a0a" ] || { echo "not a PNG"; return; }
  echo "$(od -An -tu4 --endian=big -j16 -N4 "$file" | tr -d ' ')x$(od -An -tu4 --endian=big -j20 -N4 "$file" | tr -d ' ')"
}
for size in 48 256; do
  got="$(png_size "$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png")"
  check "the ${size}x${size} icon is a ${size}x${size} PNG (got $got)" test "$got" = "${size}x${size}"
done
check "the scalable icon is an SVG" grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"

# --- Manual pages -------------------------------------------------------------------------------
render() { LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l -P cat "$1" 2>"$scratch/man.err"; }
batch_page="$(render "$prefix/share/man/man1/orvek-batch.1.gz")"
check "man -l renders orvek-batch(1) without warnings" test -n "$batch_page" -a ! -s "$scratch/man.err"
for word in solve describe sweep export design table --version --help "EXIT STATUS" "orvek-batch $version"; do
  check "orvek-batch(1) mentions '$word'" grep -qF -- "$word" <<< "$batch_page"
done
# The page is made from the help: every command the help lists has its section, with the
# same first usage line.
for command in $("$prefix/bin/orvek-batch" --help | sed -n '/^Commands:/,/^$/p' | awk 'NF > 1 {print $1}'); do
  usage="$("$prefix/bin/orvek-batch" "$command" --help | sed -n 2p | sed 's/^ *//')"
  check "orvek-batch(1) has a section on $command" grep -qxF -- "   $command" <<< "$batch_page"
  check "orvek-batch(1) has the usage of $command" grep -qF -- "$usage" <<< "$batch_page"
done
for status in 0 1 2; do
  check "orvek-batch(1) explains exit status $status" \
    grep -qE "^ +$status +[a-z]" <<< "$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<< "$batch_page")"
done
app_page="$(render "$prefix/share/man/man1/OrvekAnalysis.1.gz")"
check "man -l renders OrvekAnalysis(1) without warnings" test -n "$app_page" -a ! -s "$scratch/man.err"
for word in ORVEK_Input.txt ORVEK_result.txt ORVEK_WORKDIR XDG_DOCUMENTS_DIR orvek-analysis "OrvekAnalysis $version"; do
  check "OrvekAnalysis(1) mentions '$word'" grep -qF -- "$word" <<< "$app_page"
done
check "orvek-analysis(1) is OrvekAnalysis(1)" \
  test "$(readlink "$prefix/share/man/man1/orvek-analysis.1.gz")" = OrvekAnalysis.1.gz

# --- The installed orvek-batch ------------------------------------------------------------------
check "the installed orvek-batch --help" "$prefix/bin/orvek-batch" --help
check "the installed orvek-batch --version prints 'orvek-batch $version'" \
  test "$("$prefix/bin/orvek-batch" --version)" = "orvek-batch $version"
check "the installed orvek-batch solves a case" \
  grep -q '^{"CL": ' <<< "$("$prefix/bin/orvek-batch" solve --F 0.1 --G 0.05 --m 2 --alpha 5 --np 11)"

# --- The Python module --------------------------------------------------------------------------
if [ -n "$python_module" ]; then
  installed_python() { env -i PATH="$PATH" PYTHONPATH="$prefix/$python_dir" PYTHONDONTWRITEBYTECODE=1 "$python" "$@"; }
  check "python3 imports the installed orvek from $python_dir" \
    test "$(installed_python -c 'import orvek; print(orvek.__file__)')" = "$prefix/$python_dir/orvek/__init__.py"
  check "the installed orvek's __version__ is $version" \
    test "$(installed_python -c 'import orvek; print(orvek.__version__)')" = "$version"
  batch_cl="$("$prefix/bin/orvek-batch" solve --F 0.1 --G 0.05 --m 2 --alpha 5 --np 11 | sed -n 's/^{"CL": \([^,]*\),.*/\1/p')"
  check "the installed orvek's CL is the installed orvek-batch's ($batch_cl)" installed_python -c \
    'import sys, orvek; sys.exit(orvek.Airfoil(0.1, 0.05, 2).solve(5.0, np=11).CL != float(sys.argv[1]))' "$batch_cl"
fi

# --- The launcher -------------------------------------------------------------------------------
launcher="$prefix/bin/orvek-analysis"
sample="$prefix/share/orvek-analysis/ORVEK_Input.txt"
# A stand-in program that records the folder it was started in.
stub="$scratch/stub-program"
printf '#!/bin/sh\npwd > "%s"\n' "$scratch/started-in" > "$stub"
chmod +x "$stub"
start() {  # HOME, then NAME=VALUE settings; starts the launcher in a clean environment
  local home="$1"; shift
  rm -f "$scratch/started-in"
  env -i PATH="$PATH" HOME="$home" QT_QPA_PLATFORM=offscreen "$@" \
    "$launcher" --program "$stub" > "$scratch/launcher.out" 2>&1
}
started_in() { cat "$scratch/started-in" 2>/dev/null; }

home="$scratch/home1"; mkdir -p "$home"
start "$home"
check "without settings the working folder is ~/OrvekAnalysis" test "$(started_in)" = "$home/OrvekAnalysis"
check "the first start copies the sample catalogue" cmp -s "$sample" "$home/OrvekAnalysis/ORVEK_Input.txt"
printf 'My airfoils\r\n0.12,0.02,0.25,0,0.1,0.02,2\r\n' > "$home/OrvekAnalysis/ORVEK_Input.txt"
cp "$home/OrvekAnalysis/ORVEK_Input.txt" "$scratch/edited"
start "$home"
check "the second start keeps the edited catalogue" cmp -s "$scratch/edited" "$home/OrvekAnalysis/ORVEK_Input.txt"

home="$scratch/home2"; mkdir -p "$home"
start "$home" ORVEK_WORKDIR="$scratch/chosen folder"
check "ORVEK_WORKDIR names the working folder" test "$(started_in)" = "$scratch/chosen folder"
check "the sample catalogue is copied into ORVEK_WORKDIR" test -f "$scratch/chosen folder/ORVEK_Input.txt"
start "$home" ORVEK_WORKDIR="$scratch/workdir-wins" XDG_DOCUMENTS_DIR="$scratch/docs"
check "ORVEK_WORKDIR comes before the documents folder" test "$(started_in)" = "$scratch/workdir-wins"
start "$home" XDG_DOCUMENTS_DIR="$scratch/docs"
check "XDG_DOCUMENTS_DIR gives <documents>/OrvekAnalysis" test "$(started_in)" = "$scratch/docs/OrvekAnalysis"

home="$scratch/home3"; mkdir -p "$home/.config"
printf '# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR="$HOME/Desktop"\nXDG_DOCUMENTS_DIR="$HOME/Dokumente"\n' \
  > "$home/.config/user-dirs.dirs"
start "$home"
check "~/.config/user-dirs.dirs gives <documents>/OrvekAnalysis" test "$(started_in)" = "$home/Dokumente/OrvekAnalysis"
# The same where xdg-user-dir is not installed: the launcher reads the file itself.
mkdir -p "$scratch/bin-without-xdg"
for tool in dirname readlink sed tail mkdir cp pwd; do ln -sf "$(command -v "$tool")" "$scratch/bin-without-xdg/"; done
start "$home" PATH="$scratch/bin-without-xdg"
check "... also without xdg-user-dir" test "$(started_in)" = "$home/Dokumente/OrvekAnalysis"
mkdir -p "$scratch/config elsewhere"
printf 'XDG_DOCUMENTS_DIR="%s"\n' "$scratch/shared docs" > "$scratch/config elsewhere/user-dirs.dirs"
start "$home" PATH="$scratch/bin-without-xdg" XDG_CONFIG_HOME="$scratch/config elsewhere"
check "... and an absolute documents folder, read from \$XDG_CONFIG_HOME" test "$(started_in)" = "$scratch/shared docs/OrvekAnalysis"
printf 'XDG_DOCUMENTS_DIR="$HOME/"\n' > "$home/.config/user-dirs.dirs"
start "$home"
check "a documents folder switched off (the home folder) gives ~/OrvekAnalysis" test "$(started_in)" = "$home/OrvekAnalysis"

home="$scratch/home4"; mkdir -p "$home"
rm -f "$scratch/started-in"
status=0
env -i PATH="$PATH" HOME="$home" ORVEK_WORKDIR="$scratch/no-display" "$launcher" --program "$stub" \
  > "$scratch/no-display.out" 2> "$scratch/no-display.err" || status=$?
check "without a display the launcher fails (status $status)" test "$status" -eq 1
check "without a display it says so in one line on stderr" \
  test "$(wc -l < "$scratch/no-display.err")" -eq 1 -a ! -s "$scratch/no-display.out"
check "without a display nothing is created" test ! -e "$scratch/no-display" -a -z "$(ls -A "$home")"
check "without a display the program is not started" test ! -e "$scratch/started-in"

# The installed launcher with the installed program: still running after 3 s (offscreen) means
# the program found its libraries and started in the working folder.
home="$scratch/home5"; mkdir -p "$home"
status=0
env -i PATH="$PATH" HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 "$launcher" \
  > "$scratch/real.out" 2>&1 || status=$?
check "the launcher starts the installed program (still running after 3 s)" test "$status" -eq 124
check "... in ~/OrvekAnalysis with the sample catalogue" cmp -s "$sample" "$home/OrvekAnalysis/ORVEK_Input.txt"
[ "$status" -eq 124 ] || sed 's/^/      /' "$scratch/real.out"

echo "install checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
