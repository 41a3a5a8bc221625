#!/usr/bin/env bash
# Builds the program and runs every benchmark in a private X session of its
# own (scripts/xsession.sh), one after the other, printing their figures.
# Usage: bench/run.sh [IDLE_SECONDS]   (default 60: the idle measurement)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
nice -n 5 cmake --build "$build" -j2 >/dev/null
nice -n 5 cmake --build "$build" -j2 --target benches >/dev/null
echo "machine: $(nproc) cores, $(. /etc/os-release && echo "$PRETTY_NAME"), load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$root/scripts/xsession.sh" "$build/monitor_bench" "${1:-60}"
"$root/scripts/xsession.sh" "$build/clipboard_bench"
"$root/scripts/xsession.sh" "$build/paste_bench"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
