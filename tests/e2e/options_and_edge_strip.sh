#!/usr/bin/env bash
# The Options dialog by real clicks: each choice in "pellion.ini" at once and
# shown by the window, Escape keeping them all. The screen-edge strip at the
# top edge: shown away from the corners, hidden one pixel off, its button
# restoring a minimised window. The tray icon under an X11 tray, and its Quit.
source "$(dirname "$0")/common.bash" "$1"

app=$work/app
ini=$app/pellion.ini
prepare_folder "$app"
start_program "$app"
w=$(main_window "$pid") || fail "no main window"

options_dialog() { dialog_of "$pid" 'Pellion Clipboard User Options'; }
# Waits up to 5 s for field $1 of "pellion.ini" ($2: d2 or d4 at offset $3) to read $4.
expect_ini() {
    local t=$2 at=$3 v=$4
    wait_for 50 '[[ $(field "$ini" $t $at) == "$v" ]]' || fail "$1 in pellion.ini is $(field "$ini" "$2" "$3"), expected $4"
}
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

click_at "$w" 666 4621  # Options
d=$(options_dialog) || fail "Options did not open"
echo "ok: Options opened by its button"

# Bold: saved, and the window's captions take more ink.
options_ink() { ink_at "$w" 120 4500 1080 240; }
thin=$(options_ink)
choose 4 1
expect_ini FontOption d2 47 1
wait_for 50 '(($(options_ink) > thin))' || fail "Bold: the Options caption has $(options_ink) ink pixels, as many as before ($thin)"
echo "ok: Bold saved and shown"

# A colour of each list: saved, and a cell of the list shows it (cells whose
# own colour is 0 take the list's).
colour 0 1; expect_ini ClipboardClipsColour d4 25 65280
expect_pixel "$w" $((390 + 2100)) $((240 + 4 * 240 + 135)) '#00ff00'
colour 1 3; expect_ini GroupClipsColour d4 29 65535
expect_pixel "$w" $((2808 + 396 + 2100)) $((216 + 252 + 138)) "#ffff00"
colour 2 2; expect_ini GroupNamesColour d4 33 16776960
expect_pixel "$w" $((10008 + 72 + 1900)) $((216 + 5 * 252 + 138)) '#00ffff'
colour 3 1; expect_ini TransferSlotsColour d4 71 65280
expect_pixel "$w" $((36 + 108 + 2300)) $((5796 + 216 + 132)) '#00ff00'
screenshot "$w" options-bold
echo "ok: the four list colours saved and shown"

# "Hide" the taskbar entry while minimised (seen at the strip below).
choose 2 0; expect_ini IconOption d2 41 0

# The four edge boxes (Top, Left, Right, Bottom); Top twice, so that it is
# on for the strip below.
edge_box 0; expect_ini DockTop d2 97 0
edge_box 1; expect_ini DockLeft d2 101 0
edge_box 2; expect_ini DockRight d2 103 1
edge_box 3; expect_ini DockBottom d2 99 1
edge_box 0; expect_ini DockTop d2 97 1
echo "ok: the edge boxes saved"

# Small: saved, the dialog closes, the window takes the Small size and the
# dialog opens again.
choose 6 0
expect_ini SizeOption d2 69 0
wait_size "$w" "$(px $((10000 - 90)))x$(px $((6496 - 345)))"
old=$d
for _ in $(seq 100); do
    d=$(options_dialog) || fail "Options did not open again after the size change"
    [[ $d != "$old" && $(xdotool getactivewindow) == "$d" ]] && break
    sleep 0.1
done
[[ $(xdotool getactivewindow) == "$d" ]] || fail "the reopened dialog is not in front"
screenshot "$d" options-dialog
xdotool key Escape
wait_for 50 '! xdotool search --all --onlyvisible --pid "$pid" --name "^Pellion Clipboard User Options\$" >/dev/null 2>&1' || fail "Escape left the dialog open"
for f in "IconOption d2 41 0" "FontOption d2 47 1" "SizeOption d2 69 0" "GroupNamesColour d4 33 16776960" "DockBottom d2 99 1"; do
    expect_ini $f
done
screenshot "$w" options-small
echo "ok: Small re-laid the window, Escape closed the dialog with every change kept"

# The strip: the pointer at the top edge in the middle shows it there, centred.
read -r sw sh < <(xdotool getdisplaygeometry)
strip_shown() { xdotool search --all --onlyvisible --pid "$pid" --name '^Clipboard$' 2>/dev/null | head -n1; }
mid=$((sw / 2))
xdotool mousemove "$mid" 0
start=$(date +%s%N)
s=$(dialog_of "$pid" Clipboard) || fail "no strip at the top edge"
echo "info: strip shown $((($(date +%s%N) - start) / 1000000)) ms after the pointer reached the edge"
read -r sx sy swd sht < <(xwininfo -id "$s" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /^  Width/ {w=$2} /^  Height/ {h=$2} END {print x, y, w, h}')
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
skips_taskbar() { xprop -id "$w" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
xdotool mousemove "$mid" 300
xdotool windowminimize "$w"
wait_for 50 '[[ $(wm_state "$w") == Iconic ]] && skips_taskbar' || true
[[ $(wm_state "$w") == Iconic ]] || fail "window not minimised"
skips_taskbar || fail "minimised window on the taskbar: $(xprop -id "$w" _NET_WM_STATE)"
xdotool mousemove "$mid" 0
s=$(dialog_of "$pid" Clipboard) || fail "no strip over a minimised window"
xdotool click 1
wait_for 50 '[[ $(wm_state "$w") == Normal && -z $(strip_shown) ]]' || true
[[ $(wm_state "$w") == Normal ]] || fail "the strip's button left the window $(wm_state "$w")"
[[ -z $(strip_shown) ]] || fail "strip still shown after its click"
wait_for 50 '! skips_taskbar' || fail "restored window still off the taskbar"
echo "ok: the strip's button restored the minimised window"
xdotool mousemove "$mid" 300
close_and_wait "$w" "$pid"

# The tray: under an X11 tray the icon appears; its menu's Quit ends the
# program and saves the settings (a byte changed on disk meanwhile is
# written back from the record).
if ! command -v trayer >/dev/null; then
    echo "SKIPPED: the tray check needs trayer (scripts/install-deps.sh --test)"
    exit 0
fi
trayer --edge bottom --align right --widthtype request --height 32 --transparent false >/dev/null 2>&1 &
started+=($!)
tray=$(dialog_of $! panel) || fail "trayer shows no panel"
start_program "$app"
w=$(any_main_window "$pid") || fail "no main window with a tray"
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
read -r mw mh < <(xwininfo -id "$menu" | awk '/^  Width/ {w=$2} /^  Height/ {h=$2} END {print w, h}')
wait_for 50 '(($("$build/grab_window" "$menu" --ink 0 0 "$mw" "$mh") > 100))' || true
screenshot "$menu" tray-menu
xdotool mousemove --window "$menu" $((mw / 2)) $((mh - 10)) click 1
wait_for 100 '! kill -0 "$pid" 2>/dev/null' || fail "Quit did not end the program"
[[ $(field "$ini" d2 37) == 0 ]] || fail "settings not saved at Quit"
echo "ok: the tray's Quit ended the program with the settings saved"
