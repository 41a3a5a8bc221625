#!/usr/bin/env bash
# Runs a command in a private X session: a new Xvfb display with openbox (no
# key or mouse bindings), stopped when the command ends. Exits with its status.
# Usage: scripts/xsession.sh COMMAND [ARGS...]   (XSESSION_SCREEN=WxHxD to change)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pids=()
cleanup() {
    for p in "${pids[@]:-}"; do [[ -n "$p" ]] && kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${XSESSION_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$displayfile")"
rm -f "$displayfile"
openbox --config-file "$root/tests/e2e/openbox-rc.xml" >/dev/null 2>&1 &
pids+=($!)
sleep 1
export QT_QPA_PLATFORM=xcb
"$@"
