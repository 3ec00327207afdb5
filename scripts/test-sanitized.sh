#!/usr/bin/env bash
# Builds the whole program and every test program with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the full suite, the desktop program's tests included
# (offscreen); any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORTAK_SANITIZE=ON
cmake --build build-sanitize
# Programs the tests start (the command-line tool, the desktop program) inherit these too.
# Every report also goes to a file, so that a finding in a program whose exit status a test
# does not look at still fails the run.
reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:log_path=$reports/asan"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
status=0
ctest --test-dir build-sanitize --output-on-failure || status=$?
if compgen -G "$reports/*" >/dev/null; then
    echo "test-sanitized: the sanitizers reported:" >&2
    cat "$reports"/* >&2
    status=1
fi
exit "$status"
