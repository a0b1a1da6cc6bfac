#!/usr/bin/env bash
# Installs every build and test dependency from Debian packages; does nothing when they are present.
set -euo pipefail

packages=(
  g++ clang clang-format libclang-rt-14-dev cmake ninja-build pkg-config
  zlib1g-dev libdeflate-dev libssl-dev nettle-dev qt6-base-dev libgl-dev libgtest-dev libgmock-dev libcli11-dev
  xvfb xauth zip unzip 7zip libarchive-tools python3 time
  # What the package check runs: the desktop entry's and AppStream's validators, lintian.
  desktop-file-utils appstream lintian
  # The screenshot tour's desktop: a window manager, and xprop to wait for it.
  openbox x11-utils
  # A private session bus for the desktop notification tests.
  dbus-daemon
  # Wine's system cryptography (bcrypt, behind AES on Windows) needs GnuTLS, which Wine only recommends.
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 libgnutls30 googletest
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
