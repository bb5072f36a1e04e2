#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need. Safe to run
# again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config make
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev python3
  # the Linux program
  qt6-base-dev libqt6test6 libcurl4-openssl-dev libgl-dev
  fonts-wqy-zenhei xvfb xauth
  # a picture of the window when there is no display
  imagemagick x11-utils
  # tooling
  clang-format clang-tidy
  # the Windows program: cross compilers, Wine and fonts for its tests,
  # dpkg-dev to unpack Google Benchmark's sources for the cross build
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine imagemagick dpkg-dev
  # packages: dpkg-shlibdeps (dpkg-dev) for the .deb's Depends; checking the
  # desktop entry, the installed program's window and the .zip
  desktop-file-utils xdotool unzip
  # fuzzing (libFuzzer) and symbolized sanitizer reports
  clang-14 libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Google Benchmark for the Windows cross build comes as Debian's source
# package; source entries are derived from the configured binary ones.
if [ ! -f /usr/src/benchmark/CMakeLists.txt ]; then
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    for f in /etc/apt/sources.list.d/debian.sources; do
      [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" |
        $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    done
    [ -f /etc/apt/sources.list ] && sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
      $sudo tee /etc/apt/sources.list.d/debian-src.list >/dev/null
    $sudo apt-get update
  fi
  tmp="$(mktemp -d)"
  if (cd "$tmp" && apt-get source benchmark >/dev/null); then
    $sudo mkdir -p /usr/src/benchmark
    $sudo cp -a "$tmp"/benchmark-*/. /usr/src/benchmark/
  else
    echo "Google Benchmark sources unavailable: the Windows build skips its benchmarks" >&2
  fi
  rm -rf "$tmp"
fi
