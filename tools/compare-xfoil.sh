#!/usr/bin/env bash
# Compares orvek-batch's viscous estimate (sweep --re) with XFOIL, a coupled viscous panel
# program used only as a peer for checking: it is no dependency and CI does not run this.
# Needs xfoil, xvfb-run and python3. XFOIL runs under Xvfb with its graphics on (with graphics
# off this build of it stops after each converged viscous point); a font path aliasing its
# "6x12" font to the server's built-in "fixed" keeps it from failing on a bare Xvfb. Only the
# points in XFOIL's saved polar are converged, so only those are compared.
#
#   tools/compare-xfoil.sh BUILD/cli/orvek-batch [WORKDIR]
#
# With XFOIL_CACHE=DIR set, XFOIL's polars (and its time) are kept in DIR and reused: they do not
# change between runs, so a run with a filled cache only runs orvek-batch.
#
# Prints a Markdown table (airfoil, Re, alpha; CD ours, XFOIL's, difference; transition x/c on
# both sides, ours and XFOIL's) and the median and 90th percentile of |CD difference| and the
# median transition difference, and the time per converged point of each program.
set -euo pipefail
batch=${1:?usage: compare-xfoil.sh ORVEK_BATCH [WORKDIR]}
work=${2:-$(mktemp -d)}
mkdir -p "$work/fonts"
printf '0\n' > "$work/fonts/fonts.dir"
printf '6x12 fixed\n8x13 fixed\n' > "$work/fonts/fonts.alias"

# thickness, camber, trailing-edge angle (0: Joukowsky)
airfoils=("0.06 0 0" "0.09 0.02 0" "0.12 0 0" "0.12 0.04 0" "0.15 0.02 0"
          "0.09 0 10" "0.12 0.02 10" "0.15 0.04 15")
reynolds=(1e6 3e6)
: > "$work/rows.txt"
xfoilSeconds=0
oursSeconds=0
for shape in "${airfoils[@]}"; do
    read -r t c te <<< "$shape"
    line=$("$batch" design --thickness "$t" --camber "$c" --te-angle "$te")
    IFS=, read -r _ _ _ _ F G m <<< "$line"
    name="t$t-c$c-te$te"
    "$batch" export --F "$F" --G "$G" --m "$m" --format selig --np 301 --output "$work/$name.dat"
    for re in "${reynolds[@]}"; do
        polar="$work/$name-$re.pol"
        rm -f "$polar"
        if [[ -n "${XFOIL_CACHE:-}" && -f "$XFOIL_CACHE/$name-$re.pol" && -f "$XFOIL_CACHE/$name-$re.seconds" ]]; then
            cp "$XFOIL_CACHE/$name-$re.pol" "$polar"
            xfoilSeconds=$(python3 -c "print($xfoilSeconds + $(cat "$XFOIL_CACHE/$name-$re.seconds"))")
        else
            printf 'LOAD %s\nPANE\nOPER\nVISC %s\nITER 200\nPACC\n%s\n\nASEQ -2 4 1\nPACC\n\nQUIT\n' \
                "$work/$name.dat" "$re" "$polar" > "$work/$name-$re.cmd"
            start=$(date +%s.%N)
            # in the work folder: XFOIL leaves files of its own (":00.bl") where it runs
            (cd "$work" && timeout 600 xvfb-run -a -s "-screen 0 1024x768x24 -fp built-ins,$work/fonts" xfoil \
                < "$work/$name-$re.cmd" > "$work/$name-$re.log" 2>&1) || true
            end=$(date +%s.%N)
            xfoilSeconds=$(python3 -c "print($xfoilSeconds + $end - $start)")
            if [[ -n "${XFOIL_CACHE:-}" && -f "$polar" ]]; then
                mkdir -p "$XFOIL_CACHE"
                cp "$polar" "$XFOIL_CACHE/$name-$re.pol"
                python3 -c "print($end - $start)" > "$XFOIL_CACHE/$name-$re.seconds"
            fi
        fi
        start=$(date +%s.%N)
        "$batch" sweep --F "$F" --G "$G" --m "$m" --from -2 --to 4 --step 1 --re "$re" > "$work/$name-$re.csv"
        end=$(date +%s.%N)
        oursSeconds=$(python3 -c "print($oursSeconds + $end - $start)")
        echo "$name $re $polar $work/$name-$re.csv" >> "$work/rows.txt"
    done
done

python3 - "$work/rows.txt" "$xfoilSeconds" "$oursSeconds" <<'PY'
import csv, statistics, sys
rows, xfoil_s, ours_s = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
cd_diff, tr_diff, n_points, n_ours = [], [], 0, 0
print("| airfoil | Re | alpha | CD ours | CD XFOIL | diff | xtr up ours/XFOIL | xtr low ours/XFOIL |")
print("|---|---|---|---|---|---|---|---|")
for line in open(rows):
    name, re, polar, ours = line.split()
    peer = {}
    for l in open(polar):
        p = l.split()
        if len(p) >= 7:
            try:
                peer[round(float(p[0]), 3)] = (float(p[2]), float(p[5]), float(p[6]))
            except ValueError:
                pass
    for r in csv.DictReader(open(ours)):
        n_ours += 1
        a = round(float(r["alpha"]), 3)
        if a not in peer:
            continue
        n_points += 1
        cd, xu, xl = float(r["CD"]), float(r["xtrUpper"]), float(r["xtrLower"])
        pcd, pxu, pxl = peer[a]
        d = cd / pcd - 1
        cd_diff.append(abs(d))
        tr_diff += [abs(xu - pxu), abs(xl - pxl)]
        print(f"| {name} | {re} | {a:g} | {cd:.5f} | {pcd:.5f} | {100*d:+.1f} % | {xu:.3f} / {pxu:.3f} | {xl:.3f} / {pxl:.3f} |")
cd_diff.sort()
print()
print(f"converged XFOIL points compared: {n_points}")
print(f"|CD difference|: median {100*statistics.median(cd_diff):.1f} %, "
      f"90th percentile {100*cd_diff[min(len(cd_diff)-1, int(0.9*len(cd_diff)))]:.1f} %")
print(f"|transition difference|: median {statistics.median(tr_diff):.3f} chord")
print(f"time per point: XFOIL {1e3*xfoil_s/max(n_points,1):.1f} ms (converged points, with start-up), "
      f"orvek-batch {1e3*ours_s/max(n_ours,1):.2f} ms (with start-up)")
PY
