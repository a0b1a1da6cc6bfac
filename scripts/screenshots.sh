#!/usr/bin/env bash
# Starts the screenshot tour (the main window with its dialogs) under a virtual X server of
# 1366x768 with a prepared home folder (a project with files to back up; the program itself writes
# the archives and log rows) and saves pictures of each tab, a running backup with its Stop
# button, a restore selection, the wizard pages, the preferences and a timed message into
# docs/screenshots/.
# Usage: scripts/screenshots.sh [build-dir [scale [dark]]]   (default: build, 1)
# With a scale such as 1.25 (QT_SCALE_FACTOR) or "dark" (a dark palette) the pictures are of the whole
# screen, window manager's frame included (openbox, when installed), and go to
# BUILD-DIR/screenshots-SCALE[-dark]/: for checking that the windows fit a laptop screen at that text
# scaling and read on a dark theme.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
scale=${2:-1}
theme=${3:-light}
case $build in /*) ;; *) build="$root/$build" ;; esac
exe="$build/tools/screenshot-tour/brisko-screenshot-tour"
[ -x "$exe" ] || { echo "build the program first: $exe is missing" >&2; exit 1; }
out="$root/docs/screenshots"
suffix=$scale
[ "$theme" = dark ] && suffix="$scale-dark"
[ "$suffix" = 1 ] || out="$build/screenshots-$suffix"
mkdir -p "$out"

# The pictures show a user's home folder, not a temporary one: a private /home (user and mount
# namespaces) holds /home/alex for the run and vanishes with it.
if [ "${BRISKO_PRIVATE_HOME:-}" != 1 ]; then
  exec env BRISKO_PRIVATE_HOME=1 unshare --map-root-user --mount "$root/scripts/screenshots.sh" "$build" "$scale" "$theme"
fi
mount -t tmpfs tmpfs /home
work=/home/alex
export HOME=$work
# The tour, like the program, keeps its settings beside its executable when that folder is writable.
app="$work/.local/lib/brisko-zip-backup"
mkdir -p "$app/help" "$work/Documents/letters" "$work/Documents/Presentations" "$work/Backups"
cp "$exe" "$app/"
cp docs/help/*.html "$app/help/"
for i in 1 2 3; do head -c $((20000 * i)) /dev/urandom | base64 > "$work/Documents/report$i.txt"; done
printf 'Dear reader,\nthe backup ran.\n' > "$work/Documents/letters/letter.txt"
# Large enough for a running backup to be pictured.
head -c 20000000 /dev/urandom | base64 > "$work/Documents/Presentations/yearly-review.txt"
cat > "$app/project.ini" <<INI
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
Save Path=$work/Backups/
Backup Directory Count=2
Backup0=$work/Documents/*.txt
Backup1=$work/Documents/letters/letter.txt
No Backup Directory Count=1
NoBackup0=$work/Documents/*.tmp
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
Save Path=$work/Backups/
Backup Directory Count=1
Backup0=$work/Pictures/*.jpg
BackupMode=3
NewDateTime=2024-01-01 00:00:00
INI

cmd=(env QT_SCALE_FACTOR="$scale" XDG_CONFIG_HOME="$work/.config" timeout 180 "$app/brisko-screenshot-tour" "$out")
[ "$theme" = dark ] && cmd=(env BRISKO_TOUR_DARK=1 "${cmd[@]}")
if [ "$suffix" != 1 ] && command -v xvfb-run >/dev/null; then
  # A window manager, as on a desktop: started first, and waited for until it owns the screen.
  cat >"$work/with-wm.sh" <<'WM'
#!/bin/sh
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm=$!
  i=0
  while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
  done
fi
BRISKO_TOUR_WHOLE_SCREEN=1 "$@"
status=$?
[ -n "${wm:-}" ] && kill "$wm"
exit $status
WM
  chmod +x "$work/with-wm.sh"
  xvfb-run -a -s "-screen 0 1366x768x24" "$work/with-wm.sh" "${cmd[@]}"
elif command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1366x768x24" "${cmd[@]}"
else
  QT_QPA_PLATFORM=offscreen "${cmd[@]}"
fi
ls "$out"
