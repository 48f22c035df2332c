#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: a machine that already has every package is left alone.
set -euo pipefail

packages=(
  git cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev
  clang-format clang-tidy cppcheck
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine32:i386 wine64
  xvfb xdotool imagemagick fonts-wqy-microhei locales
  python3 python3-pil
)

missing=()
for package in "${packages[@]}"; do
  # dpkg-query prints "install ok installed" only for a fully installed package.
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
