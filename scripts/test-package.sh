#!/usr/bin/env bash
# Builds the Debian package, installs it into this machine, checks the installed program
# the way a user meets it, then purges it and checks that nothing is left behind.
#
#   bash scripts/test-package.sh
#
# Needs root (or sudo): it really installs and removes the package "vortak". Used by CI.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
rm -f build/vortak_*.deb
cmake --build build --target package
deb=$(ls "$repo"/build/vortak_*.deb)

if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
app_id=org.example.vortak.Vortak
mime_type=application/x-vortak-model
work=$(mktemp -d)
program_pid=
installed=
cleanup() {
    [ -n "$program_pid" ] && kill -9 "$program_pid" 2>/dev/null
    # A failed check does not leave the package on the machine.
    [ -n "$installed" ] &&
        "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vortak >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "test-package: FAIL: $*" >&2
    exit 1
}
step() { echo "test-package: $*"; }

# Debian's own package checks; errors fail. (Its warning about the ldconfig call of the
# generated maintainer scripts is expected: the raster module is a private library.)
step "lintian"
lintian_status=0
lintian_out=$(lintian --fail-on error --suppress-tags maintscript-calls-ldconfig "$deb" 2>&1) ||
    lintian_status=$?
grep -v "running with root privileges" <<<"$lintian_out" || true
[ "$lintian_status" -eq 0 ] || fail "lintian found errors"

# Everything below runs outside the source tree, on the installed files.
cd "$work"
step "installing $(basename "$deb")"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
installed=1
[ "$(dpkg-query -W -f='${Status}' vortak)" = "install ok installed" ] || fail "not installed"

step "validating the desktop entry and the AppStream metainfo"
out=$(desktop-file-validate "/usr/share/applications/$app_id.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate reported: $out"
appstreamcli validate --no-net --strict "/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

step "the installed vortak-cli against the build tree's"
example=/usr/share/vortak/examples/pratt-bridge.vok
cmp -s "$example" "$repo/examples/pratt-bridge.vok" || fail "installed example differs"
/usr/bin/vortak-cli report "$example" >installed.txt 2>installed.log
"$repo/build/vortak-cli" report "$example" >built.txt 2>built.log
[ -s installed.txt ] || fail "empty report"
cmp installed.txt built.txt || fail "reports differ"
# Pictures come from the raster module under /usr/lib/vortak.
/usr/bin/vortak-cli render "$example" --view n --output installed.png 2>>installed.log
"$repo/build/vortak-cli" render "$example" --view n --output built.png 2>>built.log
cmp installed.png built.png || fail "PNG pictures differ"

step "file types and the default program"
cp "$example" bridge.vok
cp "$example" renamed-model # no extension: recognised by the magic of its first line
for file in bridge.vok renamed-model; do
    type=$(xdg-mime query filetype "$file")
    [ "$type" = "$mime_type" ] || fail "xdg-mime query filetype $file gave '$type'"
done
default=$(xdg-mime query default "$mime_type")
[ "$default" = "$app_id.desktop" ] || fail "xdg-mime query default gave '$default'"

step "versions, man pages and icons"
version=$(dpkg-query -W -f='${Version}' vortak)
[ "$(/usr/bin/vortak --version)" = "vortak $version" ] || fail "vortak --version"
[ "$(env -u DISPLAY /usr/bin/vortak-cli --version)" = "vortak-cli $version" ] ||
    fail "vortak-cli --version"
for page in vortak vortak-cli; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page"
    MANWIDTH=80 MAN_KEEP_FORMATTING=0 man "$page" 2>/dev/null | col -b >"$page.man"
    grep -q "^NAME" "$page.man" || fail "man $page shows no NAME section"
    grep -Eq "^ +$page +- " "$page.man" || fail "man $page does not name the program"
done
for size in 16 22 24 32 48 64 128 256; do
    file -b "/usr/share/icons/hicolor/${size}x${size}/apps/vortak.png" |
        grep -q "PNG image data, $size x $size" || fail "icon at $size px"
done

step "Help > Contents (F1) of the installed program shows the first page"
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
mkdir -p "$HOME"
cat >help-check.sh <<'INNER'
set -u
. "$VORTAK_SOURCE/tests/gui/window_named.sh"
QT_QPA_PLATFORM=xcb /usr/bin/vortak >program.log 2>&1 &
echo $! >program.pid
main=$(window_named "Malvero Vortak - Untitled.vok") || { echo "no main window"; exit 1; }
sleep 0.5
# No window manager runs here: the pointer over the window and an explicit focus give it
# the keyboard.
xdotool mousemove --window "$main" 20 20
xdotool windowfocus --sync "$main" 2>/dev/null
xdotool key --clearmodifiers F1
# The help window takes the title of the page it shows: the contents page's once it has
# loaded from /usr/share/vortak/help.
window_named "Vortak Help: Contents" >/dev/null || {
    echo "the help window did not show the contents page"
    xdotool search --name "." getwindowname %@ 2>/dev/null
    exit 1
}
kill -TERM "$(cat program.pid)"
INNER
VORTAK_SOURCE=$repo xvfb-run -a -s "-screen 0 1280x900x24" bash help-check.sh || {
    cat program.log
    fail "help check"
}
program_pid=$(cat program.pid)
for _ in $(seq 50); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
program_pid=

step "purging"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vortak >/dev/null
installed=
dpkg-query -W -f='${Status}' vortak 2>/dev/null | grep -q "installed" && fail "still installed"
left=$(find /usr/bin /usr/lib /usr/share -iname '*vortak*' 2>/dev/null || true)
[ -z "$left" ] || fail "left behind after purge: $left"
type=$(xdg-mime query filetype bridge.vok)
[ "$type" != "$mime_type" ] || fail "the file type outlived the package"
step "passed"
