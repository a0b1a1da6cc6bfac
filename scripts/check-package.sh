#!/usr/bin/env bash
# Checks what a user installs from a release build (default folder: build): the desktop entry and the
# AppStream metadata validate, `cmake --install --strip` gives small programs, and the Debian package
# passes lintian without errors.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

desktop-file-validate packaging/brisko-zip-backup.desktop
appstreamcli validate --no-net --explain packaging/example.brisko.ZipBackup.metainfo.xml

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --strip --prefix "$stage/usr" >/dev/null
for program in "$stage"/usr/bin/*; do
  size=$(stat -c %s "$program")
  if [ "$size" -ge $((3 * 1024 * 1024)) ]; then
    echo "$(basename "$program") is $size bytes once stripped (3 MiB at most)" >&2
    exit 1
  fi
done

rm -f "$build"/brisko-zip-backup_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
# Errors fail the check; warnings and notes are for the maintainers to read.
lintian --fail-on error "$build"/brisko-zip-backup_*.deb
echo "Package checks passed."
