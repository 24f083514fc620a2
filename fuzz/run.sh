#!/usr/bin/env bash
# Builds one fuzz target (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build/fuzz and runs it for the given number of seconds.
#   fuzz/run.sh fuzz_assemble|fuzz_run|fuzz_input_file SECONDS [libFuzzer options...]
# The corpus grows in build/fuzz/corpus/TARGET, seeded from examples/ and tests/core/testdata;
# a finding is written to build/fuzz/artifacts/ and makes the script fail.
# JOBS sets the build's parallelism (default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: fuzz/run.sh TARGET SECONDS [libFuzzer options...]}
seconds=${2:?usage: fuzz/run.sh TARGET SECONDS [libFuzzer options...]}
shift 2
case "$target" in
  fuzz_assemble|fuzz_run|fuzz_input_file) ;;
  *) echo "fuzz/run.sh: unknown target $target" >&2; exit 64 ;;
esac

build=build/fuzz
if [ ! -f "$build/build.ninja" ]; then
  cmake --preset fuzz >/dev/null
fi
cmake --build "$build" --target "$target" -j "${JOBS:-2}"

# Seeds: every example program and every golden case on its own (for fuzz_run with a few
# input lines after the NUL that separates source and input).
seeds="$build/seeds/$target"
rm -rf "$seeds"
mkdir -p "$seeds"
n=0
add_seed() { n=$((n + 1)); cat > "$seeds/seed-$n"; }
for f in examples/*.asm; do
  case "$target" in
    fuzz_run) { cat "$f"; printf '\0123\r\n\xE3\x81\x82 abc\n\n-7\nlast'; } | add_seed ;;
    *) add_seed < "$f" ;;
  esac
done
for f in tests/core/testdata/asm/*.txt; do
  # Each "=== name" case up to its first "--- " line.
  awk -v dir="$seeds" -v base="$(basename "$f" .txt)" '
    /^=== / { if (out) close(out); out = dir "/case-" base "-" (++k); inside = 1; next }
    /^--- / { inside = 0 }
    inside && out { print > out }' "$f"
done
if [ "$target" = fuzz_input_file ]; then
  printf 'one\r\ntwo\n\nthree' | add_seed
  printf '\0\r\r\n\xFF\xFE\n\xE3\x81\x82\n\x82\xA0' | add_seed
fi

corpus="$build/corpus/$target"
artifacts="$build/artifacts"
mkdir -p "$corpus" "$artifacts"
log="$build/$target.log"
# Short allocation stacks: recording 30 frames at every allocation halves the speed. To see a
# finding's whole allocation stack, run its artifact again with ASAN_OPTIONS unset.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=4}
set +e
"$build/fuzz/$target" -max_total_time="$seconds" -max_len=1024 -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$@" "$corpus" "$seeds" >"$log" 2>&1 &
pid=$!
wait $pid
status=$?
set -e
rm -f "/dev/shm/zelkora-fuzz-input-$pid.txt" "/tmp/zelkora-fuzz-input-$pid.txt"
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
echo "$target: ${runs:-?} executions in ${seconds} s, exit status $status (log: $log)"
if [ $status -ne 0 ]; then
  tail -n 40 "$log" >&2
  exit $status
fi
