#!/usr/bin/env bash
# Compares the run loop with the step-back history recording and without it: for each
# program in bench/run, RUNS (default 9) runs of 10^8 statements each way, taken in turn
# so that a busy spell of the machine hits both alike; prints the best and the median
# rate of each and their ratio (target: at least 70 %).
# usage: [RUNS=9] bench/history_ratio.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build/release}"
cli="$build/src/cli/zelkora-cli"
[ -x "$cli" ] || { echo "build first: $cli not found" >&2; exit 1; }
runs="${RUNS:-9}"
rate() {
  # exit status 3 (step limit reached) is the expected end here
  { "$cli" run --stats --max-steps 100000000 "$@" 2>&1 >/dev/null || true; } | awk -F": " "/statements per second/ {print \$2}"
}
sorted_off="$(mktemp)" sorted_on="$(mktemp)"
trap 'rm -f "$sorted_off" "$sorted_on"' EXIT
for program in "$here"/run/*.asm; do
  off=() on=()
  for _ in $(seq "$runs"); do
    off+=("$(rate "$program")")
    on+=("$(rate --back 0 "$program")")
  done
  printf '%s\n' "${off[@]}" | sort -n >"$sorted_off"
  printf '%s\n' "${on[@]}" | sort -n >"$sorted_on"
  awk -v name="$(basename "$program" .asm)" -v mid=$(((runs + 1) / 2)) '
    NR == FNR { off[FNR] = $1; next } { on[FNR] = $1 }
    END {
      n = FNR
      printf "%-12s best %4.0f / %4.0f M/s (%.1f %%)  median %4.0f / %4.0f M/s (%.1f %%)\n", name,
        on[n] / 1e6, off[n] / 1e6, 100 * on[n] / off[n], on[mid] / 1e6, off[mid] / 1e6, 100 * on[mid] / off[mid]
    }' "$sorted_off" "$sorted_on"
done
