#!/usr/bin/env bash
# First start in an empty folder writes "pellion.ini" with the defaults and
# creates "lib1"; closing the window saves the record; an old single-library
# folder moves its group files into "lib1" and nothing else, and its damaged
# clip list is rebuilt from its clip files; without --data-folder the data
# goes to the per-user folder; another user's folder is refused.
source "$(dirname "$0")/common.bash" "$1"

start_in "$app"
sleep 0.5

[[ $(stat -c %s "$ini") == 113 ]] || fail "pellion.ini is $(stat -c %s "$ini") bytes"
[[ -d "$app/lib1" ]] || fail "no lib1 folder"
[[ $(head -c 7 "$ini") == "PCV4.00" ]] || fail "marker $(head -c 7 "$ini")"
read -r width height < <(xdotool getdisplaygeometry)
expect() {  # type offset value name
    [[ $(field "$ini" "$1" "$2") == "$3" ]] || fail "$4 at $2 is $(field "$ini" "$1" "$2"), expected $3"
}
for off in 25 29 33 71; do expect d4 $off 16777215 colour; done
# Placing the window in its layout saved the record as repaired in memory.
expect d4 17 4584 Reserved1
expect d4 21 5532 Reserved2
expect d2 43 -1 HelpOption
# The viewer centred on the screen measured in the program's twips.
twips() { echo $(((2 * $1 * 1440 + twip_dpi * pixel_ratio) / (2 * twip_dpi * pixel_ratio))); }
centred() { awk -v s="$(twips "$1")" -v d="$2" 'BEGIN {printf "%g", (s - d) / 2}'; }
expect f4 51 "$(centred "$height" 6672)" ViewerTop
expect f4 55 "$(centred "$width" 6948)" ViewerLeft
expect f4 59 5672 ViewerHeight
expect f4 63 6852 ViewerWidth
expect d2 69 $(($(twips "$width") >= 12288 && $(twips "$height") >= 8820 ? 1 : 0)) SizeOption
# HelpShown (89) is 1 once the help menu window of the first run was shown.
for off in 41 45 85 87 89 91 95 97 101; do expect d2 $off 1 "field"; done
for off in 7 37 39 47 49 67 75 77 79 81 83 93 99 103; do expect d2 $off 0 "field"; done
for off in 105 109; do expect f4 $off 0 "column view place"; done

# Closing saves the record as validated in memory.
close_and_wait "$win" "$pid"
[[ $(stat -c %s "$ini") == 113 ]] || fail "saved pellion.ini is $(stat -c %s "$ini") bytes"
expect d4 17 4584 Reserved1
expect d4 21 5532 Reserved2
echo "ok: first run"

old=$work/old
mkdir -p "$old"
for f in group3.dat group3.mod Colr3.dat group3.1 Groups.dat trans.dat clip.dat group22.dat Lib.dat notes.txt .hidden; do
    echo "$f" >"$old/$f"
done
# The user's own things beside them, and a link named like a group file.
mkdir -p "$work/elsewhere"
echo precious >"$work/elsewhere/precious"
chmod 444 "$work/elsewhere/precious"
ln -s "$work/elsewhere/precious" "$old/group5.dat"
printf '#!/bin/sh\n' >"$old/tool.sh"
chmod 755 "$old/tool.sh"
# "clip.dat" holds no count ("cl" is 27747), and a clip file is there.
printf '\xff\xff\xff\xff\x01\0\0\0\x01\0\0\0\0\0\0\0\x0a\0\0\0kept text\0' >"$old/clip.3"
clip_bytes=$(md5sum <"$old/clip.3")
start_in "$old"
sleep 0.5
for f in group3.dat group3.mod Colr3.dat group3.1 Groups.dat; do
    [[ ! -e "$old/$f" && $(cat "$old/lib1/$f" 2>/dev/null) == "$f" ]] || fail "$f not moved into lib1 as it was"
done
for f in trans.dat group22.dat Lib.dat pellion.ini tool.sh notes.txt .hidden; do
    [[ -f "$old/$f" && ! -e "$old/lib1/$f" ]] || fail "$f left the data folder"
done
[[ -L "$old/group5.dat" && ! -e "$old/lib1/group5.dat" ]] || fail "the link was moved"
[[ $(stat -c %a "$work/elsewhere/precious") == 444 ]] || fail "the link's target was made writable"
[[ $(stat -c %a "$old/tool.sh") == 755 ]] || fail "tool.sh lost its mode"
[[ $(field "$old/pellion.ini" d2 87) == 1 ]] || fail "current library not 1"
[[ $(md5sum <"$old/clip.0") == "$clip_bytes" && ! -e "$old/clip.3" ]] || fail "the clip file was not kept as clip.0"
[[ $(field "$old/clip.dat" d2 0) == 1 && $(head -c 11 "$old/clip.dat" | tail -c 9) == "kept text" ]] ||
    fail "clip.dat not rebuilt: $(od -c -N 16 "$old/clip.dat")"
grep -q "rebuilt from the 1 clip file found" "$work/program.log" || fail "no word of the rebuilt list on stderr"
search_window 50 --all --onlyvisible --pid "$pid" --name notice >/dev/null || fail "no notice window"
close_and_wait "$win" "$pid"
echo "ok: old folder migrated"

# No --data-folder: the per-user folder, created 0700.
home=$work/home
mkdir -p "$home"
spawn env HOME="$home" XDG_DATA_HOME= "$build/pellion" >>"$work/program.log" 2>&1
pid=$!
close_help_menu "$pid"
w=$(main_window "$pid") || fail "no main window with the default data folder"
data=$home/.local/share/pellion-clipboard
[[ -f "$data/pellion.ini" && -d "$data/lib1" ]] || fail "nothing in $data"
[[ $(stat -c %a "$data") == 700 ]] || fail "$data is $(stat -c %a "$data")"
close_and_wait "$w" "$pid"

# A data folder that belongs to another user is refused.
theirs=$work/theirs
mkdir -p "$theirs"
chown 65534:65534 "$theirs" 2>/dev/null || theirs=/
rc=0
timeout 10 "$build/pellion" --data-folder "$theirs" 2>"$work/refused.log" || rc=$?
((rc == 1)) || fail "another user's folder: ended with $rc"
grep -q "belongs to another user" "$work/refused.log" || fail "no reason given: $(cat "$work/refused.log")"
[[ "$theirs" == / || -z $(ls -A "$theirs") ]] || fail "files written into another user's folder"
echo "ok: data folder chosen"
