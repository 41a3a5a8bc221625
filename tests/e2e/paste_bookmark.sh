#!/usr/bin/env bash
# Bookmark (clip paste mode "B"): the click on the cell pastes nothing (the
# restore minimises the window, giving the focus back); the next click into
# the paste target replaces its line with the clip and presses Enter.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
set_field "$ini" $ini_ClipMode 2
text="bookmark line $$"
write_text_clip "$app/clip.0" "$text"
{ printf '\x01\x00'; printf '%-50s' "$text"; printf '%400s' ''; } >"$app/clip.dat"

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
echo "PASS"
