#!/usr/bin/env bash
# The window keeps answering while the clipboard is read, whatever the owner
# does: one that trickles its INCR transfer, one that stalls in it, one that
# sends 200 MB (which is streamed to disk, not held in memory). Each is cut or
# read while pings to the main window come back quickly, and what the owner
# did send is captured. A copy made in the program's own search box is
# captured like any other.
source "$(dirname "$0")/capture_common.bash" "$1"

start_in "$app"
sleep 0.5
rss() { awk "/^$1:/ {print \$2}" "/proc/$pid/status"; }
idle_kb=$(rss VmRSS)

# Starts bad_owner in mode $@ and waits until it owns the clipboard.
bad_owner() {
    spawn "$build/bad_owner" "$@" >"$work/owner.out"
    owner=$!
    wait_for 50 'grep -q ready "$work/owner.out"' || fail "bad_owner $* never owned the clipboard"
}
# Pings the main window for $1 ms; fails when an answer took 200 ms or more.
responsive() {
    local worst
    worst=$("$build/close_window" --ping "$win" "$1") || fail "$2: a ping went unanswered"
    ((worst < 200)) || fail "$2: the window took $worst ms to answer a ping"
    echo "ok: $2, slowest ping answer $worst ms"
}
# Records of clip file $1 as "name:size" lines.
records() {
    local f=$1 at=8 n id len size i
    n=$(field "$f" d4 4)
    for ((i = 0; i < n; i++)); do
        len=$(field "$f" d4 $((at + 4)))
        name=$(dd if="$f" bs=1 skip=$((at + 8)) count="$len" 2>/dev/null)
        size=$(field "$f" d4 $((at + 8 + len)))
        echo "$name:$size"
        at=$((at + 12 + len + size))
    done
}

count=0
for mode in trickle stall; do
    bad_owner "$mode"
    responsive 1500 "$mode owner"
    count=$((count + 1))
    wait_count "$count" 30 || fail "$mode owner: its other target was not captured"
    [[ $(records "$app/clip.$((count - 1))") == "text/html:12" ]] ||
        fail "$mode owner: clip holds $(records "$app/clip.$((count - 1))")"
    # The owner still holds its copy (the one before it went a moment before
    # it copied, and the program's serving that one again must not take over).
    [[ $(timeout 2 xclip -o -selection clipboard -t text/html) == "<b>whole</b>" ]] ||
        fail "$mode owner: lost its copy"
    kill "$owner"
done

bad_owner huge 200
responsive 2000 "200 MB owner"
count=$((count + 1))
wait_count "$count" 100 || fail "the 200 MB copy was not captured"
[[ $(records "$app/clip.$((count - 1))" | tr '\n' ' ') == "text/html:12 application/x-big:209715200 " ]] ||
    fail "200 MB clip holds $(records "$app/clip.$((count - 1))")"
[[ $(timeout 2 xclip -o -selection clipboard -t text/html) == "<b>whole</b>" ]] || fail "200 MB owner: lost its copy"
# The last megabyte arrived whole and in place: bytes i % 251.
last=$(od -An -v -tu1 -j $(($(stat -c %s "$app/clip.$((count - 1))") - 1048576)) -N 260 "$app/clip.$((count - 1))" |
    tr -s ' \n' ' ')
[[ $last == " 0 1 2 "*" 249 250 0 1 2 3 4 5 6 7 8 " ]] || fail "the 200 MB clip's bytes are not as sent: $last"
peak_kb=$(rss VmHWM)
((peak_kb - idle_kb < 100 * 1024)) || fail "reading 200 MB took the program from $idle_kb kB to a peak of $peak_kb kB"
echo "ok: 200 MB streamed to disk, peak $((peak_kb / 1024)) MB against $((idle_kb / 1024)) MB idle"
# The owner leaves: the program serves the clip again, read from its file as
# it is asked for, never held whole.
kill "$owner"
wait_for 50 '[[ $(timeout 2 xclip -o -selection clipboard -t PellionClips 2>/dev/null) == ok ]]' || true
timeout 60 xclip -o -selection clipboard -t application/x-big |
    cmp -s - <(tail -c 209715200 "$app/clip.$((count - 1))") || fail "the 200 MB clip was not served again as filed"
peak_kb=$(rss VmHWM)
((peak_kb - idle_kb < 100 * 1024)) || fail "serving 200 MB took the program from $idle_kb kB to a peak of $peak_kb kB"
echo "ok: 200 MB served again, peak $((peak_kb / 1024)) MB, now $(($(rss VmRSS) / 1024)) MB"

# The search box: type, select all, copy. The copy becomes a clip at once
# and stays on the clipboard.
xdotool windowactivate --sync "$win" 2>/dev/null || true
click_at "$win" 1500 5620
xdotool key ctrl+a BackSpace
xdotool type --delay 20 "typed in our own box"
xdotool key ctrl+a ctrl+c
count=$((count + 1))
wait_newest_title "typed in our own box" 30 || fail "a copy from the search box was not captured"
[[ $(clip_text "$app/clip.$((count - 1))") == "typed in our own box" ]] || fail "search box clip: $(clip_text "$app/clip.$((count - 1))")"
[[ $(timeout 2 xclip -selection clipboard -o) == "typed in our own box" ]] || fail "the copy is no longer on the clipboard"
responsive 300 "after a copy in the search box"
echo "ok: a copy from the search box is captured"

close_and_wait "$win" "$pid"
