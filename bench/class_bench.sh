#!/usr/bin/env bash
# A class checked two ways: `zelkora-cli test` (one process, all cores) against the shell
# loop a teacher would otherwise write, one `zelkora-cli run` per program and case.
#   bench/class_bench.sh [path/to/zelkora-cli]
set -euo pipefail
cli=$(realpath "${1:-build/release/src/cli/zelkora-cli}")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_class.py" "$work"
cd "$work"
programs=$(ls class/*.asm | wc -l)
cases=$(grep -c '^case ' class.tests)
echo "class: $programs programs x $cases cases, $(nproc) cores"

/usr/bin/time -f '%e %M' -o time.txt "$cli" test class.tests class >report.txt || true
read -r seconds peak < <(tail -1 time.txt)
echo "zelkora-cli test: ${seconds} s, peak ${peak} KiB; $(tail -1 report.txt)"

start=$(date +%s.%N)
passed=0
for program in class/*.asm; do
  while read -r word; do
    expected=$(echo "$word" | tr a-z A-Z)
    if got=$(echo "$word" | "$cli" run --max-steps 1000000 "$program" 2>/dev/null) && [ "$got" = "$expected" ]; then
      passed=$((passed + 1))
    fi
  done < <(sed -n 's/^in //p' class.tests)
done
end=$(date +%s.%N)
echo "one zelkora-cli run per program and case (output only): $(echo "$end - $start" | bc) s, $passed passed"
