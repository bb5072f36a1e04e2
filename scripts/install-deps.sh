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
  # tooling
  clang-format clang-tidy
  # fuzzing (libFuzzer) and symbolized sanitizer reports
  clang-14 libclang-rt-14-dev llvm-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
