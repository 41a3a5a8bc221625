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

expect_size() {  # window, twips width and height of the outer window
    wait_size "$1" "$(px $(($2 - 90)))x$(px $(($3 - 345)))"
}

app=$work/app
ini=$app/pellion.ini
install_program "$app"
start_program "$app"
w=$(main_window "$pid") || fail "no main window"
sleep 0.5

# The caption names this minute (the program renames its window within a
# second of a new minute, so the moment just before the reading counts too).
t0=$(date +%s)
name=$(xdotool getwindowname "$w")
t1=$(date +%s)
ok=""
for t in $((t0 - 2)) "$t0" "$t1"; do [[ "$name" == "$(caption_at "$t")" ]] && ok=1; done
[[ -n "$ok" ]] || fail "caption '$name', expected '$(caption_at "$t1")'"
echo "ok: caption '$name'"

# First run: shown normally, in the full Large window (the test screen is
# wider than 12288 twips), not on top.
[[ $(wm_state "$w") == Normal ]] || fail "first run is $(wm_state "$w")"
expect_size "$w" 12288 8820
is_above "$w" && fail "full window kept on top"
screenshot "$w" full-large
echo "ok: first run shown normally, full Large window"

# Column view by the first column's top button and back.
click_at "$w" $((2808 + 2232 + 168)) 354
expect_size "$w" 2500 8820
screenshot "$w" column
is_above "$w" || fail "column view not on top"
click_at "$w" $((1944 + 168)) 354
expect_size "$w" 12288 8820
echo "ok: column view and back"

# The Clipboard Clips' top button: the reduced layout remembered (strip).
click_at "$w" $((2232 + 168)) 366
expect_size "$w" 9600 1530
is_above "$w" || fail "strip not on top"
screenshot "$w" strip
[[ $(field "$ini" d2 $ini_Layout) == 1 && $(field "$ini" d2 $ini_OnTop) == 1 ]] || fail "strip not saved"
# The strip's compact button, then the compact's full-window button.
click_at "$w" $((1584 + 6800 + 102)) $((2556 - 2220 + 132))
expect_size "$w" 2844 3700
is_above "$w" || fail "compact not on top"
screenshot "$w" compact
[[ $(field "$ini" d2 $ini_LastReducedLayout) == 2 ]] || fail "compact not remembered"
click_at "$w" $((1800 + 210)) $((2484 + 168))
expect_size "$w" 12288 8820
is_above "$w" && fail "full window still on top"
[[ $(field "$ini" d2 $ini_Layout) == 0 && $(field "$ini" d2 $ini_OnTop) == 0 ]] || fail "full layout not saved"
echo "ok: strip, compact and full by their buttons"
close_and_wait "$w" "$pid"

# The Small window.
set_field "$ini" $ini_SizeOption 0
start_program "$app"
w=$(main_window "$pid") || fail "no Small window"
expect_size "$w" 10000 6496
sleep 0.3
screenshot "$w" full-small
close_and_wait "$w" "$pid"
echo "ok: full Small window"

# A later run (the help was shown once) starts minimised.
keep_minimised=1 start_program "$app"
w=$(any_main_window "$pid") || fail "no window when minimised"
wait_for 30 '[[ $(wm_state "$w") == Iconic ]]' || fail "later run is $(wm_state "$w"), not minimised"
close_and_wait "$w" "$pid"
echo "ok: later run minimised"

# Kept on top in the compact layout: starts there, shown and on top, at the
# remembered place.
set_field "$ini" $ini_OnTop 1
set_field "$ini" $ini_Layout 2
set_field "$ini" $ini_ReducedTop 1500 4
set_field "$ini" $ini_ReducedLeft 3000 4
start_program "$app"
w=$(main_window "$pid") || fail "no window kept on top"
[[ $(wm_state "$w") == Normal ]] || fail "on-top run is $(wm_state "$w")"
expect_size "$w" 2844 3700
wait_for 30 'is_above "$w"' || fail "reduced window not on top: $(xprop -id "$w" _NET_WM_STATE)"
read -r x y < <(xdotool getwindowgeometry "$w" | awk '/Position/ {split($2, p, ","); print p[1], p[2]}')
# The frame's corner at the remembered place: the inside a border and a title bar further.
((x >= $(px 3000) && x <= $(px 3000) + 10 && y >= $(px 1500) && y <= $(px 1500) + 40)) || fail "reduced window at $x,$y"
close_and_wait "$w" "$pid"
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
    start_program "$app"
    w=$(main_window "$pid") || fail "no strip window (start $run)"
    wait_for 30 'is_above "$w"' || fail "start $run: strip not on top: $(xprop -id "$w" _NET_WM_STATE)"
    [[ $(head -n1 "$app/pellion.lock") == "$w" ]] || fail "start $run: the lock names $(head -n1 "$app/pellion.lock"), not $w"
    right=$(xwininfo -id "$w" | awk '/Absolute upper-left X/ {x=$NF} /^  Width:/ {w=$2} END {print x + w}')
    ((right <= screen_w)) || fail "start $run: the strip ends at $right, beyond the screen's $screen_w"
    [[ $run == 3 ]] || close_and_wait "$w" "$pid"
done
xdotool windowminimize --sync "$w" >/dev/null 2>&1 || true
wait_for 30 '[[ $(wm_state "$w") == Iconic ]]' || true
xdotool key shift+Insert
wait_for 30 '[[ $(wm_state "$w") == Normal ]]' || fail "Shift+Insert did not bring the strip up"
wait_for 30 'is_above "$w"' || fail "strip not on top after it came up again"
close_and_wait "$w" "$pid"
echo "ok: the strip on top and on the screen at every start and show"
echo "PASS"
