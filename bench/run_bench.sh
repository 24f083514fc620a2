#!/usr/bin/env bash
# Times the run loop: each program in bench/run runs 10^8 statements with
# zelkora-cli run --max-steps, five times; prints the median rate.
# With HISTORY=1 the step-back history records the runs (zelkora-cli run --back 0).
# usage: [HISTORY=1] bench/run_bench.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build/release}"
cli="$build/src/cli/zelkora-cli"
[ -x "$cli" ] || { echo "build first: $cli not found" >&2; exit 1; }
steps=100000000
history=()
[ "${HISTORY:-0}" = 1 ] && history=(--back 0)
for program in "$here"/run/*.asm; do
  rates=()
  for _ in 1 2 3 4 5; do
    # exit status 3 (step limit reached) is the expected end here
    rate=$({ "$cli" run --stats --max-steps "$steps" "${history[@]}" "$program" 2>&1 >/dev/null || true; } | awk -F": " "/statements per second/ {print \$2}")
    rates+=("$rate")
  done
  median=$(printf '%s\n' "${rates[@]}" | sort -n | sed -n 3p)
  printf '%-16s median %s statements/s (runs: %s)\n' "$(basename "$program" .asm)" "$median" "${rates[*]}"
done
