#!/usr/bin/env bash
# Alt+A pastes the Hot Key Clip of slot 0 and Ctrl+1 pastes Clipboard Clip 1
# into the application in front, with the main window minimised; neither is
# captured again as a new clip. The "HotKeys Off" box switches them off
# (checked, light red) and on again. A hot key pastes into the window in
# front when it is pressed, and after any hot key, in any order of letting
# go, the user's own Shift+Insert still brings the window up. Combinations
# that another program holds are told once, on standard error and in a note.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
hot="hot key clip $$" first="first clip $$"
file_clip "$app/group22" 0 "$hot"
first_clip "$first"

start_app
start_target --report
focus_target
for keys in alt+a ctrl+1; do
    clip=$([[ $keys == alt+a ]] && echo "$hot" || echo "$first")
    xdotool key ctrl+a BackSpace $keys
    wait_line "PASTED:text ${#clip}" 30 || fail "$keys pasted nothing"
    xdotool key Return
    wait_line "SUBMIT:$clip" 30 || fail "$keys did not paste '$clip'"
    echo "ok: $keys"
done

sleep 1.3  # a monitor tick after the pastes
[[ $(clip_count) == 1 ]] || fail "a pasted clip was captured again (count $(clip_count))"
[[ $(wm_state "$win") == Iconic ]] || fail "the main window came up"

pastes() { grep -c '^PASTED' "$1" || true; }
wait_pastes() { wait_for 50 "((\$(pastes $1) >= $2))"; }  # file, count
# The box lies at the bottom left of the Clipboard Clips panel.
box=(708 4164)
show_app
is_red "$(pixel_at "$win" $((${box[0]} + 500)) ${box[1]})" && fail "HotKeys Off red while hot keys are on"
click_at "$win" "${box[@]}"
is_red "$(pixel_at "$win" $((${box[0]} + 500)) ${box[1]})" || fail "HotKeys Off not red after the click"
focus_target
xdotool key alt+a
sleep 0.5
[[ $(grep -c '^PASTED' "$work/target.out") == 2 ]] || fail "Alt+A pasted while hot keys were off"
show_app
click_at "$win" "${box[@]}"
is_red "$(pixel_at "$win" $((${box[0]} + 500)) ${box[1]})" && fail "HotKeys Off still red after the second click"
focus_target
xdotool key alt+a
wait_pastes "$work/target.out" 3 || fail "Alt+A pasted nothing once hot keys were on again"
echo "ok: HotKeys Off"
# Each row: the keys as xdotool takes them, and whether they paste.
rows=(
    "key alt+a|1"
    "keydown alt keydown a keyup alt keyup a|1"
    "key ctrl+1|1"
    "keydown ctrl keydown 1 keyup ctrl keyup 1|1"
    "keydown ctrl keydown 1 keyup 1 keydown minus keyup ctrl keyup minus|1"
    "keydown ctrl keydown equal keyup ctrl keyup equal|0"
    "key ctrl+minus|0"
    "key ctrl+KP_Add|0"
)
for row in "${rows[@]}"; do
    keys=${row%|*}
    n=$(pastes "$work/target.out")
    # shellcheck disable=SC2086
    xdotool $keys
    wait_pastes "$work/target.out" $((n + ${row#*|})) || fail "$keys pasted nothing"
    # The program ignores keys until it has finished typing its own; a
    # stale held modifier would swallow every try.
    wait_for 3 'xdotool key shift+Insert; wait_state "$win" 50 Normal' || fail "Shift+Insert after '$keys' did not bring the window up"
    # A late Shift+Insert of the tries above may bring it up once more.
    wait_for 3 'xdotool windowminimize --sync "$win" >/dev/null 2>&1; wait_state "$win" 30 Iconic' || fail "the window did not minimise again"
    xdotool windowactivate --sync "$target" >/dev/null 2>&1
    wait_for_focus "$target" || fail "the paste target did not get the focus back"
done
echo "ok: the paste keystroke is noticed after every hot key"

# Another program comes forward a moment after the monitor recorded the
# paste target: Ctrl+1 pastes into the one in front.
spawn "$build/paste_target" --report "Other Target $$" >"$work/other.out" 2>/dev/null
wait_for 100 "other=\$(awk '/^READY/ {print \$2; exit}' \$work/other.out); [[ -n \$other ]]" || fail "the other paste target did not start"
xdotool windowmove --sync "$other" 100 820 >/dev/null 2>&1 || true
focus_target
n=$(pastes "$work/target.out")
xdotool windowactivate --sync "$other" >/dev/null 2>&1
wait_for_focus "$other" || fail "the other paste target did not get the focus"
xdotool key ctrl+1
wait_pastes "$work/other.out" 1 || fail "Ctrl+1 did not paste into the window in front"
sleep 0.5
(($(pastes "$work/target.out") == n)) || fail "Ctrl+1 pasted into the window left a moment before"
(($(xdotool getactivewindow) == other)) || fail "the window left a moment before came forward"
echo "ok: a hot key pastes where it is pressed"

# Another program holds Alt+A and Ctrl+2 when the program starts.
close_and_wait "$win" "$pid"
spawn "$build/grab_window" --hold-keys alt+a ctrl+2 >"$work/holder.out"
wait_for 50 'grep -q READY "$work/holder.out"' || fail "the keys could not be held"
start_app
told="Another program holds these hot keys, so they do nothing here: Alt+A, Ctrl+2."
wait_for 50 'grep -qxF "pellion: $told" "$work/program.log"' || true
(($(grep -cxF "pellion: $told" "$work/program.log") == 1)) || fail "refused keys not told once on standard error"
search_window 50 --all --onlyvisible --pid "$pid" --name '^ Hot Keys$' >/dev/null || fail "no note about the refused keys"
focus_target
n=$(pastes "$work/target.out")
xdotool key ctrl+3
wait_pastes "$work/target.out" $((n + 1)) || fail "the program does not go on behind the note"
echo "ok: refused keys told"
