#!/usr/bin/env bash
# The program killed in the middle of a capture into a full list, after two
# clips moved down a slot: started again, it finishes the move, and every
# title names its own clip with the new copy the newest.
source "$(dirname "$0")/capture_common.bash" "$1"
command -v strace >/dev/null || { echo "SKIPPED: no strace"; exit 0; }

prepare_folder "$app"
# Nine clips "old 0" to "old 8", each a text record, and their index.
printf '\x09\x00' >"$app/clip.dat"
for n in $(seq 0 8); do
    write_text_clip "$app/clip.$n" "old $n"
    printf '%-50s' "old $n" >>"$app/clip.dat"
done

start_in "$app"
# Killed as it is about to move clip.3 onto clip.2.
spawn strace -f -qq -o "$work/strace.log" -p "$pid" -P "$app/clip.3" -e trace=rename,renameat,renameat2 \
    -e inject=rename,renameat,renameat2:signal=KILL:when=1
wait_for 50 "((\$(awk '/^TracerPid:/ {print \$2}' /proc/$pid/status) != 0))" || true
copy_text "the new copy"
wait_for 100 '! kill -0 "$pid" 2>/dev/null' || fail "the program was not stopped mid-capture"
[[ $(clip_text "$app/clip.1") == "old 2" && ! -e "$app/clip.2" && -e "$app/pellion.journal" ]] ||
    fail "not stopped after two moves: $(ls "$app")"

start_in "$app"
[[ $(clip_count) == 9 ]] || fail "count $(clip_count) after the restart"
for n in $(seq 0 8); do
    want="old $((n + 1))"
    ((n == 8)) && want="the new copy"
    [[ $(clip_title "$n") == "$want" ]] || fail "slot $n titled '$(clip_title "$n")', expected '$want'"
    [[ $(clip_text "$app/clip.$n") == "$want" ]] || fail "slot $n holds '$(clip_text "$app/clip.$n")', expected '$want'"
done
[[ -z $(find "$app" -maxdepth 1 -name 'pellion.journal*') ]] || fail "journal files left"
