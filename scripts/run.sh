#!/usr/bin/env bash
# Installs what the project needs, builds it and runs it on an example model:
# the analysis report of a Pratt bridge truss.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
./build/vortak-cli report examples/pratt-bridge.vok
