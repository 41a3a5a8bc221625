# Shared by the end-to-end scripts: a temporary data folder for the program,
# its window found by caption, and cleanup of every process started here.
# Usage: source common.bash BUILD_DIR   (DISPLAY is set by the test runner)
set -euo pipefail
build=$(cd "${1:?build dir}" && pwd)
work=$(mktemp -d)
started=()
# Qt's programs want a private runtime folder. A start without a data folder
# must not reach the user's own.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work/runtime}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export XDG_DATA_HOME=$work/xdg-data
# The program's data folder in most scripts, its settings and first library.
app=$work/app ini=$work/app/pellion.ini lib=$work/app/lib1

cleanup() {
    for p in "${started[@]:-}"; do
        [[ -n "$p" ]] && kill "$p" 2>/dev/null || true
        [[ -n "$p" ]] && kill -CONT "$p" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [[ -n "${E2E_SHOW_LOG:-}" ]] && cat "$work/program.log" >&2
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Runs command $1... in the background, to be ended with the script; its pid in $!.
spawn() {
    "$@" &
    started+=($!)
}

# Runs the program once in folder $1 (made by the program), so that its data
# files exist with their defaults before a test changes them.
prepare_folder() {
    start_in "$1"
    close_and_wait "$win" "$pid"
}

# Starts the program on data folder $1; its pid is left in $pid and $last_pid.
# The help menu window of a first run would be in every test's way: unless
# the test sets first_run=1, a folder without "pellion.ini" has its first run
# with that window closed here, and in any other the help is marked shown and
# the window, which then starts minimised, is brought up (as the tests expect
# of a start) unless the test sets keep_minimised=1.
start_program() {
    local ini=$1/pellion.ini fresh=0 up=0
    if [[ -n ${first_run:-} ]]; then
        :
    elif [[ ! -e $ini ]]; then
        fresh=1
    else
        [[ $(field "$ini" d2 $ini_HelpShown) == 1 ]] || set_field "$ini" $ini_HelpShown 1
        # Not when kept on top in a reduced layout, or hidden while minimised.
        [[ -n ${keep_minimised:-} || $(field "$ini" d2 $ini_IconOption) == 0 ]] ||
            [[ $(field "$ini" d2 $ini_OnTop) == 1 && $(field "$ini" d2 $ini_Layout) == [12] ]] || up=1
    fi
    spawn "$build/pellion" --data-folder "$1" >>"$work/program.log" 2>&1
    last_pid=$! pid=$!
    ((fresh == 0)) || close_help_menu "$pid"
    ((up == 0)) || raise_minimised "$pid"
}
# Starts the program on folder $1 and waits for its shown window: $win.
start_in() {
    start_program "$1"
    win=$(main_window "$pid") || fail "no main window"
}

# Window $1 in front (as far as the window manager lets it), and keys $2... typed there.
activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true; }
keys_to() {
    activate "$1"
    xdotool key "${@:2}"
}

# Closes the help menu window of process $1 once it shows (within 10 s).
close_help_menu() {
    local menu
    menu=$(dialog_of "$1" ' Pellion Help') || fail "no help menu window on a first run"
    "$build/close_window" "$menu"
    gone "$menu" || fail "the help menu window stays"
}
# Waits up to 5 s for window $1 to be closed or hidden.
gone() {
    local id=$1
    wait_for 50 '! xwininfo -id "$id" 2>/dev/null | grep -q IsViewable'
}

# Brings the minimised main window of process $1 up as the user would.
raise_minimised() {
    local w
    w=$(any_main_window "$1") || fail "no main window"
    wait_state "$w" 50 Iconic || fail "the window did not start minimised"
    activate "$w"
    wait_state "$w" 50 Normal || fail "the window did not come up"
    wait_still "$w" || fail "the window keeps moving"
}

# Waits up to 3 s for window $1 to stay where it is for 0.2 s (the window
# manager may map it elsewhere before the program places it).
wait_still() {
    local i was="" now same=0
    for ((i = 0; i < 30; i++)); do
        now=$(geometry "$1")
        if [[ "$now" == "$was" ]]; then
            ((++same >= 2)) && return 0
        else
            same=0
        fi
        was=$now
        sleep 0.1
    done
    return 1
}

# Runs command $2... every tenth of a second until it succeeds, for up to $1
# tenths. A single word is evaluated: it sees the caller's variables but not
# its positional parameters.
wait_for() {
    local _n=$1
    shift
    (($# > 1)) || set -- eval "$1"
    for _ in $(seq "$_n"); do "$@" && return 0; sleep 0.1; done
    return 1
}

# The first window "xdotool search $2..." finds, waited for up to $1 tenths.
search_window() {
    local args=("${@:2}") id
    wait_for "$1" 'id=$(xdotool search "${args[@]}" 2>/dev/null | head -n1); [[ -n $id ]]' && echo "$id"
}

# The main window of process $1, shown (main_window) or not (any_main_window:
# a minimised window is not viewable), waited for up to 10 s.
main_window() { search_window 100 --all --onlyvisible --pid "$1" --name '^ Pellion Clipboard {10}'; }
any_main_window() { search_window 100 --all --pid "$1" --name '^ Pellion Clipboard {10}'; }
# The shown window of process $1 titled exactly $2, waited for up to 10 s.
dialog_of() { search_window 100 --all --onlyvisible --pid "$1" --name "^$2\$"; }

# Every entry below $1 with size, modification time and checksum.
folder_state() {
    (cd "$1" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort)
}

# Closes window $1 as its close button would and waits for process $2 to end.
close_and_wait() {
    local pid=$2
    "$build/close_window" "$1"
    wait_for 100 '! kill -0 "$pid" 2>/dev/null' || fail "process $2 did not end after its window was closed"
}

# Little-endian field of a file: od type (d2, d4, f4), offset.
field() { od -An -v -t "$2" -j "$3" -N "${2:1}" "$1" | tr -d ' '; }
# Waits up to 5 s for field $1 of "pellion.ini" (at offset ini_$1, of od type
# $3, else d2) to read $2.
expect_ini() {
    local at=ini_$1 type=${3:-d2} want=$2
    wait_for 50 '[[ $(field "$ini" $type ${!at}) == "$want" ]]' ||
        fail "$1 in pellion.ini is $(field "$ini" "$type" "${!at}"), expected $2"
}
# $3 bytes of file $1 from offset $2, and title $2 of index file $1 (50 bytes
# each) without its blank padding.
bytes() { dd if="$1" bs=1 skip="$2" count="$3" status=none; }
title_in() { bytes "$1" $((50 * $2)) 50 | sed 's/ *$//'; }
# Title $3 at slot $2 of index file $1.
write_title() {
    printf '%-50s' "$3" | dd of="$1" bs=1 seek=$((50 * $2)) conv=notrunc status=none
}
# A Launch Pad shortcut in slot $2 of group 0 of library folder $1: file,
# start folder, command line and title.
write_shortcut() {
    { printf '\xe7\x03'; printf '%-500s%-500s%-500s%-20s' "$3" "$4" "$5" "$6"; } >"$1/group0.$2"
    write_title "$1/group0.dat" "$2" "$6"
}
# A title file of $2 blank titles with text at the given slots.
titles() {  # file count slot text [slot text]...
    local file=$1 count=$2
    shift 2
    printf "%$((count * 50))s" '' >"$file"
    while (($#)); do
        write_title "$file" "$1" "$2"
        shift 2
    done
}

# Value $1 as a little-endian integer of $2 bytes (default 4).
le32() {
    local bytes="" i
    for ((i = 0; i < ${2:-4}; i++)); do bytes+=$(printf '\\x%02x' $((($1 >> (8 * i)) & 255))); done
    printf "$bytes"
}
# Writes a little-endian 16- or 32-bit integer: file, offset, value, size (2 or 4).
set_field() { le32 "$3" "${4:-2}" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

# Offsets of "pellion.ini" fields.
ini_BulkCount=7 ini_ReducedTop=9 ini_ReducedLeft=13 ini_ClipboardClipsColour=25 ini_GroupClipsColour=29
ini_GroupNamesColour=33 ini_KeysOption=39 ini_IconOption=41 ini_ClearOption=45 ini_FontOption=47
ini_CurrentGroup=49 ini_SizeOption=69 ini_TransferSlotsColour=71 ini_OnTop=77 ini_ClipMode=79
ini_CaptureMode=81 ini_Layout=83 ini_LastReducedLayout=85 ini_CurrentLibrary=87 ini_HelpShown=89
ini_BulkSpacing=91 ini_StickyOption=95 ini_DockTop=97 ini_DockBottom=99 ini_DockLeft=101 ini_DockRight=103

# Twips to screen pixels at the program's scale on this desktop (its dpi
# grown by the desktop font, times Qt's scale factor), rounded as it rounds.
read -r twip_dpi pixel_ratio < <("$build/grab_window" --scale)
px() { echo $(((($1 * twip_dpi * 2 + 1440) / 2880) * pixel_ratio)); }

# Window $1's inside on the screen: "X Y WIDTH HEIGHT"; its size as "WIDTHxHEIGHT".
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print x, y, w, h}'
}
window_size() { geometry "$1" | awk '{print $3 "x" $4}'; }

# Waits up to 5 s for window $1 to have the outer size of $2 x $3 twips
# (the inside is a border and a title bar smaller).
wait_size() {
    local id=$1 size
    size=$(px $(($2 - 90)))x$(px $(($3 - 345)))
    wait_for 50 '[[ $(window_size "$id") == "$size" ]]' || fail "window is $(window_size "$1"), expected $size"
}

# Fails unless window $1 (named $2 in the message) lies within the screen.
on_screen() {
    local x y w h sw sh
    read -r x y w h < <(geometry "$1")
    read -r sw sh < <(xdotool getdisplaygeometry)
    ((x >= 0 && y >= 0 && x + w <= sw && y + h <= sh)) || fail "$2 at $x,$y size ${w}x$h is off the screen"
}

# Clicks button $4 (default 1) at twips $2, $3 inside window $1.
click_at() {
    xdotool mousemove --window "$1" "$(px "$2")" "$(px "$3")" click "${4:-1}"
    sleep 0.3
}

# The X window state ("Normal", "Iconic") and whether it is kept above.
wm_state() { xprop -id "$1" WM_STATE | awk '/window state:/ {print $3}'; }
# Waits up to $2 tenths for window $1 to be in state $3.
wait_state() {
    local id=$1 state=$3
    wait_for "${2:-50}" '[[ $(wm_state "$id") == "$state" ]]'
}
is_above() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

# The pixels of area x y w h (twips) inside window $1 that differ from the
# area's commonest colour: the ink of a cell's text.
ink_at() {
    "$build/grab_window" "$1" --ink "$(px "$2")" "$(px "$3")" "$(px "$4")" "$(px "$5")"
}
pixel_at() { "$build/grab_window" "$1" --pixel "$(px "$2")" "$(px "$3")"; }
# The text area (x y w h, twips) of Group Names cell $1 in the full window.
group_cell() { echo $((10008 + 72 + 30)) $((216 + 252 * $1 + 30)) 1944 216; }
# Whether colour $1 ("#rrggbb") is a clear red.
is_red() { [[ $1 =~ ^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$ ]] && ((16#${BASH_REMATCH[1]} > 180 && 16#${BASH_REMATCH[2]} < 120 && 16#${BASH_REMATCH[3]} < 120)); }

# Screenshots for a person to look at, in the build folder.
shots=$build/screenshots
screenshot() {
    mkdir -p "$shots"
    "$build/grab_window" "$1" --png "$shots/$2.png" || fail "no screenshot $2"
}

# Makes a stand-in program the desktop's default for MIME type $1: it adds
# each file it is asked to open, a line each, to file $2.
default_app() {
    local name=standin-${1//\//-}
    export XDG_CONFIG_HOME=$work/xdg-config
    mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME"
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$2" >"$work/$name"
    chmod 755 "$work/$name"
    printf '[Desktop Entry]\nType=Application\nName=Stand-in\nExec=%s %%f\nMimeType=%s;\n' "$work/$name" "$1" \
        >"$XDG_DATA_HOME/applications/$name.desktop"
    printf '[Default Applications]\n%s=%s.desktop\n' "$1" "$name" >"$XDG_CONFIG_HOME/mimeapps.list"
}

# The text of the quick-help window of process $1, read as the user would
# copy it (Ctrl+A, Ctrl+C, then the clipboard), and the window closed by Escape.
quick_help_text() {
    local d
    d=$(dialog_of "$1" 'Pellion Clipboard Quick Help') || fail "no quick-help window"
    keys_to "$d" --clearmodifiers ctrl+a ctrl+c
    wait_for 50 'xclip -o -selection clipboard >/dev/null 2>&1' || fail "nothing copied from the quick-help text"
    xclip -o -selection clipboard
    xdotool key Escape
    gone "$d" || fail "Escape left the quick-help window open"
}
