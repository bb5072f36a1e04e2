#!/usr/bin/env bash
# Cross-builds the Windows program and runs its tests under Wine on a virtual
# X display: the windows workflow preset inside one wineserver's lifetime.
set -euo pipefail
cd "$(dirname "$0")/.."
eval "$(scripts/wine-prefix.sh)"
# Wine's WinInet honours a proxy even for 127.0.0.1.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
# One wineserver for the whole run, started before ctest and stopped after:
# a server that a test starts can hold ctest's output pipe open.
xvfb-run -a -s "-screen 0 1280x960x24" bash -c '
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 || true
  rc=0
  cmake --workflow --preset windows || rc=$?
  wineserver -k || true
  exit $rc'
