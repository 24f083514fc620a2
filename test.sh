#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --web
cmake --preset release >/dev/null
cmake --build --preset release
# The core in WebAssembly for the page; the node suite among the tests below loads it.
cmake --preset web >/dev/null
cmake --build --preset web
# The page (npm packages of web/package-lock.json, esbuild); CTest runs its browser tests.
./scripts/build-page.sh
ctest --preset release "$@"
