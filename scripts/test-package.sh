#!/usr/bin/env bash
# Builds the release packages and checks what a user would get from them:
# the .deb unpacked into a scratch root, its program started from there on a
# virtual display and closed through its window; the .zip's Windows program
# likewise under Wine; the setup program installed silently into a Wine
# prefix of its own, its program started from the Start menu, and uninstalled.
#   scripts/test-package.sh [deb|zip|setup]...   (all when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
what=("$@")
[ ${#what[@]} -gt 0 ] || what=(deb zip setup)

fail() {
  echo "test-package: $*" >&2
  exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The installed program on an X display of its own: its window must appear
# with the program's title, and closing it must end the program with 0.
run_installed() {
  local program=$1 pid window rc
  mkdir -m 700 "$scratch/runtime" "$scratch/home"
  # A user of its own: whatever it keeps per user stays in the scratch folder.
  HOME=$scratch/home XDG_CACHE_HOME=$scratch/home/.cache XDG_CONFIG_HOME=$scratch/home/.config \
    XDG_DATA_HOME=$scratch/home/.local/share XDG_RUNTIME_DIR=$scratch/runtime QT_QPA_PLATFORM=xcb \
    "$program" >"$scratch/program.log" 2>&1 &
  pid=$!
  trap "kill -9 $pid 2>/dev/null || true; rm -rf '$scratch'" EXIT
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Qelmar3D' | head -n 1) ||
    { cat "$scratch/program.log" >&2; fail "no window of $program appeared"; }
  [ "$(xdotool getwindowpid "$window")" = "$pid" ] || fail "window $window is not the program's"
  [ "$(xdotool getwindowname "$window")" = "Qelmar3D彩票助手" ] || fail "window $window has a wrong title"
  xwininfo -id "$window" | grep -q "Map State: IsViewable" || fail "window $window is not shown"
  scripts/close-window.py "$window"
  rc=0
  timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end after its window was closed"
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || { cat "$scratch/program.log" >&2; fail "the program ended with $rc"; }
  echo "test-package: window $window appeared and closed, exit code 0"
}

# The same for the Windows program under Wine, whose virtual desktop shows
# the window as an X window of its own; taskkill without /f asks it to close
# with WM_CLOSE, as its title-bar button does. The program is started with
# the command given; with a file to await, it is closed once that appears.
run_under_wine() {
  local await=$1 pid window rc
  shift
  "$@" >"$scratch/program.log" 2>&1 &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Qelmar3D' | head -n 1) ||
    { cat "$scratch/program.log" >&2; fail "no window of $* appeared"; }
  [ "$(xdotool getwindowname "$window")" = "Qelmar3D彩票助手" ] || fail "window $window has a wrong title"
  if [ -n "$await" ]; then
    # The first tick of the tips timer, 15 seconds after start, writes the cache.
    timeout 60 bash -c 'until [ -e "$1" ]; do sleep 0.5; done' _ "$await" ||
      fail "the program wrote no $await"
  fi
  wine taskkill /im Qelmar3D.exe >/dev/null
  rc=0
  timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end after WM_CLOSE"
  wait "$pid" || rc=$?
  [ "$rc" -eq 0 ] || { cat "$scratch/program.log" >&2; fail "the program ended with $rc"; }
  echo "test-package: window $window appeared under Wine and closed, exit code 0"
}

start_wineserver() {
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true
}

run_zipped() {
  start_wineserver
  run_under_wine "" wine "$1"
}

# A value of the uninstall key as `reg export` writes it: "name"="text" or
# "name"=dword:hex, with backslashes and quotes escaped.
uninstall_value() {
  sed -n "s/^\"$1\"=//p" "$scratch/uninstall.reg" | tr -d '\r'
}

# The setup program in a fresh prefix, as on a new machine: silent install,
# what it made, its program from the Start menu, silent uninstall.
run_setup() {
  local setup=$1 version=$2 zipped=$3
  local c=$WINEPREFIX/drive_c
  local folder="$c/Program Files/Qelmar3D"
  local shortcut_dos='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Qelmar3D彩票助手.lnk'
  local shortcut="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/Qelmar3D彩票助手.lnk"
  local key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Qelmar3D'
  local appdata rc
  start_wineserver
  rc=0
  wine "$setup" /S || rc=$?
  [ "$rc" -eq 0 ] || fail "the silent setup ended with $rc"

  [ "$(ls -A "$folder" | sort)" = "$(printf '%s\n' Qelmar3D.exe Uninstall.exe)" ] ||
    fail "Program Files\\Qelmar3D holds other files than expected: $(ls -A "$folder")"
  cmp -s "$folder/Qelmar3D.exe" "$zipped" || fail "the installed Qelmar3D.exe is not the .zip's"
  [ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"

  # What "Apps & features" shows. The export is UTF-16, Chinese and all.
  wine reg export "$key" "$scratch/uninstall.reg.utf16" /y >/dev/null 2>&1 || fail "no uninstall key $key"
  iconv -f UTF-16 -t UTF-8 "$scratch/uninstall.reg.utf16" >"$scratch/uninstall.reg"
  local exe_dos='C:\\Program Files\\Qelmar3D\\Qelmar3D.exe'
  [ "$(uninstall_value DisplayName)" = '"Qelmar3D彩票助手"' ] || fail "wrong DisplayName: $(uninstall_value DisplayName)"
  [ "$(uninstall_value DisplayVersion)" = "\"$version\"" ] || fail "wrong DisplayVersion: $(uninstall_value DisplayVersion)"
  [ "$(uninstall_value Publisher)" = '"Qelmar工作室"' ] || fail "wrong Publisher: $(uninstall_value Publisher)"
  [ "$(uninstall_value DisplayIcon)" = "\"$exe_dos,0\"" ] || fail "wrong DisplayIcon: $(uninstall_value DisplayIcon)"
  [[ "$(uninstall_value QuietUninstallString)" == *'Uninstall.exe\" /S"' ]] ||
    fail "wrong QuietUninstallString: $(uninstall_value QuietUninstallString)"
  local size kib
  size=$(uninstall_value EstimatedSize)
  [[ $size == dword:* ]] || fail "EstimatedSize is no DWORD: $size"
  size=$((16#${size#dword:}))
  kib=$(( ($(stat -c %s "$folder/Qelmar3D.exe") + $(stat -c %s "$folder/Uninstall.exe")) / 1024 ))
  [ "$size" -ge "$kib" ] && [ "$size" -le $((kib + 8)) ] || fail "EstimatedSize $size KiB for $kib KiB of files"
  echo "test-package: installed: 2 files, Start-menu shortcut, uninstall key ($size KiB)"

  # Started as a user starts it: from the Start menu. It keeps its cache in
  # the user's application data, not beside itself.
  appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")
  run_under_wine "$appdata/Qelmar3D/tipsupd.dat" wine start /wait "$shortcut_dos"
  [ "$(ls -A "$folder" | sort)" = "$(printf '%s\n' Qelmar3D.exe Uninstall.exe)" ] ||
    fail "the installed program wrote beside itself: $(ls -A "$folder")"

  # The uninstaller runs from a copy in the temporary folder and returns at
  # once; the key is the last thing it removes.
  wine "$folder/Uninstall.exe" /S || fail "the silent uninstall ended with $?"
  timeout 60 bash -c 'while wine reg query "$1" >/dev/null 2>&1; do sleep 0.5; done' _ "$key" ||
    fail "the uninstall key is still there"
  wineserver -k
  wineserver -w
  [ ! -e "$folder" ] || fail "left in Program Files: $(ls -A "$folder")"
  ! find "$c" -path '*/Start Menu/*' -iname '*qelmar*' | grep . || fail "left in the Start menu"
  ! grep -i -n qelmar "$WINEPREFIX"/*.reg || fail "left in the registry"
  [ -f "$appdata/Qelmar3D/tipsupd.dat" ] || fail "the user's data folder went with the program"
  echo "test-package: uninstalled: nothing left in Program Files, the Start menu or the registry; the user's data kept"
}

case "${1:-}" in
  --run-installed) run_installed "$2"; exit 0 ;;
  --run-zipped) run_zipped "$2"; exit 0 ;;
  --run-setup) run_setup "$2" "$3" "$4"; exit 0 ;;
esac

check_deb() {
  rm -f build/release/packages/*.deb
  cmake --workflow --preset release >"$scratch/release.log" 2>&1 ||
    { cat "$scratch/release.log" >&2; fail "the release build failed"; }
  local debs=(build/release/packages/qelmar3d_*_amd64.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
  local deb=${debs[0]}
  echo "test-package: $deb ($(stat -c %s "$deb") bytes)"

  [ "$(dpkg-deb -f "$deb" Package)" = qelmar3d ] || fail "wrong package name"
  local depends
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqt6widgets6 libqt6gui6 libqt6core6 libcurl4 qt6-qpa-plugins qt6-translations-l10n \
    libstdc++6; do
    [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] ||
      fail "Depends lacks $lib: $depends"
  done
  # Links open through xdg-open; without it a click does nothing.
  [[ ", $(dpkg-deb -f "$deb" Recommends)," == *", xdg-utils,"* ]] || fail "Recommends lacks xdg-utils"
  # Debian's own checks: warnings are listed, errors fail.
  lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | sed 's/^/test-package: lintian: /' ||
    fail "lintian reports errors on the .deb"
  # Every dependency resolves against the configured package sources.
  apt-get install -s --no-install-recommends "./$deb" >"$scratch/apt.log" 2>&1 ||
    { cat "$scratch/apt.log" >&2; fail "the .deb's dependencies do not resolve"; }

  local root=$scratch/root
  dpkg-deb -x "$deb" "$root"
  local expected actual
  expected=$(
    echo ./usr/bin/qelmar3d
    echo ./usr/share/applications/qelmar3d.desktop
    echo ./usr/share/metainfo/qelmar3d.metainfo.xml
    for size in 16 24 32 48 64 128 256; do
      echo "./usr/share/icons/hicolor/${size}x${size}/apps/qelmar3d.png"
    done
    echo ./usr/share/icons/hicolor/scalable/apps/qelmar3d.svg
    echo ./usr/share/doc/qelmar3d/copyright
    echo ./usr/share/doc/qelmar3d/changelog.gz
    echo ./usr/share/man/man1/qelmar3d.1.gz
  )
  actual=$(cd "$root" && find . -type f -o -type l)
  diff <(sort <<<"$expected") <(sort <<<"$actual") || fail "the .deb holds other files than expected"

  local program=$root/usr/bin/qelmar3d
  [ -x "$program" ] || fail "the program is not executable"
  ! readelf -S "$program" | grep -q -E '\.debug_info|\.symtab' || fail "the program is not stripped"
  ! ldd "$program" | grep -q "not found" || { ldd "$program" >&2; fail "libraries missing"; }

  local desktop=$root/usr/share/applications/qelmar3d.desktop
  desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
  [ -x "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" ] ||
    fail "the desktop entry's Exec is not the installed program"
  [ "$(sed -n 's/^Icon=//p' "$desktop")" = qelmar3d ] || fail "the desktop entry's Icon is not qelmar3d"
  local png size
  for png in "$root"/usr/share/icons/hicolor/*x*/apps/qelmar3d.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    [ "$(identify -format '%wx%h' "$png")" = "$size" ] || fail "$png is not $size"
  done
  grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/qelmar3d.svg" || fail "the SVG icon is no SVG"

  # What software centres read: valid (infos are listed; warnings and errors
  # fail), pointing at the installed desktop entry, named and summarised in
  # English and Chinese, its screenshots those of docs/. The id is the desktop
  # entry's, the file's and the package's, no reverse domain name: an info.
  local metainfo=$root/usr/share/metainfo/qelmar3d.metainfo.xml
  appstreamcli validate-tree --no-net --override=cid-desktopapp-is-not-rdns=info "$root" \
    >"$scratch/appstream.log" 2>&1 ||
    { cat "$scratch/appstream.log" >&2; fail "appstreamcli finds faults in the metadata"; }
  sed -n 's/^ *\([IWE]: .*\)/test-package: appstream: \1/p' "$scratch/appstream.log"
  grep -q '<launchable type="desktop-id">qelmar3d.desktop</launchable>' "$metainfo" ||
    fail "the metadata does not name the desktop entry"
  local tag
  for tag in '<name>' '<name xml:lang="zh_CN">' '<summary>' '<summary xml:lang="zh_CN">' \
    "<release version=\"$(dpkg-deb -f "$deb" Version)\""; do
    grep -q -F "$tag" "$metainfo" || fail "the metadata lacks $tag"
  done
  local image shots=0
  for image in $(sed -n 's|.*<image>.*/\(docs/[^<]*\)</image>.*|\1|p' "$metainfo"); do
    [ -f "$image" ] || fail "the metadata shows $image, which docs/ lacks"
    shots=$((shots + 1))
  done
  [ "$shots" -gt 0 ] || fail "the metadata shows no screenshot"

  xvfb-run -a -s "-screen 0 1280x800x24" "$0" --run-installed "$program"
  # The folder beside the installed program stays as the package left it
  # apart from the program's own tips cache.
  actual=$(cd "$root/usr/bin" && ls -A | grep -v -x tipsupd.dat || true)
  [ "$actual" = qelmar3d ] || fail "the program left files beside itself: $actual"
}

# One release-windows build makes both Windows packages.
windows_built=""
build_windows() {
  [ -z "$windows_built" ] || return 0
  rm -f build/release-windows/packages/*.zip build/release-windows/packages/*-setup.exe
  cmake --workflow --preset release-windows >"$scratch/release-windows.log" 2>&1 ||
    { cat "$scratch/release-windows.log" >&2; fail "the Windows release build failed"; }
  windows_built=1
  local zips=(build/release-windows/packages/Qelmar3D-*-win64.zip)
  [ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "expected one .zip, found: ${zips[*]}"
  zip=${zips[0]}
  top=$(basename "$zip" .zip)
  unzip -q "$zip" -d "$scratch/zip"
  zipped=$scratch/zip/$top/Qelmar3D.exe
}

is_static_win64() {
  local exe=$1 dlls
  x86_64-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-x86-64' || fail "$exe is no 64-bit Windows program"
  # Static: only DLLs that come with Windows, none of MinGW's runtime.
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p')
  [ -n "$dlls" ] || fail "$exe imports nothing"
  ! grep -i -E '^lib|mingw|pthread' <<<"$dlls" || fail "$exe needs MinGW's runtime DLLs"
}

check_zip() {
  build_windows
  echo "test-package: $zip ($(stat -c %s "$zip") bytes)"
  diff <(printf '%s\n' "$top/Qelmar3D.exe" "$top/README.md") \
    <(zipinfo -1 "$zip" | grep -v '/$' | sort) || fail "the .zip holds other files than expected"
  is_static_win64 "$zipped"

  (
    eval "$(scripts/wine-prefix.sh)"
    # Wine's WinInet honours a proxy even for 127.0.0.1.
    unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
    xvfb-run -a -s "-screen 0 1280x960x24" "$0" --run-zipped "$zipped"
  )
}

check_setup() {
  build_windows
  local setups=(build/release-windows/packages/Qelmar3D-*-setup.exe)
  [ ${#setups[@]} -eq 1 ] && [ -f "${setups[0]}" ] || fail "expected one setup program, found: ${setups[*]}"
  local setup=${setups[0]} version
  version=${setup##*/Qelmar3D-}
  version=${version%-setup.exe}
  echo "test-package: $setup ($(stat -c %s "$setup") bytes)"
  x86_64-w64-mingw32-objdump -f "$setup" | grep -q 'file format pei-x86-64' ||
    fail "the setup program is no 64-bit Windows program"

  (
    # A prefix of its own: nothing of the tests' prefix or an earlier install.
    export WINEPREFIX=$scratch/wine
    eval "$(scripts/wine-prefix.sh)"
    unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
    xvfb-run -a -s "-screen 0 1280x960x24" "$0" --run-setup "$setup" "$version" "$zipped"
  )
}

for w in "${what[@]}"; do
  case $w in
    deb) check_deb ;;
    zip) check_zip ;;
    setup) check_setup ;;
    *) fail "unknown package kind $w" ;;
  esac
done
echo "test-package: all good"
