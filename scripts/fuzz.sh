#!/usr/bin/env bash
# Fuzzes the model file reader for a while (default 60 seconds): builds the libFuzzer
# target with clang (only the std-only core and the target; no Qt) in build-fuzz and runs
# it on one core over a temporary copy of tests/fuzz/corpus, so that the corpus in the tree
# only changes by hand. Any finding (crash, sanitizer report, failed check, timeout, memory
# blow-up) fails the script; the input that found it is left in build-fuzz/findings.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
    echo "usage: scripts/fuzz.sh [seconds]" >&2
    exit 64
fi

bash scripts/install-deps.sh
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DVORTAK_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz --target fuzz_model_file

work="$(mktemp -d "${TMPDIR:-/tmp}/vortak-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp tests/fuzz/corpus/* "$work/"
findings=build-fuzz/findings
mkdir -p "$findings"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
build-fuzz/tests/fuzz/fuzz_model_file -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$work" || status=$?
if [ "$status" -ne 0 ]; then
    echo "fuzz: a finding; the input is in $findings (replay it with" \
         "build-fuzz/tests/fuzz/fuzz_model_file FILE)" >&2
    exit 1
fi
echo "fuzz: no findings in $seconds seconds"
