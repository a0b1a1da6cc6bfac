#!/usr/bin/env bash
# bench-contents.sh - how the Restore tab copes with an archive of many members: lists, filters,
# selects and scrolls MEMBERS members (default 100000; tiny files in nested folders, written once by
# Python's zipfile into bench/out/), timed inside brisko-bench-contents on the offscreen platform.
# Beside it, `unzip -l` and `7zz l` (when installed) list the same archive, alternating with ours in
# one session; each tool's best wall time is kept and the ratio ours/theirs reported.
#   usage: bench/bench-contents.sh [RUNS [MEMBERS]]     (default 3 runs, 100000 members)
#   BRISKO_BUILD=dir overrides the build folder (default: build of this checkout).
set -euo pipefail
export LC_ALL=C QT_QPA_PLATFORM=offscreen
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
runs=${1:-3}
members=${2:-100000}
bin=${BRISKO_BUILD:-$repo/build}/bench/contents-listing/brisko-bench-contents
[ -x "$bin" ] || { echo "bench-contents: $bin not built" >&2; exit 1; }
out=$here/out/contents-$members
archive=$out/many.zip
mkdir -p "$out"
if [ ! -f "$archive" ]; then
  python3 - "$archive" "$members" <<'PY'
import sys, zipfile
path, count = sys.argv[1], int(sys.argv[2])
with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as z:
    for i in range(count):
        ext = ".txt" if i % 4 == 0 else ".dat"
        z.writestr(f"project/part{i // 10000}/folder{i // 100 % 100:02}/file{i:06}{ext}", b"x")
PY
fi
echo "archive: $members members, $(stat -c %s "$archive") bytes"

# Wall seconds of one run of a command.
wall() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

best() { printf '%s\n' "$@" | sort -g | head -1; }

peers=(unzip)
command -v 7zz >/dev/null && peers+=(7zz)
ours=()
declare -A theirs
for ((r = 1; r <= runs; r++)); do
  line=$("$bin" "$archive")
  echo "run $r: $line"
  ours+=("$(wall "$bin" "$archive")")
  for p in "${peers[@]}"; do
    case $p in
      unzip) t=$(wall unzip -l "$archive") ;;
      7zz) t=$(wall 7zz l "$archive") ;;
    esac
    theirs[$p]="${theirs[$p]:-} $t"
  done
done
o=$(best "${ours[@]}")
printf 'ours (list, filter, select all, scroll, start and exit): %.3f s\n' "$o"
for p in "${peers[@]}"; do
  # shellcheck disable=SC2086
  t=$(best ${theirs[$p]})
  printf '%-6s listing: %.3f s   ratio ours/%s %.2f\n' "$p" "$t" "$p" "$(echo "$o / $t" | bc -l)"
done
