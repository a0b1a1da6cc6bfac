#!/usr/bin/env bash
# Zip64 against other ZIP tools, too slow for the test suite (several minutes, ~5 GiB of disk):
#  - archives we write with 70,000 members, with a member over 4 GiB (a sparse zero-filled file), and
#    with data past the 4 GiB offset are judged by unzip -t, 7-Zip and Python's zipfile;
#  - archives with 70,000 members and a member over 4 GiB written by zip, 7-Zip and Python are
#    listed and tested by brisko-zip.
# Usage: scripts/check-zip64-peers.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
tool=$(realpath "${1:-build}")/src/app/brisko-zip
work=$(mktemp -d "${TMPDIR:-/tmp}/zip64-peers.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
fail=0
ok() { echo "ok   $*"; }
bad() { echo "FAIL $*"; fail=1; }
judge() {  # archive, expected member count
  local a=$1 n=$2
  if unzip -tqq "$a" >/dev/null 2>&1; then ok "unzip -t $a"; else bad "unzip -t $a"; fi
  if 7zz t "$a" >/dev/null 2>&1; then ok "7zz t $a"; else bad "7zz t $a"; fi
  if python3 -c "import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); assert z.testzip() is None; assert len(z.infolist())==int(sys.argv[2])" "$a" "$n"
  then ok "python zipfile $a"; else bad "python zipfile $a"; fi
}
ours() {  # archive, expected member count
  local a=$1 n=$2 listed
  listed=$("$tool" l -1 "$a" | wc -l)
  if [ "$listed" -eq "$n" ]; then ok "brisko-zip l $a ($listed)"; else bad "brisko-zip l $a ($listed, want $n)"; fi
  if "$tool" t "$a" >/dev/null; then ok "brisko-zip t $a"; else bad "brisko-zip t $a"; fi
}

mkdir many && python3 -c "
for i in range(70000): open(f'many/f{i:05d}.txt','w').write(str(i))"
(cd many && "$tool" a -1 ../ours-many.zip . >/dev/null) && judge ours-many.zip 70000
(cd many && zip -qr ../zip-many.zip .) && ours zip-many.zip 70000
(cd many && 7zz a -tzip ../7z-many.zip . >/dev/null) && ours 7z-many.zip 70000
python3 -c "
import zipfile, os
with zipfile.ZipFile('py-many.zip', 'w') as z:
    for n in sorted(os.listdir('many')): z.write('many/' + n, n)" && ours py-many.zip 70000
rm -rf many

mkdir big && truncate -s $(( (4 << 30) + (1 << 20) )) big/zeros.bin && echo small > big/small.txt
(cd big && "$tool" a -1 ../ours-big.zip zeros.bin small.txt >/dev/null) && judge ours-big.zip 2
(cd big && "$tool" a -0 ../ours-offset.zip zeros.bin small.txt >/dev/null) && judge ours-offset.zip 2
rm -f ours-offset.zip
(cd big && zip -q -1 ../zip-big.zip zeros.bin small.txt) && ours zip-big.zip 2
(cd big && 7zz a -tzip -mx=1 ../7z-big.zip zeros.bin small.txt >/dev/null) && ours 7z-big.zip 2
python3 -c "
import zipfile
with zipfile.ZipFile('py-big.zip', 'w', zipfile.ZIP_DEFLATED, compresslevel=1) as z:
    z.write('big/zeros.bin', 'zeros.bin'); z.write('big/small.txt', 'small.txt')" && ours py-big.zip 2
mkdir out && "$tool" x -d out zip-big.zip >/dev/null && cmp -s out/zeros.bin big/zeros.bin && ok "brisko-zip x zip-big.zip" ||
  bad "brisko-zip x zip-big.zip"
exit $fail
