# Shared by the end-to-end scripts: a temporary folder, the program copied into
# it, its window found by caption, and cleanup of every process started here.
# Usage: source common.bash BUILD_DIR   (DISPLAY is set by the test runner)
set -euo pipefail
build=$(cd "${1:?build dir}" && pwd)
work=$(mktemp -d)
started=()

cleanup() {
    for p in "${started[@]:-}"; do
        [[ -n "$p" ]] && kill "$p" 2>/dev/null || true
        [[ -n "$p" ]] && kill -CONT "$p" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A program folder of its own: its data folder is that folder.
install_program() {
    mkdir -p "$1"
    cp "$build/pellion" "$1/pellion"
}

# Starts the program in folder $1; its pid is left in $last_pid.
start_program() {
    "$1/pellion" >>"$work/program.log" 2>&1 &
    last_pid=$!
    started+=("$last_pid")
}

# The id of the shown main window of process $1, waited for up to 10 s.
main_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --pid "$1" --name '^ Pellion Clipboard {10}' 2>/dev/null | head -n1 || true)
        [[ -n "$id" ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Every entry below $1 with size, modification time and checksum.
folder_state() {
    (cd "$1" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort)
}

# Closes window $1 as its close button would and waits for process $2 to end.
close_and_wait() {
    "$build/close_window" "$1"
    for _ in $(seq 100); do
        kill -0 "$2" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "process $2 did not end after its window was closed"
}

# Little-endian field of a file: od type (d2, d4, f4), offset.
field() { od -An -v -t "$2" -j "$3" -N "${2:1}" "$1" | tr -d ' '; }
