#!/usr/bin/env bash
# On a 1920x1080 screen at Qt's scale factor 2 (960x540 logical pixels) the
# window picks the size that fits and keeps its whole frame, title bar
# included, on the screen: on the first start, in the strip, in the compact
# layout and in a column view. Runs in a private session of that size.
if [[ -z "${FITS_SESSION:-}" ]]; then
    root=$(cd "$(dirname "$0")/../.." && pwd)
    FITS_SESSION=1 QT_SCALE_FACTOR=2 XSESSION_SCREEN=1920x1080x24 exec "$root/scripts/xsession.sh" bash "$0" "$@"
fi
source "$(dirname "$0")/common.bash" "$1"

# Fails unless the frame of window $1 comes to lie within the screen (the
# program moves it once the window manager has framed it) within 10 s.
frame_on_screen() {
    local id=$1 x y w h l r t b
    wait_for 50 "xprop -id $1 _NET_FRAME_EXTENTS | grep -q ' = '" || fail "$2: window never framed"
    inside() {
        read -r x y w h < <(geometry "$id")
        read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | awk -F' = ' '{gsub(",", "", $2); print $2}')
        ((x - l >= 0 && y - t >= 0 && x + w + r <= 1920 && y + h + b <= 1080))
    }
    wait_for 100 inside ||
        fail "$2: frame $((x - l)),$((y - t)) to $((x + w + r)),$((y + h + b)) is off the 1920x1080 screen"
    echo "ok: $2 frame $((x - l)),$((y - t)) to $((x + w + r)),$((y + h + b))"
}


start_in "$app"
sleep 0.5
[[ $(field "$ini" d2 $ini_SizeOption) == 0 ]] || fail "the Large window was chosen for 960x540 logical pixels"
frame_on_screen "$win" "first start, Small"
screenshot "$win" full-small-2x

# A column view by the first column's top button.
click_at "$win" $((2808 + 2232 + 168)) 354
wait_size "$win" 2500 6496
sleep 0.3
frame_on_screen "$win" "column view"
close_and_wait "$win" "$pid"

# The strip and the compact layout, remembered at the top-left corner.
for layout in 1 2; do
    set_field "$ini" $ini_OnTop 1
    set_field "$ini" $ini_Layout $layout
    set_field "$ini" $ini_ReducedTop 0 4
    set_field "$ini" $ini_ReducedLeft 0 4
    start_in "$app"
        sleep 0.5
    frame_on_screen "$win" "layout $layout"
    ((layout == 1)) && screenshot "$win" strip-2x
    close_and_wait "$win" "$pid"
done
