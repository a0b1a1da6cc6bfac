#!/usr/bin/env bash
# bench-zip.sh - times brisko-zip against zip on the shared corpus, runs alternating in one session.
# Reports MB/s (corpus bytes / wall time), the speed ratio ours/theirs, the archive size ratio and peak RSS.
#   usage: bench/bench-zip.sh [RUNS]     (default 3 runs per tool and mode)
#   BRISKO_ZIP=path overrides the binary (default: build/src/app/brisko-zip of this checkout).
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
runs=${1:-3}
bin=${BRISKO_ZIP:-$repo/build/src/app/brisko-zip}
out=$here/out
corpus=$out/corpus
[ -x "$bin" ] || { echo "bench-zip: $bin not built" >&2; exit 1; }
command -v zip >/dev/null || { echo "bench-zip: needs zip" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench-zip: needs /usr/bin/time (GNU time)" >&2; exit 1; }
mkdir -p "$out"
if [ ! -d "$corpus" ]; then
  "$repo/../shared/bench/make-corpus.sh" "$corpus" small | tail -1
fi
corpus_bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
corpus_files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus_files files, $corpus_bytes bytes"

# One timed run: prints "seconds peak_kb archive_bytes". Runs inside the corpus so both tools store
# the same relative names.
timed() {
  local archive=$1; shift
  rm -f "$archive"
  local t=$out/time.txt
  (cd "$corpus" && /usr/bin/time -v -o "$t" "$@" >/dev/null)
  local secs kb
  secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' "$t")
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$t")
  echo "$secs $kb $(stat -c %s "$archive")"
}

# Alternates the two tools RUNS times and keeps each one's best time (least disturbed by other load).
compare() {
  local label=$1 ours_args=$2 zip_args=$3
  local best_o=999999 best_z=999999 rss_o=0 rss_z=0 size_o=0 size_z=0
  for ((i = 1; i <= runs; i++)); do
    # shellcheck disable=SC2086
    read -r s k b < <(timed "$out/ours.zip" "$bin" a $ours_args "$out/ours.zip" .)
    if awk "BEGIN {exit !($s < $best_o)}"; then best_o=$s; fi
    rss_o=$k size_o=$b
    # shellcheck disable=SC2086
    read -r s k b < <(timed "$out/theirs.zip" zip -q -r $zip_args "$out/theirs.zip" .)
    if awk "BEGIN {exit !($s < $best_z)}"; then best_z=$s; fi
    rss_z=$k size_z=$b
  done
  awk -v l="$label" -v bytes="$corpus_bytes" -v to="$best_o" -v tz="$best_z" -v so="$size_o" -v sz="$size_z" \
      -v ro="$rss_o" -v rz="$rss_z" 'BEGIN {
    mo = bytes / 1e6 / to; mz = bytes / 1e6 / tz
    printf "%-14s brisko-zip %7.1f MB/s (%.2fs)  zip %7.1f MB/s (%.2fs)  speed ours/theirs %.3f\n", l, mo, to, mz, tz, mo / mz
    printf "%-14s size brisko-zip %d  zip %d  size ours/theirs %.4f   peak RSS %d KB vs %d KB\n", "", so, sz, so / sz, ro, rz
  }'
}

echo "== write (runs: $runs, best of each) =="
compare "level 6" "-6 -r" "-6"
compare "encrypted -6" "-6 -r -P bench-pass" "-6 -P bench-pass"

# == extract ==
# The extraction half (brisko-zip x against unzip) lives in its own script.
if [ -x "$here/bench-unzip.sh" ]; then
  BRISKO_ZIP=$bin "$here/bench-unzip.sh" "$runs"
fi
