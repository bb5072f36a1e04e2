#!/usr/bin/env bash
# Longer fuzzing runs than the test command's.
#   scripts/fuzz.sh                         every target, 10 minutes each
#   scripts/fuzz.sh fuzz_tips -runs=1000000 one target, libFuzzer's options after it
# New inputs collect in build/fuzz/fuzz/corpus/<target>; crashes are saved as
# build/fuzz/fuzz/crash-* and the run stops with a non-zero status.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=()
while [ $# -gt 0 ] && [[ "$1" != -* ]]; do
  targets+=("$1")
  shift
done
# Every target that fuzz/CMakeLists.txt declares.
[ ${#targets[@]} -eq 0 ] && mapfile -t targets < <(sed -n 's/^qelmar_fuzz_target(\([a-z_]*\).*/\1/p' fuzz/CMakeLists.txt)
[ $# -eq 0 ] && set -- -max_total_time=600

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
bin=build/fuzz/fuzz
for t in "${targets[@]}"; do
  mkdir -p "$bin/corpus/$t"
  echo "== $t $*"
  "$bin/$t" -print_final_stats=1 -timeout=25 -rss_limit_mb=2048 -artifact_prefix="$bin/" \
    "$@" "$bin/corpus/$t" "fuzz/corpus/$t"
done
