#!/usr/bin/env bash
# Normal paste: a text copied by another program, the paste target in front,
# then a left click on that Clipboard Clip's cell: 150 ms later the text
# arrives in the paste target and the main window minimises. In the window,
# Escape minimises it and the digit 1 pastes the first clip as a click does.
# With KeysOption 1 ("Ctrl+V"), Ctrl+V typed into another program brings the
# minimised main window up, and that program still pastes; Shift+Insert
# does not bring it up.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
set_field "$ini" $ini_KeysOption 1
start_app
start_target --report
text="normal paste $$"
copy_captured "$text" 30

show_app
focus_target
click_at "$win" $(clip_cell 0)
wait_state "$win" 30 Iconic || fail "main window did not minimise after the paste"
wait_for_focus "$target" || fail "the paste target is not in front after the paste"
wait_line "PASTED:text ${#text}" 30 || fail "no paste keystroke arrived in the paste target"
xdotool key Return
wait_line "SUBMIT:$text" 30 || fail "the clip did not arrive in the paste target"
echo "ok: pasted and minimised"

xdotool key ctrl+a BackSpace
show_app
xdotool key Escape
wait_state "$win" 30 Iconic || fail "Escape did not minimise the window"
show_app
xdotool key 1
wait_state "$win" 30 Iconic || fail "the digit 1 did not paste"
wait_for_focus "$target" || fail "the paste target is not in front after the digit's paste"
wait_for 30 "((\$(grep -c '^PASTED' \$work/target.out) == 2))" || true
xdotool key Return
wait_for 30 "((\$(grep -c '^SUBMIT' \$work/target.out) == 2))" || true
[[ $(tail -n1 "$work/target.out") == "SUBMIT:$text" ]] || fail "the digit 1 did not paste the first clip: $(tr "\n" "|" <"$work/target.out")"
echo "ok: keys in the window"

xdotool key ctrl+a BackSpace shift+Insert
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
wait_for 30 "((\$(grep -c '^SUBMIT' \$work/target.out) == 3))" || true
[[ $(tail -n1 "$work/target.out") == "SUBMIT:$text" ]] || fail "Ctrl+V did not paste: $(tr "\n" "|" <"$work/target.out")"
echo "ok: Ctrl+V brings the window up and pastes"
