#!/usr/bin/env bash
# A text copied by another program becomes the newest Clipboard Clip: its
# title in "clip.dat" and its text drawn in the cell.
source "$(dirname "$0")/capture_common.bash" "$1"

app=$work/app
ini=$app/pellion.ini
prepare_folder "$app"

# The window stays up in the compact layout, where the clips are.
set_field "$ini" $ini_OnTop 1
set_field "$ini" $ini_Layout 2
start_in "$app"
sleep 1.5  # start-up marks what the clipboard held; nothing is captured

count=$(clip_count)
text="copied by another program $$"
copy_captured "$text" 60
# The cell, two pixels in from its border and left of the top button that
# lies over the first cell.
cell=($((390 + 30)) $((240 + 240 * count + 30)) 1780 210)
[[ $(ink_at "$win" "${cell[@]}") -eq 0 ]] && sleep 0.5
(($(ink_at "$win" "${cell[@]}") > 20)) || fail "clip cell $count shows no text"
screenshot "$win" capture-compact
close_and_wait "$win" "$pid"
echo "PASS"
