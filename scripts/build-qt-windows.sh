#!/usr/bin/env bash
# Builds Qt 6 (qtbase) for Windows once, from Debian's own source package, with Debian's MinGW-w64
# compilers and the host tools of qt6-base-dev, into a cache outside the tree; later calls reuse it.
# Prints the install prefix on its last line. BRISKO_QT_MINGW_CACHE moves the cache.
set -euo pipefail
cache=${BRISKO_QT_MINGW_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brisko}
version=6.4.2
prefix=$cache/qt6-mingw-$version
if [ -f "$prefix/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  echo "$prefix"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
work=$cache/qt6-mingw-build
mkdir -p "$work"
cd "$work"

# The source package comes from the distribution's own archive: a deb-src twin of its main entry.
if ! ls qt6-base_"$version"*.orig.tar.xz >/dev/null 2>&1; then
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  apt-get source --download-only qt6-base="$version*" >/dev/null 2>&1 || apt-get source --download-only qt6-base >/dev/null
fi
src=$work/qtbase-src
if [ ! -f "$src/CMakeLists.txt" ]; then
  rm -rf "$src" && mkdir -p "$src"
  tar -xf qt6-base_"$version"*.orig.tar.xz -C "$src" --strip-components=1
fi

# Qt links its own runtime choices: the project's toolchain without Wine and without -static.
cat >"$work/mingw.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# tabletevent: Debian's source leaves out the wintab header. OpenGL stays on: the Windows platform
# plugin of this version does not compile without it.
cmake -G Ninja -S "$src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DINPUT_openssl=no -DFEATURE_system_zlib=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF \
  -DFEATURE_tabletevent=OFF >"$work/configure.log"
cmake --build "$work/build" -j "$(nproc)"
cmake --install "$work/build" >/dev/null
rm -rf "$work/build" "$src"
echo "$prefix"
