#!/usr/bin/env bash
# Fails when a lower layer includes a higher one. The layers, lowest first:
#   solver/  (the mathematics)      includes nothing of ours
#   export/  (file formats)          includes solver/
#   case/    (case state, driver)    includes solver/ and export/
#   app/, cli/, python/, web/        include the core (python/: the Python module; web/: the page)
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
status=0
check() {  # folder, forbidden folders...
  local folder="$1"; shift
  for forbidden in "$@"; do
    if grep -rnE "#\s*include\s*\"$forbidden/" "$root/$folder" --include='*.h' --include='*.cpp'; then
      echo "layer fault: $folder/ must not include $forbidden/"
      status=1
    fi
  done
}
check solver case export app cli python web
check export case app cli python web
check case app cli python web
# orvek-batch runs without the window; the Python module and the web page without either.
check cli app python web
check python app cli web
check web app cli python
# The plot widgets know nothing of airfoils: nothing of the core, nothing of the windows.
if grep -rnE '#\s*include\s*"(solver|export|case|cli|python)/' "$root/app/plot"; then
  echo "layer fault: app/plot/ must not include the core"
  status=1
fi
if grep -rnE '#\s*include\s*"[A-Za-z]+\.h"' "$root/app/plot" | grep -vE '"(Axes|Chart|ChartPicture|PlotArea|PolylineThinning)\.h"'; then
  echo "layer fault: app/plot/ must not include the windows of app/"
  status=1
fi
# The core is standard C++: no Qt anywhere in it.
if grep -rnE '#\s*include\s*<Q' "$root/solver" "$root/export" "$root/case"; then
  echo "layer fault: the core must not include Qt"
  status=1
fi
[ "$status" -eq 0 ] && echo "layers: solver <- export <- case <- app, cli, python, web: no upward include"
exit "$status"
