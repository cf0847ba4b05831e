#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the web page: the core compiled to WebAssembly by Debian's emscripten (single-threaded,
# with the WebAssembly vector kernels) and the page's static files, all in build-web/site/: put
# that folder on any static host, or serve it with tools/run-web.sh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/tools/install-packages.sh" cmake make emscripten
# Debian's emscripten keeps its prebuilt library cache under /usr/share (so EM_CACHE stays unset)
# and its linker needs Debian's acorn.
unset EM_CACHE
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then export CMAKE_CXX_COMPILER_LAUNCHER=ccache; fi
emcmake cmake -S "$root" --preset web >/dev/null
cmake --build "$root/build-web" --parallel "$(nproc)" --target orvek_web
site="$root/build-web/site"
mkdir -p "$site"
cp "$root/web/index.html" "$root/web/page.js" "$root/build-web/web/orvek.js" "$root/build-web/web/orvek.wasm" "$site/"
echo "The page is in $site"
