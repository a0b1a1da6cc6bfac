#!/usr/bin/env bash
# Configures and builds one flavour: build.sh [release|asan|tsan|fuzz|windows]  (default release).
# release is an optimised, hardened build without debug information: what is measured and packaged.
# Every flavour treats warnings as errors, as developers and CI build.
# tsan builds only the tests of the writer's threads, under ThreadSanitizer.
# windows cross-builds the command-line programs and the platform, zip, find and core suites with
# MinGW-w64 (zlib as the only codec); the suites run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
jobs=$(nproc)
common=(-DBRISKO_WERROR=ON)
# With ccache on the machine, checkouts side by side share compiled objects (paths below the
# checkout's parent folder are hashed relative to it).
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$PWD")} CCACHE_NOHASHDIR=1
  common+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
case $flavour in
  release) cmake -S . -B build -G Ninja "${common[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
           cmake --build build -j "$jobs" ;;
  asan)    cmake -S . -B build-asan -G Ninja "${common[@]}" -DCMAKE_BUILD_TYPE=Debug -DBRISKO_SANITIZE=ON >/dev/null
           cmake --build build-asan -j "$jobs" ;;
  tsan)    cmake -S . -B build-tsan -G Ninja "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISKO_TSAN=ON -DBRISKO_GUI=OFF \
             -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
           cmake --build build-tsan -j "$jobs" --target pipeline_tests ;;
  fuzz)    cmake -S . -B build-fuzz -G Ninja "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISKO_FUZZ=ON -DBRISKO_GUI=OFF \
             -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
           cmake --build build-fuzz -j "$jobs" ;;
  windows) cmake -S . -B build-windows -G Ninja "${common[@]}" -DCMAKE_BUILD_TYPE=Release -DBRISKO_GUI=OFF -DBRISKO_LIBDEFLATE=OFF -DBRISKO_TESTS=ON \
             -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW64Toolchain.cmake >/dev/null
           cmake --build build-windows -j "$jobs" ;;
  *) echo "usage: $0 [release|asan|tsan|fuzz|windows]" >&2; exit 2 ;;
esac
