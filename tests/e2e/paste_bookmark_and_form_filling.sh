#!/usr/bin/env bash
# Bookmark (clip paste mode "B"): the click on the cell pastes nothing (the
# restore minimises the window, giving the focus back); the next click into
# the paste target replaces its line with the clip and presses Enter.
# Form Filling through a group clip whose own mode is Group Setting while the
# group's mode is "F": the field is replaced and Tab is pressed.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
set_field "$ini" $ini_ClipMode 2
text="bookmark line $$"
first_clip "$text"
form="form value $$"
file_clip "$lib/group0" 0 "$form"
printf '\x03%.0s' $(seq 96) >"$lib/group0.mod"  # every clip: Group Setting
set_field "$lib/mode.dat" 0 3                      # group 0: "F"

start_app
start_target --report
xdotool type --delay 5 "old line"
show_app
click_at "$win" $(clip_cell 0)
wait_state "$win" 30 Iconic || fail "main window did not minimise after the restore"
sleep 0.5  # the paste timer would have fired by now
grep -qE '^(SUBMIT|PASTED)' "$work/target.out" && fail "the click on the cell pasted at once"
xdotool mousemove --window "$target" 200 20 click 1
wait_line "SUBMIT:$text" 30 || fail "the line was not replaced by the clip and submitted"
[[ $(grep -c '^SUBMIT' "$work/target.out") == 1 ]] || fail "more than one submission"
echo "ok: bookmark"

show_app
focus_target
click_at "$win" $(item_cell 0)
wait_line "TAB" 30 || fail "no Tab after the paste"
wait_state "$win" 30 Iconic || fail "main window did not minimise after the paste"
xdotool key shift+Tab Return
wait_line "SUBMIT:$form" 30 || fail "the field was not replaced by the clip"
