#!/usr/bin/env bash
# The Launch Pad: a shortcut made in the editor with real drags starts a
# script of ours in its start folder with its quoted argument whole and no
# shell; a clip dropped on the Launch Pad makes a shortcut to a document,
# which opens with the default application set here; each kind of failure
# shows its message and starts nothing; "book.mrk" keeps what was added.
source "$(dirname "$0")/drag_common.bash" "$1"

lib=$app/lib29
tools=$work/tools bin=$work/bin
start="$work/start here"
bell=$'\a'
mkdir -p "$tools" "$bin" "$start" "$work/docs"
cat >"$tools/writer.run" <<'EOF'
#!/bin/sh
{ pwd; for a in "$@"; do printf 'ARG:%s\n' "$a"; done; } >launched.tmp && mv launched.tmp launched.txt
EOF
chmod 755 "$tools/writer.run"
printf 'MZ' >"$bin/setup.exe"  # a program by its name, but not executable
printf 'dear reader\n' >"$work/docs/note.txt"
printf '\x00\x01\x02binary' >"$work/docs/data.pellionx"
# Our own default application for text, and nothing from the user's settings.
default_app text/plain "$work/opened.txt"

# A first run enters the Launch Pad, so that library 29 exists.
start_in "$app"
click_at "$win" $((1404 + 600)) $((3996 + 168))  # Launch Pad
wait_for 50 test -f "$lib/groups.dat" || fail "library 29 not made"
close_and_wait "$win" "$pid"
[[ $(field "$ini" d2 $ini_CurrentLibrary) == 29 ]] || fail "not left in the Launch Pad"

# Shortcuts that fail, in slots 3 to 6 of group 0; the editor starts in the
# tools folder, bookmark 0 is the start folder (its blank stored as 7).
write_shortcut "$lib" 3 "$work/gone.run" "" "" "Gone"
write_shortcut "$lib" 4 "$tools/writer.run" "$work/no such folder" "" "No folder"
write_shortcut "$lib" 5 "$work/docs/data.pellionx" "" "" "No application"
write_shortcut "$lib" 6 "$bin/setup.exe" "" "" "Not executable"
{ printf '%-500s' "${start// /$bell}"; printf '%5000s%1800s' '' ''; printf '%-500s' "$tools"; } >"$app/book.mrk"

start_target "Launch Target"
start_in "$app"

# Slot n of the Group Clips and a point in the editor, in twips.
slot_at() { echo $((3204 + 1100)) $((216 + 252 * $1 + 138)); }
mark_at() { echo $(($2 + 1200)) $((1890 + 270 * $1 + 127)); }  # bookmark or filter row $1 at column $2
file_field=(4000 270) start_field=(4000 630) command_field=(4000 990) title_field=(3240 1350)
folder_label=(1620 5070) file_label=(4740 5070) save_button=(8550 5580)
bookmarks_x=6360 filters_x=8880

editor_open() {
    editor=$(dialog_of "$pid" "Shortcut Edit") || fail "the shortcut editor did not open"
    activate "$editor"
}
type_into() {  # twips x y, text
    xdotool mousemove --window "$editor" "$(px "$1")" "$(px "$2")" click --repeat 3 1
    xdotool type --delay 30 "$3"
}
bring_up() { activate "$win"; sleep 0.3; }

# A right click on an empty slot opens nothing; a new shortcut is made from a
# clip dropped on the group: copy its text, then drag the Clipboard Clip.
copy_captured "\"$work/docs/note.txt\"" 50
drag_at "$win" 1090 $((240 + 135)) $(slot_at 2)
editor_open
dialog_look "$editor" launch-pad-editor
type_into "${title_field[@]}" "Note"
click_at "$editor" "${save_button[@]}"
gone "$editor" || fail "Save did not close the editor"
[[ $(bytes "$lib/group0.2" 2 500) == "$(printf '%-500s' "$work/docs/note.txt")" ]] || fail "the dropped clip's text is not the shortcut's file"
echo "ok: a dropped clip made a shortcut to its path"

# The program shortcut, all by drags: the file label onto the file field (a
# program: its folder becomes the start folder), bookmark 0 onto the start
# folder, the folder label onto bookmark 1, the file label onto filter 2.
bring_up
drag_at "$win" 1090 $((240 + 135)) $(slot_at 1)
editor_open
drag_at "$editor" "${file_label[@]}" "${file_field[@]}"
drag_at "$editor" $(mark_at 0 $bookmarks_x) "${start_field[@]}"
drag_at "$editor" "${folder_label[@]}" $(mark_at 1 $bookmarks_x)
drag_at "$editor" "${file_label[@]}" $(mark_at 2 $filters_x)
type_into "${command_field[@]}" "\"hello world\" '\$(touch pwned)'"
type_into "${title_field[@]}" "Writer"
screenshot "$editor" launch-pad-editor-filled
click_at "$editor" "${save_button[@]}"
gone "$editor" || fail "Save did not close the editor"

rec=$lib/group0.1
[[ $(field "$rec" d2 0) == 999 ]] || fail "slot 1 is no shortcut record"
want=$(printf '%-500s%-500s%-500s%-20s' "$tools/writer.run" "$start" "\"hello world\" '\$(touch pwned)'" "Writer")
[[ $(tail -c +3 "$rec") == "$want" ]] || fail "record holds: $(tail -c +3 "$rec" | tr -s ' ')"
[[ $(title_in "$lib/group0.dat" 1) == Writer ]] || fail "no title"
marks=$app/book.mrk
want=$(printf '%-500s%-500s%-4500s%-200s%-1600s%-500s' "${start// /$bell}" "$tools" "" "*.run" "" "$tools")
[[ $(cat "$marks") == "$want" ]] || fail "book.mrk holds: $(tr -s ' ' <"$marks")"
echo "ok: the editor wrote the record and book.mrk by drags"

# A right click on the shortcut opens it in the editor; Cancel writes nothing.
editor_files() { md5sum "$lib"/group0.* "$lib/colr0.dat" "$app/book.mrk"; }
before=$(editor_files)
bring_up
click_at "$win" $(slot_at 1) 3
editor_open
click_at "$editor" 9660 5580
gone "$editor" || fail "Cancel did not close the editor"
[[ $(editor_files) == "$before" ]] || fail "Cancel changed files"

# Clicking the slot starts the script in the start folder, without a shell.
bring_up
click_at "$win" $(slot_at 1)
wait_for 50 test -f "$start/launched.txt" || fail "the script did not run in the start folder"
printf -v want '%s\nARG:hello world\nARG:$(touch pwned)' "$start"
[[ $(cat "$start/launched.txt") == "$want" ]] || fail "the script got: $(cat "$start/launched.txt")"
[[ -z $(find "$work" -name pwned) ]] || fail "a shell ran the command line"
echo "ok: started with its argument whole, no shell"

bring_up
click_at "$win" $(slot_at 2)
wait_for 50 '[[ $(cat "$work/opened.txt" 2>/dev/null) == "$work/docs/note.txt" ]]' ||
    fail "the document did not open: $(cat "$work/opened.txt" 2>&1)"
echo "ok: the document opened with the default application for text"

# Each failure: its message, and nothing started.
rm -f "$start/launched.txt" "$work/opened.txt"
for failure in "3:The executable file or folder no longer exists !" "4:The start in folder does not exist !" \
    "5:There is no association for this file type !" "6:Cannot run Application - it is not a program you may run !"; do
    bring_up
    click_at "$win" $(slot_at ${failure%%:*})
    errors=$(dialog_of "$pid" " Launch Pad") || fail "no message for slot ${failure%%:*}"
    grep -qF "pellion: ${failure#*:}" "$work/program.log" || fail "slot ${failure%%:*}: message not '${failure#*:}'"
    [[ ${failure%%:*} == 4 ]] && dialog_look "$errors" launch-pad-error
    activate "$errors"
    xdotool key Return
    gone "$errors" || fail "OK did not close the message"
done
sleep 1
[[ ! -e "$start/launched.txt" && ! -e "$tools/launched.txt" && ! -e "$work/opened.txt" ]] || fail "a failure started something"
echo "ok: each failure told, nothing started"
