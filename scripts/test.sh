#!/usr/bin/env bash
# Builds everything and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --workflow --preset linux
# The same suites under AddressSanitizer and UndefinedBehaviorSanitizer, then a
# short run of each fuzz target (scripts/fuzz.sh runs them longer).
cmake --workflow --preset sanitize
cmake --workflow --preset fuzz
# The Windows program, cross-built and tested under Wine on a virtual display.
scripts/test-windows.sh
# The .deb, the .zip and the setup program as users get them, each program
# started once installed.
scripts/test-package.sh
