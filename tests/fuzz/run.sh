#!/usr/bin/env bash
# Builds the fuzzers with clang and runs each for a bounded time.
#   tests/fuzz/run.sh [seconds per target]   (default 20; ./test runs it with 15)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
seconds="${1:-20}"
out="${ORLO_FUZZ_BUILD:-$here/../../build/fuzz}"
compiler="$(command -v clang++ || command -v clang++-14 || true)"
if [ -z "$compiler" ]; then
    echo "clang++ is not installed: no fuzzing" >&2
    exit 0
fi
cmake -S "$here" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in fuzz_pageencoding; do
    mkdir -p "$work/$target"
    echo "fuzzing $target for ${seconds}s"
    "$out/$target" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
        -artifact_prefix="$out/" \
        -print_final_stats=1 "$work/$target" 2>&1 | tail -n 12
    # libFuzzer's exit status tells whether a target failed.
    test "${PIPESTATUS[0]}" -eq 0
done
