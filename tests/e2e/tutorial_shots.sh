#!/usr/bin/env bash
# The tutorial's pictures, taken from the running program: copies made with
# xclip, a group named in its dialog, the Hot Key Clips, the bulk cache with
# its spacing dialog, the Launch Pad and its shortcut editor. Fails unless
# every picture that a tutorial page shows was taken.
# To refresh the shipped pictures, run it with TUTORIAL_SHOTS_OUT set:
#   TUTORIAL_SHOTS_OUT=data/tutorial/shots scripts/xsession.sh bash tests/e2e/tutorial_shots.sh build
source "$(dirname "$0")/paste_common.bash" "$1"
tutorial=$(cd "$(dirname "$0")/../../data/tutorial" && pwd)

prepare_program
# Clips filed before the start: a group of letters, three hot keys, and
# three shortcuts in the Launch Pad's first group.
letters=("Dear Sir or Madam," "Kind regards," "The report is attached." "Out of office until Monday.")
hot=("12 Harbour Road" "anna.berg@example.org" "555 0142")
for i in 0 1 2 3; do file_clip "$lib/group0" $i "${letters[i]}"; done
for i in 0 1 2; do file_clip "$app/group22" $i "${hot[i]}"; done
pad=$app/lib29
mkdir -p "$pad"
printf '%-50s%1050s%-50s%450s' Tools "" "Hot Key Clips" "" >"$pad/groups.dat"
printf '%4800s' '' >"$pad/group0.dat"
write_shortcut "$pad" 0 /usr/bin/xterm "" "-geometry 100x30" Terminal
write_shortcut "$pad" 1 /usr/bin/gnome-calculator "" "" Calculator
write_shortcut "$pad" 2 "$HOME" "" "" "Home folder"
# The editor opens in /usr/bin, with two folder bookmarks.
{ printf '%-500s%-500s%4500s%1800s%-500s' /usr/bin /usr/share "" "" /usr/bin; } >"$app/book.mrk"

rm -f "$shots"/tutorial-*.png
# A picture of window $1 as tutorial picture $2, with the pointer (and any
# caption it shows) well away from it.
shot() {
    xdotool mousemove 1270 1010
    sleep 0.5
    screenshot "$1" "tutorial-$2"
}
group_at() { echo $((10008 + 1074)) $((216 + 252 * $1 + 138)); }

start_app
show_app
for text in "Room 4.12, 2nd floor" "See you on Friday!" "https://example.org/timetable" "Order 2026-0457"; do
    copy_captured "$text" 50
done
shot "$win" copies

click_at "$win" $(group_at 0) 3
dialog=$(dialog_of "$pid" " Group Title") || fail "no group naming dialog"
activate "$dialog"
xdotool type --delay 20 "Letters"
shot "$dialog" name-group
xdotool key Return
wait_for 30 '[[ $(title_in "$lib/groups.dat" 0) == Letters ]]' || fail "group not named"
shot "$win" group

click_at "$win" $(group_at 22)
expect_ini CurrentGroup 22
shot "$win" hotkeys
click_at "$win" $(group_at 0)
expect_ini CurrentGroup 0

# Clear, then Bulk with an empty cache, and three copies into it.
click_at "$win" 708 2652
wait_count 0 30 || fail "Clear left $(clip_count) clips"
click_at "$win" 2316 3750
expect_ini CaptureMode 2
for text in Apples Pears Plums; do copy_captured "$text" 50; done
expect_ini BulkCount 3
shot "$win" bulk
xdotool key ctrl+Insert
dialog=$(dialog_of "$pid" " Bulk Paste") || fail "Ctrl+Insert opened no spacing dialog"
shot "$dialog" bulk-paste
activate "$dialog"
xdotool key Escape
show_app
click_at "$win" 2316 3750
expect_ini CaptureMode 0

click_at "$win" 2004 4164
expect_ini CurrentLibrary 29
shot "$win" launch-pad
click_at "$win" $(item_cell 0) 3
editor=$(dialog_of "$pid" "Shortcut Edit") || fail "the shortcut editor did not open"
shot "$editor" shortcut-editor
click_at "$editor" 9660 5580
close_and_wait "$win" "$pid"

# Every picture the tutorial shows, taken in this run.
shown=$(grep -ho 'src="shots/[^"]*\.png"' "$tutorial"/*.htm | sed 's/^src="shots\///; s/"$//' | sort -u)
[[ -n $shown ]] || fail "no tutorial page shows a picture"
for png in $shown; do
    [[ -s "$shots/tutorial-$png" ]] || fail "no picture $png for the tutorial"
    [[ -z ${TUTORIAL_SHOTS_OUT:-} ]] || cp "$shots/tutorial-$png" "$TUTORIAL_SHOTS_OUT/$png"
done
echo "ok: $(wc -w <<<"$shown") tutorial pictures"
