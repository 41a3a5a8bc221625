#!/usr/bin/env bash
# A captured clip dragged from its Clipboard Clips cell onto an empty group
# clip cell opens the clip settings dialog; a title typed and Enter pressed
# store the clip's file and title in the group's files; a left click on that
# group clip then pastes it into another program.
source "$(dirname "$0")/drag_common.bash" "$1"

prepare_folder "$app"

start_target "Drop Target"
start_in "$app"
make_paste_target "$win"

text="dragged clip $$"
copy_captured "$text" 50
slot=$(($(clip_count) - 1))

# Clipboard Clip cell (left of the button that lies over the first cell) to
# the second cell of group 0 (the first lies under a column button).
from_x=1090 from_y=$((240 + 240 * slot + 135))
to_x=$((3204 + 1100)) to_y=$((216 + 252 + 138))
drag_at "$win" $from_x $from_y $to_x $to_y
dialog=$(dialog_of "$pid" " Clip Settings") || fail "the clip settings dialog did not open"
dialog_look "$dialog" dialog-clip-settings
cmp -s "$app/clip.$slot" "$lib/group0.1" || fail "slot 1 of group 0 is not a copy of the clip"
echo "ok: dropped into group 0 slot 1, the settings dialog is open"

# Enter with an empty title is refused: the dialog stays.
activate "$dialog"
xdotool key Return
sleep 0.5
xdotool search --all --onlyvisible --pid "$pid" --name '^ Clip Settings$' >/dev/null || fail "an empty title closed the dialog"
# The refusal text is selected: typing replaces it.
xdotool type --delay 20 "My dragged title"
xdotool key Return
gone "$dialog" || fail "Enter did not close the dialog"
[[ $(title_in "$lib/group0.dat" 1) == "My dragged title" ]] || fail "group 0 title 1 is '$(title_in "$lib/group0.dat" 1)'"
[[ $(od -An -t u1 -j 1 -N 1 "$lib/group0.mod" | tr -d ' ') == 3 ]] || fail "paste mode of slot 1 is not Group Setting"
[[ $(field "$lib/colr0.dat" d4 4) == 0 ]] || fail "colour of slot 1 is not the group's"
(($(ink_at "$win" 3234 498 2140 216) > 20)) || fail "group clip 1 shows no title"
cmp -s "$app/clip.$slot" "$lib/group0.1" || fail "the settings changed the clip's file"
echo "ok: title, paste mode and colour stored"

# A left click on the new group clip pastes it into the paste target.
activate "$win"
click_at "$win" $to_x $to_y
wait_for_focus "$target" || fail "the paste target was not brought to front"
sleep 0.6  # the paste keystroke follows the bringing to front
xdotool key Return
wait_for 30 grep -q "^SUBMIT:$text\$" "$target_out" || fail "paste target printed: $(tr '\n' '|' <"$target_out")"
echo "ok: the group clip pasted"
