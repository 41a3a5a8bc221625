# What the capture, paste and drag scripts share: copies made by other
# programs, the Clipboard Clips as the program left them in its folder
# ($app), waiting for a condition, and the paste-target program.
# Usage: source capture_common.bash BUILD_DIR
source "$(dirname "${BASH_SOURCE[0]}")/common.bash" "$1"

# xclip serving file $2 as target $1 (text when empty) in the foreground;
# its pid in $copier. It exits when another program takes the clipboard.
copy_file() {
    spawn xclip -selection clipboard -quiet -i ${1:+-t "$1"} "$2" >/dev/null 2>&1
    copier=$!
}
copy_text() {
    copies=$((${copies:-0} + 1))
    printf '%s' "$1" >"$work/copy.$copies"
    copy_file "" "$work/copy.$copies"
}

clip_count() {
    [[ -s "$app/clip.dat" ]] && field "$app/clip.dat" d2 0 || echo 0
}
# Title n of "clip.dat" without its blank padding.
clip_title() { bytes "$app/clip.dat" $((2 + 50 * $1)) 50 | sed 's/ *$//'; }
# Waits up to $2 tenths of a second for the clip count to become $1.
wait_count() { wait_for "$2" "[[ \$(clip_count) == $1 ]]"; }
# Waits up to $2 tenths of a second for the newest clip to be titled $1.
wait_newest_title() {
    local want=$1 n
    wait_for "$2" 'n=$(clip_count); ((n > 0)) && [[ $(clip_title $((n - 1))) == "$want" ]]'
}
# Copies text $1 in another program and fails unless it becomes the newest
# clip within $2 tenths of a second.
copy_captured() {
    copy_text "$1"
    wait_newest_title "$1" "$2" || fail "'$1' not captured (count $(clip_count))"
}
# A clip file holding text $2, as a capture writes it: one text record with its NUL.
write_text_clip() {
    local size
    size=$(printf '%s' "$2" | wc -c)  # bytes, whatever the locale
    { printf '\xff\xff\xff\xff'; le32 1; le32 1; le32 0; le32 $((size + 1)); printf '%s\0' "$2"; } >"$1"
}
# The text block of a clip file holding one text record: from byte 20, NUL dropped.
clip_text() { tail -c +21 "$1" | tr -d '\0'; }

# Starts the paste-target program (options, then its title, "Paste Target"
# when none is given): its window in $target, low on the screen, clear of
# the main window; its output in $target_out.
start_target() {
    local args=("$@")
    [[ ${#args[@]} -eq 0 || ${args[-1]} == --* ]] && args+=("Paste Target $$")
    target_out=$work/target.out
    spawn "$build/paste_target" "${args[@]}" >"$target_out" 2>/dev/null
    wait_for 100 grep -q '^READY ' "$target_out" || fail "paste target did not start"
    target=$(awk '/^READY / {print $2; exit}' "$target_out")
    xdotool windowmove --sync "$target" 700 820 >/dev/null 2>&1 || true
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
