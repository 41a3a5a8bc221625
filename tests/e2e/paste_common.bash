# What the paste scripts share: the program set up in $app with the window
# in its Large layout (minimised at start unless told otherwise), the
# paste-target program, clip files written before start, and waits.
# Usage: source paste_common.bash BUILD_DIR
source "$(dirname "${BASH_SOURCE[0]}")/capture_common.bash" "$1"

# A first run writes the data files; later runs start minimised, with no
# help window in the way and the highlight moved by the keyboard.
prepare_program() {
    prepare_folder "$app"
    set_field "$ini" $ini_OnTop 0
    set_field "$ini" $ini_Layout 0
    set_field "$ini" $ini_StickyOption 0
}

# Waits up to $2 tenths of a second for a line of the target's output that
# matches $1 exactly; otherwise prints what it did print.
wait_line() {
    local line=$1
    wait_for "${2:-50}" 'grep -qxF -- "$line" "$work/target.out"' && return 0
    echo "target printed: $(tr '\n' '|' <"$work/target.out")" >&2
    return 1
}

# Clip $2 of index file $1.dat holding text $3, in file $1.$2, filed before the start.
file_clip() {
    write_title "$1.dat" "$2" "$3"
    write_text_clip "$1.$2" "$3"
}
# Clipboard Clip 0 holding text $1, titled $2 (else the text), filed before the start.
first_clip() {
    write_text_clip "$app/clip.0" "$1"
    { le32 1 2; printf '%-450s' "${2:-$1}"; } >"$app/clip.dat"
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
