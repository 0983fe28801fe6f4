#!/usr/bin/env bash
# Builds the fuzzer with clang and runs it for a bounded time.
#   tests/fuzz/run.sh [seconds]   (default 20; ./test runs it with 15)
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
echo "fuzzing fuzz_pageencoding for ${seconds}s"
"$out/fuzz_pageencoding" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
    -artifact_prefix="$out/" -print_final_stats=1 "$work" 2>&1 | tail -n 12
# libFuzzer's exit status tells whether it failed.
test "${PIPESTATUS[0]}" -eq 0
