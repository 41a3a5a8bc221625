#!/usr/bin/env bash
# First start in an empty folder writes "pellion.ini" with the defaults and
# creates "lib1"; closing the window saves the record; an old single-library
# folder moves its group files into "lib1".
source "$(dirname "$0")/common.bash" "$1"

app=$work/app
install_program "$app"
start_program "$app"
pid=$last_pid
w=$(main_window "$pid") || fail "no main window"
sleep 0.5

ini=$app/pellion.ini
[[ -f "$ini" ]] || fail "no pellion.ini"
[[ $(stat -c %s "$ini") == 113 ]] || fail "pellion.ini is $(stat -c %s "$ini") bytes"
[[ -d "$app/lib1" ]] || fail "no lib1 folder"
[[ $(head -c 7 "$ini") == "PCV4.00" ]] || fail "marker $(head -c 7 "$ini")"
read -r width height < <(xdotool getdisplaygeometry)
expect() {  # type offset value name
    local got
    got=$(field "$ini" "$1" "$2")
    [[ "$got" == "$3" ]] || fail "$4 at $2 is $got, expected $3"
}
expect d2 7 0 BulkCount
for off in 25 29 33 71; do expect d4 $off 16777215 colour; done
# Placing the window in its layout saved the record as repaired in memory.
expect d4 17 4584 Reserved1
expect d4 21 5532 Reserved2
expect d2 41 1 IconOption
expect d2 43 -1 HelpOption
expect d2 45 1 ClearOption
# The viewer centred on the screen measured in the program's twips.
twips() { echo $(((2 * $1 * 1440 + twip_dpi * pixel_ratio) / (2 * twip_dpi * pixel_ratio))); }
centred() { awk -v s="$(twips "$1")" -v d="$2" 'BEGIN {printf "%g", (s - d) / 2}'; }
expect f4 51 "$(centred "$height" 6672)" ViewerTop
expect f4 55 "$(centred "$width" 6948)" ViewerLeft
expect f4 59 5672 ViewerHeight
expect f4 63 6852 ViewerWidth
expect d2 69 $(($(twips "$width") >= 12288 && $(twips "$height") >= 8820 ? 1 : 0)) SizeOption
for off in 85 87 91 95 97 101; do expect d2 $off 1 "field"; done
for off in 37 39 47 49 67 75 77 79 81 83 89 93 99 103; do expect d2 $off 0 "field"; done
expect f4 105 0 ColumnTop
expect f4 109 0 ColumnLeft
[[ $(xdotool getwindowname "$w") == " Pellion Clipboard          "* ]] || fail "caption $(xdotool getwindowname "$w")"

# Closing saves the record as validated in memory.
close_and_wait "$w" "$pid"
[[ $(stat -c %s "$ini") == 113 ]] || fail "saved pellion.ini is $(stat -c %s "$ini") bytes"
expect d4 17 4584 Reserved1
expect d4 21 5532 Reserved2
echo "ok: first run"

old=$work/old
install_program "$old"
for f in group3.dat group3.mod Colr3.dat group3.1 Groups.dat trans.dat clip.dat group22.dat Lib.dat; do
    echo "$f" >"$old/$f"
done
start_program "$old"
pid=$last_pid
w=$(main_window "$pid") || fail "no main window in the old folder"
sleep 0.5
for f in group3.dat group3.mod Colr3.dat group3.1 Groups.dat; do
    [[ -f "$old/lib1/$f" && ! -e "$old/$f" ]] || fail "$f not moved into lib1"
    [[ $(cat "$old/lib1/$f") == "$f" ]] || fail "$f changed on the way"
done
for f in trans.dat clip.dat group22.dat Lib.dat pellion pellion.ini; do
    [[ -f "$old/$f" ]] || fail "$f left the data folder"
done
[[ $(field "$old/pellion.ini" d2 87) == 1 ]] || fail "current library not 1"
close_and_wait "$w" "$pid"
echo "ok: old folder migrated"
echo "PASS"
