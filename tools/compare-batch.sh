#!/usr/bin/env bash
# Runs the same orvek-batch command lines against two builds and compares what each prints:
# standard output, standard error and the exit status. Used when the code is reorganised and
# nothing the user sees may change.
#   tools/compare-batch.sh OLD_BINARY NEW_BINARY
set -u
[ $# -eq 2 ] || { echo "usage: compare-batch.sh OLD_BINARY NEW_BINARY" >&2; exit 2; }
old=$(realpath "${1:?usage: compare-batch.sh OLD_BINARY NEW_BINARY}")
new=$(realpath "${2:?usage: compare-batch.sh OLD_BINARY NEW_BINARY}")
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Catalogues for table: the shipped one, one with a malformed line and an airfoil that cannot be
# calculated, and one that is not text.
cp "$here/data/ORVEK_Input.txt" "$work/good.txt"
printf 'Title\r\n0.1,0,0.3,0,0.1,0,2\r\n0.1,0,0.3,0,0.1,0.05,0\r\n0.1,0,0.3,0,0.1,0.02,1.9\r\n1,2,3\r\n' >"$work/bad.txt"
printf '\xff\xfeT\x00i\x00\r\x00\n\x00' >"$work/wide.txt"
mkdir "$work/folder"
# Point files for field: the forms both read, a malformed line, a number that is not finite; and
# the forms read only since the reader was mended (a byte-order mark, an "X Y" header, lone CRs).
printf 'x,y\n# upstream\n-0.5,0.2\n\n0.3 -0.01\n  1.5 ,\t0.1 \r\n2e-1 7.5E-1\n1e300,-1e-300\n' >"$work/points.csv"
printf '0,1\n\n0.5;1\n' >"$work/badpoint.csv"
printf '0,1\nnan,2\n' >"$work/nanpoint.csv"
printf '\xef\xbb\xbfX Y\r-0.5 0.2\r1.5 0.1\r' >"$work/mended.csv"

J=(--F 0.1 --G 0.05 --m 2)
K=(--F 0.12 --G 0.03 --m 1.93)
lines=(
  "--help" "--version" "help sweep" "" "frobnicate" "--F 1" "solve --help" "sweep --help"
  "export --help" "design --help" "table --help" "describe --help"
  "solve ${J[*]} --alpha 5 --np 51"
  "solve --F 0 --G 0.05 --m 2 --alpha 5 --np 21"
  "solve ${K[*]} --alpha -3 --np 40 --chord 2.5"
  "solve ${J[*]} --alpha 5 --np 51 --layout 1"
  "solve ${J[*]} --alpha 5 --np 51 --layout 2"
  "solve ${K[*]} --alpha 5 --np 52 --layout 3"
  "solve ${K[*]} --alpha 5 --np 51 --layout 4 --delta 0.1 --gama 0.02 --xdltc 0.3 --tau 7"
  "solve --F 0 --G 0 --m 2 --alpha 0 --np 31 --layout 4"
  "solve ${J[*]} --alpha 5 --np 51 --layout none"
  "solve ${J[*]} --alpha 5 --np 51 --layout 7"
  "solve ${J[*]} --alpha 5 --np 1"
  "solve ${J[*]} --alpha 5 --np 12.5"
  "solve --F 0.1 --G 0.05 --m 0 --alpha 5 --np 51"
  "solve ${J[*]} --alpha 5 --np 51 --chord 0"
  "solve ${J[*]} --alpha 5 --np 51 --output x.txt"
  "solve ${J[*]} --alpha five --np 51"
  "solve ${J[*]} --alpha=5 --np=51 --bogus 1"
  "solve ${J[*]} --np 51"
  "sweep ${J[*]} --from -4 --to 8 --step 2"
  "sweep ${K[*]} --from 0 --to 3 --step 0.5 --np 101 --format json"
  "sweep --F 0 --G 0 --m 2 --from 0 --to 2 --step 1"
  "sweep ${J[*]} --from 0 --to 5 --step -1"
  "sweep ${J[*]} --from 0 --to 5 --step 0"
  "sweep ${J[*]} --from 0 --to 5 --step 1 --format xml"
  "export ${J[*]} --format selig"
  "export ${K[*]} --format lednicer --np 40"
  "export ${K[*]} --format csv --np 31 --alpha 4"
  "export --F 0 --G 0.05 --m 2 --format selig --np 21"
  "export ${J[*]} --format selig --name My,airfoil"
  "export ${J[*]} --format selig --name="
  "export ${J[*]}"
  "design --thickness 0.15 --camber 0.03 --te-angle 12"
  "design --thickness 0.12 --camber 0 --te-angle 0 --format json"
  "design --thickness 0.5 --camber 0.03 --te-angle 12"
  "describe ${J[*]}"
  "describe --F 0 --G 0 --m 2"
  "describe --F 0.1 --G 0.05 --m 0"
  "table --catalogue good.txt --alpha 3"
  "table --catalogue good.txt --alpha 3 --np 51 --format json"
  "table --alpha 2 -- bad.txt"
  "table --catalogue bad.txt --alpha 2 --format json"
  "table --catalogue wide.txt --alpha 2"
  "table --catalogue folder --alpha 2"
  "table --catalogue missing.txt --alpha 2"
  "table --catalogue good.txt --alpha 2 --np 0"
  "table --catalogue good.txt bad.txt --alpha 2"
  "solve ${J[*]} --alpha 5 --np 51 --layout 2 --output nofolder/x.txt"
  "sweep ${J[*]} --from 0 --to 2 --step 1 --output folder"
  "field --help" "streamlines --help"
  "field ${K[*]} --alpha 4 --grid -1:2:4,-1:1:3"
  "field ${K[*]} --alpha 4 --grid -1:2:4,-1:1:3 --format vtk"
  "streamlines ${J[*]} --alpha 3 --count 3"
  "streamlines ${J[*]} --alpha 3 --count 3 --format svg"
  "field --F -0.1 --G 0 --m 2 --alpha 0 --grid 0:1:2,0:1:2"
  "field ${J[*]} --alpha 5 --points points.csv"
  "field ${K[*]} --alpha -2 --points points.csv --format csv"
  "field ${J[*]} --alpha 0 --points badpoint.csv"
  "field ${J[*]} --alpha 0 --points nanpoint.csv"
  "field ${J[*]} --alpha 0 --points missing.csv"
  "field ${J[*]} --alpha 0 --points folder"
  "field ${J[*]} --alpha 0 --points mended.csv"
  "field --F 0.1 --G 0.05 --m 3 --alpha 0 --points points.csv"
  "field ${J[*]} --alpha 0 --points points.csv --format vtk"
  "field ${J[*]} --alpha 0 --points points.csv --grid 0:1:2,0:1:2"
  "field ${J[*]} --alpha 0"
  "field ${K[*]} --alpha 7 --grid -2:3:41,-1.5:1.5:31"
  "field ${K[*]} --alpha 7 --grid -2:3:41,-1.5:1.5:31 --format vtk"
  "field --F 0 --G 0 --m 2 --alpha 0 --grid -1:2:7,-0.5:0.5:5"
  "field ${J[*]} --alpha 3 --grid -1:2:70000,0:0.1:2"
  "field ${J[*]} --alpha 3 --grid 1:1:3,0:1:3"
  "field ${J[*]} --alpha 3 --grid 0:1:1,0:1:3"
  "field ${J[*]} --alpha 3 --grid 0:1:2.5,0:1:3"
  "field ${J[*]} --alpha 3 --grid 0:1:5000,0:1:5000"
  "field ${J[*]} --alpha 3 --grid 0:1:3"
  "field ${J[*]} --alpha 3 --grid 0:x:3,0:1:3"
  "field ${J[*]} --alpha 3 --grid -1e308:1e308:3,0:1:2"
  "field ${J[*]} --alpha 3 --grid 0:1:3,0:1:3 --format svg"
  "streamlines ${K[*]} --alpha 6"
  "streamlines ${K[*]} --alpha 6 --format svg"
  "streamlines ${K[*]} --alpha 6 --plane circle --count 7"
  "streamlines ${K[*]} --alpha 6 --plane circle --count 7 --format svg"
  "streamlines ${J[*]} --alpha -4 --extent -0.5:1.5,-0.4:0.4 --count 9"
  "streamlines ${J[*]} --alpha -4 --extent=-0.5:1.5,-0.4:0.4 --count 9 --format svg"
  "streamlines --F 0 --G 0 --m 2 --alpha 0 --count 5"
  "streamlines ${J[*]} --alpha 3 --count 0"
  "streamlines ${J[*]} --alpha 3 --count 1001"
  "streamlines ${J[*]} --alpha 3 --plane hodograph"
  "streamlines ${J[*]} --alpha 3 --extent -1:2,1:-1"
  "streamlines ${J[*]} --alpha 3 --format png"
  "streamlines --F 0.1 --G 0 --m 2.5 --alpha 0"
  "describe ${K[*]}"
  "describe --F 0.05 --G 0.1 --m 1.8"
  "solve ${J[*]} --alpha 4 --np 51 --re 1e6"
  "solve ${K[*]} --alpha 2 --np 41 --re 3e6 --mach 0.5"
  "solve ${J[*]} --alpha 0 --np 31 --mach 0.3"
  "sweep ${K[*]} --from -2 --to 6 --step 2 --re 1e6"
  "sweep ${J[*]} --from 0 --to 10 --step 2.5 --np 300 --format json"
  "boundary-layer ${J[*]} --alpha 3 --re 1e6"
  "boundary-layer ${K[*]} --alpha -1 --re 5e5 --ncrit 7 --trip-lower 0.4 --format json"
  "boundary-layer --F 0 --G 0.05 --m 2 --alpha 0 --re 2e6"
)

compared=0
lines_out=0
differ=0
for line in "${lines[@]}"; do
  read -r -a words <<<"$line"
  for which in old new; do
    binary=${!which}
    (cd "$work" && "$binary" "${words[@]}" >"$work/$which.out" 2>"$work/$which.err"; echo $? >"$work/$which.rc")
  done
  compared=$((compared + 1))
  lines_out=$((lines_out + $(cat "$work/new.out" "$work/new.err" | wc -l)))
  for part in out err rc; do
    if ! cmp -s "$work/old.$part" "$work/new.$part"; then
      differ=$((differ + 1))
      echo "differs ($part): orvek-batch $line"
      diff <(head -c 2000 "$work/old.$part") <(head -c 2000 "$work/new.$part") | head -10
      break
    fi
  done
done
echo "$compared command lines compared ($lines_out lines of output), $differ differ"
[ "$differ" -eq 0 ]
