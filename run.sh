#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zelkora II (optionally on FILE.asm);
# ./run.sh --web builds the web page and serves it at http://localhost:8080.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# --web: build the web page and serve it at http://localhost:8080 (static files only).
if [ "${1:-}" = "--web" ]; then
  "$here/scripts/install-deps.sh" --core-only --web
  "$here/scripts/build-page.sh"
  exec node "$here/web/serve.mjs" "$here/build/page" --port "${PORT:-8080}"
fi
"$here/scripts/install-deps.sh"
(cd "$here" && cmake --preset release >/dev/null)
cmake --build "$here/build/release"
if [ -x "$here/build/release/src/shell/zelkora" ]; then
  exec "$here/build/release/src/shell/zelkora" "$@"
fi
# Until the desktop program exists, run the file with the command-line runner.
if [ $# -eq 0 ]; then
  echo "usage: ./run.sh FILE.asm" >&2
  exit 64
fi
exec "$here/build/release/src/cli/zelkora-cli" run "$@"
