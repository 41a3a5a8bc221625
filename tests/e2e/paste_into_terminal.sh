#!/usr/bin/env bash
# Terminals paste the PRIMARY selection on Shift+Insert. A click on a clip
# and a hot key paste the clip into `cat > FILE` running in xterm exactly,
# several lines and Unicode included, though other text was selected before;
# afterwards PRIMARY holds the pasted clip.
source "$(dirname "$0")/paste_common.bash" "$1"
command -v xterm >/dev/null || fail "xterm is missing (scripts/install-deps.sh --test)"

prepare_program
first=$'first line\nzweite Zeile: gr\xc3\xbc\xc3\x9f \xe2\x82\xac\n\xe6\x97\xa5\xe6\x9c\xac \xe2\x9c\x93 end\n'
hot=$'hot key\n\xc3\x9cn\xc3\xafc\xc3\xb6d\xc3\xa9 \xe2\x9c\x93\n'
first_clip "$first" first
write_title "$app/group22.dat" 0 "hot"
write_text_clip "$app/group22.0" "$hot"

# Text the user selected earlier, which a terminal would paste instead.
printf 'selected before' >"$work/selected"
spawn xclip -selection primary -quiet -i "$work/selected" >/dev/null 2>&1

start_app
typed=$work/typed
: >"$typed"
spawn env LC_ALL=C.UTF-8 xterm -u8 -geometry 80x12+0+420 -T "Terminal $$" -e sh -c "exec cat > '$typed'"
target=$(xdotool search --sync --name "^Terminal $$\$" | head -n1) || fail "xterm did not start"

# Waits up to 5 s for the file to hold exactly $1.
wait_typed() {
    local want=$1
    wait_for 50 '[[ "$(cat "$typed"; printf x)" == "${want}x" ]]' && return 0
    echo "typed: $(od -c "$typed" | head -n 12)" >&2
    return 1
}

show_app
focus_target
click_at "$win" $(clip_cell 0)
wait_typed "$first" || fail "a click on the clip did not paste it into the terminal"
[[ "$(xclip -selection primary -o; printf x)" == "${first}x" ]] || fail "PRIMARY does not hold the pasted clip"
echo "ok: click"

focus_target
xdotool key alt+a
wait_typed "$first$hot" || fail "Alt+A did not paste the Hot Key Clip into the terminal"
echo "ok: hot key"
