#!/usr/bin/env bash
# Ten copies in a row: the list keeps the last nine, the oldest is dropped and
# every other clip moves down one slot with its file.
source "$(dirname "$0")/capture_common.bash" "$1"

start_in "$app"
sleep 0.3

for i in $(seq 0 9); do
    copy_captured "copy number $i" 25
done
[[ $(clip_count) == 9 ]] || fail "count $(clip_count) after ten copies"
for n in $(seq 0 8); do
    [[ $(clip_title "$n") == "copy number $((n + 1))" ]] || fail "slot $n titled $(clip_title "$n")"
    [[ $(clip_text "$app/clip.$n") == "copy number $((n + 1))" ]] || fail "slot $n holds $(clip_text "$app/clip.$n")"
done
[[ ! -e "$app/clip.9" ]] || fail "a tenth clip file"
close_and_wait "$win" "$pid"
