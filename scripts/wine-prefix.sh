#!/usr/bin/env bash
# Makes (once) the private Wine prefix that the Windows tests run in and prints
# the environment to use it: `eval "$(scripts/wine-prefix.sh)"`.
# The prefix lives in build/wine unless WINEPREFIX is already set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="${WINEPREFIX:-$root/build/wine}"

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
# No .NET or Gecko installers, and no browser launched by ShellExecute.
export WINEDLLOVERRIDES="mscoree,mshtml=;winebrowser.exe=d"
export LC_ALL=C.UTF-8

if [ ! -f "$prefix/.qelmar3d-ready" ]; then
  mkdir -p "$prefix"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  reg() { wine reg add "$@" /f >/dev/null 2>&1; }
  # A virtual desktop stands in for a window manager: without one every
  # DestroyWindow and message box of a shown window waits two seconds.
  reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
  reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x960
  # A crashing test must fail, not wait for someone to close a dialog.
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  # The window's font faces, with real Chinese glyphs.
  for face in 宋体 SimSun 新宋体 NSimSun; do
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "$face" /t REG_SZ /d "WenQuanYi Zen Hei"
  done
  wineserver -w
  # Title-bar buttons are drawn with Marlett.
  for f in /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/wine/marlett.ttf; do
    [ -f "$f" ] && cp "$f" "$prefix/drive_c/windows/Fonts/" && break
  done
  touch "$prefix/.qelmar3d-ready"
fi

printf 'export WINEPREFIX=%q WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES=%q LC_ALL=C.UTF-8\n' \
  "$prefix" "$WINEDLLOVERRIDES"
