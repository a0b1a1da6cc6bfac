#!/usr/bin/env bash
# make-many.sh DIR [COUNT]: a tree of COUNT (default 100,000) small text files, about 1.5 KB each,
# 1,000 to a folder, as a home folder of notes and sources has them. The same bytes every time.
set -euo pipefail
dir=$1
count=${2:-100000}
mkdir -p "$dir"
python3 - "$dir" "$count" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(1234)
words = ("backup archive folder file note source build test report letter budget plan draft "
         "meeting summary invoice photo list table chart version change update release").split()
for i in range(count):
    folder = os.path.join(root, "d%03d" % (i // 1000))
    if i % 1000 == 0:
        os.makedirs(folder, exist_ok=True)
    lines = []
    size = rng.randint(400, 2600)
    total = 0
    while total < size:
        line = " ".join(rng.choice(words) for _ in range(rng.randint(4, 12))) + "\n"
        lines.append(line)
        total += len(line)
    with open(os.path.join(folder, "f%05d.txt" % i), "w") as f:
        f.write("".join(lines))
PY
echo "$count files in $dir"
