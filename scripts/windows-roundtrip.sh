#!/usr/bin/env bash
# Archives across the border: what the Windows brisko-zip.exe writes (run under Wine) extracts exactly
# with the Linux brisko-zip and with unzip, and what the Linux brisko-zip writes extracts exactly with
# brisko-zip.exe. Needs build/ and build-windows/ (scripts/build.sh release, scripts/build.sh windows).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_zip=$root/build/src/app/brisko-zip
win_zip=$root/build-windows/src/app/brisko-zip.exe
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
# A prefix of the build's own, made on first use; no window ever opens.
export WINEPREFIX=$root/build-windows/wineprefix WINEDEBUG=-all DISPLAY=
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT

mkdir -p "$work/src/tree/nested/deeper" "$work/src/tree/empty"
printf 'plain\n' >"$work/src/tree/plain.txt"
printf 'accents\n' >"$work/src/tree/café ñ.txt"
printf 'greek\n' >"$work/src/tree/nested/αβγ.txt"
head -c 300000 /dev/urandom >"$work/src/tree/nested/deeper/random.bin"
seq 1 50000 >"$work/src/tree/nested/numbers.txt"
printf 'read only\n' >"$work/src/tree/readonly.txt"
chmod a-w "$work/src/tree/readonly.txt"

win() { (cd "$work/src" && "$wine" "$win_zip" "$@") 2>&1 | tr -d '\r'; }
fail() { echo "windows round trip: $*" >&2; exit 1; }
same_tree() { diff -r "$work/src/tree" "$1/tree" >/dev/null || fail "$2 differs from the source"; }

# Written on Windows, read on Linux.
win a -r -P secret ../win.zip tree >/dev/null
[ -f "$work/win.zip" ] || fail "brisko-zip.exe wrote no archive"
python3 - "$work/win.zip" <<'PY' || fail "names in the Windows archive"
import sys, zipfile
names = {i.filename: i for i in zipfile.ZipFile(sys.argv[1]).infolist()}
assert "tree/nested/αβγ.txt" in names, sorted(names)
assert all("\\" not in n for n in names), "a backslash in a stored name"
assert names["tree/café ñ.txt"].flag_bits & 0x800, "UTF-8 name without bit 11"
assert names["tree/readonly.txt"].external_attr & 1, "read-only attribute lost"
PY
"$linux_zip" x -P secret -d "$work/linux-out" "$work/win.zip" >/dev/null
same_tree "$work/linux-out" "brisko-zip on Linux"
unzip -q -P secret "$work/win.zip" -d "$work/unzip-out"
same_tree "$work/unzip-out" "unzip"

# Written on Linux, read on Windows.
(cd "$work/src" && "$linux_zip" a -r -P secret ../linux.zip tree >/dev/null)
win x -P secret -d ../win-out ../linux.zip >/dev/null
same_tree "$work/win-out" "brisko-zip.exe"
(cd "$work/src" && "$wine" "$win_zip" t -P secret ../linux.zip >/dev/null 2>&1) || fail "brisko-zip.exe t rejects the Linux archive"
# A portable install: brisko-backup.exe beside project.ini keeps the archive, the log and the counter
# there and backs up into the project's folder.
win_path() { printf 'Z:%s' "${1//\//\\}"; }
mkdir -p "$work/portable" "$work/dest"
cp "$root/build-windows/src/app/brisko-backup.exe" "$work/portable/"
{
  printf '[Common]\r\nProject Count=1\r\nCount0=Docs\r\nLast Project=Docs\r\n\r\n[Docs]\r\n'
  printf 'Filename prefix=Docs\r\nSuffix=2\r\nIncrease Value=1\r\nValue=0\r\n'
  printf 'Save Path=%s\\\r\n' "$(win_path "$work/dest")"
  printf 'Backup Directory Count=1\r\nBackup0=%s\\*.*\r\n' "$(win_path "$work/src/tree")"
  printf 'No Backup Directory Count=0\r\nWhether include Subdirectory=1\r\nWhether password Project=0\r\n'
  printf 'Whether store path in Zip=0\r\nBackupMode=3\r\nPackLevel=6\r\nStore Number=5\r\n'
} >"$work/portable/project.ini"
(cd "$work/portable" && "$wine" ./brisko-backup.exe run Docs >/dev/null 2>&1) || fail "brisko-backup.exe run failed"
[ -f "$work/dest/Docs1.zip" ] || fail "the portable run wrote no archive: $(ls "$work/dest")"
[ -f "$work/portable/log.txt" ] || fail "the portable run kept no log beside the program"
[ -f "$work/portable/StoreNumber.txt" ] || fail "the portable run kept no counter beside the program"
unzip -tq "$work/dest/Docs1.zip" >/dev/null || fail "unzip rejects the archive of the portable run"
echo "Windows round trips passed."
