# What the drag and drop scripts share: making the paste target, drags with
# the mouse held down, and how their dialogs look.
# Usage: source drag_common.bash BUILD_DIR
source "$(dirname "${BASH_SOURCE[0]}")/capture_common.bash" "$1"

ini_BulkCount=7 ini_CaptureMode=81 ini_BulkSpacing=91

# Puts the paste target in front long enough for the monitor's tick to take
# it as the paste target, then the program's window $1 again.
make_paste_target() {
    xdotool windowactivate --sync "$target" 2>/dev/null || true
    sleep 1.3
    xdotool windowactivate --sync "$1" 2>/dev/null || true
    sleep 0.3
}

# Dialog $1 is a dialog to the window manager: it offers neither minimise
# nor maximise, and lies within the screen. Its picture is saved as $2.
dialog_look() {
    local actions="" x y size
    wait_for 30 "actions=\$(xprop -id $1 _NET_WM_ALLOWED_ACTIONS); [[ \$actions == *' = '* ]]" || true
    # Motif hints: functions and decorations without minimise (8, 32) and
    # maximise (16, 64); a fixed size leaves nothing to maximise either.
    read -r functions decorations < <(xprop -id "$1" _MOTIF_WM_HINTS | awk -F' = ' '{split($2, v, ", "); print v[2], v[3]}')
    (((functions & 0x18) == 0 && (decorations & 0x60) == 0)) ||
        fail "$2 offers minimise or maximise: $(xprop -id "$1" _MOTIF_WM_HINTS)"
    [[ $actions == *MAXIMIZE* ]] && fail "$2 can be maximised: $actions"
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}')
    size=$(xwininfo -root | awk '/^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print w, h}')
    read -r sw sh <<<"$size"
    read -r dw dh < <(window_size "$1" | tr x ' ')
    ((x >= 0 && y >= 0 && x + dw <= sw && y + dh <= sh)) || fail "$2 at $x,$y size ${dw}x$dh is off the screen"
    screenshot "$1" "$2"
}


# Drags with button $6 (default 1) from twips $2,$3 to $4,$5 inside window $1,
# in small steps as a hand would.
drag_at() {
    local w=$1 x0 y0 x1 y1 b=${6:-1} i
    x0=$(px "$2") y0=$(px "$3") x1=$(px "$4") y1=$(px "$5")
    xdotool mousemove --window "$w" "$x0" "$y0"
    sleep 0.2
    xdotool mousedown "$b"
    sleep 0.2
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove --window "$w" $((x0 + (x1 - x0) * i / 8)) $((y0 + (y1 - y0) * i / 8))
        sleep 0.08
    done
    sleep 0.3
    xdotool mouseup "$b"
    sleep 0.3
}

# Submissions the paste target printed.
submitted() { grep '^SUBMIT:' "$target_out" || true; }
