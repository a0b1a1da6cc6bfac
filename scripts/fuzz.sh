#!/usr/bin/env bash
# Runs every fuzzer of build-fuzz for the given number of seconds (default 30) from the test archives.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shopt -s nullglob
for fuzzer in build-fuzz/tests/fuzz/*_fuzz; do
  name=$(basename "$fuzzer")
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  # New inputs go to the first folder only; the test archives and the fuzzers' own seeds (encrypted
  # archives with the password the targets use) are read as seeds.
  seeds=(tests/data/legacy tests/data/interop tests/fuzz/seeds)
  echo "fuzzing $name for ${seconds}s"
  log=build-fuzz/$name.log
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      "$work" "${seeds[@]}" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "fuzzer $name failed" >&2
    exit 1
  fi
  tail -n 2 "$log"
done
