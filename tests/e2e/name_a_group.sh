#!/usr/bin/env bash
# A right click on a group opens the group naming dialog with the group's
# name; OK writes the new name and colour; an empty name becomes "Untitled".
# The Enter that confirms acts in the dialog only.
source "$(dirname "$0")/drag_common.bash" "$1"

prepare_folder "$app"
write_title "$lib/groups.dat" 5 Fifth
start_in "$app"
sleep 0.5
# Two captures, the newest on the clipboard, and a program to paste into:
# the Enter that names a group must not paste the highlighted clip there.
start_target --report "Naming Target $$"
copy_captured "first $$" 30
copy_captured "second $$" 30
make_paste_target "$win"

group_x=$((10008 + 1074))
group_y() { echo $((216 + 252 * $1 + 138)); }
name_of() { title_in "$lib/groups.dat" "$1"; }

click_at "$win" $group_x "$(group_y 5)" 3
dialog=$(dialog_of "$pid" " Group Title") || fail "no group naming dialog"
dialog_look "$dialog" dialog-group-naming
[[ $(field "$app/pellion.ini" d2 $ini_CurrentGroup) == 5 ]] || fail "the right click did not select group 5"
# Right edges flush with the main window.
right() { xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/ {x=$2} /^WIDTH=/ {w=$2} END {print x + w}'; }
# (The window manager may map it elsewhere before the program places it.)
flush() { (($(right "$dialog") - $(right "$win") <= 12 && $(right "$win") - $(right "$dialog") <= 12)); }
wait_for 30 flush || fail "dialog ends at $(right "$dialog"), the window at $(right "$win")"
activate "$dialog"
# The whole name is selected: typing replaces it.
xdotool type --delay 20 "Renamed group"
xdotool key Return
gone "$dialog" || fail "OK did not close the dialog"
[[ $(name_of 5) == "Renamed group" ]] || fail "group 5 is named '$(name_of 5)'"
sleep 1
[[ $(xclip -selection clipboard -o) == "second $$" ]] || fail "the Enter changed the clipboard"
grep -q '^PASTED' "$target_out" && fail "the Enter pasted into the other program"
[[ $(wm_state "$win") == Normal ]] || fail "the Enter minimised the window"
echo "ok: group 5 renamed, and the Enter did nothing else"

click_at "$win" $group_x "$(group_y 5)" 3
dialog=$(dialog_of "$pid" " Group Title") || fail "no group naming dialog the second time"
activate "$dialog"
xdotool key ctrl+a BackSpace Return
gone "$dialog" || fail "OK did not close the dialog"
[[ $(name_of 5) == "Untitled" ]] || fail "an empty name gave '$(name_of 5)'"
echo "ok: an empty name is Untitled"

# The title bar's close button cancels: the name stays.
click_at "$win" $group_x "$(group_y 5)" 3
dialog=$(dialog_of "$pid" " Group Title") || fail "no group naming dialog the third time"
activate "$dialog"
xdotool type --delay 20 "Not kept"
"$build/close_window" "$dialog"
gone "$dialog" || fail "the close button did not close the dialog"
[[ $(name_of 5) == "Untitled" ]] || fail "the close button saved '$(name_of 5)'"
echo "ok: the close button cancels"
