#!/usr/bin/env bash
# Archives across the border: what the Windows brisko-zip.exe writes (run under Wine) extracts exactly
# with the Linux brisko-zip, unzip and 7-Zip, and what the Linux brisko-zip writes extracts exactly with
# brisko-zip.exe, with the traditional cipher and with AES-256 (the system's CNG on Windows). The Windows
# naming rules are checked live: stored names with '/' and bit 11, MS-DOS host and attributes, drive
# letters dropped, names that differ only in letter case taken as one, dot (hidden) folders kept.
# Needs build/ and build-windows/ (scripts/build.sh release, scripts/build.sh windows).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_zip=$root/build/src/app/brisko-zip
win_zip=$root/build-windows/src/app/brisko-zip.exe
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
# A prefix of the build's own, made on first use; no window ever opens. Wine keeps file names in the
# locale's encoding: a UTF-8 locale lets the names beyond ASCII below reach the disk.
export WINEPREFIX=$root/build-windows/wineprefix WINEDEBUG=-all DISPLAY= LC_ALL=C.UTF-8
# Debian has no Qt for MinGW, so the desktop program is not cross-built: its sources at least must hold
# no POSIX header (the platform layer is where such calls go).
if grep -lE '#include <(unistd|pwd|grp|fcntl|dlfcn|signal)\.h>|#include <sys/' src/ui/*.cpp src/ui/*.h src/app/brisko_gui_main.cpp; then
  echo "windows round trip: POSIX headers in the desktop program's sources (above)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT

mkdir -p "$work/src/tree/nested/deeper" "$work/src/tree/empty" "$work/src/tree/.settings"
printf 'plain\n' >"$work/src/tree/plain.txt"
printf 'accents\n' >"$work/src/tree/café ñ.txt"
printf 'greek\n' >"$work/src/tree/nested/αβγ.txt"
head -c 300000 /dev/urandom >"$work/src/tree/nested/deeper/random.bin"
seq 1 50000 >"$work/src/tree/nested/numbers.txt"
printf 'kept\n' >"$work/src/tree/.settings/prefs.ini"  # Wine reports dot folders as hidden
printf 'read only\n' >"$work/src/tree/readonly.txt"
chmod a-w "$work/src/tree/readonly.txt"

win() { (cd "$work/src" && "$wine" "$win_zip" "$@") 2>&1 | tr -d '\r'; }
win_path() { printf 'Z:%s' "${1//\//\\}"; }
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
assert all(i.create_system == 0 for i in names.values()), "made by a host other than MS-DOS"
assert "tree/.settings/prefs.ini" in names, "a hidden folder was left out"
PY
"$linux_zip" x -P secret -d "$work/linux-out" "$work/win.zip" >/dev/null
same_tree "$work/linux-out" "brisko-zip on Linux"
unzip -q -P secret "$work/win.zip" -d "$work/unzip-out"
same_tree "$work/unzip-out" "unzip"

# Written on Linux, read on Windows.
(cd "$work/src" && "$linux_zip" a -r -P secret ../linux.zip tree >/dev/null)
win x -P secret -d ../win-out ../linux.zip >/dev/null
same_tree "$work/win-out" "brisko-zip.exe"
[ "$(stat -c %a "$work/win-out/tree/readonly.txt")" = 444 ] || fail "brisko-zip.exe lost the read-only attribute"
(cd "$work/src" && "$wine" "$win_zip" t -P secret ../linux.zip >/dev/null 2>&1) || fail "brisko-zip.exe t rejects the Linux archive"

# AES-256 both ways; a wrong password extracts nothing.
win a -r -P secret --aes ../win-aes.zip tree >/dev/null
"$linux_zip" x -P secret -d "$work/aes-linux-out" "$work/win-aes.zip" >/dev/null
same_tree "$work/aes-linux-out" "brisko-zip on Linux (AES)"
7zz x -psecret -o"$work/aes-7z-out" "$work/win-aes.zip" >/dev/null
same_tree "$work/aes-7z-out" "7-Zip (AES)"
(cd "$work/src" && "$linux_zip" a -r -P secret --aes ../linux-aes.zip tree >/dev/null)
win x -P secret -d ../win-aes-out ../linux-aes.zip >/dev/null
same_tree "$work/win-aes-out" "brisko-zip.exe (AES)"
for archive in win-aes.zip linux-aes.zip; do
  if win x -P wrong -d "../wrong-$archive" "../$archive" >/dev/null; then fail "brisko-zip.exe took a wrong password for $archive"; fi
  [ -z "$(find "$work/wrong-$archive" -type f 2>/dev/null)" ] || fail "a wrong password wrote files from $archive"
done

# Windows names: a drive path is stored without its drive, and names that differ only in letter case
# are one name (the second is a duplicate; an update replaces the member whatever its case).
mkdir -p "$work/src/case/one" "$work/src/case/two"
printf 'one\n' >"$work/src/case/one/Note.txt"
printf 'two\n' >"$work/src/case/two/NOTE.txt"
win a ../drive.zip "$(win_path "$work/src/tree/plain.txt")" >/dev/null
win a -j ../dup.zip case/one/Note.txt case/two/NOTE.txt | grep -q "already present" || fail "no duplicate reported"
# The member is dated well before the change: archives keep times to two seconds only.
touch -d '2020-01-01 12:00' "$work/src/case/one/Note.txt"
(cd "$work/src" && "$linux_zip" a ../update.zip case/one/Note.txt >/dev/null)
printf 'changed\n' >"$work/src/case/one/Note.txt"
win a ../update.zip CASE/ONE/NOTE.TXT >/dev/null
python3 - "$work" "${work#/}/src/tree/plain.txt" <<'PY' || fail "Windows name rules"
import sys, zipfile
work, plain = sys.argv[1], sys.argv[2]
names = zipfile.ZipFile(work + "/drive.zip").namelist()
assert names == [plain], names
names = zipfile.ZipFile(work + "/dup.zip").namelist()
assert names == ["Note.txt"], names
archive = zipfile.ZipFile(work + "/update.zip")
assert [n.lower() for n in archive.namelist()] == ["case/one/note.txt"], archive.namelist()
assert archive.read(archive.namelist()[0]) == b"changed\n"
PY
# A portable install: brisko-backup.exe beside project.ini keeps the archive, the log and the counter
# there and backs up into the project's folder, AES-encrypted and verified.
mkdir -p "$work/portable" "$work/dest"
# The stored password: each byte combined with the key "Docs4" (project name and its length).
password=$(python3 -c 'print("".join("#%d" % (ord(c) ^ ord("Docs4"[i % 5])) for i, c in enumerate("secret")))')
cp "$root/build-windows/src/app/brisko-backup.exe" "$work/portable/"
{
  printf '[Common]\r\nProject Count=1\r\nCount0=Docs\r\nLast Project=Docs\r\n\r\n[Docs]\r\n'
  printf 'Filename prefix=Docs\r\nSuffix=2\r\nIncrease Value=1\r\nValue=0\r\n'
  printf 'Save Path=%s\\\r\n' "$(win_path "$work/dest")"
  printf 'Backup Directory Count=1\r\nBackup0=%s\\*.*\r\n' "$(win_path "$work/src/tree")"
  printf 'No Backup Directory Count=0\r\nWhether include Subdirectory=1\r\nWhether password Project=1\r\n'
  printf 'Password=%s\r\nEncryption=AES256\r\n' "$password"
  printf 'Whether store path in Zip=0\r\nBackupMode=3\r\nPackLevel=6\r\nStore Number=5\r\n'
} >"$work/portable/project.ini"
(cd "$work/portable" && "$wine" ./brisko-backup.exe run Docs >/dev/null 2>&1) || fail "brisko-backup.exe run failed"
[ -f "$work/dest/Docs1.zip" ] || fail "the portable run wrote no archive: $(ls "$work/dest")"
[ -f "$work/portable/log.txt" ] || fail "the portable run kept no log beside the program"
[ -f "$work/portable/StoreNumber.txt" ] || fail "the portable run kept no counter beside the program"
7zz t -psecret "$work/dest/Docs1.zip" >/dev/null || fail "7-Zip rejects the archive of the portable run"
python3 -c 'import sys, zipfile; assert all(i.compress_type == 99 for i in zipfile.ZipFile(sys.argv[1]).infolist() if not i.is_dir())' \
  "$work/dest/Docs1.zip" || fail "the portable run did not encrypt with AES"
echo "Windows round trips passed."
