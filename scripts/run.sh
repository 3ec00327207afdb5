#!/usr/bin/env bash
# Installs what the project needs, builds it and opens the program on an example model
# (a Pratt bridge truss). Without a graphical session it prints the example's analysis
# report with the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build

model=examples/pratt-bridge.vok
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/vortak "$model"
fi
echo "No graphical session (DISPLAY/WAYLAND_DISPLAY unset): printing the report instead." >&2
exec ./build/vortak-cli report "$model"
