#!/usr/bin/env bash
# Mutation check: plants each fault of scripts/mutants.txt, one at a time, in a
# scratch copy of this tree, builds it, runs the unit tests and then the
# display tests (under scripts/xsession.sh), each stage stopping at its first
# failure, and prints which test caught each fault. A fault that does not
# apply or does not build is an error, never a catch.
# Usage: scripts/mutation-check.sh [NAME_REGEX]
#   MUTATION_DIR  scratch folder (default /tmp/pellion-mutation-$USER), kept
#                 between runs so that the next build is incremental
#   MUTATION_SKIP_BASELINE=1  skips the run of the unchanged tree
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
select=${1:-.}
scratch=${MUTATION_DIR:-/tmp/pellion-mutation-${USER:-$(id -u)}}
tree=$scratch/tree
build=$tree/build
logs=$scratch/logs
mkdir -p "$tree" "$logs"
export CCACHE_BASEDIR=$tree

# Copies the checkout's files (tracked or new, not ignored) whose content
# differs and removes the rest, so that unchanged files keep their age.
python3 - "$root" "$tree" <<'EOF'
import filecmp, os, shutil, subprocess, sys
root, tree = sys.argv[1:]
out = subprocess.run(['git', '-C', root, 'ls-files', '-z', '--cached', '--others', '--exclude-standard'],
                     capture_output=True, check=True).stdout.decode()
names = {n for n in out.split('\0') if n and not n.startswith('build') and os.path.isfile(os.path.join(root, n))}
for base, dirs, files in os.walk(tree):
    dirs[:] = [d for d in dirs if not (base == tree and d.startswith('build'))]
    for f in files:
        if os.path.relpath(os.path.join(base, f), tree) not in names:
            os.remove(os.path.join(base, f))
for n in names:
    src, dst = os.path.join(root, n), os.path.join(tree, n)
    if not os.path.exists(dst) or not filecmp.cmp(src, dst, shallow=False):
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy2(src, dst)
EOF
# Optimised as the real build, without debug information: quicker to link.
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
    >"$logs/cmake.log" 2>&1 || {
    echo "cmake failed: see $logs/cmake.log" >&2
    exit 2
}

# Reads the table: name, file, original and replacement with \n, \t and \\ undone.
mutants() {
    python3 - "$tree/scripts/mutants.txt" "$select" <<'EOF'
import re, sys
def undo(s):
    return re.sub(r'\\(.)', lambda m: {'n': '\n', 't': '\t'}.get(m.group(1), m.group(1)), s)
for line in open(sys.argv[1], encoding='utf-8'):
    line = line.rstrip('\n')
    if not line or line.startswith('#'):
        continue
    name, path, old, new, what = line.split('\t')
    if re.search(sys.argv[2], name):
        for field in (name, path, undo(old), undo(new), what):
            sys.stdout.write(field + '\0')
EOF
}

# Replaces the one occurrence of $2 in file $1 by $3; fails unless there is exactly one.
plant() {
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1:]
text = open(path, encoding='utf-8').read()
if text.count(old) != 1:
    sys.exit(1)
open(path, 'w', encoding='utf-8').write(text.replace(old, new))
EOF
}

# Display tests one at a time, cheapest first by the last recorded run time,
# so that a caught fault ends early. Prints the first failing test.
display_tests() {
    local costs=$build/Testing/Temporary/CTestCostData.txt
    local names
    names=$(ctest --test-dir "$build" -N -L display | sed -n 's/^ *Test *#[0-9]*: //p')
    local ordered
    ordered=$(while read -r n; do
        c=$( [[ -f $costs ]] && awk -v n="$n" '$1 == n { print $3 }' "$costs")
        # Platform tests before the end-to-end scripts when nothing is known.
        [[ -z "$c" ]] && { [[ $n == e2e_* ]] && c=1000 || c=0; }
        printf '%s %s\n' "$c" "$n"
    done <<<"$names" | sort -g | cut -d' ' -f2)
    local n
    for n in $ordered; do
        ctest --test-dir "$build" -R "^${n}\$" --timeout 120 --output-on-failure >>"$1" 2>&1 || {
            echo "$n"
            return 1
        }
    done
}

build() { nice -n 5 cmake --build "$build" -j2 "$@" >>"$log.build" 2>&1; }
stamp() { date -r "$build/unit_tests" +%s.%N 2>/dev/null; }

# Builds and runs the unit tests (unless their program came out unchanged,
# as for a fault in the X11 layer), then builds the program, the display
# tests and the tools (not the benchmarks) and runs the display tests.
# Prints the first test that fails, an error, or nothing. $1: log file
# name; $2: "all" runs the unit tests whatever happened.
check_tree() {
    local log=$1 before failed t tools=()
    : >"$log"
    : >"$log.build"
    before=$(stamp)
    build --target unit_tests || { echo "ERROR: does not build"; return; }
    rm -f "$build/Testing/Temporary/LastTestsFailed.log"
    if [[ "${2:-}" == all || "$(stamp)" != "$before" ]] &&
        ! ctest --test-dir "$build" -L unit -j2 --stop-on-failure --timeout 60 --output-on-failure >"$log" 2>&1; then
        failed=$(sed -n '1s/^[0-9]*://p' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null)
        echo "${failed:-unit tests}"
        return
    fi
    for t in "$tree"/tests/tools/*.cpp; do tools+=(--target "$(basename "$t" .cpp)"); done
    build --target pellion --target platform_tests "${tools[@]}" || { echo "ERROR: does not build"; return; }
    "$root/scripts/xsession.sh" bash -c "$(declare -f display_tests); build='$build' display_tests '$log'" 2>>"$log"
}

printf '%-26s %s\n' "FAULT" "CAUGHT BY"
start_all=$SECONDS
if [[ -z "${MUTATION_SKIP_BASELINE:-}" ]]; then
    failed=$(check_tree "$logs/baseline" all)
    if [[ -n "$failed" ]]; then
        echo "the unchanged tree fails ($failed): see $logs/baseline*" >&2
        exit 2
    fi
    printf '%-26s %s\n' "(unchanged tree)" "passes ($((SECONDS - start_all)) s)"
fi

caught=0 missed=0 errors=0
mapfile -d '' -t fields < <(mutants)
for ((i = 0; i < ${#fields[@]}; i += 5)); do
    name=${fields[i]} path=${fields[i + 1]} old=${fields[i + 2]} new=${fields[i + 3]}
    file=$tree/$path
    t0=$SECONDS
    saved=$(mktemp)
    if [[ ! -f "$file" ]] || ! cp "$file" "$saved" || ! plant "$file" "$old" "$new"; then
        result="ERROR: does not apply"
        errors=$((errors + 1))
    else
        result=$(check_tree "$logs/$name")
        case $result in
        ERROR*) errors=$((errors + 1)) ;;
        "") result="NOT CAUGHT" missed=$((missed + 1)) ;;
        *) caught=$((caught + 1)) ;;
        esac
    fi
    [[ -s "$saved" ]] && cp "$saved" "$file"
    rm -f "$saved"
    printf '%-26s %s (%d s)\n' "$name" "$result" $((SECONDS - t0))
done
printf '%d caught, %d not caught, %d errors in %d s\n' "$caught" "$missed" "$errors" $((SECONDS - start_all))
[[ $missed -eq 0 && $errors -eq 0 ]]
