#!/usr/bin/env bash
# Group clips dragged between groups: a right-button drag copies, a
# left-button drag moves and leaves the source slot empty with paste mode 3;
# a drop onto an occupied slot changes nothing; a clip dropped on the trash
# is deleted. Dragging over a group name opens that group on the way.
# Escape cancels a drag and does nothing else.
source "$(dirname "$0")/drag_common.bash" "$1"

prepare_folder "$app"

# Group 0 holds "alpha" in slot 1 and "beta" in slot 2; group 3 is named
# "Third" and empty. Drops copy whole files, whatever they hold.
titles "$lib/group0.dat" 96 1 alpha 2 beta
printf 'alpha file' >"$lib/group0.1"
printf 'beta file' >"$lib/group0.2"
write_title "$lib/groups.dat" 3 Third
start_in "$app"
sleep 0.5

# Group clips and group names lie in rows of the same height.
item_x=4304 group_x=11082
item_y() { echo $((216 + 252 * $1 + 138)); }
title_of() { title_in "$lib/group$1.dat" "$2" 2>/dev/null; }

# Through the name of group 3, which opens it, into its slot 4.
drag_via_group() {  # button, from slot, to slot
    local x y0 gx gy y1
    x=$(px $item_x) y0=$(px "$(item_y "$2")") gx=$(px $group_x) gy=$(px "$(item_y 3)") y1=$(px "$(item_y "$3")")
    xdotool mousemove --window "$win" "$x" "$y0"
    sleep 0.2
    xdotool mousedown "$1"
    glide "$win" "$x" "$y0" "$gx" "$gy" 6
    sleep 0.5
    wait_for 20 '[[ $(field "$ini" d2 $ini_CurrentGroup) == 3 ]]' || fail "dragging over group 3 did not open it"
    glide "$win" "$gx" "$gy" "$x" "$y1" 6
    sleep 0.3
    xdotool mouseup "$1"
    sleep 0.5
}

drag_via_group 3 1 4
[[ $(title_of 3 4) == alpha ]] || fail "right-button drag: group 3 slot 4 is '$(title_of 3 4)'"
cmp -s "$lib/group0.1" "$lib/group3.4" || fail "right-button drag did not copy the file"
[[ $(title_of 0 1) == alpha ]] || fail "right-button drag emptied the source"
echo "ok: a right-button drag copies"

click_at "$win" $group_x "$(item_y 0)"
expect_ini CurrentGroup 0
cp "$lib/group0.2" "$work/beta"
drag_via_group 1 2 5
[[ $(title_of 3 5) == beta ]] || fail "left-button drag: group 3 slot 5 is '$(title_of 3 5)'"
cmp -s "$work/beta" "$lib/group3.5" || fail "left-button drag did not carry the file"
[[ -z $(title_of 0 2) && ! -e "$lib/group0.2" ]] || fail "left-button drag left the source filled"
[[ $(field "$lib/group0.mod" u1 2) == 3 ]] || fail "the emptied source has paste mode $(field "$lib/group0.mod" u1 2)"
echo "ok: a left-button drag moves"

# Group 3 is shown: slot 4 onto the occupied slot 5 changes nothing.
before=$(folder_state "$lib")
drag_at "$win" $item_x "$(item_y 4)" $item_x "$(item_y 5)"
[[ $(folder_state "$lib") == "$before" ]] || fail "a drop on an occupied slot changed files"
echo "ok: an occupied slot refuses"

# The trash ("DROP HERE", "TO ERASE") in the Clipboard Clips panel.
drag_at "$win" $item_x "$(item_y 4)" 1356 3174
[[ -z $(title_of 3 4) && ! -e "$lib/group3.4" ]] || fail "the trash did not delete slot 4"
[[ $(title_of 3 5) == beta ]] || fail "the trash took another clip"
echo "ok: the trash deletes"

# Escape cancels a drag, and only the drag: the window stays up.
before=$(folder_state "$lib")
xdotool mousemove --window "$win" "$(px $item_x)" "$(px "$(item_y 5)")"
sleep 0.2
xdotool mousedown 1
sleep 0.2
glide "$win" "$(px $item_x)" "$(px "$(item_y 5)")" "$(px $item_x)" "$(px $(($(item_y 5) + 600)))" 4
sleep 0.3
xdotool key Escape
sleep 0.3
xdotool mouseup 1
sleep 0.8
[[ $(wm_state "$win") == Normal ]] || fail "the Escape that cancelled a drag minimised the window"
[[ $(folder_state "$lib") == "$before" ]] || fail "a cancelled drag changed files"
echo "ok: Escape cancels a drag only"
