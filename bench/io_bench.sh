#!/usr/bin/env bash
# Device and memory figures of zelkora-cli: output of escaped and plain lines, echo of
# standard input, and the peak memory of assembling a large source.
#   bench/io_bench.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build="${1:-$here/../build/release}"
cli="$build/src/cli/zelkora-cli"
[ -x "$cli" ] || { echo "build first: $cli not found" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best() {  # best of 3 wall times of a command, in seconds
  python3 - "$@" <<'PY'
import subprocess, sys, time
best = None
for _ in range(3):
    t = time.perf_counter()
    subprocess.run(sys.argv[1], shell=True, check=False)
    d = time.perf_counter() - t
    best = d if best is None or d < best else best
print("%.3f" % best)
PY
}

t=$(best "'$cli' run '$here/io/out_escaped.asm' > /dev/null 2>&1")
echo "output, 333,333 lines of 256 escaped bytes to /dev/null: $t s"
t=$(best "'$cli' run '$here/io/out_plain.asm' > /dev/null 2>&1")
python3 -c "print('output, 1,000,000 plain 80-byte lines to /dev/null: $t s, %.2f M lines/s' % (1.0 / $t))"
python3 -c "import sys; sys.stdout.write(('%080d\n' % 0) * 1000000)" > "$work/input.txt"
t=$(best "'$cli' run '$here/../examples/echo.asm' < '$work/input.txt' > /dev/null 2>&1")
python3 -c "print('echo, 1,000,000 lines of 80 characters through a file: $t s, %.2f M lines/s' % (1.0 / $t))"
t=$(best "cat '$work/input.txt' | '$cli' run '$here/../examples/echo.asm' > /dev/null 2>&1")
python3 -c "print('echo, the same through a pipe: $t s, %.2f M lines/s' % (1.0 / $t))"

python3 "$here/gen_asm.py" 432571 -o "$work/big.asm"
bytes=$(stat -c %s "$work/big.asm")
/usr/bin/time -f "%M %e" -o "$work/time.txt" "$cli" asm --image "$work/big.asm" > /dev/null
read -r kb seconds < "$work/time.txt"
python3 -c "print('assemble 432,571 lines ($bytes bytes) with --image: peak %d MB, %.1f bytes per line, %s s' % ($kb / 1024, $kb * 1024 / 432571, '$seconds'))"
