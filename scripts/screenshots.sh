#!/usr/bin/env bash
# Starts the screenshot tour (the main window with its dialogs) under a virtual X server with a prepared data folder (a project with
# files to back up; the program itself writes the archives and log rows) and saves pictures of
# each tab, the wizard pages, the preferences and a timed message into docs/screenshots/.
# Usage: scripts/screenshots.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
exe="$build/tools/screenshot-tour/brisko-screenshot-tour"
[ -x "$exe" ] || { echo "build the program first: $exe is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tour, like the program, keeps its settings beside its executable when that folder is writable.
mkdir -p "$work/app/help" "$work/data/Documents/letters" "$work/backups"
cp "$exe" "$work/app/"
cp docs/help/*.html "$work/app/help/"
for i in 1 2 3; do head -c $((20000 * i)) /dev/urandom | base64 > "$work/data/Documents/report$i.txt"; done
printf 'Dear reader,\nthe backup ran.\n' > "$work/data/Documents/letters/letter.txt"
cat > "$work/app/project.ini" <<INI
[Common]
Project Count=2
Count0=Documents
Count1=Photos
Last Project=Documents
Enable schedule=1
Log Count=50
Wildcard Total=2
Wildcard0=*.txt
Wildcard1=*.odt
[Documents]
Filename prefix=Docs
Suffix=2
Increase Value=1
Value=0
Save Path=$work/backups/
Backup Directory Count=2
Backup0=$work/data/Documents/*.txt
Backup1=$work/data/Documents/letters/letter.txt
No Backup Directory Count=1
NoBackup0=$work/data/Documents/*.tmp
Whether include Subdirectory=1
Whether password Project=0
Whether store path in Zip=1
Whether store comment in Zip=1
Comment=Weekly documents
BackupMode=0
StartTime_or_Increase=18:30:00
PackLevel=6
Store Number=10
isUseNew=0
isUseToday=0
NewDateTime=2024-01-01 00:00:00
[Photos]
Filename prefix=Photos
Suffix=1
Save Path=$work/backups/
Backup Directory Count=1
Backup0=$work/data/*.jpg
BackupMode=3
NewDateTime=2024-01-01 00:00:00
INI

out="$root/docs/screenshots"
mkdir -p "$out"
cmd=(env XDG_CONFIG_HOME="$work/config" timeout 120 "$work/app/brisko-screenshot-tour" "$out")
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x900x24" "${cmd[@]}"
else
  QT_QPA_PLATFORM=offscreen "${cmd[@]}"
fi
ls "$out"
