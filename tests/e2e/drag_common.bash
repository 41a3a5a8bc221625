# What the drag and drop scripts share: making the paste target, drags with
# the mouse held down, and how their dialogs look.
# Usage: source drag_common.bash BUILD_DIR
source "$(dirname "${BASH_SOURCE[0]}")/capture_common.bash" "$1"

# Makes the paste target the program's, then puts its window $1 in front again.
make_paste_target() {
    focus_target
    activate "$1"
    wait_for_focus "$1" || fail "the program's window did not come back to the front"
}

# Dialog $1 is a dialog to the window manager: it offers neither minimise
# nor maximise, and lies within the screen. Its picture is saved as $2.
dialog_look() {
    local actions=""
    wait_for 30 "actions=\$(xprop -id $1 _NET_WM_ALLOWED_ACTIONS); [[ \$actions == *' = '* ]]" || true
    # Motif hints: functions and decorations without minimise (8, 32) and
    # maximise (16, 64); a fixed size leaves nothing to maximise either.
    read -r functions decorations < <(xprop -id "$1" _MOTIF_WM_HINTS | awk -F' = ' '{split($2, v, ", "); print v[2], v[3]}')
    (((functions & 0x18) == 0 && (decorations & 0x60) == 0)) ||
        fail "$2 offers minimise or maximise: $(xprop -id "$1" _MOTIF_WM_HINTS)"
    [[ $actions == *MAXIMIZE* ]] && fail "$2 can be maximised: $actions"
    on_screen "$1" "$2"
    screenshot "$1" "$2"
}

# Moves the pointer inside window $1 from pixel $2,$3 to $4,$5 in $6 steps,
# as a hand would.
glide() {
    local i
    for ((i = 1; i <= $6; i++)); do
        xdotool mousemove --window "$1" $(($2 + ($4 - $2) * i / $6)) $(($3 + ($5 - $3) * i / $6))
        sleep 0.08
    done
}

# Drags with button $6 (default 1) from twips $2,$3 to $4,$5 inside window $1.
drag_at() {
    local w=$1 x0 y0 b=${6:-1}
    x0=$(px "$2") y0=$(px "$3")
    xdotool mousemove --window "$w" "$x0" "$y0"
    sleep 0.2
    xdotool mousedown "$b"
    sleep 0.2
    glide "$w" "$x0" "$y0" "$(px "$4")" "$(px "$5")" 8
    sleep 0.3
    xdotool mouseup "$b"
    sleep 0.3
}
