#!/usr/bin/env bash
# Help as the user meets it: the first start shows the help menu window once
# (its tutorial button and Enter open the tutorial and the manual in the
# desktop's browser, as F1 in a dialog opens the manual); a right click on
# the widgets of the main window and the Options dialog shows each one's
# topic in the quick-help window, whose text can be copied but not changed.
source "$(dirname "$0")/common.bash" "$1"

# Help files of the test's own: the data folder's come before the shipped ones.
mkdir -p "$app/manual" "$app/tutorial"
for n in $(seq 47); do printf '##%d\r\nTopic %d: quick help.\r\nMore about %d.\r\n' "$n" "$n" "$n"; done >"$app/pellion.qhp"
printf '##48\r\n' >>"$app/pellion.qhp"
echo '<html><body>Manual</body></html>' >"$app/manual/index.html"
echo '<html><body>Tutorial</body></html>' >"$app/tutorial/tutorial.htm"

# A stand-in browser, the desktop's default for web pages: it records what it opens.
opened=$work/opened
default_app text/html "$opened"

first_run=1 start_in "$app"
menu=$(dialog_of "$pid" ' Pellion Help') || fail "the first start shows no help menu window"
expect_ini HelpShown 1
sleep 0.3
screenshot "$menu" help-menu
# The tutorial button is last in the window's keyboard order.
keys_to "$menu" shift+Tab space
wait_for 50 grep -sqxF "$app/tutorial/tutorial.htm" "$opened" || fail "the tutorial was not opened: $(cat "$opened" 2>/dev/null)"
gone "$menu" || fail "the help menu window stays after the tutorial opened"
echo "ok: first start shows the help menu; its button opens the tutorial"

# The Help button opens the menu again; Enter there opens the manual.
click_at "$win" 666 4944
menu=$(dialog_of "$pid" ' Pellion Help') || fail "the Help button opens no help menu window"
keys_to "$menu" Return
wait_for 50 grep -sqxF "$app/manual/index.html" "$opened" || fail "Enter did not open the manual: $(cat "$opened")"
gone "$menu" || fail "the help menu window stays after the manual opened"
# F1 in the main window opens the menu; its first item shows its topic.
keys_to "$win" F1
menu=$(dialog_of "$pid" ' Pellion Help') || fail "F1 opens no help menu window"
keys_to "$menu" Tab space
[[ $(quick_help_text "$pid" | sed -n 2p) == "Topic 25: quick help." ]] || fail "the first item shows no topic 25"
keys_to "$menu" Escape
gone "$menu" || fail "Escape left the help menu window open"
echo "ok: Help button, Enter, F1 and an item of the menu"

# Letters typed into the quick-help text change nothing.
click_at "$win" 708 2652 3
d=$(dialog_of "$pid" 'Pellion Clipboard Quick Help') || fail "no quick help for Clear"
sleep 0.3
screenshot "$d" quick-help
activate "$d"
xdotool type --delay 20 'xyz'
xdotool key Delete BackSpace
text=$(quick_help_text "$pid")
[[ $text == $'\nTopic 3: quick help.\nMore about 3' ]] || fail "the quick-help text of Clear reads: $text"
echo "ok: the quick-help text cannot be changed"

# Clicks (button $4) at twips $2, $3 of window $1 show topic $5 (line 2 of the text).
expect_topic() {
    click_at "$1" "$2" "$3" "$4"
    local text
    text=$(quick_help_text "$pid")
    [[ $(sed -n 2p <<<"$text") == "Topic $5: quick help." ]] || fail "at $2,$3: '$text', expected topic $5"
}
# Right clicks on the main window: twips x, y and the topic.
while read -r x y topic; do expect_topic "$win" "$x" "$y" 3 "$topic"; done <<'END'
600 60 2
5400 60 9
11000 60 10
600 5856 8
2000 2652 40
300 3066 4
400 3750 5
708 4164 6
2000 4164 36
1800 3750 28
2000 5622 47
2400 366 7
END
click_at "$win" 666 4621
o=$(dialog_of "$pid" 'Pellion Clipboard User Options') || fail "Options did not open"
# F1 in any window but the main one opens the manual.
keys_to "$o" F1
wait_for 50 '(($(grep -cxF "$app/manual/index.html" "$opened") == 2))' || fail "F1 in Options did not open the manual"
# In Options: a heading's right click, a "?" button, the colour frame.
expect_topic "$o" 1000 1404 3 16
expect_topic "$o" 8820 2892 1 39
expect_topic "$o" 4000 3650 3 19
keys_to "$o" Escape
gone "$o" || fail "Options stays open"
echo "ok: right clicks show each widget's topic"
close_and_wait "$win" "$pid"
