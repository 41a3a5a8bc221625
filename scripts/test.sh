#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests, the
# same with AddressSanitizer and UndefinedBehaviorSanitizer, short fuzz runs,
# then the platform and end-to-end tests in a private Xvfb with openbox.
# Exits non-zero on any failure; stops every process it started.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
scripts/install-deps.sh --test

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
        build-fuzz/"$name" -max_total_time="${FUZZ_SECONDS:-10}" -rss_limit_mb=2048 "$corpus" 2>&1 | tail -n 2
        rm -rf "$corpus"
    done
fi

step "platform and end-to-end tests under Xvfb with openbox"
scripts/xsession.sh ctest --test-dir build -L display --output-on-failure
