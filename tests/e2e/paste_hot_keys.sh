#!/usr/bin/env bash
# Alt+A pastes the Hot Key Clip of slot 0 and Ctrl+1 pastes Clipboard Clip 1
# into the application in front, with the main window minimised; neither is
# captured again as a new clip. The "HotKeys Off" box switches them off
# (checked, light red) and on again.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
hot="hot key clip $$" first="first clip $$"
write_title "$app/group22.dat" 0 "$hot"
write_text_clip "$app/group22.0" "$hot"
write_text_clip "$app/clip.0" "$first"
{ printf '\x01\x00'; printf '%-50s' "$first"; printf '%400s' ''; } >"$app/clip.dat"

start_app
start_target --report
focus_target
xdotool key alt+a
wait_line "PASTED:text ${#hot}" 30 || fail "Alt+A pasted nothing"
xdotool key Return
wait_line "SUBMIT:$hot" 30 || fail "Alt+A did not paste the Hot Key Clip"
echo "ok: Alt+A"

xdotool key ctrl+a BackSpace ctrl+1
wait_line "PASTED:text ${#first}" 30 || fail "Ctrl+1 pasted nothing"
xdotool key Return
wait_line "SUBMIT:$first" 30 || fail "Ctrl+1 did not paste Clipboard Clip 1"
echo "ok: Ctrl+1"

sleep 1.3  # a monitor tick after the pastes
[[ $(clip_count) == 1 ]] || fail "a pasted clip was captured again (count $(clip_count))"
[[ $(wm_state "$win") == Iconic ]] || fail "the main window came up"

# The box lies at the bottom left of the Clipboard Clips panel.
box=(708 4164)
is_red() { [[ $1 =~ ^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$ ]] && ((16#${BASH_REMATCH[1]} > 180 && 16#${BASH_REMATCH[2]} < 120 && 16#${BASH_REMATCH[3]} < 120)); }
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
for _ in $(seq 30); do (($(grep -c '^PASTED' "$work/target.out") == 3)) && break; sleep 0.1; done
[[ $(tail -n1 "$work/target.out") == "PASTED:text ${#hot}" ]] || fail "Alt+A pasted nothing once hot keys were on again"
echo "ok: HotKeys Off"
echo "PASS"
