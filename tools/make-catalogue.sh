#!/usr/bin/env bash
# Writes the sample catalogue data/ORVEK_Input.txt (CR LF line ends) from orvek-batch describe,
# which measures columns 1 to 4 of every airfoil. Usage: tools/make-catalogue.sh BUILD_DIR
#
# The lines are laid out with blanks (the reader ignores blanks around a field) so that, in the
# airfoil list's font, every column's values start under their heading above the list. The font
# is the window font: Liberation Sans (Arial's widths) at 11 pixels, in which a digit is 6.109
# pixels wide, the point, the comma and the blank 3.047, the minus sign 3.656. The headings'
# left edges, in pixels from the start of the list's text: delta 4.00, gamma 40.11, x with
# subscript delta 68.00 (its subscript ends at 82.11), tau 111.61, F 151.05, G 200.42, m 248.58.
# A column whose heading stands closer to the one before than that column's widest value needs
# starts right after that value, still under its heading: each column starts at the same place on
# every line, to within half a blank.
set -euo pipefail
export LC_ALL=C
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
batch="${1:-$root/build}/orvek-batch"

# Pads comma-separated lines (no title) read on stdin into columns.
layout() {
  awk -F, '
    function width(s,    i, c, w) {
      w = 0
      for (i = 1; i <= length(s); i++) {
        c = substr(s, i, 1)
        if (c ~ /[0-9]/) w += 6.109
        else if (c == "-") w += 3.656
        else if (c == "+") w += 6.422
        else if (c == "e" || c == "E") w += (c == "e" ? 6.117 : 7.336)
        else w += 3.047
      }
      return w
    }
    BEGIN {
      split("4.00 40.11 68.00 111.61 151.05 200.42 248.58", heading, " ")
      blank = 3.047
    }
    { n++; for (c = 1; c <= 7; c++) field[n, c] = $c }
    END {
      # Where each line has got to before column c, and where column c starts on all lines.
      for (l = 1; l <= n; l++) { reach[l] = 0; text[l] = "" }
      for (c = 1; c <= 7; c++) {
        start = heading[c]
        for (l = 1; l <= n; l++) if (reach[l] > start) start = reach[l]
        for (l = 1; l <= n; l++) {
          blanks = int((start - reach[l]) / blank + 0.5)
          if (blanks < 0) blanks = 0
          text[l] = text[l] sprintf("%" blanks "s", "") field[l, c] (c < 7 ? "," : "")
          reach[l] += blanks * blank + width(field[l, c]) + (c < 7 ? blank : 0)
        }
      }
      for (l = 1; l <= n; l++) printf "%s\r\n", text[l]
    }'
}

{
  printf 'OrvekAnalysis sample catalogue - Delta Gama xDltC Tau F G m\r\n'
  while read -r F G m; do
    "$batch" describe --F "$F" --G "$G" --m "$m"
  done <<'LIST' | layout
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
