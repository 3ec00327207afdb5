#!/usr/bin/env bash
# Installs every Debian package Vortak needs to build, test and run. Idempotent: packages
# already present are left alone, and nothing is fetched when all are there. Works as root
# and, for other users, through sudo.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config          # compiler and build
    qt6-base-dev qt6-base-dev-tools libgl-dev # Qt 6 Widgets, Gui, PrintSupport, Test
    qt6-qpa-plugins fonts-dejavu-core         # window-system plugins (offscreen, xcb), a font
    libxlsxwriter-dev                         # spreadsheet export
    zlib1g-dev                                # tests read written workbooks back
    libbenchmark-dev                          # benchmarks
    xvfb xauth xdotool                        # the desktop program without a screen, driven
    clang-14 libfuzzer-14-dev                 # fuzzing the model file reader
    dpkg-dev file lintian                     # the Debian package, its dependencies, checks
    desktop-file-utils appstream              # validating the desktop entry and metainfo
    shared-mime-info xdg-utils                # file types of the installed package ...
    libfile-mimeinfo-perl man-db              # ... as a desktop sees them, man pages
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages are installed."
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps: run as root or install sudo; missing: ${missing[*]}" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have no package lists yet; refresh them before installing.
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
