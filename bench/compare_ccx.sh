#!/usr/bin/env bash
# End-to-end time of `vortak-cli report` on the 100-node, 197-element Howe truss, against a
# general open-source finite-element solver (CalculiX ccx, Debian package calculix-ccx)
# solving the same truss with two-node truss elements. Needs hyperfine and calculix-ccx:
#   sudo apt-get install hyperfine calculix-ccx
# Run from the repository after building: bash bench/compare_ccx.sh [build-dir]
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench/make_howe_models" .
ccx howe >/dev/null  # also checks that the deck solves
hyperfine -N --warmup 3 --runs 50 \
    "$build/vortak-cli report howe.vok --output $work/report.txt" \
    "ccx howe"
