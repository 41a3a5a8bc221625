# What the paste scripts share: the program set up in $app with the window
# in its Large layout (minimised at start unless told otherwise), the
# paste-target program, clip files written before start, and waits.
# Usage: source paste_common.bash BUILD_DIR
source "$(dirname "${BASH_SOURCE[0]}")/capture_common.bash" "$1"

app=$work/app
ini=$app/pellion.ini
ini_KeysOption=39 ini_ClearOption=45 ini_ClipMode=79 ini_StickyOption=95

# A first run writes the data files; later runs start minimised, with no
# help window in the way and the highlight moved by the keyboard.
prepare_program() {
    install_program "$app"
    start_program "$app"
    local p=$last_pid w
    w=$(main_window "$p") || fail "no main window on the first run"
    close_and_wait "$w" "$p"
    set_field "$ini" $ini_OnTop 0
    set_field "$ini" $ini_Layout 0
    set_field "$ini" $ini_StickyOption 0
}

# Title $3 at slot $2 of index file $1 (50 bytes per title).
write_title() {
    printf '%-50s' "$3" | dd of="$1" bs=1 seek=$((50 * $2)) conv=notrunc status=none
}

# Gives the paste target the focus, and waits until the program's monitor
# (once a second) has taken it as the paste target: that is not visible
# from outside, so this waits out one tick.
focus_target() {
    xdotool windowactivate --sync "$target" >/dev/null 2>&1 || fail "cannot activate the paste target"
    wait_for_focus "$target" || fail "the paste target did not get the focus"
    sleep 1.2
}
wait_for_focus() { wait_for 50 "((\$(xdotool getactivewindow 2>/dev/null || echo 0) == $1))"; }

# Waits up to $2 tenths of a second for a line of the target's output that
# matches $1 exactly; otherwise prints what it did print.
wait_line() {
    local line=$1
    wait_for "${2:-50}" 'grep -qxF -- "$line" "$work/target.out"' && return 0
    echo "target printed: $(tr '\n' '|' <"$work/target.out")" >&2
    return 1
}
# Waits up to $2 tenths for the main window $1 to be in WM state $3.
wait_state() {
    local id=$1 state=$3
    wait_for "${2:-50}" '[[ $(wm_state "$id") == "$state" ]]'
}

# Starts the program in $app: $pid, and its window in $win (shown or not).
start_app() {
    keep_minimised=1 start_program "$app"
    win=$(any_main_window "$pid") || fail "no main window"
    wait_state "$win" 50 Iconic || [[ $(field "$ini" d2 $ini_OnTop) == 1 ]] || fail "window did not start minimised"
}
# Brings the main window up as the user would from the task bar.
show_app() {
    xdotool windowactivate --sync "$win" >/dev/null 2>&1 || true
    wait_state "$win" 50 Normal || fail "main window not shown"
    wait_for_focus "$win" || fail "main window not in front"
    wait_still "$win" || fail "main window keeps moving"
}

# Twips inside the Large window: Clipboard Clip i, group clip i (first column).
clip_cell() { echo 990 $((240 + 240 * $1 + 135)); }
item_cell() { echo $((2808 + 396 + 600)) $((216 + 252 * $1 + 138)); }
