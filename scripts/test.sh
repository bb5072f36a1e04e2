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
