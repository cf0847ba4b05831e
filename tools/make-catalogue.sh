#!/usr/bin/env bash
# Writes the sample catalogue data/ORVEK_Input.txt (CR LF line ends) from orvek-batch describe,
# which measures columns 1 to 4 of every airfoil. Usage: tools/make-catalogue.sh BUILD_DIR
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
batch="${1:-$root/build}/orvek-batch"
{
  printf 'OrvekAnalysis sample catalogue - Delta Gama xDltC Tau F G m\r\n'
  while read -r F G m; do
    printf '%s\r\n' "$("$batch" describe --F "$F" --G "$G" --m "$m")"
  done <<'LIST'
0.05 0 2
0.1 0 2
0.15 0 2
0.2 0 2
0.08 0.04 2
0.1 0.05 2
0.1 0.1 2
0.12 0.08 2
0.15 0.15 2
0.2 0.1 2
0.1 0 1.95
0.1 0.05 1.9
0.12 0.1 1.95
0.06 0.03 1.98
0.15 0.05 1.9
0.08 0.06 1.85
0.1 0.1 1.9
LIST
} > "$root/data/ORVEK_Input.txt"
