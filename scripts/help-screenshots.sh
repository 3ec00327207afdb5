#!/usr/bin/env bash
# Regenerates every picture of the user guide and the README from the program itself:
#   docs/help/images/first-*.png   the first walk-through, the real window and dialogs
#                                  driven offscreen step by step (the run fails if a step
#                                  no longer does what the page says);
#   docs/images/main-window.png    the main window with the Pratt bridge's force diagram;
#   docs/images/*-{n,colour,deformed}.png  pictures drawn by vortak-cli render.
# Run it after changing anything the pictures show, and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target vortak-help-screenshots vortak-cli

export QT_QPA_PLATFORM=offscreen
./build/tests/gui/vortak-help-screenshots docs/help/images \
    examples/pratt-bridge.vok docs/images/main-window.png
./build/vortak-cli render examples/pratt-bridge.vok --view n --size 1400x560 \
    --output docs/images/pratt-bridge-n.png
./build/vortak-cli render examples/fink-roof-on-spring.vok --view colour --size 1400x560 \
    --output docs/images/fink-roof-colour.png
./build/vortak-cli render examples/wall-cantilever.vok --view deformed --size 1000x560 \
    --output docs/images/wall-cantilever-deformed.png
echo "help-screenshots: pictures written; look at them, then commit them."
