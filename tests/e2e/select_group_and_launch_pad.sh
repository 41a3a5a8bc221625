#!/usr/bin/env bash
# Clicking a group selects it and shows its clips; a right click on "Hot Key
# Clips" selects nothing; the "Launch Pad" button switches into library 29
# and back to the library and group it came from.
source "$(dirname "$0")/common.bash" "$1"

prepare_folder "$app"

# Group 5 of library 1 holds two clips; its name is "Fifth".
titles "$lib/group5.dat" 96 0 "alpha clip" 1 "beta clip"
write_title "$lib/groups.dat" 5 Fifth

start_in "$app"
sleep 0.5

# Cells in twips inside the window (Large window), two pixels in from their
# borders: the second group clip (the first lies under a column button), and
# the cells of the Group Names panel.
item1=(3234 498 2140 216)
group_colour() { pixel_at "$win" $((10008 + 72 + 1500)) $((216 + 252 * $1 + 200)); }

[[ $(ink_at "$win" "${item1[@]}") -eq 0 ]] || fail "group 0 shows a clip"
(($(ink_at "$win" $(group_cell 5)) > 20)) || fail "group 5 shows no name"
white=$(group_colour 5)
selected=$(group_colour 0)
[[ "$white" != "$selected" ]] || fail "selected group not marked ($white)"

click_at "$win" $((10008 + 1074)) $((216 + 252 * 5 + 138))
expect_ini CurrentGroup 5
(($(ink_at "$win" "${item1[@]}") > 20)) || fail "the clips of group 5 are not shown"
[[ $(group_colour 5) == "$selected" ]] || fail "group 5 shows $(group_colour 5), not the selection"
[[ $(group_colour 0) == "$white" ]] || fail "group 0 still marked"
echo "ok: group 5 selected, its clips shown"

# A right click on "Hot Key Clips" asks for help, and neither selects it nor
# opens the group naming dialog.
click_at "$win" $((10008 + 1074)) $((216 + 252 * 22 + 138)) 3
quick_help_text "$pid" >/dev/null
[[ -z $(xdotool search --all --onlyvisible --pid "$pid" --name '^ Group Title$') ]] ||
    fail "a right click on Hot Key Clips opened the group naming dialog"
[[ $(field "$ini" d2 $ini_CurrentGroup) == 5 ]] || fail "right click on Hot Key Clips selected it"
[[ $(group_colour 5) == "$selected" ]] || fail "group 5 lost the selection"

# The Launch Pad button: red while library 29 is current.
launch_x=$((1404 + 60)) launch_y=$((3996 + 168))
is_red "$(pixel_at "$win" $launch_x $launch_y)" && fail "Launch Pad button red before use"
click_at "$win" $((1404 + 600)) $launch_y
[[ $(field "$ini" d2 $ini_CurrentLibrary) == 29 ]] || fail "not in library 29"
is_red "$(pixel_at "$win" $launch_x $launch_y)" || fail "Launch Pad button not red: $(pixel_at "$win" $launch_x $launch_y)"
[[ $(field "$app/last.lib" d2 0) == 1 ]] || fail "last.lib does not lead back to library 1"
[[ $(field "$app/lib1/last.grp" d2 0) == 5 ]] || fail "library 1 did not keep group 5"
[[ $(ink_at "$win" "${item1[@]}") -eq 0 ]] || fail "library 29 shows a clip of library 1"
echo "ok: into the Launch Pad"

click_at "$win" $((1404 + 600)) $launch_y
[[ $(field "$ini" d2 $ini_CurrentLibrary) == 1 ]] || fail "not back in library 1"
[[ $(field "$ini" d2 $ini_CurrentGroup) == 5 ]] || fail "group 5 not current again"
is_red "$(pixel_at "$win" $launch_x $launch_y)" && fail "Launch Pad button still red"
(($(ink_at "$win" "${item1[@]}") > 20)) || fail "the clips of group 5 are not shown again"
[[ -f "$app/lib29/last.grp" ]] || fail "library 29 did not remember its group"
echo "ok: back to library 1, group 5"

close_and_wait "$win" "$pid"
[[ $(field "$ini" d2 $ini_CurrentGroup) == 5 ]] || fail "closing lost the group"
