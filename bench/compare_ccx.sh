#!/usr/bin/env bash
# End-to-end time of `vortak-cli report` on the 100-node, 197-element Howe truss, against a
# general open-source finite-element solver (CalculiX ccx, Debian package calculix-ccx)
# solving the same truss with two-node truss elements. Both run in the same session,
# interleaved: ten rounds of five runs of each, so that the machine's ups and downs fall on
# both alike. Needs hyperfine and calculix-ccx:
#   sudo apt-get install hyperfine calculix-ccx
# Run from the repository after building: bash bench/compare_ccx.sh [build-dir]
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench/make_howe_models" . >/dev/null
ccx howe >/dev/null  # also checks that the deck solves
for round in $(seq 10); do
    hyperfine -N --warmup 1 --runs 5 --export-json "round$round.json" \
        "$build/vortak-cli report howe.vok --output $work/report.txt" "ccx howe" >/dev/null
done
python3 - round*.json <<'PY'
import json, statistics, sys
times = [[], []]
for name in sys.argv[1:]:
    for k, result in enumerate(json.load(open(name))["results"]):
        times[k] += result["times"]
vortak, ccx = (statistics.median(t) * 1000 for t in times)
print(f"vortak-cli report: median {vortak:.1f} ms over {len(times[0])} runs")
print(f"ccx:               median {ccx:.1f} ms over {len(times[1])} runs")
print(f"vortak-cli is {ccx / vortak:.1f} times faster")
PY
