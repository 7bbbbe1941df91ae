#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The sanitizer stage of scripts/test: builds the program, its tests and the calculator's fuzzer
# with clang++ under AddressSanitizer and UndefinedBehaviorSanitizer in $BUILD-asan, runs the
# whole ctest suite there, then fuzzes the calculator for a minute. Any sanitizer report from any
# program of ours (tests, the program started by the end-to-end checks, the build's svgtopng) and
# any fuzzer finding fails it.
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/xsession.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${X_SESSION_PACKAGES[@]}" "${TEST_TOOL_PACKAGES[@]}" \
                "${SANITIZER_PACKAGES[@]}"

ASAN_BUILD=$BUILD-asan
FUZZ_SECONDS=${VORREL_FUZZ_SECONDS:-60}
SANITIZE_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

# Reports go to files as well as the exit status: a program the end-to-end checks start and later
# kill has no exit status anyone looks at. Qt's start-up and shutdown leak nothing on Debian 12,
# so leak detection runs without suppressions.
REPORTS=$ASAN_BUILD/sanitizer-reports
rm -rf "$REPORTS"
mkdir -p "$REPORTS"
export ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:log_path=$REPORTS/report"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$REPORTS/report"
export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$(command -v llvm-symbolizer || true)}

# fail_on_reports WHAT STATUS: shows the reports written so far and stops when there are any or
# when STATUS, the exit status of WHAT, is not 0.
fail_on_reports() {
    local report found=0
    for report in "$REPORTS"/*; do
        [ -e "$report" ] || continue
        found=1
        echo "=== sanitizer report $report" >&2
        cat "$report" >&2
    done
    if [ $found -eq 1 ]; then
        echo "sanitize: $1 produced sanitizer reports (above)" >&2
        exit 1
    fi
    [ "$2" -eq 0 ] || { echo "sanitize: $1 failed" >&2; exit "$2"; }
}

started=$SECONDS
# -O1 with line tables only, as the sanitizers' authors advise: reports keep their file and line,
# and the build takes a good deal less time than at -O2 with full debug information.
cmake -S "$ROOT" -B "$ASAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" \
      -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE_FLAGS" -DVORREL_BUILD_FUZZ=ON >/dev/null
status=0
cmake --build "$ASAN_BUILD" --parallel "$(nproc)" || status=$?
fail_on_reports "the build" $status
built=$SECONDS

ctest --test-dir "$ASAN_BUILD" --output-on-failure --timeout 600 || status=$?
fail_on_reports "the test suite" $status
tested=$SECONDS

# The fuzzer adds what it finds to the corpus folder it is given: a copy, so that the committed
# seeds stay few and small. A finding is kept in $ASAN_BUILD/fuzz-findings for replaying.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$ROOT"/tests/fuzz/corpus/* "$corpus"/
findings=$ASAN_BUILD/fuzz-findings
rm -rf "$findings"
mkdir -p "$findings"
log=$ASAN_BUILD/fuzz.log
if ! ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1" \
     UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
     "$ASAN_BUILD/tests/fuzz/calc_fuzz" -max_total_time="$FUZZ_SECONDS" -max_len=64 \
     -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "sanitize: the calculator's fuzzer found a fault; replay it with" >&2
    echo "  $ASAN_BUILD/tests/fuzz/calc_fuzz $findings/*" >&2
    exit 1
fi
grep -E '^#[0-9]+[[:space:]]+DONE|^stat::' "$log"
fuzzed=$SECONDS

echo "sanitize: build $((built - started)) s, test suite $((tested - built)) s," \
     "fuzzing $((fuzzed - tested)) s"
