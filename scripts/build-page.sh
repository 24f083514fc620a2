#!/usr/bin/env bash
# Builds the web page into build/page from web/ (npm packages of the lockfile, esbuild) and
# the core in WebAssembly (build/web, made here when missing). Needs install-deps.sh --web.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
core="$here/build/web/src/web"
if [ ! -f "$core/zelkora-core.wasm" ]; then
  (cd "$here" && cmake --preset web >/dev/null && cmake --build --preset web)
fi
cd "$here/web"
# npm ci again only when the lockfile changed since the last install.
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
node build.mjs --core "$core" --out "$here/build/page"
