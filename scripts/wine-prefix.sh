#!/usr/bin/env bash
# Makes (once, and again when its settings change) the private Wine prefix
# that the Windows tests run in and prints the environment to use it:
# `eval "$(scripts/wine-prefix.sh)"`.
# The prefix lives in build/wine unless WINEPREFIX is already set.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
prefix="${WINEPREFIX:-$root/build/wine}"

export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
# No .NET or Gecko installers, no browser launched by ShellExecute, and no
# menu entries on the host for shortcuts that a setup program makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winebrowser.exe=d;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8

# Raise when the settings below change: an older prefix gets them on its next use.
version=3
marker="$prefix/.qelmar3d-ready"
if [ ! -f "$marker" ]; then
  mkdir -p "$prefix"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi
if [ "$(cat "$marker" 2>/dev/null)" != "$version" ]; then
  reg() { wine reg add "$@" /f >/dev/null 2>&1; }
  # A virtual desktop stands in for a window manager: without one every
  # DestroyWindow and message box of a shown window waits two seconds.
  reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default
  reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x960
  # A crashing test must fail, not wait for someone to close a dialog.
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  # The window's font faces, with real Chinese glyphs. Wine draws WenQuanYi
  # Zen Hei's outlines at small sizes without smoothing, whatever the
  # FontSmoothing settings say, and strokes go missing (直选 reads 直辶,
  # 投注 投辻); its Sharp face carries whole bitmaps for 12-16 px. So every
  # face the program and Wine ask for is that face, and the menus, message
  # boxes and title bars get it at 12 px (9 points, as on Chinese Windows)
  # instead of Wine's 11 px Tahoma, which has no Chinese glyphs.
  substitute() {
    reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v "$1" /t REG_SZ /d "$2"
  }
  for face in 宋体 SimSun 新宋体 NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
    substitute "$face" "WenQuanYi Zen Hei Sharp"
  done
  # A LOGFONTW: height -12, weight $1, GB2312 character set, face SimSun.
  logfont() {
    printf '%s' f4ffffff 00000000 00000000 00000000 "$1" 000000 86 00000000 \
      530069006d00530075006e00 "$(printf '0%.0s' {1..104})"
  }
  for metric in MenuFont MessageFont StatusFont IconFont; do
    reg 'HKCU\Control Panel\Desktop\WindowMetrics' /v "$metric" /t REG_BINARY /d "$(logfont 90010000)"
  done
  for metric in CaptionFont SmCaptionFont; do
    reg 'HKCU\Control Panel\Desktop\WindowMetrics' /v "$metric" /t REG_BINARY /d "$(logfont bc020000)"
  done
  wineserver -w
  # Title-bar buttons are drawn with Marlett.
  for f in /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/wine/marlett.ttf; do
    [ -f "$f" ] && cp "$f" "$prefix/drive_c/windows/Fonts/" && break
  done
  echo "$version" >"$marker"
fi

printf 'export WINEPREFIX=%q WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES=%q LC_ALL=C.UTF-8\n' \
  "$prefix" "$WINEDLLOVERRIDES"
