#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, one after the other.
#   fuzz/run-all.sh SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz/run-all.sh SECONDS}
status=0
for target in fuzz_assemble fuzz_run fuzz_input_file; do
  fuzz/run.sh "$target" "$seconds" || status=1
done
exit $status
