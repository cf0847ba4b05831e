#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Serves the web page on this computer only (127.0.0.1), building it first when it is missing or
# older than its sources, and prints its address. PORT chooses the port (default 8017).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
site="$root/build-web/site"
port="${PORT:-8017}"
if [ ! -f "$site/orvek.wasm" ] || [ -n "$(find "$root/web" "$root/solver" "$root/export" "$root/case" -newer "$site/orvek.wasm" \
    -type f -print -quit)" ]; then
  "$root/tools/build-web.sh"
fi
echo "The page: http://127.0.0.1:$port/index.html?F=0.1&G=0.05&m=2&alpha=5 (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
