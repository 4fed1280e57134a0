#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing; quiet when all are there.
set -euo pipefail

packages=(
  cmake make g++ pkg-config python3
  qt6-base-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang clang-format libclang-rt-14-dev
  llvm ccache              # llvm-symbolizer names the frames of sanitizer reports
  valgrind libc6-dbg       # the leak run; valgrind wants the C library's symbols
  xvfb xauth openbox xdotool imagemagick x11-utils
  desktop-file-utils appstream dpkg-dev file
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
