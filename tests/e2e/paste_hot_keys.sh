#!/usr/bin/env bash
# Alt+A pastes the Hot Key Clip of slot 0 and Ctrl+1 pastes Clipboard Clip 1
# into the application in front, with the main window minimised; neither is
# captured again as a new clip.
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
echo "PASS"
