#!/usr/bin/env bash
# The "Off" option clicked in the window: nothing is captured while off, and
# clicking "Off" again returns to "Normal" without capturing what was copied
# meanwhile; the next copy is captured as usual.
source "$(dirname "$0")/capture_common.bash" "$1"

app=$work/app
ini_CaptureMode=81
install_program "$app"
start_in "$app"
sleep 0.5

# The "Off" option inside the capture-mode frame (twips, Large full window).
off_x=$((108 + 1635 + 160)) off_y=$((3564 + 186))

copy_captured "before switching off" 25

click_at "$win" $off_x $off_y
[[ $(field "$app/pellion.ini" d2 $ini_CaptureMode) == 1 ]] || fail "capture mode not Off after the click"
copy_text "copied while off"
sleep 2.2
[[ $(clip_count) == 1 ]] || fail "a copy was captured while capture was off"
echo "ok: nothing captured while off"

click_at "$win" $off_x $off_y
[[ $(field "$app/pellion.ini" d2 $ini_CaptureMode) == 0 ]] || fail "second click on Off did not return to Normal"
sleep 2.2
[[ $(clip_count) == 1 ]] || fail "what was copied while off was captured after leaving Off"
echo "ok: leaving Off by clicking it again captures nothing of the meantime"

copy_captured "after switching back" 25
[[ $(clip_count) == 2 ]] || fail "count $(clip_count) after the next copy"
echo "ok: the next copy is captured"
