#!/usr/bin/env bash
# Installs the Debian 12 packages that one purpose needs. Safe to run again:
# it only calls apt-get when something is missing.
#   scripts/install-deps.sh [run|demo|test]...   (test when none is named)
#     run   build and start the Linux program (run.sh)
#     demo  run, plus the loopback tips server and the mouse for its picture
#     test  everything the test command builds and runs (test.sh)
set -euo pipefail

run=(
  # build the Linux program
  g++ cmake ninja-build pkg-config
  qt6-base-dev libqt6test6 libcurl4-openssl-dev libgl-dev
  # PNG pictures of the charts
  zlib1g-dev
  # run it: Chinese glyphs, Qt's own texts in Chinese
  fonts-wqy-zenhei qt6-translations-l10n
  # a picture of the window when there is no display
  xvfb xauth imagemagick x11-utils
)
demo=(
  "${run[@]}"
  # the tips page's web server; the mouse on the status line for the tooltip
  python3 xdotool
)
test=(
  "${demo[@]}"
  make
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # tooling
  clang-format clang-tidy
  # the Windows program: cross compilers, Wine and fonts for its tests,
  # dpkg-dev to unpack Google Benchmark's sources for the cross build; zlib
  # built for Windows, linked into the .exe
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine dpkg-dev
  libz-mingw-w64-dev
  # packages: file for CPack's .deb, dpkg-shlibdeps (dpkg-dev) for its
  # Depends, lintian on it; checking the desktop entry, the software-centre
  # metadata, the installed program's window and the .zip; makensis for the
  # Windows setup program
  file lintian desktop-file-utils appstream unzip nsis
  # fuzzing (libFuzzer) and symbolized sanitizer reports
  clang-14 libclang-rt-14-dev llvm-14
)

purposes=("$@")
[ ${#purposes[@]} -gt 0 ] || purposes=(test)
packages=()
for purpose in "${purposes[@]}"; do
  case $purpose in
    run) packages+=("${run[@]}") ;;
    demo) packages+=("${demo[@]}") ;;
    test) packages+=("${test[@]}") ;;
    *)
      echo "usage: $0 [run|demo|test]..." >&2
      exit 2
      ;;
  esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Only the test command cross-builds the benchmarks.
[[ " ${purposes[*]} " == *" test "* ]] || exit 0

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
