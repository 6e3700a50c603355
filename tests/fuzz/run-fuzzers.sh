#!/usr/bin/env bash
# Runs every fuzz target for a while from its seed inputs and prints how many
# inputs each one ran. Usage: run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
# Inputs the fuzzer finds go to BUILD_DIR/fuzz-corpus, never into the sources;
# an input that breaks a target is kept as BUILD_DIR/fuzz-crash-* and fails
# the run.
set -eu
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
for seeds in "$here"/seeds/*/; do
  name=$(basename "$seeds")
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  log="$build/fuzz-$name.log"
  if "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/fuzz-crash-$name-" "$corpus" "$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$name: ${runs:-?} inputs, no failure"
  else
    echo "fuzz_$name: FAILED" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
