#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program (the archive tool when Qt is absent).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh release
if [ -x build/src/app/brisko-zip-backup ]; then
  exec build/src/app/brisko-zip-backup "$@"
fi
exec build/src/app/brisko-zip "$@"
