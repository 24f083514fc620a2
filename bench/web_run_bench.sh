#!/usr/bin/env bash
# Times Go on the same program (100,004,001 statements, bench/web/counted_loop.asm) in native
# zelkora-cli, without and with the step-back history the page keeps, and in the page's
# session in WebAssembly: under node, and in headless chromium when it is installed.
# usage: bench/web_run_bench.sh [NATIVE_BUILD_DIR [WEB_BUILD_DIR]]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
native="${1:-$here/../build/release}"
web="${2:-$here/../build/web}"
cli="$native/src/cli/zelkora-cli"
module="$web/src/web"
program="$here/web/counted_loop.asm"
[ -x "$cli" ] || { echo "build first: $cli not found" >&2; exit 1; }
[ -f "$module/zelkora-core.wasm" ] || { echo "build first: cmake --preset web && cmake --build --preset web" >&2; exit 1; }

for history in "" "--back 0"; do
  for run in 1 2 3; do
    rate=$("$cli" run --stats $history "$program" 2>&1 >/dev/null | awk -F": " "/statements per second/ {print \$2}")
    echo "native${history:+ with history} run $run: $rate statements/s"
  done
done

node "$here/web/session_bench.js" "$module" "$program"

browser=$(command -v chromium || true)
[ -n "$browser" ] || { echo "no chromium: the browser's figure is left out"; exit 0; }
site=$(mktemp -d)
log="$site/server.log"
cp "$module/zelkora-core.js" "$module/zelkora-core.wasm" "$here/web/bench.html" "$program" "$site/"
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$log" 2>&1 &
server=$!
sleep 1
"$browser" --headless=new --no-sandbox --disable-gpu --user-data-dir="$site/profile" \
  "http://127.0.0.1:$port/bench.html" >/dev/null 2>&1 &
browser_pid=$!
for _ in $(seq 1 120); do
  grep -q "GET /result" "$log" && break
  sleep 1
done
kill "$browser_pid" "$server" 2>/dev/null || true
wait "$browser_pid" "$server" 2>/dev/null || true
grep "GET /result" "$log" | sed 's/.*GET \/result?\([^ ]*\).*/\1/' |
  python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.stdin.read()).strip())'
rm -rf "$site"
