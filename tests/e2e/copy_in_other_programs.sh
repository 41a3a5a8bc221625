#!/usr/bin/env bash
# Copies made by other programs become Clipboard Clips: text within about a
# second, an image byte-exact, each copy once however long it stays, a copy
# of the same text again, text drawn in its cell; a secret is never written;
# a hung owner does not stop the next capture; content whose owner exits
# stays pasteable; capture "Off", clicked in the window, captures nothing and
# is kept; clicked again, it captures nothing of the meantime.
source "$(dirname "$0")/capture_common.bash" "$1"

start_in "$app"
sleep 0.3

# Text: the newest clip within about a second, its file in the named layout.
copy_text $'\n\tFirst copy from xclip'
wait_newest_title "First copy from xclip" 20 || fail "text not captured within 2 s"
[[ $(clip_count) == 1 ]] || fail "count $(clip_count) after one copy"
[[ $(head -c 8 "$app/clip.0" | od -An -t d4 | tr -s ' ') == " -1 1" ]] || fail "clip.0 is not one named record"
[[ $(clip_text "$app/clip.0") == $'\n\tFirst copy from xclip' ]] || fail "clip.0 text: $(clip_text "$app/clip.0")"
# The cell, two pixels in from its border and left of the top button that
# lies over the first cell.
wait_for 10 '(($(ink_at "$win" 420 270 1780 210) > 20))' || fail "clip cell 0 shows no text"
echo "ok: text captured"

# Left on the clipboard it is captured once; the same text copied again is new.
sleep 2.2
[[ $(clip_count) == 1 ]] || fail "content left on the clipboard captured again"
copy_text $'\n\tFirst copy from xclip'
wait_count 2 20 || fail "the same text copied again was not captured"
[[ $(clip_title 1) == "First copy from xclip" ]] || fail "second title $(clip_title 1)"
echo "ok: captured once while left, again when copied again"

# Content kept alive: xclip exits, its text stays pasteable from the program.
kill "$copier"
first=$'\n\tFirst copy from xclip'
wait_for 25 '[[ $(timeout 2 xclip -selection clipboard -o 2>/dev/null) == "$first" ]]' || fail "the newest clip was not served again after its owner exited"
timeout 2 xclip -selection clipboard -o -t TARGETS | grep -qx PellionClips || fail "served content lacks the marker"
sleep 1.2
[[ $(clip_count) == 2 ]] || fail "the served clip was captured again"
echo "ok: content kept alive after its owner exited"

# An image without text: stored byte-exact under its name, "Non Text Clip.":
# one record (after the format's number) of the name's length, name, size, bytes.
head -c 300000 /dev/urandom >"$work/image.png"
copy_file image/png "$work/image.png"
wait_count 3 25 || fail "image not captured"
[[ $(clip_title 2) == "Non Text Clip." ]] || fail "image title $(clip_title 2)"
cmp <({ le32 -1; le32 1; }) <(head -c 8 "$app/clip.2") || fail "the image clip is not one named record"
cmp <({ le32 9; printf image/png; le32 300000; cat "$work/image.png"; }) <(tail -c +13 "$app/clip.2") ||
    fail "the image record is not as copied"
echo "ok: image stored byte-exact"

# A secret from a password manager: marked, never written, its text never
# asked for. The same owner with another hint is captured, so the tool is
# seen to work. Each owner keeps the clipboard until it was asked for the hint.
offer() {
    offers=$((${offers:-0} + 1))
    out=$work/offer.$offers
    spawn "$build/offer_targets" "$@" >"$out"
    wait_for 50 'grep -q ready "$out"' || true
}
asked() { wait_for 50 "grep -qx 'asked $1' \"\$out\""; }
offer UTF8_STRING=visible-text x-kde-passwordManagerHint=public
wait_newest_title "visible-text" 25 || fail "a copy with a public hint was not captured"
# Also when the hint is offered but refused, or "Secret" with blanks.
for hint in x-kde-passwordManagerHint=secret x-kde-passwordManagerHint "x-kde-passwordManagerHint= Secret"; do
    offer UTF8_STRING=hunter2-secret "$hint"
    asked x-kde-passwordManagerHint || fail "$hint: never asked for the hint"
done
# Captures come in the order of the copies: once the next is in, the secrets were passed over.
copy_captured "after the secrets" 25
[[ $(clip_count) == 5 ]] || fail "a secret was filed"
! grep -rqa hunter2 "$app" || fail "a secret reached the disk"
! grep -qx "asked UTF8_STRING" "$work"/offer.[234] || fail "the text of a secret was asked for"
[[ ! -e "$app/clip.tmp" ]] || fail "clip.tmp left behind"
echo "ok: secret not written"

# A hung owner: a copy made while the program waits on it is captured.
spawn "$build/bad_owner" hang >"$work/hung.out"
hung=$!
wait_for 50 'grep -q asked "$work/hung.out"' || fail "the hung owner was never asked"
copy_text "after the hung owner"
wait_newest_title "after the hung owner" 25 || fail "copy after a hung owner not captured"
[[ $(clip_count) == 6 ]] || fail "the hung owner produced a clip"
kill "$hung"
echo "ok: capture goes on after a hung owner"

# "Off" inside the capture-mode frame (twips, Large full window), kept over a restart.
off_x=$((108 + 1635 + 160)) off_y=$((3564 + 186))
click_at "$win" $off_x $off_y
[[ $(field "$app/pellion.ini" d2 81) == 1 ]] || fail "capture mode not Off after the click"
close_and_wait "$win" "$pid"
[[ ! -e "$app/clip.tmp" ]] || fail "clip.tmp left behind at exit"
start_in "$app"
sleep 0.3
copy_text "copied while off"
sleep 2.2
[[ $(clip_count) == 6 ]] || fail "count $(clip_count) in mode Off"
echo "ok: nothing captured in mode Off"
click_at "$win" $off_x $off_y
[[ $(field "$app/pellion.ini" d2 81) == 0 ]] || fail "a second click on Off did not return to Normal"
sleep 2.2
[[ $(clip_count) == 6 ]] || fail "what was copied while off was captured after leaving Off"
copy_captured "after switching back" 25
echo "ok: leaving Off captures nothing of the meantime, the next copy is captured"
