#!/usr/bin/env bash
# The clip viewer. A right click on a Clipboard Clip opens its text to edit;
# a click on another clip meanwhile puts that clip's text at the caret and
# pastes nothing into the program worked in; Save puts the edited text on
# the clipboard, filed as a new clip under the edited title. A 4000x3000
# picture opens fitted to the window, "True Size" shows it at its own size,
# and clicks on Transfer Slots are refused meanwhile. A damaged picture
# says so, and the program goes on.
source "$(dirname "$0")/paste_common.bash" "$1"

prepare_program
# Transfer Slot 3: a picture whose bytes are damaged.
{ le32 -1; le32 1; le32 400; le32 9; printf 'image/png'; le32 64; head -c 64 /dev/zero | tr '\0' 'x'; } >"$app/trans.3"
write_title "$app/trans.dat" 3 "Damaged picture"
start_app
start_target --report "Viewer Target $$"
copy_captured "first $$" 30
copy_captured "second $$" 30
focus_target
show_app

# Text: the title box has the focus with its text selected.
click_at "$win" $(clip_cell 0) 3
viewer=$(dialog_of "$pid" " Clip Edit") || fail "no viewer after a right click on a Clipboard Clip"
wait_still "$viewer" || true
on_screen "$viewer" viewer
# Out of the way of the main window's cells, as a user would put it.
xdotool windowmove --sync "$viewer" 560 40 >/dev/null 2>&1 || true
wait_still "$viewer" || true
xdotool windowactivate --sync "$viewer" >/dev/null 2>&1 || true
xdotool type --delay 20 "Edited $$"
xdotool mousemove --window "$viewer" 120 70 click 1 key ctrl+End
xdotool type --delay 20 " and "
click_at "$win" $(clip_cell 1)
wait_for 50 bash -c "xdotool getactivewindow | grep -qx $viewer" || fail "the viewer did not get the focus back"
screenshot "$viewer" viewer-text
xdotool key Escape  # Esc saves
gone "$viewer" || fail "Esc did not save and close the viewer"
[[ $(xclip -selection clipboard -o) == "first $$ and second $$" ]] ||
    fail "the clipboard holds '$(xclip -selection clipboard -o)' after Save"
wait_newest_title "Edited $$" 30 || fail "the edited text was not filed under its title: '$(clip_title 2)'"
grep -q '^PASTED' "$work/target.out" && fail "a click while the viewer was open pasted into the other program"
echo "ok: edited, a clip inserted at the caret, saved as a new clip"

# A picture larger than the screen.
"$build/grab_window" --make-png 4000 3000 "$work/big.png" || fail "cannot make the picture"
copy_file image/png "$work/big.png"
wait_count 4 50 || fail "the picture was not captured"
click_at "$win" $(clip_cell 3) 3
viewer=$(dialog_of "$pid" " Clip Preview ") || fail "no preview of the picture"
wait_still "$viewer" || true
on_screen "$viewer" viewer
# Where the last viewer was left.
(($(geometry "$viewer" | cut -d' ' -f1) >= 500)) || fail "the viewer did not open where it was left"
before=$(xclip -selection clipboard -o)
click_at "$win" 1374 $((6144 + 252 * 3))  # Transfer Slot 3
sleep 0.5
[[ $(xclip -selection clipboard -o) == "$before" ]] || fail "a Transfer Slot was pasted while a picture is shown"
xdotool windowactivate --sync "$viewer" >/dev/null 2>&1 || true
red() { [[ $("$build/grab_window" "$viewer" --pixel 150 150) == "#ff0000" ]]; }
wait_for 30 '! red' || fail "the fitted picture shows its corner at its own size"
screenshot "$viewer" viewer-picture
xdotool key shift+Tab space  # "True Size", just before the title box
wait_for 30 red || fail "True Size did not show the picture at its own size"
screenshot "$viewer" viewer-true-size
"$build/close_window" "$viewer"
gone "$viewer" || fail "the close button did not close the viewer"
echo "ok: picture fitted, then at its own size"

# A damaged picture, and the program goes on.
click_at "$win" 1374 $((6144 + 252 * 3)) 3
viewer=$(dialog_of "$pid" " Clip Preview ") || fail "no viewer for the damaged picture"
wait_still "$viewer" || true
screenshot "$viewer" viewer-damaged
(($("$build/grab_window" "$viewer" --ink 20 60 400 200) > 50)) || fail "no message for the damaged picture"
"$build/close_window" "$viewer"
gone "$viewer" || fail "the viewer of a damaged picture did not close"
click_at "$win" $(clip_cell 0) 3
viewer=$(dialog_of "$pid" " Clip Edit") || fail "no viewer after a damaged picture"
"$build/close_window" "$viewer"
gone "$viewer" || fail "Cancel did not close the viewer"
echo "ok: a damaged picture says so"
