#!/usr/bin/env bash
# Assembler speed: times `zelkora-cli asm --image FILE > /dev/null` on a generated
# source and prints the median wall time of 5 runs and the lines per second.
#
#   bench/asm_bench.sh [BUILD_DIR] [LINES]
#
# BUILD_DIR defaults to build/release (the "release" preset); it is configured as a
# Release build if it has not been configured yet, and zelkora-cli is built in it.
# LINES defaults to 100000. RUNS (environment, default 5) sets the number of timed runs.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/release}
lines=${2:-100000}
runs=${RUNS:-5}

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    echo "configuring $build (Release)" >&2
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [[ "$build_type" != "Release" ]]; then
    echo "warning: $build is a '$build_type' build; the figures are meant for Release" >&2
fi
cmake --build "$build" --target zelkora-cli >&2

cli="$build/src/cli/zelkora-cli"
[[ -x "$cli" ]] || { echo "no zelkora-cli at $cli" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source_file="$work/bench.asm"
python3 "$here/gen_asm.py" "$lines" -o "$source_file"

# The source must assemble: a run that stops at the first error would measure nothing.
if ! "$cli" asm --image "$source_file" > /dev/null; then
    echo "the generated source does not assemble" >&2
    exit 1
fi

if command -v hyperfine > /dev/null; then
    hyperfine --style basic --warmup 1 --runs "$runs" --export-json "$work/times.json" \
        "'$cli' asm --image '$source_file' > /dev/null" >&2
    python3 - "$work/times.json" "$lines" <<'EOF'
import json, statistics, sys
times = json.load(open(sys.argv[1]))["results"][0]["times"]
lines = int(sys.argv[2])
median = statistics.median(times)
print("lines %d, runs %d (hyperfine), median %.4f s, min %.4f s, %.0f lines/s"
      % (lines, len(times), median, min(times), lines / median))
EOF
else
    python3 - "$cli" "$source_file" "$lines" "$runs" <<'EOF'
import statistics, subprocess, sys, time
cli, source, lines, runs = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
command = [cli, "asm", "--image", source]
subprocess.run(command, stdout=subprocess.DEVNULL, check=True)  # warm-up: file cache, page faults
times = []
for _ in range(runs):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    times.append(time.perf_counter() - start)
median = statistics.median(times)
print("lines %d, runs %d, median %.4f s, min %.4f s, %.0f lines/s"
      % (lines, runs, median, min(times), lines / median))
print("all runs: " + " ".join("%.4f" % t for t in times))
EOF
fi
