#!/usr/bin/env bash
# The Options dialog by real clicks: each choice in "pellion.ini" at once and
# shown by the window, Escape keeping them all. The screen-edge strip at the
# top edge: shown away from the corners, hidden one pixel off, its button
# restoring a minimised window. The tray icon under an X11 tray, and its Quit.
source "$(dirname "$0")/common.bash" "$1"

prepare_folder "$app"
start_in "$app"

options_dialog() { dialog_of "$pid" 'Pellion Clipboard User Options'; }
# Waits up to 5 s for the pixel at twips $2, $3 of window $1 to be $4.
expect_pixel() {
    local id=$1 x=$2 y=$3 v=$4
    wait_for 50 '[[ $(pixel_at $id $x $y) == "$v" ]]' || fail "pixel at $2,$3 is $(pixel_at "$1" "$2" "$3"), expected $4"
}

# The dialog's design in twips: numbered rows 372 apart from 120, their two
# buttons at 5940 and 7260, the edge boxes from 4140 every 1100; the colour
# rows from 3828, their buttons from 2460 every 900. A click lands on the
# button's mark.
row_y() { echo $((120 + ($1 - 1) * 372 + 168)); }
choose() { click_at "$d" $((5940 + $2 * 1320 + 120)) "$(row_y "$1")"; }
edge_box() { click_at "$d" $((4140 + $1 * 1100 + 120)) "$(row_y 9)"; }
colour() { click_at "$d" $((2460 + $2 * 900 + 120)) $((3828 + $1 * 372 + 168)); }

click_at "$win" 666 4621  # Options
d=$(options_dialog) || fail "Options did not open"
echo "ok: Options opened by its button"

# Bold: saved, and the window's captions take more ink.
options_ink() { ink_at "$win" 120 4500 1080 240; }
thin=$(options_ink)
choose 4 1
expect_ini FontOption 1
wait_for 50 '(($(options_ink) > thin))' || fail "Bold: the Options caption has $(options_ink) ink pixels, as many as before ($thin)"
echo "ok: Bold saved and shown"

# A colour of each list: saved, and a cell of the list shows it (cells whose
# own colour is 0 take the list's).
# Each row: list, colour button, field and value, a cell of the list (twips) and its colour.
while read -r list button name value x y shown; do
    colour "$list" "$button"
    expect_ini "$name" "$value" d4
    expect_pixel "$win" "$x" "$y" "$shown"
done <<END
0 1 ClipboardClipsColour 65280 $((390 + 2100)) $((240 + 4 * 240 + 135)) #00ff00
1 3 GroupClipsColour 65535 $((2808 + 396 + 2100)) $((216 + 252 + 138)) #ffff00
2 2 GroupNamesColour 16776960 $((10008 + 72 + 1900)) $((216 + 5 * 252 + 138)) #00ffff
3 1 TransferSlotsColour 65280 $((36 + 108 + 2300)) $((5796 + 216 + 132)) #00ff00
END
screenshot "$win" options-bold
echo "ok: the four list colours saved and shown"

# "Hide" the taskbar entry while minimised (seen at the strip below).
choose 2 0; expect_ini IconOption 0

# The four edge boxes (Top, Left, Right, Bottom); Top twice, so that it is
# on for the strip below.
edge_box 0; expect_ini DockTop 0
edge_box 1; expect_ini DockLeft 0
edge_box 2; expect_ini DockRight 1
edge_box 3; expect_ini DockBottom 1
edge_box 0; expect_ini DockTop 1
echo "ok: the edge boxes saved"

# Small: saved, the dialog closes, the window takes the Small size and the
# dialog opens again.
choose 6 0
expect_ini SizeOption 0
wait_size "$win" 10000 6496
old=$d
wait_for 100 'd=$(options_dialog) && [[ $d != "$old" && $(xdotool getactivewindow) == "$d" ]]' ||
    fail "Options did not open again in front after the size change"
screenshot "$d" options-dialog
xdotool key Escape
gone "$d" || fail "Escape left the dialog open"
for f in "IconOption 0" "FontOption 1" "SizeOption 0" "GroupNamesColour 16776960 d4" "DockBottom 1"; do
    expect_ini $f
done
screenshot "$win" options-small
echo "ok: Small re-laid the window, Escape closed the dialog with every change kept"

# The strip: the pointer at the top edge in the middle shows it there, centred.
read -r sw sh < <(xdotool getdisplaygeometry)
strip_shown() { xdotool search --all --onlyvisible --pid "$pid" --name '^Clipboard$' 2>/dev/null | head -n1; }
mid=$((sw / 2))
xdotool mousemove "$mid" 0
s=$(dialog_of "$pid" Clipboard) || fail "no strip at the top edge"
read -r sx sy swd sht < <(geometry "$s")
((sy == 0 && sx <= mid && mid < sx + swd && (sx + swd / 2 - mid) ** 2 <= 4)) || fail "strip at $sx,$sy size ${swd}x$sht"
# Not among the windows a taskbar or pager lists.
xprop -root _NET_CLIENT_LIST | grep -qiw "$(printf '0x%x' "$s")" && fail "strip among the managed windows"
screenshot "$s" edge-strip
# One pixel below it hides it.
xdotool mousemove "$mid" "$sht"
wait_for 50 '[[ -z $(strip_shown) ]]' || fail "strip still shown one pixel below it"
echo "ok: strip shown at the top edge, hidden one pixel off"

# Near a corner (within 1600 twips) nothing shows, however long the pointer stays.
xdotool mousemove "$(px 800)" 0
sleep 1.5
[[ -z $(strip_shown) ]] && xdotool mousemove "$((sw - 1 - $(px 800)))" 0 && sleep 1.5
[[ -z $(strip_shown) ]] || fail "strip shown near a corner"
echo "ok: nothing near the corners"

# Its button restores the minimised window, which "Hide" kept off the taskbar.
skips_taskbar() { xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
xdotool mousemove "$mid" 300
xdotool windowminimize "$win"
wait_state "$win" 50 Iconic || fail "window not minimised"
wait_for 50 skips_taskbar || fail "minimised window on the taskbar: $(xprop -id "$win" _NET_WM_STATE)"
xdotool mousemove "$mid" 0
s=$(dialog_of "$pid" Clipboard) || fail "no strip over a minimised window"
xdotool click 1
wait_state "$win" 50 Normal || fail "the strip's button left the window $(wm_state "$win")"
wait_for 50 '[[ -z $(strip_shown) ]]' || fail "strip still shown after its click"
wait_for 50 '! skips_taskbar' || fail "restored window still off the taskbar"
echo "ok: the strip's button restored the minimised window"
xdotool mousemove "$mid" 300
close_and_wait "$win" "$pid"

# The tray: under an X11 tray the icon appears; its menu's Quit ends the
# program and saves the settings (a byte changed on disk meanwhile is
# written back from the record).
if ! command -v trayer >/dev/null; then
    echo "SKIPPED: the tray check needs trayer (scripts/install-deps.sh --test)"
    exit 0
fi
spawn trayer --edge bottom --align right --widthtype request --height 32 --transparent false >/dev/null 2>&1
tray=$(dialog_of $! panel) || fail "trayer shows no panel"
start_program "$app"
# The program's window embedded in the panel: the icon.
tray_icon() {
    local kids id parent
    kids=$(xwininfo -children -id "$tray" | awk '/^ +0x/ {print $1}')
    for id in $(xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null); do
        parent=$(xwininfo -children -id "$id" | awk '/Parent window id/ {print $4}')
        grep -qx "$parent" <<<"$kids" && { echo "$id"; return 0; }
    done
    return 1
}
wait_for 100 'icon=$(tray_icon)' || fail "no icon of the program in the tray"
screenshot "$icon" tray-icon
echo "ok: tray icon shown"
set_field "$ini" 37 77  # a field nothing uses
windows() { xdotool search --all --onlyvisible --pid "$pid" 2>/dev/null | sort; }
before=$(windows)
xdotool mousemove --window "$icon" 8 8 click 3
wait_for 50 'menu=$(comm -13 <(echo "$before") <(windows) | head -n1); [[ -n "$menu" ]]' || fail "no menu on the tray icon"
# Quit is the last entry, once the menu is drawn.
read -r _ _ mw mh < <(geometry "$menu")
wait_for 50 '(($("$build/grab_window" "$menu" --ink 0 0 "$mw" "$mh") > 100))' || true
screenshot "$menu" tray-menu
xdotool mousemove --window "$menu" $((mw / 2)) $((mh - 10)) click 1
wait_for 100 '! kill -0 "$pid" 2>/dev/null' || fail "Quit did not end the program"
[[ $(field "$ini" d2 37) == 0 ]] || fail "settings not saved at Quit"
echo "ok: the tray's Quit ended the program with the settings saved"
