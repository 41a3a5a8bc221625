#!/usr/bin/env bash
# Bulk capture of three copies, then the cache dragged from the "Bulk" option
# onto the bulk paste area: the spacing dialog asks for the separator, and
# "New line between clips" types the clips into the other program's text,
# one per line.
source "$(dirname "$0")/drag_common.bash" "$1"

prepare_folder "$app"

start_target --multi "Bulk Target"
start_in "$app"
make_paste_target "$win"

# The "Bulk" capture option, then three copies.
bulk_x=2316 bulk_y=3750
click_at "$win" $bulk_x $bulk_y
expect_ini CaptureMode 2
lines=("first bulk line $$" "second bulk line" "third bulk line")
for i in 0 1 2; do copy_captured "${lines[i]}" 50; done
expect_ini BulkCount 3
for i in 0 1 2; do
    [[ $(clip_text "$app/bulk.$i") == "${lines[i]}" ]] || fail "bulk slot $i holds '$(clip_text "$app/bulk.$i")'"
done
echo "ok: three clips in the bulk cache"

# The cache onto the bulk paste area ("DROP HERE", "TO PASTE").
drag_at "$win" $bulk_x $bulk_y 1356 2682
dialog=$(dialog_of "$pid" " Bulk Paste") || fail "the spacing dialog did not open"
dialog_look "$dialog" dialog-bulk-paste
activate "$dialog"
# "2" outside the text box chooses "New line between clips", stored at once.
xdotool key 2
expect_ini BulkSpacing 1
xdotool key Return
wait_for_focus "$target" || fail "the paste target was not brought to front"
sleep 1
xdotool key ctrl+Return
want="SUBMIT:${lines[0]}\\n${lines[1]}\\n${lines[2]}"
wait_for 30 grep -qxF "$want" "$target_out" || fail "paste target printed: $(tr '\n' '|' <"$target_out")"
echo "ok: pasted one per line"

# Nothing pasted was captured again, and the cache is unchanged.
[[ $(field "$ini" d2 $ini_BulkCount) == 3 ]] || fail "bulk paste changed the cache"
[[ $(clip_count) == 3 ]] || fail "the pasted clips were captured again ($(clip_count) clips)"
