#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests, the
# same with AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs,
# then the platform and end-to-end tests in a private Xvfb with openbox.
# Exits non-zero on any failure; stops every process it started.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
scripts/install-deps.sh --test

pids=()
cleanup() {
    for p in "${pids[@]:-}"; do [[ -n "$p" ]] && kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT

step() { printf '\n==== %s\n' "$*"; }

step "build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

step "unit tests"
ctest --test-dir build -L unit --output-on-failure -j"$jobs"

step "unit tests with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPELLION_LOGIC_ONLY=ON -DPELLION_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs" --target unit_tests
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan -L unit --output-on-failure -j"$jobs"

if command -v clang++ >/dev/null && ls tests/fuzz/*.cpp >/dev/null 2>&1; then
    step "fuzz targets (short runs; longer by hand with -max_total_time)"
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DPELLION_LOGIC_ONLY=ON -DPELLION_FUZZ=ON >/dev/null
    targets=()
    for src in tests/fuzz/*.cpp; do targets+=(--target "$(basename "$src" .cpp)"); done
    cmake --build build-fuzz -j"$jobs" "${targets[@]}"
    for src in tests/fuzz/*.cpp; do
        name=$(basename "$src" .cpp)
        corpus=$(mktemp -d)
        [[ -d tests/fuzz/corpus/$name ]] && cp tests/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
        build-fuzz/"$name" -max_total_time="${FUZZ_SECONDS:-15}" -rss_limit_mb=2048 "$corpus" 2>&1 | tail -n 2
        rm -rf "$corpus"
    done
fi

step "platform and end-to-end tests under Xvfb with openbox"
displayfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [[ -s "$displayfile" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$displayfile")"
rm -f "$displayfile"
openbox --config-file "$root/tests/e2e/openbox-rc.xml" >/dev/null 2>&1 &
pids+=($!)
sleep 1
export QT_QPA_PLATFORM=xcb
ctest --test-dir build -L display --output-on-failure
