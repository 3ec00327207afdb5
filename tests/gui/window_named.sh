# Shell functions for driving the real program under a virtual X server with xdotool.
# Sourced by the end-to-end scripts; POSIX sh.

# Prints the id of the window whose title is exactly $1, waiting for it up to 15 s; fails
# when none appears.
window_named() {
    i=0
    while [ $i -lt 150 ]; do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | tail -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}
