#!/usr/bin/env bash
# Cost per model of one `vortak-cli results --format csv` run over a batch of different
# 100-node, 197-element Howe trusses (read, analyse, write), for 100, 1,000 and 10,000
# models. Needs hyperfine. Run from the repository after building:
#   bash bench/batch_results.sh [build-dir]
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for count in 100 1000 10000; do
    mkdir -p "$work/$count"
    "$build/bench/make_howe_models" --batch "$count" "$work/$count" >/dev/null
    runs=$((count >= 10000 ? 3 : 10))
    # The shell expands the file names at each run (one argument of 10,000 names would be
    # too long for a single command-line argument); hyperfine takes the shell's own start-up
    # time off.
    hyperfine --shell=bash --warmup 1 --runs "$runs" --export-json "$work/$count.json" \
        "$build/vortak-cli results --format csv --output $work/out.csv $work/$count/*.vok 2>/dev/null" \
        >/dev/null
    python3 - "$work/$count.json" "$count" <<'PY'
import json, sys
result = json.load(open(sys.argv[1]))["results"][0]
count = int(sys.argv[2])
print(f"{count:6d} models: median {result['median'] * 1000:9.1f} ms in all, "
      f"{result['median'] / count * 1e6:6.0f} us per model")
PY
done
