#!/bin/sh
# Crash recovery with the real program under a virtual X server: open a model, place a node
# with the mouse, wait for the recovery copy, kill the program outright, start it again,
# answer Yes to the recovery question and check that the same model is back; then close it
# normally, saving, and check the saved file and the emptied recovery folder.
#
#   recovery_end_to_end.sh PROGRAM MODEL [SCREENSHOT]
#
# Exit status 77 (skipped) when xvfb-run or xdotool are not installed. SCREENSHOT, when
# given, receives a picture of the recovery question, and SCREENSHOT-recovered.png one of the
# window with the recovered model (both need ImageMagick's import).

set -u
program=$1
model=$2
screenshot=${3:-}

if [ -z "${VORTAK_RECOVERY_INSIDE_X:-}" ]; then
    for tool in xvfb-run xdotool; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    export VORTAK_RECOVERY_INSIDE_X=1
    exec xvfb-run -a -s "-screen 0 1280x900x24" sh "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
mkdir -p "$HOME"
recovery="$XDG_STATE_HOME/Vortak/recovery"
cp "$model" "$work/bridge.vok"

fail() {
    echo "FAIL: $*"
    exit 1
}

. "$(dirname "$0")/window_named.sh"

# The one recovery copy in the folder, waited for up to 10 s.
copy_in_folder() {
    i=0
    while [ $i -lt 100 ]; do
        found=$(ls "$recovery"/*.recovery 2>/dev/null | head -n 1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

# The model text of a recovery copy: everything after its first empty line.
model_text() { sed '1,/^$/d' "$1"; }

# 1. Open, edit with the mouse, wait for the copy, kill.
"$program" "$work/bridge.vok" >"$work/first.log" 2>&1 &
pid=$!
main=$(window_named "Malvero Vortak - $work/bridge.vok") || fail "the main window did not appear"
sleep 1
# An empty place near the top right of the drawing area: a click there places a node.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" $((WIDTH - 60)) 110 click 1
copy=$(copy_in_folder) || fail "no recovery copy appeared after the edit"
sleep 0.3
cp "$copy" "$work/expected.recovery"
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=
[ -f "$copy" ] || fail "the killed program's copy is gone"
grep -q "^file $work/bridge.vok\$" "$work/expected.recovery" || fail "the copy lacks the file name"
model_text "$work/expected.recovery" >"$work/expected.vok"
cmp -s "$work/expected.vok" "$work/bridge.vok" && fail "the copy does not hold the edit"

# 2. Start again: the question comes first; Yes.
"$program" "$work/bridge.vok" >"$work/second.log" 2>&1 &
pid=$!
box=$(window_named "Malvero Vortak") || fail "the recovery question did not appear"
sleep 0.7
if [ -n "$screenshot" ] && command -v import >/dev/null 2>&1; then
    import -window root "$screenshot"
fi
xdotool mousemove --window "$box" 20 20
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key --clearmodifiers Return
main=$(window_named "Malvero Vortak - $work/bridge.vok") || fail "no main window after Yes"
[ -f "$copy" ] && fail "the answered copy was not deleted"

# The program keeps the recovered, still unsaved model in its own copy at once.
own=$(copy_in_folder) || fail "the recovered model has no recovery copy"
sleep 0.3
model_text "$own" | cmp -s - "$work/expected.vok" || fail "the recovered model differs"
if [ -n "$screenshot" ] && command -v import >/dev/null 2>&1; then
    import -window root "${screenshot%.png}-recovered.png"
fi

# 3. A normal close asks to save (Yes): the file is the recovered model and no copy is left.
kill -TERM "$pid"
question=$(window_named "Malvero Vortak") || fail "closing did not ask about unsaved changes"
sleep 0.5
xdotool mousemove --window "$question" 20 20
xdotool windowfocus --sync "$question" 2>/dev/null
xdotool key --clearmodifiers Return
i=0
while kill -0 "$pid" 2>/dev/null && [ $i -lt 100 ]; do
    sleep 0.1
    i=$((i + 1))
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
pid=
cmp -s "$work/bridge.vok" "$work/expected.vok" || fail "the saved file differs from the copy"
left=$(ls -A "$recovery")
[ -z "$left" ] || fail "the recovery folder is not empty after a normal end: $left"
echo "PASS"
