#!/usr/bin/env bash
# bench-unzip.sh - times `brisko-zip x` against `unzip -q -o` on the same archives of the shared corpus
# (one plain, one encrypted, both written by zip -6), the two tools alternating in one session.
# Reports MB/s (corpus bytes / wall time, best of the runs), the speed ratio ours/theirs and peak RSS,
# and checks once that both tools produced identical trees.
#   usage: bench/bench-unzip.sh [RUNS]     (default 3 runs per tool and archive)
#   BRISKO_ZIP=path overrides the binary (default: build/src/app/brisko-zip of this checkout).
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
runs=${1:-3}
bin=${BRISKO_ZIP:-$repo/build/src/app/brisko-zip}
out=$here/out
corpus=$out/corpus
[ -x "$bin" ] || { echo "bench-unzip: $bin not built" >&2; exit 1; }
for tool in zip unzip; do
  command -v $tool >/dev/null || { echo "bench-unzip: needs $tool" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench-unzip: needs /usr/bin/time (GNU time)" >&2; exit 1; }
mkdir -p "$out"
if [ ! -d "$corpus" ]; then
  "$repo/../shared/bench/make-corpus.sh" "$corpus" small | tail -1
fi
corpus_bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
corpus_files=$(find "$corpus" -type f | wc -l)
echo "corpus: $corpus_files files, $corpus_bytes bytes"

pass=bench-pass
plain=$out/unzip-plain.zip
crypt=$out/unzip-crypt.zip
[ -f "$plain" ] || (cd "$corpus" && zip -q -r -6 "$plain" .)
[ -f "$crypt" ] || (cd "$corpus" && zip -q -r -6 -P "$pass" "$crypt" .)

# One timed run into a fresh folder: prints "seconds peak_kb".
timed() {
  local target=$1; shift
  rm -rf "$target"
  mkdir -p "$target"
  local t=$out/time-unzip.txt
  /usr/bin/time -v -o "$t" "$@" >/dev/null
  local secs kb
  secs=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' "$t")
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$t")
  echo "$secs $kb"
}

# Alternates the two tools RUNS times and keeps each one's best time (least disturbed by other load).
compare() {
  local label=$1 archive=$2 password=$3
  local ours=$out/x-ours theirs=$out/x-theirs
  local -a pw_ours=() pw_theirs=()
  if [ -n "$password" ]; then pw_ours=(-P "$password"); pw_theirs=(-P "$password"); fi
  local best_o=999999 best_u=999999 rss_o=0 rss_u=0
  for ((i = 1; i <= runs; i++)); do
    read -r s k < <(timed "$ours" "$bin" x "${pw_ours[@]}" -o always -d "$ours" "$archive")
    if awk "BEGIN {exit !($s < $best_o)}"; then best_o=$s; fi
    rss_o=$k
    read -r s k < <(timed "$theirs" unzip -q -o "${pw_theirs[@]}" "$archive" -d "$theirs")
    if awk "BEGIN {exit !($s < $best_u)}"; then best_u=$s; fi
    rss_u=$k
  done
  if diff -r -q "$ours" "$theirs" >/dev/null; then same=identical; else same=DIFFERENT; fi
  awk -v l="$label" -v bytes="$corpus_bytes" -v to="$best_o" -v tu="$best_u" -v ro="$rss_o" -v ru="$rss_u" \
      -v same="$same" 'BEGIN {
    if (to <= 0) to = 0.01; if (tu <= 0) tu = 0.01
    mo = bytes / 1e6 / to; mu = bytes / 1e6 / tu
    printf "%-12s brisko-zip x %7.1f MB/s (%.2fs)  unzip %7.1f MB/s (%.2fs)  speed ours/theirs %.3f\n", l, mo, to, mu, tu, mo / mu
    printf "%-12s peak RSS %d KB vs %d KB, trees %s\n", "", ro, ru, same
  }'
  rm -rf "$ours" "$theirs"
}

echo "== extract (runs: $runs, best of each) =="
compare "plain -6" "$plain" ""
compare "encrypted" "$crypt" "$pass"
