#!/usr/bin/env bash
# The main window: its caption with the date and time, the first run shown
# normally, every layout reached by its buttons at the design sizes (with
# screenshots), a later run minimised, and a reduced window started on top,
# on the screen, at every start.
source "$(dirname "$0")/common.bash" "$1"

# The caption of the moment $1 (seconds since the epoch), written as the
# program writes it: " Pellion Clipboard", ten blanks, "Saturday  5th Dec 26   5:07".
caption_at() {
    local wd d mon yy h m suffix
    read -r wd d mon yy h m < <(LC_ALL=C date -d "@$1" '+%A %-d %b %y %-H %M')
    case $d in 1) suffix=st ;; 2) suffix=nd ;; 3) suffix=rd ;; *) suffix=th ;; esac
    ((h > 12)) && h=$((h - 12))
    ((h == 0)) && h=00
    printf ' Pellion Clipboard%10s%s  %s%s %s %s   %s:%s' '' "$wd" "$d" "$suffix" "$mon" "$yy" "$h" "$m"
}

start_in "$app"
sleep 0.5

# The caption names this minute (the program renames its window within a
# second of a new minute, so the moment just before the reading counts too).
t0=$(date +%s)
name=$(xdotool getwindowname "$win")
[[ $name == "$(caption_at $((t0 - 2)))" || $name == "$(caption_at "$t0")" || $name == "$(caption_at "$(date +%s)")" ]] ||
    fail "caption '$name', expected '$(caption_at "$t0")'"
echo "ok: caption '$name'"

# First run: shown normally (main_window finds shown windows only), in the
# full Large window (the test screen is wider than 12288 twips), not on top.
wait_size "$win" 12288 8820
is_above "$win" && fail "full window kept on top"
screenshot "$win" full-large
echo "ok: first run shown normally, full Large window"

# Column view by the first column's top button and back.
click_at "$win" $((2808 + 2232 + 168)) 354
wait_size "$win" 2500 8820
screenshot "$win" column
is_above "$win" || fail "column view not on top"
click_at "$win" $((1944 + 168)) 354
wait_size "$win" 12288 8820
echo "ok: column view and back"

# The Clipboard Clips' top button: the reduced layout remembered (strip).
click_at "$win" $((2232 + 168)) 366
wait_size "$win" 9600 1530
is_above "$win" || fail "strip not on top"
screenshot "$win" strip
[[ $(field "$ini" d2 $ini_Layout) == 1 && $(field "$ini" d2 $ini_OnTop) == 1 ]] || fail "strip not saved"
# The strip's compact button, then the compact's full-window button.
click_at "$win" $((1584 + 6800 + 102)) $((2556 - 2220 + 132))
wait_size "$win" 2844 3700
is_above "$win" || fail "compact not on top"
screenshot "$win" compact
[[ $(field "$ini" d2 $ini_LastReducedLayout) == 2 ]] || fail "compact not remembered"
click_at "$win" $((1800 + 210)) $((2484 + 168))
wait_size "$win" 12288 8820
is_above "$win" && fail "full window still on top"
[[ $(field "$ini" d2 $ini_Layout) == 0 && $(field "$ini" d2 $ini_OnTop) == 0 ]] || fail "full layout not saved"
echo "ok: strip, compact and full by their buttons"
close_and_wait "$win" "$pid"

# The Small window.
set_field "$ini" $ini_SizeOption 0
start_in "$app"
wait_size "$win" 10000 6496
sleep 0.3
screenshot "$win" full-small
close_and_wait "$win" "$pid"
echo "ok: full Small window"

# A later run (the help was shown once) starts minimised.
keep_minimised=1 start_program "$app"
win=$(any_main_window "$pid") || fail "no window when minimised"
wait_state "$win" 30 Iconic || fail "later run is $(wm_state "$win"), not minimised"
close_and_wait "$win" "$pid"
echo "ok: later run minimised"

# Kept on top in the compact layout: starts there, shown and on top, at the
# remembered place.
set_field "$ini" $ini_OnTop 1
set_field "$ini" $ini_Layout 2
set_field "$ini" $ini_ReducedTop 1500 4
set_field "$ini" $ini_ReducedLeft 3000 4
start_in "$app"
wait_size "$win" 2844 3700
wait_for 30 'is_above "$win"' || fail "reduced window not on top: $(xprop -id "$win" _NET_WM_STATE)"
read -r x y < <(xdotool getwindowgeometry "$win" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
# The frame's corner at the remembered place: the inside a border and a title bar further.
((x >= $(px 3000) && x <= $(px 3000) + 10 && y >= $(px 1500) && y <= $(px 1500) + 40)) || fail "reduced window at $x,$y"
close_and_wait "$win" "$pid"
echo "ok: reduced layout kept on top"

# The strip kept on top, remembered at a place that leaves most of it beyond
# the right edge (saved on a larger screen): on every start it comes up
# wholly on the screen and above the others, and the lock names the window
# that is up (a second copy fronts that one); once more after a minimise and
# the user's paste keystroke bring it up.
set_field "$ini" $ini_Layout 1
screen_w=$(xwininfo -root | awk '/^  Width:/ {print $2}')
for run in 1 2 3; do
    set_field "$ini" $ini_ReducedLeft $(((screen_w - 80) * 15)) 4
    start_in "$app"
    wait_for 30 'is_above "$win"' || fail "start $run: strip not on top: $(xprop -id "$win" _NET_WM_STATE)"
    [[ $(head -n1 "$app/pellion.lock") == "$win" ]] || fail "start $run: the lock names $(head -n1 "$app/pellion.lock"), not $win"
    on_screen "$win" "the strip at start $run"
    [[ $run == 3 ]] || close_and_wait "$win" "$pid"
done
xdotool windowminimize --sync "$win" >/dev/null 2>&1 || true
wait_state "$win" 30 Iconic || true
xdotool key shift+Insert
wait_state "$win" 30 Normal || fail "Shift+Insert did not bring the strip up"
wait_for 30 'is_above "$win"' || fail "strip not on top after it came up again"
close_and_wait "$win" "$pid"
echo "ok: the strip on top and on the screen at every start and show"
