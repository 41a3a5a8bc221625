#!/usr/bin/env bash
# Form Filling through a group clip whose own mode is Group Setting while the
# group's mode is "F": the field is replaced and Tab is pressed.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
text="form value $$"
lib=$app/lib1
write_title "$lib/group0.dat" 0 "$text"
write_text_clip "$lib/group0.0" "$text"
printf '\x03%.0s' $(seq 96) >"$lib/group0.mod"  # every clip: Group Setting
set_field "$lib/mode.dat" 0 3                      # group 0: "F"

start_app
start_target
xdotool type --delay 5 "old field"
show_app
focus_target
click_at "$win" $(item_cell 0)
wait_line "TAB" 30 || fail "no Tab after the paste"
wait_state "$win" 30 Iconic || fail "main window did not minimise after the paste"
xdotool key shift+Tab Return
wait_line "SUBMIT:$text" 30 || fail "the field was not replaced by the clip"
echo "PASS"
