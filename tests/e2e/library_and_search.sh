#!/usr/bin/env bash
# The library dialog by real clicks: choosing library 17 shows its groups and
# clips; a right click renames library 3 into "lib.dat"; a drag moves library
# 3's files onto the empty number 9. The search box finds a title of library
# 17 while library 3 is current, points at it, and Enter goes on to the next.
source "$(dirname "$0")/common.bash" "$1"

prepare_folder "$app"
mkdir -p "$app/lib3" "$app/lib17"
titles "$app/lib3/groups.dat" 32 1 "Third one" 22 "Hot Key Clips"
titles "$app/lib3/group1.dat" 96 0 "three clip"
titles "$app/lib17/groups.dat" 32 5 "Seventeen five" 7 "Needles" 22 "Hot Key Clips"
titles "$app/lib17/group5.dat" 96 2 "seventeen clip"
titles "$app/lib17/group7.dat" 96 40 "second needle" 2 "first NEEDLE"
set_field "$ini" $ini_CurrentLibrary 3
set_field "$ini" $ini_CurrentGroup 5

start_in "$app"
sleep 0.5

item2=(3234 750 2140 216)                  # Group Clips cell 2, inside its border
[[ $(ink_at "$win" "${item2[@]}") -eq 0 ]] || fail "group 5 of library 3 shows a clip"

# The dialog opens from "Change", which shows over the library label.
open_dialog() {
    xdotool mousemove --window "$win" "$(px 400)" "$(px 5600)"
    sleep 0.3
    click_at "$win" 600 5622
    dialog=$(search_window 50 --onlyvisible --name '^ Library Selection$') || fail "no library dialog"
}
dialog_gone() { gone "$dialog" || fail "the library dialog is still open"; }
# Library n's name cell in the dialog, in twips: 15 rows left, 14 right.
item_x() { echo $(($1 <= 15 ? 120 + 360 + 900 : 2940 + 360 + 900)); }
item_y() { echo $((1230 + 285 * (($1 - 1) % 15) + 135)); }
on_item() { xdotool mousemove --window "$dialog" "$(px "$(item_x "$1")")" "$(px "$(item_y "$1")")"; }

open_dialog
on_item 17
sleep 0.3
screenshot "$dialog" library_dialog
xdotool click 1
dialog_gone
expect_ini CurrentLibrary 17
(($(ink_at "$win" "${item2[@]}") > 20)) || fail "the clips of library 17's group 5 are not shown"
(($(ink_at "$win" $(group_cell 7)) > 20)) || fail "library 17's group names are not shown"
(($(ink_at "$win" 60 5502 1200 240) > 20)) || fail "no library name on the label"
screenshot "$win" library_17
echo "ok: library 17 chosen in the dialog"

open_dialog
on_item 3
xdotool click 1
dialog_gone
expect_ini CurrentLibrary 3
[[ $(stat -c %s "$app/lib.dat") == 580 ]] || fail "lib.dat is not 29 records"

# Search from library 3: group titles come first (library 17's group 7),
# then its clips in cell order (cells 2 and 40).
red_and_white_at() {  # twips x y: the pointer blinks there
    local x=$1 y=$2 seen=""
    wait_for 40 'seen+=" $(pixel_at "$win" $x $y)"; [[ $seen == *#ff0000* && $seen == *#ffffff* ]]' ||
        fail "no blinking pointer at $1,$2 (saw$seen)"
}
# The corner of the pointer beside a clip cell (at its right end) or a group.
clip_pointer() { echo $((3204 + 2232 * ($1 / 32) + 2200 - 146 + 712)) $((216 + 252 * ($1 % 32) - 16 + 20)); }
group_pointer() { echo $((10080 - 966 + 712)) $((216 + 252 * $1 - 16 + 20)); }
click_at "$win" 1900 5622
xdotool type --delay 20 "needle"
xdotool key Return
expect_ini CurrentLibrary 17
expect_ini CurrentGroup 7
red_and_white_at $(group_pointer 7)
screenshot "$win" search_hit
xdotool key Return
red_and_white_at $(clip_pointer 2)
xdotool key Return
red_and_white_at $(clip_pointer 40)
[[ $(field "$ini" d2 $ini_CurrentGroup) == 7 ]] || fail "the next hits left group 7"
xdotool key Escape
echo "ok: search found library 17, group 7, then its cells 2 and 40"

# Rename library 3 with a right click, then drag it onto the empty library 9.
open_dialog
on_item 3
xdotool click 3
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "Renamed Three"
screenshot "$dialog" library_rename
xdotool key Return
wait_for 50 '[[ $(bytes "$app/lib.dat" 40 20) == "Renamed Three       " ]]' || fail "lib.dat record 3 is '$(bytes "$app/lib.dat" 40 20)'"
echo "ok: library 3 renamed in lib.dat"

before=$(cd "$app/lib3" && md5sum -- * | sort)
on_item 3
xdotool mousedown 1
for y in 0 60 200 600 1200 1700; do
    xdotool mousemove --window "$dialog" "$(px "$(item_x 3)")" "$(px $(($(item_y 3) + y)))"
    sleep 0.05
done
on_item 9
sleep 0.1
xdotool mouseup 1
wait_for 50 '[[ -f "$app/lib9/group1.dat" ]]' || true
[[ $(cd "$app/lib9" && md5sum -- * | sort) == "$before" ]] || fail "library 9 does not hold library 3's files"
[[ -d "$app/lib3" && -z $(ls -A "$app/lib3") ]] || fail "library 3 is not an empty folder: $(ls -A "$app/lib3")"
[[ $(bytes "$app/lib.dat" 160 20) == "Renamed Three       " ]] || fail "name did not move"
[[ $(bytes "$app/lib.dat" 40 20) == "                    " ]] || fail "library 3 kept its name"
xdotool key Escape
dialog_gone
[[ $(field "$ini" d2 $ini_CurrentLibrary) == 17 ]] || fail "Escape switched the library"
echo "ok: library 3 moved to 9"
