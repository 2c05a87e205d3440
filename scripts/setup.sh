#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing when all of it is there.
# Safe to run again and again: it is quiet unless it has something to do.
set -euo pipefail

# wine64 holds the 64-bit loader, which every machine runs; wine32 the 32-bit one, which only
# machines with 32-bit support run (the tests skip it elsewhere).
packages=(cmake make g++ googletest libgtest-dev libbenchmark-dev mingw-w64 g++-mingw-w64-x86-64
  g++-mingw-w64-i686 wine wine64 wine32:i386 fonts-wine xvfb xauth x11-utils fonts-ipafont-gothic
  locales imagemagick clang-format zip unzip clang libclang-rt-14-dev python3 python3-yaml)

# Runs a command as root, through sudo when the caller is someone else.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "setup: '$*' needs root (or sudo)" >&2
    return 1
  fi
}

installed() {
  [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) == ii* ]]
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# The program runs with the Japanese ANSI code page, which Wine takes from this locale.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  if grep -q 'ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  else
    echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  fi
  as_root locale-gen >/dev/null
fi
