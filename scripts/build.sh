#!/usr/bin/env bash
# Configures and builds one flavour: build.sh [release|asan|tsan|fuzz]  (default release).
# tsan builds only the tests of the writer's threads, under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
jobs=$(nproc)
case $flavour in
  release) cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
           cmake --build build -j "$jobs" ;;
  asan)    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISKO_SANITIZE=ON >/dev/null
           cmake --build build-asan -j "$jobs" ;;
  tsan)    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISKO_TSAN=ON -DBRISKO_GUI=OFF \
             -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
           cmake --build build-tsan -j "$jobs" --target pipeline_tests ;;
  fuzz)    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISKO_FUZZ=ON -DBRISKO_GUI=OFF \
             -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
           cmake --build build-fuzz -j "$jobs" ;;
  *) echo "usage: $0 [release|asan|tsan|fuzz]" >&2; exit 2 ;;
esac
