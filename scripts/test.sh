#!/usr/bin/env bash
# Installs what is missing, checks the layout of the sources, builds, and runs every test: the normal build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, the tests of the writer's threads under
# ThreadSanitizer, the Windows suites and programs (archives crossing to and from Linux) under Wine, and
# the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/check-format.sh
export QT_QPA_PLATFORM=offscreen

./scripts/build.sh release
(cd build && ctest --output-on-failure -j "$(nproc)")
./scripts/check-package.sh build

./scripts/build.sh asan
# Qt keeps caches alive until exit, so leak checking stays off for the whole sanitizer run.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -j "$(nproc)")
unset ASAN_OPTIONS UBSAN_OPTIONS

./scripts/build.sh tsan
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure)

./scripts/build.sh windows
# The Windows suites run under Wine, in a prefix of the build's own (see tests/CMakeLists.txt).
(cd build-windows && ctest --output-on-failure --no-tests=error -j "$(nproc)")
./scripts/windows-roundtrip.sh

./scripts/build.sh fuzz
./scripts/fuzz.sh "${BRISKO_FUZZ_SECONDS:-30}"
echo "All tests passed."
