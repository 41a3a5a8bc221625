#!/usr/bin/env bash
# Two starts from one folder: the second copy fronts the first and exits at
# once without changing any file, whether it finds the first by its caption or,
# when that caption is stale, by the lock in the data folder.
source "$(dirname "$0")/common.bash" "$1"

start_in "$app"
first=$pid w1=$win
sleep 0.5  # let start-up finish its writes

# Another program has the focus and the first copy is minimised.
spawn "$build/paste_target" "Other program" >/dev/null 2>&1
other=$(search_window 100 --name '^Other program$') || fail "no other window"

second_start_fronts_first() {
    local what=$1
    xdotool windowactivate --sync "$other"
    [[ $(xdotool getactivewindow) == "$other" ]] || fail "$what: other window not active"
    local before after rc=0
    before=$(folder_state "$app")
    timeout 10 "$build/pellion" --data-folder "$app" >>"$work/program.log" 2>&1 || rc=$?
    ((rc == 0)) || fail "$what: second copy ended with $rc (124: it did not end within 10 s)"
    kill -0 "$first" 2>/dev/null || fail "$what: first copy is gone"
    after=$(folder_state "$app")
    [[ "$before" == "$after" ]] || fail "$what: files changed: $(diff <(echo "$before") <(echo "$after"))"
    local active=""
    wait_for 30 'active=$(xdotool getactivewindow 2>/dev/null); [[ "$active" == "$w1" ]]' || fail "$what: first copy not fronted (active $active, first $w1)"
    echo "ok: $what"
}

second_start_fronts_first "caption found"

# The first copy stops renaming its window (stopped, its caption stale): the
# caption search misses it and the lock still keeps the second copy out.
xdotool set_window --name "stale caption" "$w1"
kill -STOP "$first"
second_start_fronts_first "stale caption, lock held"
kill -CONT "$first"

close_and_wait "$w1" "$first"
