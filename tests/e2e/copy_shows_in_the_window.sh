#!/usr/bin/env bash
# A text copied by another program becomes the newest Clipboard Clip: its
# title in "clip.dat" and its text drawn in the cell.
source "$(dirname "$0")/common.bash" "$1"

src=$(cd "$(dirname "$0")/../../src" && pwd)
if [[ ! -f "$src/capture/monitor.h" ]]; then
    # Capturing is the clipboard monitor's work; this build has none yet.
    echo "SKIPPED: no clipboard monitor in this build (src/capture/monitor.h is missing)"
    exit 0
fi

app=$work/app
ini=$app/pellion.ini
prepare_folder "$app"

# The help was shown once (no help window in the way), and the window stays
# up in the compact layout, where the clips are.
set_field "$ini" $ini_HelpShown 1
set_field "$ini" $ini_OnTop 1
set_field "$ini" $ini_Layout 2
start_program "$app"
pid=$last_pid
w=$(main_window "$pid") || fail "no main window"
sleep 1.5  # start-up marks what the clipboard held; nothing is captured

count=$(field "$app/clip.dat" d2 0)
text="copied by another program $$"
printf '%s' "$text" | xclip -quiet -selection clipboard >/dev/null 2>&1 &
started+=($!)

title=""
for _ in $(seq 60); do
    now=$(field "$app/clip.dat" d2 0)
    if ((now == count + 1)); then
        title=$(dd if="$app/clip.dat" bs=1 skip=$((2 + 50 * (now - 1))) count=${#text} status=none)
        break
    fi
    sleep 0.1
done
[[ "$title" == "$text" ]] || fail "newest clip titled '$title' (count $(field "$app/clip.dat" d2 0), was $count)"
# The cell, two pixels in from its border and left of the top button that
# lies over the first cell.
cell=($((390 + 30)) $((240 + 240 * count + 30)) 1780 210)
[[ $(ink_at "$w" "${cell[@]}") -eq 0 ]] && sleep 0.5
(($(ink_at "$w" "${cell[@]}") > 20)) || fail "clip cell $count shows no text"
screenshot "$w" capture-compact
close_and_wait "$w" "$pid"
echo "PASS"
