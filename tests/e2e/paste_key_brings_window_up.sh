#!/usr/bin/env bash
# With KeysOption 1 ("Ctrl+V"), Ctrl+V typed into another program brings the
# minimised main window up, and that program still pastes; Shift+Insert
# does not bring it up.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
set_field "$ini" $ini_KeysOption 1
start_app
start_target
text="pasted by the user $$"
copy_captured "$text" 30
xdotool windowactivate --sync "$target" >/dev/null 2>&1
wait_for_focus "$target" || fail "the paste target did not get the focus"

xdotool key shift+Insert
sleep 0.5
[[ $(wm_state "$win") == Iconic ]] || fail "Shift+Insert brought the window up"
xdotool key ctrl+a BackSpace ctrl+v
wait_state "$win" 30 Normal || fail "Ctrl+V did not bring the main window up"
# The window comes up and then takes the focus; only then go back to the target.
wait_for_focus "$win" || fail "the main window did not come to the front"
wait_still "$win" || fail "main window keeps moving"
xdotool windowactivate --sync "$target" >/dev/null 2>&1
wait_for_focus "$target" || fail "the paste target did not get the focus back"
xdotool key Return
wait_line "SUBMIT:$text" 30 || fail "the paste target did not paste"
echo "PASS"
