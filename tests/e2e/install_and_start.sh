#!/usr/bin/env bash
# An install into a fresh prefix carries a valid menu entry and metadata;
# started as the menu starts it, the program keeps its data under
# XDG_DATA_HOME and writes nothing into the prefix; its first run shows the
# help menu window, and its quick help comes from the shipped file.
source "$(dirname "$0")/common.bash" "$1"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "install: $(cat "$work/install.log")"
entry=$prefix/share/applications/pellion.desktop
desktop-file-validate "$entry" || fail "desktop entry is not valid"
appstreamcli validate --no-net "$prefix/share/metainfo/org.pellion.clipboard.metainfo.xml" || fail "metadata is not valid"
for icon in scalable/apps/pellion.svg 16x16/apps/pellion.png 256x256/apps/pellion.png; do
    [[ -s "$prefix/share/icons/hicolor/$icon" ]] || fail "no icon $icon"
done
before=$(folder_state "$prefix")

# The menu runs the entry's command line.
command=$(sed -n 's/^Exec=//p' "$entry")
[[ "$command" == "$prefix/bin/pellion" ]] || fail "the entry starts $command"
(cd "$work" && exec $command) >>"$work/program.log" 2>&1 &
pid=$!
started+=("$pid")
w=$(main_window "$pid") || fail "no main window"
close_help_menu "$pid"
wait_for 50 test -f "$XDG_DATA_HOME/pellion-clipboard/pellion.ini" || fail "no pellion.ini under XDG_DATA_HOME"
# Help from the share folder: a right click on "Clear" shows its topic.
click_at "$w" 708 2652 3
screenshot "$(dialog_of "$pid" 'Pellion Clipboard Quick Help')" quick-help-shipped
text=$(quick_help_text "$pid")
line=$(grep -m1 '[^[:space:]]' <<<"$text" || true)
[[ -n $line && $text != "Help File Corrupt !" ]] && grep -qF "$line" "$prefix/share/pellion-clipboard/pellion.qhp" ||
    fail "the quick help of Clear is not from the shipped file: '$text'"
close_and_wait "$w" "$pid"
[[ "$(folder_state "$prefix")" == "$before" ]] || fail "the prefix changed: $(diff <(echo "$before") <(folder_state "$prefix"))"
