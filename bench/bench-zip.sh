#!/usr/bin/env bash
# bench-zip.sh - times brisko-zip and brisko-backup against zip, unzip and 7-Zip on the shared corpus,
# the tools alternating within one session. Reports MB/s (corpus bytes / wall time, best of the runs),
# the speed ratio ours/theirs, the archive size ratio and peak RSS; then the extraction half.
# "bigfile" times one 2 GiB file instead (made from the small corpus), against zip and unzip only,
# and how soon a run stops when interrupted. "many" times 100,000 small files (bench/make-many.sh):
# writing against zip, and an only-newer backup run over the unchanged tree against find -newer.
# Every set also times testing and extracting an AES-256 archive against 7-Zip.
#   usage: bench/bench-zip.sh [RUNS] [small|large|bigfile|many]     (default 3 runs, small corpus)
#   BRISKO_ZIP / BRISKO_BACKUP override the binaries (default: build/src/app/ of this checkout).
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
runs=${1:-3}
set_name=${2:-small}
bin=${BRISKO_ZIP:-$repo/build/src/app/brisko-zip}
backup=${BRISKO_BACKUP:-$repo/build/src/app/brisko-backup}
out=$here/out
corpus=$out/corpus
[ "$set_name" = small ] || corpus=$out/corpus-$set_name
for tool in "$bin" "$backup"; do [ -x "$tool" ] || { echo "bench-zip: $tool not built" >&2; exit 1; }; done
command -v zip >/dev/null || { echo "bench-zip: needs zip" >&2; exit 1; }
command -v 7z >/dev/null && sevenzip=7z || sevenzip=$(command -v 7zz || true)
[ -n "$sevenzip" ] || { echo "bench-zip: needs 7z or 7zz" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench-zip: needs /usr/bin/time (GNU time)" >&2; exit 1; }
mkdir -p "$out"
if [ "$set_name" = bigfile ]; then
  if [ ! -f "$corpus/big.dat" ]; then
    [ -d "$out/corpus" ] || "$repo/../shared/bench/make-corpus.sh" "$out/corpus" small | tail -1
    mkdir -p "$corpus"
    # The small corpus over and over: its repeats lie far beyond any deflate window.
    while [ "$(stat -c %s "$corpus/big.dat" 2>/dev/null || echo 0)" -lt $((2 << 30)) ]; do
      find "$out/corpus" -type f -print0 | sort -z | xargs -0 cat >> "$corpus/big.dat"
    done
    truncate -s $((2 << 30)) "$corpus/big.dat"
  fi
elif [ "$set_name" = many ]; then
  [ -d "$corpus" ] || "$here/make-many.sh" "$corpus" 100000
elif [ ! -d "$corpus" ]; then
  "$repo/../shared/bench/make-corpus.sh" "$corpus" "$set_name" | tail -1
fi
corpus_bytes=$(find "$corpus" -type f -printf '%s\n' | awk '{s += $1} END {print s}')
corpus_files=$(find "$corpus" -type f | wc -l)
echo "corpus: $set_name, $corpus_files files, $corpus_bytes bytes; $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"

# A project of brisko-backup over the corpus, like one made in the window (stored paths, level 6,
# the new archive verified), and the same without verification.
backup_data=$out/backup-data
backup_dest=$out/backup-dest
mkdir -p "$backup_data" "$backup_dest"
# project NAME PREFIX [EXTRA KEY=VALUE]: one project section.
project() {
  printf '\n[%s]\nFilename prefix=%s\nSuffix=2\nSave Path=%s/\nBackup Directory Count=1\n' "$1" "$2" "$backup_dest"
  printf 'Backup0=%s/*.*\nNo Backup Directory Count=0\nWhether include Subdirectory=1\n' "$corpus"
  printf 'Whether store path in Zip=1\nPackLevel=6\nBackupMode=3\nStore Number=1\n'
  [ -z "${3:-}" ] || printf '%s\n' "$3"
}
# Newer: only files changed after the corpus was made, which are none.
stamp=$out/corpus-stamp
touch "$stamp"
newer=$(date -d "@$(($(stat -c %Y "$stamp") + 1))" '+%Y-%m-%d %H:%M:%S')
{
  printf '[Common]\nProject Count=3\nCount0=Bench\nCount1=Unverified\nCount2=Newer\nLast Project=Bench\nIsOverWrite=1\n'
  project Bench bench
  project Unverified unverified Verify=0
  project Newer newer "$(printf 'isUseNew=1\nisUseToday=0\nNewDateTime=%s' "$newer")"
} | sed 's/$/\r/' > "$backup_data/project.ini"

# One timed run of a command inside the corpus: prints "seconds peak_kb".
timed() {
  local t=$out/time.txt
  (cd "$corpus" && /usr/bin/time -v -o "$t" "$@" >/dev/null 2>&1) || echo "bench-zip: failed: $*" >&2
  awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; secs = s}
              /Maximum resident set size/ {kb = $2} END {print secs, kb}' "$t"
}

# Moves an earlier result out of the way: deleting a large tree right before a timed run slows the
# disk for minutes, so old results are deleted only at the end.
aside() {
  if [ -e "$1" ]; then mv "$1" "$out/old.$$.$RANDOM"; fi
}

# race LABEL KIND NAME1 CMD1 NAME2 CMD2 ...: runs the commands in turn RUNS times (%R in a
# command stands for its result path), keeps each one's best time and compares the first with each
# of the others. KIND: archive (sizes compared), backup (like archive, but a backup run leaves its
# archive in the project's folder), folder or walk (nothing is written; sizes are not compared).
race() {
  local label=$1 kind=$2; shift 2
  local -a names=() cmds=() best=() rss=() size=()
  while [ $# -gt 0 ]; do names+=("$1"); cmds+=("$2"); shift 2; done
  local n=${#names[@]} i r
  for ((i = 0; i < n; i++)); do best[i]=999999; done
  for ((r = 1; r <= runs; r++)); do
    for ((i = 0; i < n; i++)); do
      local result=$out/result-$i
      [ "$kind" = folder ] || result=$result.zip
      [ "$kind" = walk ] && result=$out/walk.txt
      aside "$result"
      [ "$kind" = folder ] && mkdir -p "$result"
      local cmd=${cmds[i]//%R/$result}
      # shellcheck disable=SC2086
      read -r s k < <(timed $cmd)
      awk "BEGIN {exit !($s < ${best[i]})}" && best[i]=$s
      rss[i]=$k
      if [ -f "$result" ]; then size[i]=$(stat -c %s "$result")
      elif [ "$kind" = backup ]; then size[i]=$(find "$backup_dest" -name '*.zip' -printf '%T@ %s\n' | sort -n | tail -1 | cut -d' ' -f2)
      else size[i]=0; fi
    done
  done
  for ((i = 1; i < n; i++)); do
    awk -v l="$label" -v bytes="$corpus_bytes" -v a="${names[0]}" -v b="${names[i]}" -v ta="${best[0]}" \
        -v tb="${best[i]}" -v sa="${size[0]}" -v sb="${size[i]}" -v ra="${rss[0]}" -v rb="${rss[i]}" 'BEGIN {
      if (ta <= 0) ta = 0.01; if (tb <= 0) tb = 0.01
      ma = bytes / 1e6 / ta; mb = bytes / 1e6 / tb
      sr = sb > 0 ? sprintf("%.4f", sa / sb) : "-"
      printf "| %s | %s %.1f MB/s | %s %.1f MB/s | %.2fx | %s | %d / %d |\n", l, a, ma, b, mb, ma / mb, sr, ra / 1024, rb / 1024
    }'
  done
  # Folders of extracted trees are compared once with the first peer's.
  if [ "$kind" = folder ]; then
    diff -r -q "$out/result-0" "$out/result-1" >/dev/null || echo "| $label | TREES DIFFER | | | | |"
  fi
}

pass=bench-pass
echo
echo "| what | ours | peer | speed ours/peer | size ours/peer | peak RSS MiB ours / peer |"
echo "|---|---|---|---|---|---|"

if [ "$set_name" = bigfile ]; then
  race "a -6, one file" archive \
    brisko-zip "$bin a -6 %R big.dat" \
    "zip -6" "zip -q -6 %R big.dat"
  race "x, one file" folder \
    brisko-zip "$bin x -o always -d %R $out/result-1.zip" \
    unzip "unzip -q -o $out/result-1.zip -d %R"
  # An interrupted run (SIGINT, as Ctrl+C sends) stops and removes its partial archive.
  stopped=$out/stopped.zip
  aside "$stopped"
  (cd "$corpus" && exec "$bin" a -6 "$stopped" big.dat) >/dev/null 2>&1 &
  pid=$!
  sleep 5
  start=$(date +%s.%N)
  kill -INT "$pid"
  wait "$pid" || true
  end=$(date +%s.%N)
  left=removed
  [ -e "$stopped" ] && left="LEFT BEHIND"
  echo
  echo "Interrupted after 5 s: stopped $(awk -v a="$start" -v b="$end" 'BEGIN {printf "%.2f", b - a}') s after SIGINT; partial archive $left."
  rm -rf "$out"/old.* "$out"/result-*
  exit 0
fi
# AES-256 archives read back: each member costs a key derivation, as 7-Zip's do.
aes_lines() {
  local aes=$out/t-aes.zip
  [ -f "$aes" ] || (cd "$corpus" && "$sevenzip" a -tzip -mx=5 -mmt=2 -mem=AES256 -p"$pass" "$aes" . >/dev/null)
  race "t, AES-256" walk \
    brisko-zip "$bin t -P $pass $aes" \
    "7z t" "$sevenzip t -p$pass $aes"
  race "x, AES-256" folder \
    brisko-zip "$bin x -P $pass -o always -d %R $aes" \
    "7z x" "$sevenzip x -y -p$pass -o%R $aes"
}

if [ "$set_name" = many ]; then
  race "a -6, many files" archive \
    brisko-zip "$bin a -6 -r %R ." \
    "zip -6" "zip -q -r -6 %R ."
  # Nothing changed since the stamp: the run costs a walk of the tree.
  race "only-newer run, nothing changed" walk \
    brisko-backup "$backup --config-dir $backup_data run Newer" \
    "find -newer" "find . -newer $stamp"
  aes_lines
  rm -rf "$out"/old.* "$out"/result-* "$backup_dest"/*.zip
  exit 0
fi
race "a -6" archive \
  brisko-zip "$bin a -6 -r %R ." \
  "zip -6" "zip -q -r -6 %R ." \
  "7z -mx=5 -mmt=2" "$sevenzip a -tzip -mx=5 -mmt=2 %R ."
race "a -6, encrypted" archive \
  brisko-zip "$bin a -6 -r -P $pass %R ." \
  "zip -6 -P" "zip -q -r -6 -P $pass %R ."
race "a -6, AES-256" archive \
  brisko-zip "$bin a -6 -r --aes -P $pass %R ." \
  "7z -mem=AES256" "$sevenzip a -tzip -mx=5 -mmt=2 -mem=AES256 -p$pass %R ."
race "backup run" backup \
  brisko-backup "$backup --config-dir $backup_data run Bench" \
  "zip -6" "zip -q -r -6 %R ."
# What reading the new archive back costs: the same project with Verify=0 as the peer.
race "backup run, verified" backup \
  verified "$backup --config-dir $backup_data run Bench" \
  Verify=0 "$backup --config-dir $backup_data run Unverified"

# Extraction of archives made by zip -6 (plain and encrypted) into fresh folders.
plain=$out/x-plain.zip
crypt=$out/x-crypt.zip
[ -f "$plain" ] || (cd "$corpus" && zip -q -r -6 "$plain" .)
[ -f "$crypt" ] || (cd "$corpus" && zip -q -r -6 -P "$pass" "$crypt" .)
race "x" folder \
  brisko-zip "$bin x -o always -d %R $plain" \
  unzip "unzip -q -o $plain -d %R" \
  "7z x" "$sevenzip x -y -o%R $plain"
race "x, encrypted" folder \
  brisko-zip "$bin x -P $pass -o always -d %R $crypt" \
  "unzip -P" "unzip -q -o -P $pass $crypt -d %R"
aes_lines
# Old results were moved aside above; they go now, after the timing.
rm -rf "$out"/old.* "$out"/result-* "$backup_dest"/*.zip
